#include "picture_header.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <vector>

namespace {

// The first `count` bytes of a file (fewer when the file is shorter).
std::vector<uint8_t> ReadStart(const std::string& fileName, size_t count) {
    std::ifstream in(fileName, std::ios::binary);
    std::vector<uint8_t> bytes(count);
    if (!in) return {};
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(count));
    bytes.resize(static_cast<size_t>(in.gcount()));
    return bytes;
}

uint32_t Le16(const std::vector<uint8_t>& b, size_t at) { return b[at] | b[at + 1] << 8; }
uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
    return Le16(b, at) | static_cast<uint32_t>(Le16(b, at + 2)) << 16;
}
uint32_t Be16(const std::vector<uint8_t>& b, size_t at) { return b[at] << 8 | b[at + 1]; }
uint32_t Be32(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<uint32_t>(Be16(b, at)) << 16 | Be16(b, at + 2);
}

// Sizes above INT_MAX are reported as 0, which every size check refuses.
int Clamp(int64_t v) { return v > 0x7fffffff ? 0 : static_cast<int>(v); }

PictureSize Known(int64_t w, int64_t h) { return {true, Clamp(w), Clamp(h)}; }

PictureSize BmpSize(const std::string& fileName) {
    auto b = ReadStart(fileName, 30);
    if (b.size() < 26 || b[0] != 'B' || b[1] != 'M') return {};
    uint32_t pixelOffset = Le32(b, 10);
    uint32_t infoSize = Le32(b, 14);
    if (infoSize == 12) {  // the old OS/2 header: 16-bit sizes, 3-byte palette entries
        uint32_t bits = Le16(b, 24);
        // Allegro reads as many palette entries as fit before the pixels,
        // into a 256-entry palette.
        if (bits <= 8 && (pixelOffset < 26 || (pixelOffset - 26) / 3 > 256)) return {};
        return Known(Le16(b, 18), Le16(b, 20));
    }
    if (infoSize < 40 || b.size() < 30) return {};
    int32_t w = static_cast<int32_t>(Le32(b, 18));
    int32_t h = static_cast<int32_t>(Le32(b, 22));
    uint32_t bits = Le16(b, 28);
    if (bits <= 8 && (pixelOffset < 54 || (pixelOffset - 54) / 4 > 256)) return {};
    // A negative height marks a top-down picture.
    return Known(w, std::llabs(static_cast<int64_t>(h)));
}

PictureSize PcxSize(const std::string& fileName) {
    auto b = ReadStart(fileName, 12);
    if (b.size() < 12 || b[0] != 10) return {};
    int64_t w = static_cast<int64_t>(Le16(b, 8)) - Le16(b, 4) + 1;
    int64_t h = static_cast<int64_t>(Le16(b, 10)) - Le16(b, 6) + 1;
    return Known(w, h);
}

PictureSize TgaSize(const std::string& fileName) {
    auto b = ReadStart(fileName, 18);
    if (b.size() < 18) return {};
    bool hasPalette = b[1] == 1;
    // Allegro keeps a TGA palette in a 256-entry table.
    if (hasPalette && Le16(b, 3) + Le16(b, 5) > 256) return {};
    return Known(Le16(b, 12), Le16(b, 14));
}

// The bitmap header chunk follows the form header directly in the files
// Allegro writes and reads.
PictureSize LbmSize(const std::string& fileName) {
    auto b = ReadStart(fileName, 24);
    if (b.size() < 24) return {};
    std::string form(b.begin(), b.begin() + 4), chunk(b.begin() + 12, b.begin() + 16);
    if (form != "FORM" || chunk != "BMHD") return {};
    return Known(Be16(b, 20), Be16(b, 22));
}

PictureSize PngSize(const std::vector<uint8_t>& b) {
    if (b.size() < 24 || std::string(b.begin() + 12, b.begin() + 16) != "IHDR") return {};
    return Known(Be32(b, 16), Be32(b, 20));
}

bool IsFrameHeader(uint8_t marker) {
    return marker >= 0xc0 && marker <= 0xcf && marker != 0xc4 && marker != 0xc8 && marker != 0xcc;
}

// Walks the marker segments up to the first frame header, which holds the size.
PictureSize JpegSize(const std::string& fileName) {
    // The frame header comes before the picture data, after at most the
    // metadata segments (thumbnails included).
    auto b = ReadStart(fileName, 1 << 20);
    size_t at = 2;
    while (at + 9 <= b.size()) {
        if (b[at] != 0xff) return {};
        uint8_t marker = b[at + 1];
        if (marker == 0xff) {  // fill byte
            at++;
            continue;
        }
        if (IsFrameHeader(marker)) return Known(Be16(b, at + 7), Be16(b, at + 5));
        if (marker == 0xd8 || (marker >= 0xd0 && marker <= 0xd7) || marker == 0x01) {
            at += 2;
            continue;
        }
        at += 2 + Be16(b, at + 2);
    }
    return {};
}

struct AllegroReader {
    const char* ext;
    PictureSize (*read)(const std::string&);
};

const AllegroReader kAllegroReaders[] = {
    {".bmp", BmpSize},
    {".pcx", PcxSize},
    {".tga", TgaSize},
    {".lbm", LbmSize},
};

}  // namespace

PictureSize ReadAllegroPictureSize(const std::string& fileName, const std::string& ext) {
    for (const AllegroReader& r : kAllegroReaders)
        if (ext == r.ext) return r.read(fileName);
    return {};
}

PictureSize ReadSdlPictureSize(const std::string& fileName) {
    auto b = ReadStart(fileName, 24);
    static const uint8_t kPng[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    if (b.size() >= 8 && std::equal(kPng, kPng + 8, b.begin())) return PngSize(b);
    if (b.size() >= 2 && b[0] == 0xff && b[1] == 0xd8) return JpegSize(fileName);
    return {};
}
