// The cost of the undo history: one key pass that commits a pixel, a line of
// 100 pixels or a 32x32 XOR stamp, history included, on a 64x48 picture of 1
// layer and a 2048x2048 picture of 16 layers; the same pass preceded by a copy
// of the whole current layer (what a snapshot per command costs); one undo
// and one redo of such a step; and the history memory of 1,000 pixel commits
// on the large picture; and a pixel commit with mirror drawing on and off.
#include <allegro.h>
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdlib>
#include <string>

#include "bench/bench_support.h"
#include "bmp/bmp.h"
#include "tests/layer_access.h"
#include "learn/history.h"
#include "learn/layer.h"
#include "learn/pointer.h"
#include "learn/world.h"

namespace {

// A key pass without waiting for a key: the held keys are set in Allegro's
// key table, as its keyboard handler would.
class PassWorld : public BenchWorld {
public:
    int ReadKey() override { return 0; }
};

void Hold(std::initializer_list<int> keys) {
    for (int k = 0; k < KEY_MAX; k++) key[k] = 0;
    for (int k : keys) key[k] = -1;
}

void BuildPicture(World& world, int w, int h, int n) {
    if (!world.resizeCanvas(w, h)) std::abort();
    for (int i = 1; i < n; i++) world.layers.push_back(new Layer(&world, w, h, i % 2));
    world.SelectLayer(n - 1);
    world.history->Clear();
}

enum Kind { kPixel, kLine, kStamp };

// Sets the pointer up for one commit of the kind; the colour alternates so
// every pass really changes the picture.
void Prepare(World& world, int kind, long n) {
    Pointer& p = *world.pointer;
    p.x = world.layer->width / 2;
    p.y = world.layer->height / 2;
    p.colour = n % 2 ? makecol(255, 180, 0) : makecol(0, 90, 255);
    p.mode = kind == kLine ? 2 : 0;
    p.lineX = p.x - 99;
    p.lineY = p.y;
}

std::initializer_list<int> KeysFor(int kind) {
    static const std::initializer_list<int> space = {KEY_SPACE}, e = {KEY_E};
    return kind == kStamp ? e : space;
}

void SetUp(PassWorld& world, benchmark::State& state) {
    BuildPicture(world, state.range(1), state.range(2), state.range(3));
    auto brush = std::make_unique<Bmp>(32, 32, "_bmp");
    clear_to_color(brush->GetBitmap(), makecol(200, 60, 10));
    world.pointer->SetBrush(brush.release());
    world.pointer->w = world.pointer->h = 32;
    static const char* const kinds[] = {"pixel", "line of 100", "32x32 stamp"};
    state.SetLabel(std::string(kinds[state.range(0)]) + ", " + std::to_string(state.range(1)) + "x" +
                   std::to_string(state.range(2)) + ", " + std::to_string(state.range(3)) + " layers");
}

void BM_CommitPass(benchmark::State& state) {
    ScratchDir dir;
    PassWorld world;
    SetUp(world, state);
    long n = 0;
    for (auto _ : state) {
        Prepare(world, state.range(0), n++);
        Hold(KeysFor(state.range(0)));
        world.DoKeys();
    }
    Hold({});
}

// The same pass after a copy of the whole current layer into a snapshot.
void BM_CommitPassWithLayerCopy(benchmark::State& state) {
    ScratchDir dir;
    PassWorld world;
    SetUp(world, state);
    Bmp snapshot(world.layer->width, world.layer->height, "_undo");
    long n = 0;
    for (auto _ : state) {
        Prepare(world, state.range(0), n++);
        blit(LayerBitmap(world.layer), snapshot.GetBitmap(), 0, 0, 0, 0, world.layer->width, world.layer->height);
        Hold(KeysFor(state.range(0)));
        world.DoKeys();
    }
    Hold({});
}

// One pass of Ctrl+Z and one of Ctrl+Y per iteration.
void BM_UndoRedoPasses(benchmark::State& state) {
    ScratchDir dir;
    PassWorld world;
    SetUp(world, state);
    Prepare(world, state.range(0), 0);
    Hold(KeysFor(state.range(0)));
    world.DoKeys();
    QuietStdout quiet;
    for (auto _ : state) {
        Hold({KEY_LCONTROL, KEY_Z});
        world.DoKeys();
        Hold({KEY_LCONTROL, KEY_Y});
        world.DoKeys();
    }
    Hold({});
}

// A pixel commit with mirror drawing off (0) and across both axes (3), where
// each pass draws four pixels, on the large picture.
void BM_PixelPassMirror(benchmark::State& state) {
    ScratchDir dir;
    PassWorld world;
    BuildPicture(world, 2048, 2048, 16);
    world.mirrorMode = static_cast<MirrorMode>(state.range(0));
    state.SetLabel(state.range(0) ? "mirror both axes" : "mirror off");
    long n = 0;
    for (auto _ : state) {
        Prepare(world, kPixel, n++);
        Hold({KEY_SPACE});
        world.DoKeys();
    }
    Hold({});
}

// 1,000 commits of single pixels, each its own pass and step; the counters
// are the history's own figure and what the heap grew by.
void BM_ThousandPixelSteps(benchmark::State& state) {
    ScratchDir dir;
    PassWorld world;
    BuildPicture(world, 2048, 2048, 16);
    size_t heapBefore = mallinfo2().uordblks;
    for (auto _ : state) {
        for (int i = 0; i < 1000; i++) {
            world.pointer->x = i;
            world.pointer->y = i;
            Hold({KEY_SPACE});
            world.DoKeys();
        }
    }
    Hold({});
    if (world.history->UndoCount() != 1000) std::abort();
    state.counters["history_KiB"] = world.history->Bytes() / 1024.0;
    state.counters["heap_KiB"] = (mallinfo2().uordblks - heapBefore) / 1024.0;
}

}  // namespace

BENCHMARK(BM_CommitPass)
    ->ArgNames({"kind", "w", "h", "layers"})
    ->ArgsProduct({{kPixel, kLine, kStamp}, {64}, {48}, {1}})
    ->ArgsProduct({{kPixel, kLine, kStamp}, {2048}, {2048}, {16}})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CommitPassWithLayerCopy)
    ->ArgNames({"kind", "w", "h", "layers"})
    ->ArgsProduct({{kPixel, kLine, kStamp}, {64}, {48}, {1}})
    ->ArgsProduct({{kPixel, kLine, kStamp}, {2048}, {2048}, {16}})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UndoRedoPasses)
    ->ArgNames({"kind", "w", "h", "layers"})
    ->ArgsProduct({{kPixel, kLine, kStamp}, {64}, {48}, {1}})
    ->ArgsProduct({{kPixel, kLine, kStamp}, {2048}, {2048}, {16}})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PixelPassMirror)->ArgName("mirror")->Arg(0)->Arg(3)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ThousandPixelSteps)->Iterations(1)->Unit(benchmark::kMillisecond);
