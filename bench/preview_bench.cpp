// The preview's pace: the loop of Ctrl+P on the 1024x768x32 memory screen,
// 100 frames at 100 ms, each stamped when its panel reaches the screen. The
// counters give the largest and the mean distance from the due time in
// milliseconds; each frame is to be within 5 ms of it.
#include <allegro.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "all/display.h"
#include "all/key_wait.h"
#include "bmp/bmp.h"
#include "learn/preview.h"

namespace {

void BM_PreviewPace(benchmark::State& state) {
    // The program's waits sleep on the wake-up pipe, as here.
    WatchKeyPresses();
    std::vector<PreviewFrame> frames;
    for (int n = 0; n < 8; n++) {
        auto b = std::make_unique<Bmp>(64, 64, "frame");
        clear_to_color(b->GetBitmap(), makecol(30 * n, 120, 255 - 30 * n));
        circlefill(b->GetBitmap(), 8 * n, 32, 6, makecol(255, 255, 255));
        frames.push_back({std::move(b)});
    }
    const long kFrames = 100;
    const int kDelayMs = 100;
    double worst = 0, sum = 0;
    for (auto _ : state) {
        long shown = 0;
        auto wait = [&](long ms) { return shown >= kFrames ? -1 : WaitForKeyFor(ms); };
        PlayPreview(display::screen, frames, kDelayMs, wait, [&](long, long long dueUs, long long atUs) {
            double late = std::abs(atUs - dueUs) / 1000.0;
            worst = std::max(worst, late);
            sum += late;
            shown++;
        });
        // The last frame ends the loop at the next wait, 100 ms on.
        if (shown < kFrames) state.SkipWithError("the preview ended early");
    }
    state.counters["worst_ms"] = worst;
    state.counters["mean_ms"] = sum / kFrames;
    if (worst > 5) state.SkipWithError("a frame was more than 5 ms from its due time");
    state.SetLabel("100 frames of 64x64 at 100 ms on 1024x768");
}

BENCHMARK(BM_PreviewPace)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
