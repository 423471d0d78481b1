#include "png_reader.h"

#include <png.h>

#include <vector>

struct PngReader::Png {
    png_structp read = nullptr;
    png_infop info = nullptr;
    char error[200] = {};
    bool indexed = false;
    int passes = 1;
    size_t rowBytes = 0;
    RgbaPixel colours[256] = {};  // an indexed picture's palette, black past its end
    int known = 0;                // entries in the palette
};

namespace {

// libpng reports errors here and expects no return: the message is kept
// and control goes back to the setjmp of the call that failed.
void OnError(png_structp read, png_const_charp message) {
    auto* error = static_cast<char*>(png_get_error_ptr(read));
    std::snprintf(error, 200, "%s", message);
    png_longjmp(read, 1);
}

// Warnings concern chunks that do not change the pixels.
void OnWarning(png_structp, png_const_charp) {}

std::string Damaged(const char* error) { return std::string("damaged: ") + (*error ? error : "libpng refuses it"); }

}  // namespace

PngReader::PngReader(std::FILE* file) : f(file), png(new Png) {}

PngReader::~PngReader() {
    if (png->read) png_destroy_read_struct(&png->read, png->info ? &png->info : nullptr, nullptr);
    delete png;
}

bool PngReader::ReadHeader(std::string& why) {
    Png& p = *png;
    p.read = png_create_read_struct(PNG_LIBPNG_VER_STRING, p.error, OnError, OnWarning);
    if (p.read) p.info = png_create_info_struct(p.read);
    if (!p.info) {
        why = "no memory for the picture";
        return false;
    }
    if (setjmp(png_jmpbuf(p.read))) {
        why = Damaged(p.error);
        return false;
    }
    png_init_io(p.read, f);
    png_read_info(p.read, p.info);
    w = static_cast<int>(png_get_image_width(p.read, p.info));
    h = static_cast<int>(png_get_image_height(p.read, p.info));
    p.indexed = png_get_color_type(p.read, p.info) == PNG_COLOR_TYPE_PALETTE;
    if (p.indexed) {
        // Indices one a byte, looked up here: libpng would turn indices past
        // the palette into black without saying so.
        png_set_packing(p.read);
        png_colorp palette = nullptr;
        int entries = 0;
        png_get_PLTE(p.read, p.info, &palette, &entries);
        png_bytep alpha = nullptr;
        int alphas = 0;
        if (png_get_valid(p.read, p.info, PNG_INFO_tRNS)) png_get_tRNS(p.read, p.info, &alpha, &alphas, nullptr);
        p.known = entries;
        for (int i = 0; i < 256; i++)
            p.colours[i] = i < entries ? Rgba(palette[i].red, palette[i].green, palette[i].blue,
                                              i < alphas ? alpha[i] : 255)
                                       : Rgba(0, 0, 0);
    } else {
        // Grey and colour, any depth, as 8-bit red, green, blue and alpha:
        // the transparent colour becomes alpha 0, 16-bit samples lose their
        // low byte, and no gamma is applied.
        png_set_expand(p.read);
        png_set_strip_16(p.read);
        png_set_gray_to_rgb(p.read);
        png_set_filler(p.read, 0xff, PNG_FILLER_AFTER);
    }
    p.passes = png_set_interlace_handling(p.read);
    png_read_update_info(p.read, p.info);
    p.rowBytes = png_get_rowbytes(p.read, p.info);
    size_t wanted = static_cast<size_t>(w) * (p.indexed ? 1 : 4);
    if (p.rowBytes != wanted) {
        why = "damaged: its rows do not have the size its header gives";
        return false;
    }
    return true;
}

bool PngReader::ReadRows(const RgbaRowSink& row, int64_t& beyondPalette, std::string& why) {
    Png& p = *png;
    beyondPalette = 0;
    // An interlaced picture is complete only after its last pass, so it is
    // decoded whole; others a row at a time.
    size_t rows = p.passes > 1 ? static_cast<size_t>(h) : 1;
    std::vector<uint8_t> raw(p.rowBytes * rows);
    std::vector<RgbaPixel> out(static_cast<size_t>(w));
    auto emit = [&](int y, const uint8_t* s) {
        if (p.indexed) {
            for (int x = 0; x < w; x++) {
                beyondPalette += s[x] >= p.known;
                out[static_cast<size_t>(x)] = p.colours[s[x]];
            }
        } else {
            for (int x = 0; x < w; x++, s += 4) out[static_cast<size_t>(x)] = Rgba(s[0], s[1], s[2], s[3]);
        }
        row(y, out.data());
    };
    if (setjmp(png_jmpbuf(p.read))) {
        why = Damaged(p.error);
        return false;
    }
    if (p.passes > 1) {
        for (int pass = 0; pass < p.passes; pass++)
            for (int y = 0; y < h; y++) png_read_row(p.read, raw.data() + static_cast<size_t>(y) * p.rowBytes, nullptr);
        for (int y = 0; y < h; y++) emit(y, raw.data() + static_cast<size_t>(y) * p.rowBytes);
    } else {
        for (int y = 0; y < h; y++) {
            png_read_row(p.read, raw.data(), nullptr);
            emit(y, raw.data());
        }
    }
    return true;
}
