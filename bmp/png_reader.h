#pragma once
#include <cstdint>
#include <cstdio>
#include <string>

#include "rgba_rows.h"

// PNG pictures through libpng's own decoding of the raw samples, rather than
// SDL_image 1.2, which hands grey pictures with a transparent colour over
// with grey and alpha in the red and green parts. Every colour type and bit
// depth, interlaced or not; no gamma and no background are applied; 16-bit
// samples keep their high byte; the transparent colour of a grey or colour
// picture gets alpha 0; palette indices past the palette are black.
class PngReader {
public:
    // Reads from `f`, which stays open and owned by the caller.
    explicit PngReader(std::FILE* f);
    ~PngReader();
    PngReader(const PngReader&) = delete;
    PngReader& operator=(const PngReader&) = delete;

    // Reads the chunks before the pixel data. False, with the reason in
    // `why`, when the file is not a PNG or libpng finds it damaged.
    bool ReadHeader(std::string& why);
    int Width() const { return w; }
    int Height() const { return h; }

    // Decodes every row, top row first, into `row` (Width() pixels each);
    // indices past the palette are counted in `beyondPalette`. Call once,
    // after ReadHeader.
    bool ReadRows(const RgbaRowSink& row, int64_t& beyondPalette, std::string& why);

private:
    struct Png;
    std::FILE* f;
    Png* png;
    int w = 0, h = 0;
};
