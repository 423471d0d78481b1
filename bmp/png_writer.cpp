#include "png_writer.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <vector>

namespace {

void PackRow(const uint32_t* argb, int w, bool withAlpha, png_byte* out) {
    for (int x = 0; x < w; x++) {
        uint32_t c = argb[x];
        *out++ = static_cast<png_byte>(c >> 16);
        *out++ = static_cast<png_byte>(c >> 8);
        *out++ = static_cast<png_byte>(c);
        if (withAlpha) *out++ = static_cast<png_byte>(c >> 24);
    }
}

// libpng reports errors by longjmp: nothing with a destructor may be created
// between the setjmp and the end of this function.
bool Encode(std::FILE* f, const uint32_t* argb, int w, int h, bool withAlpha, int level, png_byte* row) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, f);
    png_set_compression_level(png, level);
    png_set_IHDR(png, info, w, h, 8, withAlpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < h; y++) {
        PackRow(argb + static_cast<size_t>(y) * w, w, withAlpha, row);
        png_write_row(png, row);
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

bool WritePng(const std::string& fileName, const uint32_t* argb, int w, int h, bool withAlpha, int level) {
    if (w < 1 || h < 1) return false;
    std::vector<png_byte> row(static_cast<size_t>(w) * (withAlpha ? 4 : 3));
    std::FILE* f = std::fopen(fileName.c_str(), "wb");
    if (!f) return false;
    bool ok = Encode(f, argb, w, h, withAlpha, level, row.data());
    // A full disk shows up at the flush of the last block.
    if (std::fclose(f) != 0) ok = false;
    return ok;
}
