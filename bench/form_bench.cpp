// The cost of opening a form over a large picture: the frame under it, the
// view dimmed, the panel and its rows drawn, the first row's editor set up.
// Each form here is closed by Esc at its first key read, so the loop times
// opening and closing. It must stay under one frame (40 ms) at 2048x2048
// with 16 layers.
#include <allegro.h>
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "bench/bench_support.h"
#include "bmp/bmp.h"
#include "learn/layer.h"
#include "learn/prompt.h"
#include "learn/world.h"
#include "txt/txt.h"

namespace {

// The first key read is Esc, held until the form waits for its release.
class EscAtOnce : public Txt {
public:
    using Txt::Txt;

protected:
    int ReadKey() override {
        key[KEY_ESC] = 1;
        return 27;
    }
};

void BM_FormOpen(benchmark::State& state) {
    ScratchDir dir;
    BenchWorld world;
    int side = static_cast<int>(state.range(0)), layers = static_cast<int>(state.range(1));
    if (!world.resizeCanvas(side, side)) std::abort();
    for (int i = 1; i < layers; i++) world.layers.push_back(new Layer(&world, side, side, i % 2));
    PromptSeams seams;
    seams.makeTxt = [](int x, int y, int c, const std::string& t) { return new EscAtOnce(x, y, c, t); };
    seams.pause = [](int) { key[KEY_ESC] = 0; };
    for (auto _ : state) {
        world.Render();
        PromptAnswers a = AskFields("Resize Canvas", {"canvas width:", "canvas height:"},
                                    {std::to_string(side), std::to_string(side)}, seams);
        benchmark::DoNotOptimize(a);
    }
    state.SetLabel(std::to_string(side) + "x" + std::to_string(side) + ", " + std::to_string(layers) + " layers");
}
BENCHMARK(BM_FormOpen)->Args({64, 1})->Args({2048, 16})->Unit(benchmark::kMillisecond);

}  // namespace
