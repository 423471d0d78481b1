#include "png_writer.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <optional>
#include <unordered_map>
#include <vector>

namespace {

// Palette images compress best unfiltered: each byte is an index, not a
// level, so differences between neighbours mean nothing. On pixel art zlib
// level 8 comes within 0.2% of level 9's size in half its time, and within
// about 1% of what the PNG optimisers make.
const int kPaletteLevel = 8;

struct Layout {
    int w, h;
    int colourType, bitDepth;
    int level;
    const std::vector<png_color>* palette;  // for PNG_COLOR_TYPE_PALETTE
    bool firstEntryClear;                   // palette entry 0 is transparent
};

// libpng reports errors by longjmp: nothing with a destructor may be created
// between the setjmp and the end of this function. `rowAt(y)` gives row y as
// libpng takes it (one byte per index for a palette: libpng packs them).
template <typename RowAt>
bool Encode(std::FILE* f, const Layout& layout, RowAt rowAt) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, f);
    png_set_compression_level(png, layout.level);
    png_set_IHDR(png, info, layout.w, layout.h, layout.bitDepth, layout.colourType, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (layout.palette) {
        png_set_PLTE(png, info, layout.palette->data(), static_cast<int>(layout.palette->size()));
        png_byte clear = 0;
        if (layout.firstEntryClear) png_set_tRNS(png, info, &clear, 1, nullptr);
        png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
        png_set_compression_mem_level(png, 9);
    }
    png_write_info(png, info);
    if (layout.bitDepth < 8) png_set_packing(png);
    for (int y = 0; y < layout.h; y++) png_write_row(png, rowAt(y));
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return !std::ferror(f);
}

void PackRow(const uint32_t* argb, int w, bool withAlpha, png_byte* out) {
    for (int x = 0; x < w; x++) {
        uint32_t c = argb[x];
        *out++ = static_cast<png_byte>(c >> 16);
        *out++ = static_cast<png_byte>(c >> 8);
        *out++ = static_cast<png_byte>(c);
        if (withAlpha) *out++ = static_cast<png_byte>(c >> 24);
    }
}

// A picture of at most 256 colours as indices into its colours, in the
// order they first appear.
struct Indexed {
    std::vector<png_color> palette;
    std::vector<png_byte> indices;
};

// A transparent pixel's key: no colour has it, since colours are keyed by
// their 24 bits alone.
const uint32_t kClearKey = 0xff000000u;

// With `withClear`, index 0 is kept for the pixels of alpha 0.
std::optional<Indexed> IndexColours(const uint32_t* argb, size_t count, bool withClear) {
    Indexed out;
    out.indices.resize(count);
    std::unordered_map<uint32_t, png_byte> indexOf;
    if (withClear) {
        indexOf.emplace(kClearKey, 0);
        out.palette.push_back(png_color{0, 0, 0});
    }
    // Pixel art runs one colour over many pixels: the last one is checked
    // before the map.
    uint32_t last = 0xffffffff;
    png_byte lastIndex = 0;
    for (size_t i = 0; i < count; i++) {
        uint32_t rgb = withClear && argb[i] >> 24 == 0 ? kClearKey : argb[i] & 0xffffff;
        if (rgb != last) {
            auto found = indexOf.find(rgb);
            if (found != indexOf.end()) {
                lastIndex = found->second;
            } else {
                if (out.palette.size() == 256) return std::nullopt;
                lastIndex = static_cast<png_byte>(out.palette.size());
                indexOf.emplace(rgb, lastIndex);
                out.palette.push_back(
                    png_color{static_cast<png_byte>(rgb >> 16), static_cast<png_byte>(rgb >> 8), static_cast<png_byte>(rgb)});
            }
            last = rgb;
        }
        out.indices[i] = lastIndex;
    }
    return out;
}

int BitsFor(size_t colours) {
    for (int bits : {1, 2, 4}) {
        if (colours <= (size_t{1} << bits)) return bits;
    }
    return 8;
}

}  // namespace

bool WritePng(std::FILE* f, const uint32_t* argb, int w, int h, bool withAlpha, int level) {
    if (w < 1 || h < 1) return false;
    std::vector<png_byte> row(static_cast<size_t>(w) * (withAlpha ? 4 : 3));
    Layout layout{w, h, withAlpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB, 8, level, nullptr, false};
    return Encode(f, layout, [&](int y) {
        PackRow(argb + static_cast<size_t>(y) * w, w, withAlpha, row.data());
        return row.data();
    });
}

bool WritePicturePng(std::FILE* f, const uint32_t* argb, int w, int h) {
    if (w < 1 || h < 1) return false;
    const size_t count = static_cast<size_t>(w) * h;
    bool withClear = false;
    for (size_t i = 0; i < count && !withClear; i++) withClear = argb[i] >> 24 == 0;
    std::optional<Indexed> indexed = IndexColours(argb, count, withClear);
    if (!indexed) {
        if (!withClear) return WritePng(f, argb, w, h, false);
        // Transparent pixels as 0 (black, alpha 0), the rest opaque.
        std::vector<uint32_t> rgba(argb, argb + count);
        for (uint32_t& c : rgba) c = c >> 24 == 0 ? 0 : c | 0xff000000u;
        return WritePng(f, rgba.data(), w, h, true);
    }
    Layout layout{w, h, PNG_COLOR_TYPE_PALETTE, BitsFor(indexed->palette.size()), kPaletteLevel, &indexed->palette,
                  withClear};
    return Encode(f, layout, [&](int y) { return indexed->indices.data() + static_cast<size_t>(y) * w; });
}
