// The cost of one frame (World::Render) on the 1024x768x32 memory screen, for
// small and large canvases with 1, 4 and 16 layers. A frame must cost about
// the same at any canvas size: only the part of the picture that the lens
// window shows is composed. The status line is shown, as it is by default.
// The grid's cost is the last group: the same frame with no grid, the pixel
// grid and the tile grid at magnification 16, run side by side.
#include <allegro.h>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "bench/bench_support.h"
#include "bmp/bmp.h"
#include "tests/layer_access.h"
#include "learn/layer.h"
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

}  // namespace
