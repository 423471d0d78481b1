// The cost of one frame (World::Render) on the 1024x768x32 memory screen, for
// small and large canvases with 1, 4 and 16 layers. A frame must cost about
// the same at any canvas size: only the part of the picture that the lens
// window shows is composed. The status line is shown, as it is by default.
// The grid's cost is the next group: the same frame with no grid, the pixel
// grid and the tile grid at magnification 16, run side by side. The last
// group is the onion skin's: 2048x2048 with 16 layers, at x16 and x1, with
// the onion skin off and showing two 256x256 frame files, which are read
// once (the "reads" counter), not every frame. BM_SavePicture is a picture
// save (Alt+S of a PNG name) of 1024x768 with 1, 4 and 16 layers: the layers
// composed, then written.
#include <allegro.h>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "bench/bench_support.h"
#include "bmp/bmp.h"
#include "tests/layer_access.h"
#include "learn/frames.h"
#include "learn/layer.h"
#include "learn/lens.h"
#include "learn/pointer.h"
#include "learn/prompt.h"
#include "learn/world.h"

namespace {

// Opaque layers get a solid colour with a band; transparent ones stay mostly
// mask colour with a few solid stripes, so masked drawing skips and copies.
void Paint(Layer* layer, int index) {
    BITMAP* b = LayerBitmap(layer);
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

void BM_RenderGrid(benchmark::State& state) {
    ScratchDir dir;
    BenchWorld world;
    BuildPicture(world, 2048, 2048, 16);
    world.grid.mode = static_cast<int>(state.range(0));
    for (auto _ : state) world.Render();
    const char* const names[] = {"no grid", "pixel grid", "tile grid"};
    state.SetLabel(std::string("2048x2048, 16 layers, x16, ") + names[world.grid.mode]);
}

BENCHMARK(BM_RenderGrid)->ArgName("grid")->DenseRange(Grid::Off, Grid::Tiles)->Unit(benchmark::kMicrosecond);

// Frames 0 and 2 around frame 1, at the box's top left corner (0, 0), which
// the lens shows.
void BM_RenderOnion(benchmark::State& state) {
    ScratchDir dir;
    BenchWorld world;
    BuildPicture(world, 2048, 2048, 16);
    BITMAP* frame = create_bitmap(256, 256);
    for (int n : {0, 2}) {
        clear_to_color(frame, makecol(30 * n, 200, 90));
        for (int x = n; x < 256; x += 5) vline(frame, x, 0, 255, makecol(255, 255, 255));
        save_bitmap(FrameFileName(world.files->root, n).c_str(), frame, nullptr);
    }
    destroy_bitmap(frame);
    world.files->filesPos = 1;
    world.pointer->bx = world.pointer->by = 0;
    world.ZoomPreset(static_cast<int>(state.range(1)));
    world.lens->x = world.lens->y = 0;
    world.onion.mode = state.range(0) ? OnionSkin::Both : OnionSkin::Off;
    for (auto _ : state) world.Render();
    state.counters["reads"] = world.onion.Reads();
    state.SetLabel(std::string("2048x2048, 16 layers, x") + std::to_string(state.range(1)) +
                   (state.range(0) ? ", onion skin of two frames" : ", no onion skin"));
}

BENCHMARK(BM_RenderOnion)
    ->ArgNames({"onion", "mag"})
    ->ArgsProduct({{0, 1}, {16, 1}})
    ->Unit(benchmark::kMicrosecond);

// Answers the save form with a PNG name and lets it be overwritten.
class SaveWorld : public BenchWorld {
public:
    PromptAnswers Prompt(const std::string&, const std::vector<std::string>&, const std::vector<std::string>&,
                         const FieldRanges&) override {
        return {{"picture.png"}, true};
    }
    bool ConfirmOverwrite(const std::string&) override { return true; }
    void Message(const std::string&) override {}
};

void BM_SavePicture(benchmark::State& state) {
    ScratchDir dir;
    SaveWorld world;
    BuildPicture(world, 1024, 768, static_cast<int>(state.range(0)));
    for (auto _ : state) world.SaveImageFile();
    state.SetLabel("1024x768, " + std::to_string(state.range(0)) + " layers");
}

BENCHMARK(BM_SavePicture)->ArgName("layers")->Arg(1)->Arg(4)->Arg(16)->Unit(benchmark::kMillisecond);

}  // namespace
