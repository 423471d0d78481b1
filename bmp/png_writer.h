#pragma once
#include <cstdint>
#include <cstdio>

// zlib's own default: the balance between size and time most PNG tools use.
const int kPngLevel = 6;

// Writes w x h pixels (0xAARRGGBB, row after row) as an 8-bit-per-channel
// PNG to the open stream `f`: RGBA when withAlpha, RGB otherwise. False
// when libpng reports a failure; a write error may also only show in the
// stream's error flag or at its flush, which WriteWholeFile checks.
bool WritePng(std::FILE* f, const uint32_t* argb, int w, int h, bool withAlpha, int level = kPngLevel);

// Writes a picture as the smallest PNG that holds it exactly: a palette PNG
// at 1, 2, 4 or 8 bits per pixel when it has at most 256 colours, RGB as
// WritePng otherwise. Pixels of alpha 0 are transparent, every other pixel
// opaque: with transparent pixels the palette PNG's first entry is the
// transparent one (a tRNS chunk says so) and the wider form is RGBA;
// without any the file is the same as for an opaque picture. Failures as
// WritePng.
bool WritePicturePng(std::FILE* f, const uint32_t* argb, int w, int h);
