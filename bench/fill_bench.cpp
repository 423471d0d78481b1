// The flood fill on a 2048x2048 32-bit spiral covering about half the
// picture, on its own and as the editor's F command (a key pass, the paint
// gate and the undo history included), against a plain scanline fill of the
// same area written here as the anchor; the fill of a 16384x16384 one-pixel spiral maze once, with the peak
// memory it adds beside the layer's and the marks' bytes; and the ellipse
// outline of the largest box.
#include <benchmark/benchmark.h>

#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include <allegro.h>

#include "bench/bench_support.h"
#include "bmp/bitmap_grid.h"
#include "bmp/ellipse.h"
#include "bmp/flood_fill.h"
#include "learn/history.h"
#include "learn/layer.h"
#include "learn/pointer.h"
#include "tests/layer_access.h"
#include "tests/spiral_maze.h"

namespace {

constexpr uint32_t kWall = 0xFF000000, kCorridor = 0xFFFFFFFF;

// Seeds on a stack; each seed fills its run and pushes one seed for every run
// of the area's colour above and below it.
void ScanlineReference(std::vector<uint32_t>& px, int w, int h, int x, int y, uint32_t c) {
    uint32_t target = px[static_cast<size_t>(y) * w + x];
    if (target == c) return;
    std::vector<std::pair<int, int>> seeds{{x, y}};
    while (!seeds.empty()) {
        auto [sx, sy] = seeds.back();
        seeds.pop_back();
        uint32_t* row = &px[static_cast<size_t>(sy) * w];
        if (row[sx] != target) continue;
        int x0 = sx, x1 = sx;
        while (x0 > 0 && row[x0 - 1] == target) x0--;
        while (x1 + 1 < w && row[x1 + 1] == target) x1++;
        for (int i = x0; i <= x1; i++) row[i] = c;
        for (int ny : {sy - 1, sy + 1}) {
            if (ny < 0 || ny >= h) continue;
            const uint32_t* next = &px[static_cast<size_t>(ny) * w];
            for (int i = x0; i <= x1; i++)
                if (next[i] == target && (i == x0 || next[i - 1] != target)) seeds.push_back({i, ny});
        }
    }
}

// Alternating colours fill the same area every time without a reset.
void BM_FloodFill_Spiral2048(benchmark::State& state) {
    PixelBuffer picture(2048, 2048, 4);
    size_t corridor = PaintSpiral(picture.Rows(), kWall, kCorridor);
    uint32_t colours[] = {0xFF00FF00, kCorridor};
    int n = 0;
    for (auto _ : state) {
        FillMarks marks = MarkArea(picture.Rows(), 0, 0);
        WriteMarked(picture.Rows(), marks, colours[n++ % 2]);
        benchmark::DoNotOptimize(marks.Count());
    }
    state.counters["pixels"] = corridor;
}

// A key pass of F without waiting for a key.
class PassWorld : public BenchWorld {
public:
    int ReadKey() override { return 0; }
};

// The pen alternates, so every pass fills the whole spiral again; the
// history keeps each fill (its budget is set to hold one at least).
void BM_FloodFillCommand_Spiral2048(benchmark::State& state) {
    ScratchDir dir;
    PassWorld world;
    if (!world.resizeCanvas(2048, 2048)) std::abort();
    BITMAP* b = LayerBitmap(world.layer);
    PaintSpiral(GridOf(b), makecol(0, 0, 0), makecol(255, 255, 255));
    world.history->Clear();
    world.history->SetBudget(size_t{256} << 20);
    int colours[] = {makecol(0, 255, 0), makecol(255, 255, 255)};
    int n = 0;
    for (auto _ : state) {
        world.pointer->x = world.pointer->y = 0;
        world.pointer->colour = colours[n++ % 2];
        for (int k = 0; k < KEY_MAX; k++) key[k] = 0;
        key[KEY_F] = -1;
        world.DoKeys();
    }
    key[KEY_F] = 0;
    if (getpixel(b, 0, 0) != colours[(n - 1) % 2]) state.SkipWithError("the F command filled nothing");
}

void BM_ScanlineReference_Spiral2048(benchmark::State& state) {
    PixelBuffer picture(2048, 2048, 4);
    PaintSpiral(picture.Rows(), kWall, kCorridor);
    std::vector<uint32_t> px(2048 * 2048);
    for (int y = 0; y < 2048; y++)
        for (int x = 0; x < 2048; x++) px[y * 2048 + x] = ReadPixel(picture.Rows(), x, y);
    uint32_t colours[] = {0xFF00FF00, kCorridor};
    int n = 0;
    for (auto _ : state) {
        ScanlineReference(px, 2048, 2048, 0, 0, colours[n++ % 2]);
        benchmark::ClobberMemory();
    }
}

// A line of /proc/self/status in bytes ("VmHWM", "VmRSS").
double StatusBytes(const std::string& name) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(name + ":", 0) == 0) return std::stod(line.substr(name.size() + 1)) * 1024;
    return 0;
}

// The peak is reset just before the fill, so it counts only what the fill adds.
void BM_FloodFill_Maze16384(benchmark::State& state) {
    PixelBuffer picture(16384, 16384, 4);
    size_t corridor = PaintSpiral(picture.Rows(), kWall, kCorridor);
    double before = 0, peak = 0, markBytes = 0;
    for (auto _ : state) {
        std::ofstream("/proc/self/clear_refs") << "5";
        before = StatusBytes("VmRSS");
        FillMarks marks = MarkArea(picture.Rows(), 0, 0);
        WriteMarked(picture.Rows(), marks, 0xFF00FF00);
        peak = StatusBytes("VmHWM");
        markBytes = marks.Bytes();
        if (marks.Count() != corridor) state.SkipWithError("the fill missed part of the maze");
    }
    constexpr double kMiB = 1024.0 * 1024.0;
    state.counters["peak_growth_MiB"] = (peak - before) / kMiB;
    state.counters["layer_MiB"] = 16384.0 * 16384 * 4 / kMiB;
    state.counters["marks_MiB"] = markBytes / kMiB;
    state.counters["pixels"] = corridor;
}

void BM_EllipseOutline16384(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(EllipseOutline(16384, 16384));
}

BENCHMARK(BM_FloodFill_Spiral2048)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FloodFillCommand_Spiral2048)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanlineReference_Spiral2048)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FloodFill_Maze16384)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EllipseOutline16384)->Unit(benchmark::kMillisecond);

}  // namespace
