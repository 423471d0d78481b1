// PNG saves of pictures of few and of many colours, and palette files.
// Sheet: a 512x512 sprite sheet of 16 colours (16x16 tiles of 32x32, each
// a mirrored 16x16 figure with an outline, lit and shaded edges and eyes,
// four frames of each figure differing in their lower rows), saved by
// Bmp::Save (a palette PNG) against WritePng's RGB save of the same pixels.
// BM_SheetSizes compares the saved file with `optipng -o2` of a copy, checks
// its header and decodes it with libpng, counting the pixels that differ.
// Painting: a 512x512 picture of some 2,000 colours in smooth ramps, which
// Bmp::Save keeps RGB: the same pair of times. Gpl: reading a 256-colour
// GIMP palette file.
#include <allegro.h>
#include <benchmark/benchmark.h>
#include <png.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "bmp/bmp.h"
#include "bmp/palette_io.h"
#include "bmp/png_writer.h"
#include "bmp/rgb_pixels.h"

namespace {

constexpr int kSide = 512, kTile = 32, kFigure = 16;
const char* const kOptipng = "/usr/bin/optipng";

// Background, outline, eye, then four ramps of shadow, base and light, and
// one spare light: 16 colours.
constexpr uint32_t kSheetColours[] = {0x222034, 0x000000, 0xffffff, 0x663931, 0x8f563b, 0xd9a066,
                                      0x4b692f, 0x6abe30, 0x99e550, 0x306082, 0x5b6ee1, 0x639bff,
                                      0x76428a, 0xac3232, 0xd95763, 0xfbf236};
enum { kBackground, kOutline, kEye, kFirstRamp };

uint32_t Next(uint32_t& seed) {
    seed = seed * 1664525u + 1013904223u;
    return seed >> 16;
}

// A figure's filled cells: the left half random, mirrored onto the right;
// rows from 11 down change with the frame, as legs do in a walk.
std::vector<bool> FigureMask(int figure, int frame) {
    std::vector<bool> mask(kFigure * kFigure);
    uint32_t body = 77u + figure * 131u, legs = body + frame * 7919u;
    for (int y = 1; y < kFigure - 1; y++)
        for (int x = 1; x < kFigure / 2; x++) {
            uint32_t& seed = y < 11 ? body : legs;
            bool filled = Next(seed) % 100 < static_cast<uint32_t>(30 + 8 * x);
            mask[y * kFigure + x] = mask[y * kFigure + kFigure - 1 - x] = filled;
        }
    return mask;
}

int SheetIndex(const std::vector<bool>& mask, int ramp, int x, int y) {
    auto filled = [&](int px, int py) {
        return px >= 0 && py >= 0 && px < kFigure && py < kFigure && mask[py * kFigure + px];
    };
    if (!filled(x, y)) {
        bool edge = filled(x - 1, y) || filled(x + 1, y) || filled(x, y - 1) || filled(x, y + 1);
        return edge ? kOutline : kBackground;
    }
    if (y == 5 && (x == 5 || x == kFigure - 6)) return kEye;
    int first = kFirstRamp + ramp * 3;
    if (!filled(x, y - 1)) return ramp == 0 && x % 5 == 0 ? 15 : first + 2;
    if (!filled(x, y + 1)) return first;
    return first + 1;
}

void PaintSheet(BITMAP* b) {
    clear_to_color(b, makecol(0x22, 0x20, 0x34));
    for (int tile = 0; tile < (kSide / kTile) * (kSide / kTile); tile++) {
        int figure = tile / 4, frame = tile % 4, ramp = figure % 4;
        std::vector<bool> mask = FigureMask(figure, frame);
        int ox = tile % (kSide / kTile) * kTile + 8, oy = tile / (kSide / kTile) * kTile + 8;
        for (int y = 0; y < kFigure; y++)
            for (int x = 0; x < kFigure; x++) {
                uint32_t c = kSheetColours[SheetIndex(mask, ramp, x, y)];
                putpixel(b, ox + x, oy + y, makecol(c >> 16, c >> 8 & 0xff, c & 0xff));
            }
    }
}

// Ramps of 43 reds across, 43 greens down, and blue in 3 steps along the
// diagonal: 1,953 colours.
void PaintPainting(BITMAP* b) {
    for (int y = 0; y < kSide; y++)
        for (int x = 0; x < kSide; x++) putpixel(b, x, y, makecol(x / 12 * 6, y / 12 * 6, (x + y) / 400 * 90));
}

long FileSize(const std::string& name) {
    struct stat st;
    return stat(name.c_str(), &st) == 0 ? st.st_size : -1;
}

struct Picture {
    Bmp bmp{kSide, kSide, "bench"};
    RgbPixels px;
    std::string name;

