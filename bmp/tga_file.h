#pragma once
#include <cstdint>
#include <cstdio>
#include <string>

#include "rgba_rows.h"

// Vell's own TGA pictures: uncompressed 32-bit, rows from the bottom up,
// bytes blue, green, red, alpha, as Allegro's writer lays them out, with
// "Vell" in the image-ID field. The mark tells a file whose alpha means
// something (255 opaque, 0 transparent) from the frame files of earlier
// versions, whose alpha byte is 0 everywhere and must be ignored.

// Writes w x h pixels (0xAARRGGBB, row after row, top row first) to the
// open stream. False when a write fails.
bool WriteMarkedTga(std::FILE* f, const uint32_t* argb, int w, int h);

// True when the file starts with the header WriteMarkedTga writes.
bool IsMarkedTga(const std::string& fileName);

// Hands every row of a marked TGA to `store`; false, with the reason in
// `why`, when the file is not one or its pixels are cut short.
bool DecodeMarkedTga(const std::string& fileName, const RgbaRowSink& store, int& w, int& h, std::string& why);

// Reads the size of a marked TGA; false when the file is not one.
bool MarkedTgaSize(const std::string& fileName, int& w, int& h);
