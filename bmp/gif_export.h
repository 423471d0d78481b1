#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "gif_writer.h"
#include "rgb_pixels.h"

// Frames decoded in the check pass are kept for the write while they take
// at most this much memory; beyond it the write reads them again.
const size_t kKeptFramesBytes = size_t{256} << 20;

// An animation exported from frames that are read one at a time by `read`
// (frame i of `count`, i from 0; false with the reason in `why`). The check
// pass reads every frame once and counts its colours and in how many frames
// each is written (for a shared palette when there are more than 256); the
// write gets the same pixels, from memory when they fit in `keepBytes`, or
// read again. A
// frame read again may differ from what the check saw (its file changed in
// between): a colour the global palette lacks is written as its nearest
// entry, and a frame of another size or one that no longer reads ends the
// write with a reason. Nothing here throws for what a frame holds.
class GifExport {
public:
    using Read = std::function<bool(int i, RgbPixels& px, std::string& why)>;

    GifExport(int count, Read read, size_t keepBytes = kKeptFramesBytes)
        : count(count), read(std::move(read)), keepBytes(keepBytes) {}

    // Pixels of alpha 0 are see-through when set; else the alpha byte is
    // ignored.
    void SetSeeThrough(bool on) { seeThrough = on; }
    // Every pixel of every frame is written as a block of scale x scale.
    void SetScale(int s) { scale = s < 1 ? 1 : s; }
    // The check pass; false with the reason from `read`.
    bool Check(std::string& why);
    // The size of the GIF, after scaling.
    int64_t Width() const { return int64_t{w} * scale; }
    int64_t Height() const { return int64_t{h} * scale; }
    // Writes the GIF into the open stream: `delay` in hundredths of a
    // second, `loops` 0 forever. False with a reason (empty when the
    // encoder or the stream failed).
    bool Write(std::FILE* f, int delay, int loops, std::string& why);
    // After Write: colours were reduced to 256 per frame (more than 256 in
    // all), or a frame held a colour the check had not seen.
    bool Reduced() const { return reduced; }
    bool ChangedColours() const { return changedColours; }

private:
    int count;
    Read read;
    size_t keepBytes;
    int w = 0, h = 0;
    int scale = 1;
    bool seeThrough = false;
    ColourSet colours{256};
    // Frames of more than 256 colours in all share a global palette of
    // the colours most frames write.
    SharedColours shared;
    std::vector<RgbPixels> kept;  // every frame, or none
    bool reduced = false;
    bool changedColours = false;
};
