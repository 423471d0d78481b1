#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "rgba_rows.h"

// BMP pictures, read by our own code rather than Allegro's: Allegro 4.4
// knows only the 12- and 40-byte headers, no 2-bit pictures, no colour
// masks and no top-down rows, and keeps palettes in 6 bits a part. Read
// here: the OS/2 1.x header (12 bytes), OS/2 2.x headers (16 to 64 bytes)
// and the Windows headers of 40, 52, 56, 108 and 124 bytes; rows bottom-up
// or top-down; 1, 2, 4 and 8 bits with a palette, raw or in 4- and 8-bit
// runs; 16 and 32 bits with or without colour masks, 24 bits, and OS/2's
// 24-bit runs. Every size and offset is checked against the file.

// One colour part of a 16-, 24- or 32-bit pixel: `bits` bits from bit
// `shift` up. A part with no bits is absent (an absent alpha is opaque).
struct BmpField {
    int shift = 0;
    int bits = 0;
};

enum class BmpCoding { Indexed, Rle8, Rle4, Rle24, Fields };

struct BmpHeader {
    uint32_t infoSize = 0;
    int w = 0, h = 0;
    bool topDown = false;  // rows stored top row first (a negative height)
    int bits = 0;
    BmpCoding coding = BmpCoding::Indexed;
    BmpField red, green, blue, alpha;  // BmpCoding::Fields only
    std::vector<RgbaPixel> palette;    // at most 2^bits entries, in full 8-bit precision
    int64_t pixelStart = 0;            // where the pixel data starts in the file
    int64_t rowBytes = 0;              // one stored row of raw pixels, padded to 4 bytes
};

// Where a palette lies: it starts after the info header and after the
// colour masks some headers keep behind it (`maskBytes`), and holds the
// entries the header declares (0 declares 2^bits), no more than 2^bits and
// no more than fit before the pixel data.
struct BmpPaletteSpan {
    int64_t start = 0;
    int count = 0;
};
BmpPaletteSpan PaletteSpan(uint32_t infoSize, int maskBytes, int64_t pixelStart, int bits, uint32_t declared,
                           int entryBytes);

// The part a colour mask selects; false when the mask has gaps or reaches
// past the pixel's `pixelBits` bits. A mask of 0 gives an absent part.
bool MaskField(uint32_t mask, int pixelBits, BmpField& field);

// A part of `bits` bits scaled to 0..255, rounded to the nearest level:
// 5 bits 31 and 10 bits 1023 both give 255.
uint8_t ScaleField(uint32_t value, int bits);

// Reads and checks the headers and the palette; the pixel data is not read.
// False, with the reason in `why`, for anything not loaded: a missing
// feature is named ("a 64-bit BMP cannot be loaded"), and "damaged" is said
// only of sizes and offsets that do not fit.
bool ReadBmpHeader(std::FILE* f, BmpHeader& header, std::string& why);

// Decodes the pixel data into rows handed to `row`, top row first for
// top-down files and bottom row first otherwise. Indices past the palette
// load as black and are counted in `beyondPalette`; pixels that runs skip
// are transparent black. An empty `row` only walks the data (the header
// check does so before anything is allocated). False, with the reason in
// `why`, when the data is cut short or a move leaves the picture.
bool DecodeBmpRows(std::FILE* f, const BmpHeader& header, const RgbaRowSink& row, int64_t& beyondPalette,
                   std::string& why);
