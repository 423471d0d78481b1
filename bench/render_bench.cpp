// The cost of one frame (World::Render) on the 1024x768x32 memory screen, for
// small and large canvases with 1, 4 and 16 layers. A frame must cost about
// the same at any canvas size: only the part of the picture that the lens
// window shows is composed.
#include <allegro.h>
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "bmp/bmp.h"
#include "learn/layer.h"
#include "learn/world.h"

namespace {

// A fresh working directory for the life of the object: the editor reads and
// writes its document and settings in the working directory.
class ScratchDir {
public:
    ScratchDir() {
        char tmpl[] = "/tmp/vell-bench-XXXXXX";
        dir = mkdtemp(tmpl);
        char cwd[4096];
        previous = getcwd(cwd, sizeof cwd) ? cwd : "/tmp";
        if (chdir(dir.c_str()) != 0) std::abort();
    }
    ~ScratchDir() {
        if (chdir(previous.c_str()) != 0) std::abort();
        std::string cmd = "rm -rf '" + dir + "'";
        if (std::system(cmd.c_str()) != 0) {
        }
    }

private:
    std::string dir;
    std::string previous;
};

// Sends standard output to /dev/null for the life of the object: the editor
// reports its start on the console, between the benchmark's result lines.
class QuietStdout {
public:
    QuietStdout() {
        std::fflush(stdout);
        saved = dup(1);
        int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        close(null);
    }
    ~QuietStdout() {
        std::fflush(stdout);
        dup2(saved, 1);
        close(saved);
    }

private:
    int saved;
};

// The real editor, built the way the program builds it.
class BenchWorld : public World {
public:
    BenchWorld() : World(NoInit{}) {
        QuietStdout quiet;
        Construct("");
    }
};

// Opaque layers get a solid colour with a band; transparent ones stay mostly
// mask colour with a few solid stripes, so masked drawing skips and copies.
void Paint(Layer* layer, int index) {
    BITMAP* b = layer->bmp->GetBitmap();
    int colour = makecol(40 * index % 256, 90, 200 - 10 * index % 200);
    if (layer->mode == 0) clear_to_color(b, colour);
    rectfill(b, 0, b->h / 4, b->w - 1, b->h / 4 + 8, makecol(255, 255, 255));
    for (int x = index; x < b->w; x += 7) vline(b, x, 0, b->h - 1, colour);
}

// Canvas w x h with n layers: layer 0 opaque, of the rest every other one
// transparent.
void BuildPicture(World& world, int w, int h, int n) {
    if (!world.resizeCanvas(w, h)) std::abort();
    for (int i = 1; i < n; i++) world.layers.push_back(new Layer(&world, w, h, i % 2));
    for (int i = 0; i < n; i++) Paint(world.layers[i], i);
}

void BM_Render(benchmark::State& state) {
    ScratchDir dir;
    BenchWorld world;
    BuildPicture(world, state.range(0), state.range(1), state.range(2));
    for (auto _ : state) world.Render();
    state.SetLabel(std::to_string(state.range(0)) + "x" + std::to_string(state.range(1)) + ", " +
                   std::to_string(state.range(2)) + " layers");
}

BENCHMARK(BM_Render)
    ->ArgNames({"w", "h", "layers"})
    ->ArgsProduct({{64}, {48}, {1, 4, 16}})
    ->ArgsProduct({{1024}, {768}, {1, 4, 16}})
    ->ArgsProduct({{2048}, {2048}, {1, 4, 16}})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
