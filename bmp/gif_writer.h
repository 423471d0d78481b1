#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

// Pixels are 0xRRGGBB, row after row; any bits above are ignored.

// The part of a frame that differs from the frame before; w == 0 when none.
struct ChangedRect {
    int x = 0, y = 0, w = 0, h = 0;
};
ChangedRect FindChangedRect(const uint32_t* before, const uint32_t* after, int w, int h);

// The distinct colours of many frames, counted only up to one beyond a
// limit: past it the exact set no longer matters.
class ColourSet {
public:
    explicit ColourSet(size_t limit) : limit(limit) {}
    // With `withAlpha`, pixels whose top byte is 0 are see-through and not
    // counted.
    void Add(const uint32_t* pixels, size_t n, bool withAlpha = false);
    bool Over() const { return colours.size() > limit; }
    std::vector<uint32_t> Sorted() const;

private:
    size_t limit;
    std::unordered_set<uint32_t> colours;
};

// Counts, over a run of frames, in how many frames each colour is written:
// every colour of the first frame, then those of the pixels that changed.
// The most counted make a shared global palette when the frames hold more
// than 256 colours. Past kMaxCounted distinct colours new ones are not
// counted.
class SharedColours {
public:
    static const size_t kMaxCounted = size_t{1} << 16;
    // With `withAlpha`, pixels whose top byte is 0 are see-through and not
    // counted.
    void Add(const uint32_t* pixels, int w, int h, bool withAlpha);
    // At most `count` colours, the most counted first chosen, in colour
    // order.
    std::vector<uint32_t> Top(size_t count) const;

private:
    std::vector<uint32_t> previous;
    int w = 0, h = 0;
    std::unordered_map<uint32_t, int> frames;
};

// A delay in milliseconds as GIF stores it: hundredths of a second, rounded
// to the nearest, at least 2 (browsers slow smaller delays down to 10).
int GifDelay(int ms);

// Writes an animated GIF a frame at a time. Each frame after the first
// stores only the rectangle that changed over the canvas the frame before
// left; inside it, pixels that did not change are written either as the
// transparent index, which the LZW coder packs into long runs, or as their
// colours, whichever encodes smaller. See-through pixels are written as the
// transparent index; where a frame turns see-through pixels the one before
// covered, that one is disposed to the background over them, so a player
// shows each frame as it was given. A frame is written once the next one
// is known. Frames come out exact as long as they fit
// their palette: the global palette when one was given, else an exact local
// palette per rectangle, or a quantized one for a rectangle of more than
// 256 colours. A colour missing from the global palette is written as its
// nearest entry.
class GifWriter {
public:
    GifWriter();
    ~GifWriter();
    GifWriter(const GifWriter&) = delete;
    GifWriter& operator=(const GifWriter&) = delete;

    // `globalPalette` (at most 256 colours) holds every colour of every
    // frame, or is empty for local palettes. `loops` 0 repeats forever. The
    // GIF goes into the open stream `f`, which stays open after Close.
    // With `coversAll` false the global palette is shared: frames whose
    // colours it holds may use it, the others get local palettes.
    bool Open(std::FILE* f, int w, int h, const std::vector<uint32_t>& globalPalette, int loops,
              bool coversAll = true);
    // A frame of w x h pixels shown for `delay` hundredths of a second.
    // With `withAlpha`, pixels whose top byte is 0 are see-through.
    bool Add(const uint32_t* pixels, int delay, bool withAlpha = false);
    // Finishes the file; false when any step failed.
    bool Close();
    // True once a frame's colours had to be reduced.
    bool Reduced() const { return reduced; }
    // True once a frame held a colour the global palette lacks.
    bool Approximated() const { return approximated; }

private:
    struct State;
    struct Encoder;
    std::unique_ptr<State> s;
    bool reduced = false;
    bool approximated = false;
};
