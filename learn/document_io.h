#pragma once
// The .zub document format, kept apart from the editor and the screen: a
// reader and a writer between a stdio stream and plain model objects, so it
// can be tested and fuzzed without a display.
//
// Layout (32-bit little-endian integers, no padding):
//   version, layer count L, width W, height H
//   L x (mode, W*H pixel values row by row)
//   version > 1: one record per pointer: 0 (no brush), or w, h, h*w values
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// w x h pixel values as the file stores them. Storage that keeps a row as
// contiguous 32-bit values hands it out directly (the fast path); other
// storage copies rows in and out.
class PixelRows {
public:
    virtual ~PixelRows() = default;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    // Row y as Width() contiguous values, or null.
    virtual int32_t* DirectRow(int y) { return nullptr; }
    virtual void GetRow(int y, int32_t* out) = 0;
    virtual void PutRow(int y, const int32_t* in) = 0;
};

// PixelRows in a plain vector.
class PlainPixels : public PixelRows {
public:
    PlainPixels(int w, int h) : w(w), h(h), values(static_cast<size_t>(w) * h) {}
    int Width() const override { return w; }
    int Height() const override { return h; }
    int32_t* DirectRow(int y) override { return &values[static_cast<size_t>(y) * w]; }
    void GetRow(int y, int32_t* out) override;
    void PutRow(int y, const int32_t* in) override;
    int32_t& At(int x, int y) { return values[static_cast<size_t>(y) * w + x]; }

private:
    int w, h;
    std::vector<int32_t> values;
};

struct DocLayer {
    int mode = 0;  // 0 opaque, 1 transparent
    std::unique_ptr<PixelRows> pixels;
};

struct DocPointer {
    int w = 0, h = 0;                  // the pointer's box size
    std::unique_ptr<PixelRows> brush;  // null: no brush
};

struct Document {
    int version = 2;
    int width = 0, height = 0;  // the header's size (the current layer's)
    std::vector<DocLayer> layers;
    std::vector<DocPointer> pointers;
};

// What the reader may accept and how it gets storage.
struct ReadLimits {
    // May a surface of w x h be allocated?
    std::function<bool(int64_t w, int64_t h)> sizeAllowed;
    // The largest pixel value the colour depth holds, as unsigned.
    uint32_t maxPixel = 0xFFFFFFFFu;
    // Storage for w x h values; null when memory is short.
    std::function<std::unique_ptr<PixelRows>(int w, int h)> make;
};

// The value a pointer record holds outside its brush.
constexpr int32_t kOutsideBrush = -1;

// Reads a whole document. On failure answers false with a short reason and
// leaves `out` untouched; nothing is allocated beyond what the file's length
// can back.
bool ReadDocument(std::FILE* f, const ReadLimits& limits, Document& out, std::string& why);

// Writes a document; false with a reason when a write fails.
bool WriteDocument(std::FILE* f, Document& doc, std::string& why);

// The size a pointer's record is written at: its box, or the brush's own
// size when the box is empty (a 0 width would read as "no brush").
void PointerRecordSize(const DocPointer& p, int* w, int* h);

