#pragma once
#include <cstdint>
#include <string>

// zlib's own default: the balance between size and time most PNG tools use.
const int kPngLevel = 6;

// Writes w x h pixels (0xAARRGGBB, row after row) as an 8-bit-per-channel
// PNG: RGBA when withAlpha, RGB otherwise. False when the file can't be
// written; a failed write may leave a partial file, so callers write to a
// temporary name.
bool WritePng(const std::string& fileName, const uint32_t* argb, int w, int h, bool withAlpha,
              int level = kPngLevel);

// Writes an opaque picture (the alpha bytes are ignored) as the smallest PNG
// that holds it exactly: a palette PNG at 1, 2, 4 or 8 bits per pixel when
// it has at most 256 colours, RGB as WritePng otherwise. Failures as WritePng.
bool WritePicturePng(const std::string& fileName, const uint32_t* argb, int w, int h);
