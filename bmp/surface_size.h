#pragma once
#include <cstdint>

// Answers "may a surface of w x h pixels be allocated at the current colour
// depth?". Allegro 4.4 computes a bitmap's byte size in a 32-bit int, so a
// huge size silently gets a far too small buffer; every size that comes from
// outside (command line, files, dialogs, scales) must pass this test first.
bool SurfaceSizeAllowed(int64_t w, int64_t h);

// The same test for `count` surfaces of w x h made together (all of a
// picture's layers, say): each must pass, and together they must fit in the
// machine's memory. Linux hands out memory it does not have, so without this
// check the clearing of many large surfaces ends in the out-of-memory killer
// rather than in a refusal.
bool SurfacesSizeAllowed(int64_t count, int64_t w, int64_t h);

// The same test for an explicit number of bytes per pixel.
bool SurfaceSizeAllowedAt(int64_t w, int64_t h, int bytesPerPixel);

// Bytes per pixel of the current Allegro colour depth.
int CurrentBytesPerPixel();

// Bytes per pixel of a colour depth; a depth Allegro does not know counts as
// 4 bytes (set_color_depth refuses it anyway).
int BytesPerPixelOf(int depth);
