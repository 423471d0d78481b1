// Exports beside ImageMagick in the same run. Animation: 64 frames of
// 128x128 TGA (a still background, a small figure moving and changing its
// colours, some 460 colours in all) exported by the editor's Alt+G command,
// timed in-process with the form answered and the frame files read from
// disk, against `convert -delay 10 -loop 0 <frames> out.gif` timed as a whole
// process. ImageMagick is given the frames as PNG files: it reads the alpha
// byte of the 32-bit TGA files, which Allegro leaves 0, as transparency.
// BM_GifSizes writes both once, has `gifsicle -O3` optimize ImageMagick's
// GIF (it reads only GIFs; that one holds the frames exactly), decodes all
// three with giflib and reports their sizes and how many pixels differ from
// the frame files. PNG: the
// editor's save of a 2048x2048 picture (pixels read from the bitmap, then
// libpng) against png_write_image of the same rows at the same level.
#include <allegro.h>
#include <benchmark/benchmark.h>
#include <png.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "bmp/bmp.h"
#include "bmp/png_writer.h"
#include "bmp/rgb_pixels.h"
#include "learn/frames.h"
#include "learn/prompt.h"
#include "tests/gif_decode.h"

namespace {

constexpr int kFrames = 64, kSide = 128, kFigure = 16;
const char* const kConvert = "/usr/bin/convert";
const char* const kGifsicle = "/usr/bin/gifsicle";

// The editor with the form of either export answered at once.
class AnsweringWorld : public BenchWorld {
public:
    std::vector<std::string> answers;
    PromptAnswers Prompt(const std::string&, const std::vector<std::string>&,
                         const std::vector<std::string>&, const FieldRanges&) override {
        return PromptAnswers{answers, true};
    }
};

// Background: 12x15 tiles of 180 colours. Figure: 16x16 of 32 colours that
// shift by 4 per frame, moving 1 pixel right and a little down each frame.
int FrameColour(int n, int x, int y) {
    int fx = 20 + n, fy = 30 + n / 2;
    if (x >= fx && x < fx + kFigure && y >= fy && y < fy + kFigure) {
        int k = ((x - fx) / 4 + (y - fy) / 4 * 4 + n * 4) % 300;
        return makecol(255 - k / 2, 60 + (k * 7) % 120, 200);
    }
    return makecol(x * 12 / kSide * 20, y * 15 / kSide * 16, 90);
}

struct Animation {
    ScratchDir dir;
    AnsweringWorld world;
    std::vector<std::vector<uint32_t>> frames;  // as 0xRRGGBB

    Animation() {
        QuietStdout quiet;
        for (int n = 0; n < kFrames; n++) {
            Bmp b(kSide, kSide, "frame");
            for (int y = 0; y < kSide; y++)
                for (int x = 0; x < kSide; x++) putpixel(b.GetBitmap(), x, y, FrameColour(n, x, y));
            b.Save(FrameFileName("walk", n));
            RgbPixels px = PixelsOf(b.GetBitmap());
            WriteInPlace("im" + FrameFileName("walk", n) + ".png",
                         [&](std::FILE* f) { return WritePng(f, px.argb.data(), kSide, kSide, false); });
            for (uint32_t& c : px.argb) c &= 0xFFFFFF;
            frames.push_back(px.argb);
        }
        world.files->root = "walk";
    }

