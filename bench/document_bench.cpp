// Saving and loading a document of 8 layers of 2048x2048 through the editor,
// beside a plain bulk write and read of the same number of bytes in the same
// run, and beside a writer that moves one value per call. The set-up checks
// that every writer produces byte-identical files.
#include <allegro.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "bmp/bmp.h"
#include "tests/layer_access.h"
#include "learn/history.h"
#include "learn/layer.h"
#include "learn/pointer.h"
#include "learn/world.h"

namespace {

constexpr int kSide = 2048;
constexpr int kLayers = 8;

// The editor with the big picture and two brushes, built once.
struct Fixture {
    ScratchDir dir;
    BenchWorld world;
    size_t bytes = 0;
    bool identical = false;

    Fixture() {
        for (Layer* l : world.layers) delete l;
        world.layers.clear();
        for (int i = 0; i < kLayers; i++) {
            Layer* l = new Layer(&world, kSide, kSide, i % 2);
            for (int y = 0; y < kSide; y += 7)
                hline(LayerBitmap(l), 0, y, kSide - 1, makecol(y & 255, i * 30, 90));
            world.layers.push_back(l);
        }
        world.SelectLayer(0);
        world.pointers[0]->w = 40, world.pointers[0]->h = 30;
        world.pointers[0]->Grab(*world.layer);
        world.pointers[1]->w = 20, world.pointers[1]->h = 20;
        world.pointers[1]->Grab(*world.layer);
        world.pointers[1]->w = 25;  // a box wider than its brush
        CheckIdentical();
    }

    void CheckIdentical() {
        world.SaveDocument("fast.zub");
        ReferenceSave("reference.zub");
        world.LoadDocument("fast.zub");
        DropLoadedPointers();
        world.SaveDocument("again.zub");
        std::string fast = Slurp("fast.zub");
        bytes = fast.size();
        identical = fast == Slurp("reference.zub") && fast == Slurp("again.zub");
        std::remove("again.zub");
        std::remove("reference.zub");
    }

    // Loading appends ten pointers carrying the loaded brushes; pointers 0
    // to 9 keep theirs, so the list goes back to ten.
    void DropLoadedPointers() {
        while (world.pointers.size() > 10) {
            delete world.pointers.back();
            world.pointers.pop_back();
        }
    }

