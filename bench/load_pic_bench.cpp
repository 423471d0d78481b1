// Loading a 2048x2048 true-colour PNG into a Bmp, beside SDL_image's own
// decode of the same file in the same run: the difference is the conversion
// into an Allegro bitmap.
#include <SDL/SDL_image.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
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

}  // namespace