    // Scale 1 writes vell.gif; scale 4 vell4.gif.
    void ExportWithVell(int scale = 1) {
        QuietStdout quiet;
        std::string name = scale == 1 ? "vell.gif" : "vell" + std::to_string(scale) + ".gif";
        world.answers = {"0", std::to_string(kFrames - 1), "100", "0", std::to_string(scale), name};
        world.ExportAnimation();
    }
    int ExportWithConvert() {
        std::string cmd = std::string(kConvert) + " -delay 10 -loop 0 imwalk0*.png convert.gif";
        return std::system(cmd.c_str());
    }
    int OptimizeWithGifsicle() {
        std::string cmd = std::string(kGifsicle) + " -O3 convert.gif -o gifsicle.gif";
        return std::system(cmd.c_str());
    }
    // Pixels of the decoded GIF that differ from the frame files; -1 when it
    // does not hold every frame.
    long WrongPixels(const std::string& name) {
        DecodedGif d = DecodeGif(name);
        if (d.frames.size() != frames.size() || d.w != kSide || d.h != kSide) return -1;
        long wrong = 0;
        for (size_t n = 0; n < frames.size(); n++)
            for (size_t i = 0; i < frames[n].size(); i++) wrong += d.frames[n][i] != frames[n][i];
        return wrong;
    }
};

Animation& Anim() {
    static Animation a;
    return a;
}

long FileSize(const std::string& name) {
    struct stat st;
    return stat(name.c_str(), &st) == 0 ? st.st_size : -1;
}

void BM_GifExportVell(benchmark::State& state) {
    Animation& a = Anim();
    for (auto _ : state) a.ExportWithVell();
    if (FileSize("vell.gif") <= 0) state.SkipWithError("no vell.gif");
}
BENCHMARK(BM_GifExportVell)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

// Every pixel a block of 4x4: 16 times the pixels of BM_GifExportVell.
void BM_GifExportVellScale4(benchmark::State& state) {
    Animation& a = Anim();
    for (auto _ : state) a.ExportWithVell(4);
    if (FileSize("vell4.gif") <= 0) state.SkipWithError("no vell4.gif");
    state.counters["bytes"] = FileSize("vell4.gif");
    state.counters["unscaled_bytes"] = FileSize("vell.gif");
}
BENCHMARK(BM_GifExportVellScale4)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

void BM_GifExportConvert(benchmark::State& state) {
    Animation& a = Anim();
    for (auto _ : state)
        if (a.ExportWithConvert() != 0) state.SkipWithError("convert failed");
}
BENCHMARK(BM_GifExportConvert)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

void BM_GifSizes(benchmark::State& state) {
    Animation& a = Anim();
    for (auto _ : state) {
        a.ExportWithVell();
        a.ExportWithConvert();
        if (a.OptimizeWithGifsicle() != 0) state.SkipWithError("gifsicle failed");
    }
    state.counters["vell_bytes"] = FileSize("vell.gif");
    state.counters["convert_bytes"] = FileSize("convert.gif");
    state.counters["gifsicle_bytes"] = FileSize("gifsicle.gif");
    state.counters["gifsicle_wrong_px"] = a.WrongPixels("gifsicle.gif");
    state.counters["vell_wrong_px"] = a.WrongPixels("vell.gif");
    state.counters["convert_wrong_px"] = a.WrongPixels("convert.gif");
}
BENCHMARK(BM_GifSizes)->Unit(benchmark::kMillisecond)->Iterations(1);

// A 2048x2048 picture with smooth areas and fine detail, as paintings have.
struct Picture {
    ScratchDir dir;
    std::unique_ptr<Bmp> bmp{new Bmp(2048, 2048, "picture")};
    std::vector<png_byte> rgb;

    Picture() {
        for (int y = 0; y < 2048; y++)
            for (int x = 0; x < 2048; x++)
                putpixel(bmp->GetBitmap(), x, y, makecol(x / 8, (x ^ y) & 0xFF, (y / 16 + (x * y) % 7) & 0xFF));
        RgbPixels px = PixelsOf(bmp->GetBitmap());
        for (uint32_t c : px.argb) rgb.insert(rgb.end(), {png_byte(c >> 16), png_byte(c >> 8), png_byte(c)});
    }
};

Picture& Pic() {
    static Picture p;
    return p;
}

void BM_PngSaveVell(benchmark::State& state) {
    Picture& p = Pic();
    for (auto _ : state)
        if (!WriteInPlace("vell.png", [&](std::FILE* f) { return p.bmp->Save(f, ".png") == 0; }))
            state.SkipWithError("save failed");
    state.counters["bytes"] = FileSize("vell.png");
}
BENCHMARK(BM_PngSaveVell)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

// The same save as Alt+S makes it: whole or not at all, flushed to the disk.
void BM_PngSaveVellWhole(benchmark::State& state) {
    Picture& p = Pic();
    for (auto _ : state)
        if (p.bmp->Save("vell.png") != 0) state.SkipWithError("save failed");
}
BENCHMARK(BM_PngSaveVellWhole)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

void BM_PngWriteImage(benchmark::State& state) {
    Picture& p = Pic();
    std::vector<png_bytep> rows;
    for (int y = 0; y < 2048; y++) rows.push_back(p.rgb.data() + static_cast<size_t>(y) * 2048 * 3);
    for (auto _ : state) {
        std::FILE* f = std::fopen("plain.png", "wb");
        png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
        png_infop info = png_create_info_struct(png);
        if (setjmp(png_jmpbuf(png))) state.SkipWithError("libpng failed");
        png_init_io(png, f);
        png_set_compression_level(png, kPngLevel);
        png_set_IHDR(png, info, 2048, 2048, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                     PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        png_write_image(png, rows.data());
        png_write_end(png, info);
        png_destroy_write_struct(&png, &info);
        std::fclose(f);
    }
    state.counters["bytes"] = FileSize("plain.png");
}
BENCHMARK(BM_PngWriteImage)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

}  // namespace