    static std::string Slurp(const char* name) {
        std::ifstream in(name, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    // One 4-byte value per fwrite through getpixel: the straightforward
    // writer the bulk transfer replaces.
    void ReferenceSave(const char* name) {
        std::FILE* f = std::fopen(name, "wb");
        auto put = [f](int v) { std::fwrite(&v, 4, 1, f); };
        put(2), put(static_cast<int>(world.layers.size()));
        put(world.layer->width), put(world.layer->height);
        for (Layer* l : world.layers) {
            put(l->mode);
            for (int y = 0; y < l->height; y++)
                for (int x = 0; x < l->width; x++) put(getpixel(LayerBitmap(l), x, y));
        }
        for (Pointer* p : world.pointers) {
            if (!p->brush) {
                put(0);
                continue;
            }
            put(p->w), put(p->h);
            for (int y = 0; y < p->h; y++)
                for (int x = 0; x < p->w; x++) put(getpixel(p->brush->GetBitmap(), x, y));
        }
        std::fclose(f);
    }
};

// Destroyed at exit, before Allegro shuts down (its exit handler was
// registered first), so the scratch directory and its files go away.
Fixture& Shared() {
    static Fixture fixture;
    return fixture;
}

bool Ready(benchmark::State& state) {
    if (!Shared().identical) {
        state.SkipWithError("the writers' files differ");
        return false;
    }
    return true;
}

void BM_SaveDocument(benchmark::State& state) {
    Fixture& fx = Shared();
    if (!Ready(state)) return;
    for (auto _ : state) fx.world.SaveDocument("Vell.zub");
    state.SetBytesProcessed(state.iterations() * fx.bytes);
}

// The floor of a save: the same bytes in one bulk write. With `synced`
// they must also reach the disk (fsync), as the document save does before
// its rename.
void BulkWrite(benchmark::State& state, bool synced) {
    Fixture& fx = Shared();
    if (!Ready(state)) return;
    std::vector<char> data(fx.bytes, 1);
    for (auto _ : state) {
        std::FILE* f = std::fopen("bulk.bin", "wb");
        std::fwrite(data.data(), 1, data.size(), f);
        std::fflush(f);
        if (synced) fsync(fileno(f));
        std::fclose(f);
    }
    state.SetBytesProcessed(state.iterations() * fx.bytes);
}

void BM_BulkWrite(benchmark::State& state) { BulkWrite(state, false); }
void BM_BulkWriteSynced(benchmark::State& state) { BulkWrite(state, true); }

void BM_ValuePerCallSave(benchmark::State& state) {
    Fixture& fx = Shared();
    if (!Ready(state)) return;
    for (auto _ : state) fx.ReferenceSave("reference.zub");
    state.SetBytesProcessed(state.iterations() * fx.bytes);
}

void BM_LoadDocument(benchmark::State& state) {
    Fixture& fx = Shared();
    if (!Ready(state)) return;
    for (auto _ : state) {
        fx.world.LoadDocument("fast.zub");
        state.PauseTiming();
        fx.DropLoadedPointers();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * fx.bytes);
}

// Reads into freshly allocated memory, as loading a document must.
void BM_BulkRead(benchmark::State& state) {
    Fixture& fx = Shared();
    if (!Ready(state)) return;
    for (auto _ : state) {
        std::FILE* f = std::fopen("fast.zub", "rb");
        std::unique_ptr<char[]> data(new char[fx.bytes]);
        benchmark::DoNotOptimize(std::fread(data.get(), 1, fx.bytes, f));
        std::fclose(f);
        benchmark::DoNotOptimize(data.get());
    }
    state.SetBytesProcessed(state.iterations() * fx.bytes);
}

// The floor: the same read into memory that is already there.
void BM_BulkReadReused(benchmark::State& state) {
    Fixture& fx = Shared();
    if (!Ready(state)) return;
    std::vector<char> data(fx.bytes);
    for (auto _ : state) {
        std::FILE* f = std::fopen("fast.zub", "rb");
        benchmark::DoNotOptimize(std::fread(data.data(), 1, fx.bytes, f));
        std::fclose(f);
    }
    state.SetBytesProcessed(state.iterations() * fx.bytes);
}

// An autosave of a changed document (a pixel changed as a key pass changes
// it, through the history): the write of the save at quit, and vell.cfg.
void BM_Autosave(benchmark::State& state) {
    Fixture& fx = Shared();
    if (!Ready(state)) return;
    BITMAP* b = LayerBitmap(fx.world.layers[0]);
    for (auto _ : state) {
        state.PauseTiming();
        fx.world.history->WillChange(fx.world.layers[0], 0, 0, 1, 1);
        putpixel(b, 0, 0, getpixel(b, 0, 0) ^ 1);
        fx.world.history->Close();
        fx.world.autosaveClock.PassRan(NowMs());
        state.ResumeTiming();
        fx.world.AutosaveIfDue(AutosaveClock::kQuietMs);
    }
    state.SetBytesProcessed(state.iterations() * fx.bytes);
}

// The check that finds nothing changed: no write.
void BM_AutosaveUnchanged(benchmark::State& state) {
    Fixture& fx = Shared();
    if (!Ready(state)) return;
    fx.world.savedVersion = fx.world.CurrentDocumentVersion();
    for (auto _ : state) {
        fx.world.autosaveClock.PassRan(NowMs());
        fx.world.AutosaveIfDue(AutosaveClock::kQuietMs);
    }
    state.SetBytesProcessed(state.iterations() * fx.bytes);
}

BENCHMARK(BM_SaveDocument)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_Autosave)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_AutosaveUnchanged)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_BulkWrite)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_BulkWriteSynced)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ValuePerCallSave)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_LoadDocument)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_BulkRead)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_BulkReadReused)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
