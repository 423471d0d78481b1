// The cost of rendering a label (Txt::render): the outline is built pixel by
// pixel on the unscaled 10-row image and stretched afterwards, so the cost
// should grow with the text's length and only mildly with the scale. The
// message overlay re-renders every line each frame, so a seven-line menu at
// 2x2 is measured too.
#include <allegro.h>
#include <benchmark/benchmark.h>

#include <string>

#include "txt/txt.h"

namespace {

void BM_RenderLength(benchmark::State& state) {
    Txt t(0, 0, makecol(255, 180, 0), "");
    t.setScale(2, 2);
    std::string s(static_cast<size_t>(state.range(0)), 'W');
    for (auto _ : state) {
        t.setText(s);
        benchmark::DoNotOptimize(t.getBmp());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_RenderLength)->RangeMultiplier(4)->Range(8, 512)->Complexity();

void BM_RenderScale(benchmark::State& state) {
    Txt t(0, 0, makecol(255, 180, 0), "Files Select - \"img000.tga\"");
    int s = static_cast<int>(state.range(0));
    for (auto _ : state) {
        t.setScale(s, s);
        benchmark::DoNotOptimize(t.getBmp());
    }
}
BENCHMARK(BM_RenderScale)->Arg(1)->Arg(2)->Arg(4)->Arg(8);

void BM_SevenLineMenu(benchmark::State& state) {
    Txt t(0, 0, makecol(255, 180, 0), "");
    t.setScale(2, 2);
    const char* lines[] = {"- Layer Stuff -", " ", "A - Add new layer", "D - Delete current layer",
                           "0, 1-9 - Select layer", " ", "Current layer 0"};
    BITMAP* dest = create_bitmap(1024, 768);
    for (auto _ : state) {
        for (int i = 0; i < 7; i++) {
            t.setText(lines[i]);
            t.drawAt(1, dest, 0, i * t.getHeight());
        }
    }
    destroy_bitmap(dest);
}
BENCHMARK(BM_SevenLineMenu);

}  // namespace