    Picture(void (*paint)(BITMAP*), const std::string& fileName) : name(fileName) {
        paint(bmp.GetBitmap());
        px = PixelsOf(bmp.GetBitmap());
    }
    size_t Colours() const {
        std::set<uint32_t> seen;
        for (uint32_t c : px.argb) seen.insert(c & 0xffffff);
        return seen.size();
    }
    // optipng -o2 of a copy of the editor's save; its size, or -1.
    long OptipngBytes() {
        std::string copy = "optipng-" + name;
        std::string cmd = "cp " + name + " " + copy + " && " + kOptipng + " -quiet -o2 " + copy;
        return std::system(cmd.c_str()) == 0 ? FileSize(copy) : -1;
    }
    // The saved file's pixels that differ from the picture; -1 when libpng
    // cannot read it or its size is wrong.
    long WrongPixels() {
        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        if (!png_image_begin_read_from_file(&image, name.c_str())) return -1;
        image.format = PNG_FORMAT_RGB;
        std::vector<png_byte> rgb(PNG_IMAGE_SIZE(image));
        if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) return -1;
        if (image.width != kSide || image.height != kSide) return -1;
        long wrong = 0;
        for (size_t i = 0; i < px.argb.size(); i++) {
            uint32_t c = px.argb[i];
            wrong += rgb[3 * i] != (c >> 16 & 0xff) || rgb[3 * i + 1] != (c >> 8 & 0xff) || rgb[3 * i + 2] != (c & 0xff);
        }
        return wrong;
    }
    // The IHDR's bit depth and colour type: bytes 24 and 25 of a PNG.
    std::pair<int, int> Header() {
        unsigned char head[26] = {};
        std::FILE* f = std::fopen(name.c_str(), "rb");
        if (f) {
            if (std::fread(head, 1, sizeof head, f) != sizeof head) head[24] = head[25] = 0;
            std::fclose(f);
        }
        return {head[24], head[25]};
    }
};

ScratchDir& Dir() {
    static ScratchDir dir;
    return dir;
}

Picture& Sheet() {
    Dir();
    static Picture p(PaintSheet, "sheet.png");
    return p;
}

Picture& Painting() {
    Dir();
    static Picture p(PaintPainting, "painting.png");
    return p;
}

void SaveThroughBmp(benchmark::State& state, Picture& p) {
    for (auto _ : state)
        if (!WriteInPlace(p.name, [&](std::FILE* f) { return p.bmp.Save(f, ".png") == 0; }))
            state.SkipWithError("save failed");
    state.counters["bytes"] = FileSize(p.name);
}

void SaveRgb(benchmark::State& state, Picture& p) {
    for (auto _ : state)
        if (!WriteInPlace("rgb-" + p.name,
                          [&](std::FILE* f) { return WritePng(f, p.px.argb.data(), kSide, kSide, false); }))
            state.SkipWithError("save failed");
    state.counters["bytes"] = FileSize("rgb-" + p.name);
}

void Sizes(benchmark::State& state, Picture& p) {
    for (auto _ : state)
        if (p.bmp.Save(p.name) != 0) state.SkipWithError("save failed");
    long bytes = FileSize(p.name), optimised = p.OptipngBytes();
    std::pair<int, int> header = p.Header();
    state.counters["colours"] = p.Colours();
    state.counters["bit_depth"] = header.first;
    state.counters["colour_type"] = header.second;
    state.counters["bytes"] = bytes;
    state.counters["optipng_bytes"] = optimised;
    state.counters["x_optipng"] = optimised > 0 ? static_cast<double>(bytes) / optimised : -1;
    state.counters["wrong_px"] = p.WrongPixels();
}

void BM_SheetSave(benchmark::State& state) { SaveThroughBmp(state, Sheet()); }
BENCHMARK(BM_SheetSave)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
void BM_SheetRgbSave(benchmark::State& state) { SaveRgb(state, Sheet()); }
BENCHMARK(BM_SheetRgbSave)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
void BM_SheetSizes(benchmark::State& state) { Sizes(state, Sheet()); }
BENCHMARK(BM_SheetSizes)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_PaintingSave(benchmark::State& state) { SaveThroughBmp(state, Painting()); }
BENCHMARK(BM_PaintingSave)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
void BM_PaintingRgbSave(benchmark::State& state) { SaveRgb(state, Painting()); }
BENCHMARK(BM_PaintingRgbSave)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
void BM_PaintingSizes(benchmark::State& state) { Sizes(state, Painting()); }
BENCHMARK(BM_PaintingSizes)->Unit(benchmark::kMillisecond)->Iterations(1);

// 256 colours as GIMP writes them, each line with a name.
void BM_GplLoad(benchmark::State& state) {
    Dir();
    std::FILE* f = std::fopen("bench.gpl", "wb");
    if (!f) return state.SkipWithError("cannot write bench.gpl");
    std::fprintf(f, "GIMP Palette\nName: bench\nColumns: 16\n#\n");
    for (int i = 0; i < 256; i++) std::fprintf(f, "%3d %3d %3d\tColour %d\n", i, 255 - i, i * 7 % 256, i);
    std::fclose(f);
    for (auto _ : state) {
        PaletteReading r = ReadPaletteFile("bench.gpl");
        if (!r.palette || r.palette->Size() != 256) state.SkipWithError("bench.gpl not read");
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(BM_GplLoad)->Unit(benchmark::kMicrosecond)->MinTime(1.0);

}  // namespace
