#pragma once
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

// IFF pictures ("FORM" of type "ILBM", planar, or "PBM ", one byte per
// pixel), read by our own code rather than Allegro's: its reader trusts the
// palette length and the run lengths and writes past its buffers on hostile
// files. Everything here is bounded by the file's own sizes.
struct LbmHeader {
    int w = 0, h = 0;
    int planes = 0;       // bits per colour index, 1 to 8
    bool maskPlane = false;  // a mask plane follows the colour planes of each planar row
    int compression = 0;  // 0: none, 1: byte runs
    bool chunky = false;  // "PBM ": each row holds one byte per pixel
    std::vector<uint8_t> palette;  // r, g, b per entry, at most 256 entries
    long body = 0;        // where the BODY chunk's data starts in the file
    int64_t bodyBytes = 0;
};

// Walks every chunk of the file, reads the bitmap header and the palette and
// checks them; the pixel data is not read. False, with the reason in `why`,
// for anything the decoder would not read safely.
bool ReadLbmHeader(std::FILE* f, LbmHeader& header, std::string& why);

// Decodes the BODY chunk row by row, top row first, handing each row's w
// colour indices to `row`. False, with the reason in `why`, when a run
// overruns its row or the data ends before the last row.
using LbmRowSink = std::function<void(int y, const uint8_t* indices)>;
bool DecodeLbmRows(std::FILE* f, const LbmHeader& header, const LbmRowSink& row, std::string& why);
