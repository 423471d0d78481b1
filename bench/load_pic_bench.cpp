// Loading a 2048x2048 true-colour PNG into a Bmp, beside SDL_image's own
// decode of the same file in the same run; and 2048x2048 BMPs of 24 bits and
// of 8 bits with a palette, beside SDL_image's decode of them and beside
// what no loader can beat: one read of the whole file and one pass over its
// pixels into a 32-bit picture.
#include <SDL/SDL_image.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "bmp/bmp.h"

namespace {

// A picture with detail everywhere, made once per run.
const std::string& Picture() {
    static std::string name = [] {
        std::string path = "/tmp/vell-load-pic-bench-" + std::to_string(getpid()) + ".png";
        std::string cmd = "convert -seed 7 -size 2048x2048 plasma:fractal PNG24:" + path;
        if (std::system(cmd.c_str()) != 0) std::fprintf(stderr, "could not make %s\n", path.c_str());
        std::atexit([] { std::remove(Picture().c_str()); });
        return path;
    }();
    return name;
}

void BM_ImgLoadAlone(benchmark::State& state) {
    const std::string& name = Picture();
    for (auto _ : state) {
        SDL_Surface* s = IMG_Load(name.c_str());
        if (!s) state.SkipWithError("IMG_Load failed");
        benchmark::DoNotOptimize(s);
        SDL_FreeSurface(s);
    }
}
BENCHMARK(BM_ImgLoadAlone)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_LoadPic(benchmark::State& state) {
    const std::string& name = Picture();
    for (auto _ : state) {
        Bmp b(name);
        if (!b.Loaded()) state.SkipWithError("LoadPic failed");
        benchmark::DoNotOptimize(b.GetBitmap());
    }
}
BENCHMARK(BM_LoadPic)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// A file removed when the benchmark ends.
struct ScratchFile {
    std::string name;
    ~ScratchFile() { std::remove(name.c_str()); }
};

// The same plasma as a BMP (ImageMagick's 124-byte header, uncompressed)
// of 24 bits, or of 8 bits with a 256-colour palette.
std::string MakeBmp(int bits) {
    std::string name = "/tmp/vell-load-pic-bench-" + std::to_string(getpid()) + "-" + std::to_string(bits) + ".bmp";
    std::string how = bits == 8 ? "-colors 256 -type palette -compress None" : "-type truecolor";
    std::string cmd = "convert " + Picture() + " " + how + " BMP:" + name;
    if (std::system(cmd.c_str()) != 0) std::fprintf(stderr, "could not make %s\n", name.c_str());
    return name;
}

const std::string& BmpPicture(int bits) {
    static ScratchFile files[2] = {{MakeBmp(24)}, {MakeBmp(8)}};
    return files[bits == 8].name;
}

uint32_t Le32(const uint8_t* b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

// The floor: the whole file in one read, then every pixel once into a
// fresh 32-bit picture, with no checks at all.
void BM_BmpReadAndOnePass(benchmark::State& state) {
    const int bits = static_cast<int>(state.range(0));
    const std::string& name = BmpPicture(bits);
    for (auto _ : state) {
        std::FILE* f = std::fopen(name.c_str(), "rb");
        std::fseek(f, 0, SEEK_END);
        // Neither buffer is cleared first: a loader need not clear them either.
        const size_t size = static_cast<size_t>(std::ftell(f));
        std::unique_ptr<uint8_t[]> bytes(new uint8_t[size]);
        std::fseek(f, 0, SEEK_SET);
        if (std::fread(bytes.get(), 1, size, f) != size) state.SkipWithError("short read");
        std::fclose(f);
        const uint8_t* file = bytes.get();
        const size_t w = Le32(file, 18), h = Le32(file, 22), start = Le32(file, 10);
        const size_t rowBytes = (w * bits + 31) / 32 * 4;
        const uint8_t* palette = file + 14 + Le32(file, 14);
        uint32_t colours[256];
        for (int i = 0; i < 256; i++) colours[i] = palette[4 * i] | palette[4 * i + 1] << 8 | palette[4 * i + 2] << 16;
        std::unique_ptr<uint32_t[]> picture(new uint32_t[w * h]);
        for (size_t y = 0; y < h; y++) {
            const uint8_t* p = file + start + (h - 1 - y) * rowBytes;
            uint32_t* out = picture.get() + y * w;
            if (bits == 8)
                for (size_t x = 0; x < w; x++) out[x] = colours[p[x]];
            else
                for (size_t x = 0; x < w; x++, p += 3) out[x] = p[0] | p[1] << 8 | p[2] << 16;
        }
        benchmark::DoNotOptimize(picture.get());
    }
}
BENCHMARK(BM_BmpReadAndOnePass)->Arg(24)->Arg(8)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_BmpImgLoad(benchmark::State& state) {
    const std::string& name = BmpPicture(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        SDL_Surface* s = IMG_Load(name.c_str());
        if (!s) state.SkipWithError("IMG_Load failed");
        benchmark::DoNotOptimize(s);
        SDL_FreeSurface(s);
    }
}
BENCHMARK(BM_BmpImgLoad)->Arg(24)->Arg(8)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_BmpLoadPic(benchmark::State& state) {
    const std::string& name = BmpPicture(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        Bmp b(name);
        if (!b.Loaded()) state.SkipWithError("LoadPic failed");
        benchmark::DoNotOptimize(b.GetBitmap());
    }
}
BENCHMARK(BM_BmpLoadPic)->Arg(24)->Arg(8)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
