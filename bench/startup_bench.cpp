// The start of the editor up to its first frame (reading Vell.zub with one
// 1024x768 layer and vell.cfg, then World::Render), with the status line
// shown and hidden: the line must not make the start noticeably slower.
#include <allegro.h>
#include <benchmark/benchmark.h>

#include <memory>

#include "bench/bench_support.h"
#include "bmp/bmp.h"
#include "tests/layer_access.h"
#include "learn/layer.h"
#include "learn/world.h"

namespace {

// Leaves Vell.zub with a patterned 1024x768 picture and vell.cfg with the
// status line shown or hidden in the working directory.
void WriteStartFiles(bool statusShown) {
    BenchWorld world;
    BITMAP* b = LayerBitmap(world.layer);
    for (int y = 0; y < b->h; y += 3) hline(b, 0, y, b->w - 1, makecol(y & 255, 120, 255 - (y & 255)));
    world.statusShown = statusShown;
    QuietStdout quiet;
    if (!world.SaveDocument("Vell.zub")) std::abort();
    world.SaveSettings();
}

void BM_StartToFirstFrame(benchmark::State& state) {
    ScratchDir dir;
    WriteStartFiles(state.range(0) != 0);
    for (auto _ : state) {
        auto world = std::make_unique<BenchWorld>();
        state.PauseTiming();
        if (world->statusShown != (state.range(0) != 0)) state.SkipWithError("vell.cfg was not read");
        world.reset();
        state.ResumeTiming();
    }
    state.SetLabel(state.range(0) ? "status line shown" : "status line hidden");
}

BENCHMARK(BM_StartToFirstFrame)->ArgName("status")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
