#include "picture_header.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <vector>

#include "lbm_reader.h"

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

// Sizes below 1 or above INT_MAX are reported as 0, which every size check
// refuses.
int Clamp(int64_t v) { return v < 1 || v > 0x7fffffff ? 0 : static_cast<int>(v); }

PictureSize Known(int64_t w, int64_t h) { return {true, Clamp(w), Clamp(h)}; }

int64_t FileSize(const std::string& fileName) {
    std::ifstream in(fileName, std::ios::binary | std::ios::ate);
    return in ? static_cast<int64_t>(in.tellg()) : 0;
}

// A picture whose header promises more uncompressed pixel data than the file
// holds is refused: otherwise a few bytes could ask for a huge surface. The
// rows are compared by division, since their product may not fit 64 bits.
PictureSize UnlessCutShort(PictureSize size, int64_t dataStart, int64_t rowBytes, int64_t rows,
                           const std::string& fileName) {
    int64_t room = FileSize(fileName) - dataStart;
    if (room < 0 || rowBytes < 0 || rows < 0) return {};
    if (rows > 0 && rowBytes > room / rows) return {};
    return size;
}

// Reads a file forward from an offset a block at a time, so that walking the
// runs of a large file never holds the whole file in memory.
class ForwardReader {
public:
    ForwardReader(const std::string& fileName, int64_t start)
        : in(fileName, std::ios::binary), at(start), size(FileSize(fileName)) {}

    bool Byte(uint8_t& b) {
        if (at >= size) return false;
        if (at < blockStart || at >= blockStart + static_cast<int64_t>(block.size())) Fill();
        if (block.empty()) return false;
        b = block[static_cast<size_t>(at - blockStart)];
        at++;
        return true;
    }
    // Moves on n bytes; false when that passes the end of the file.
    bool Skip(int64_t n) {
        at += n;
        return at <= size;
    }

private:
    void Fill() {
        block.resize(1 << 16);
        in.clear();
        in.seekg(at);
        in.read(reinterpret_cast<char*>(block.data()), static_cast<std::streamsize>(block.size()));
        block.resize(static_cast<size_t>(in.gcount()));
        blockStart = at;
    }

    std::ifstream in;
    std::vector<uint8_t> block;
    int64_t blockStart = 0, at, size;
};

// Allegro's run-length readers for 4- and 8-bit BMPs trust every count and
// offset: each run must stay within its row, moves must stay inside the
// picture, and the data must not end before the end-of-picture mark.
bool BmpRunsFit(ForwardReader& r, int64_t w, int64_t h, bool nibbles) {
    int64_t line = h - 1, pos = 0;
    auto fits = [&](int64_t n) { return line >= 0 && pos + n <= w; };
    while (line >= 0) {
        uint8_t count, val;
        if (!r.Byte(count) || !r.Byte(val)) return false;
        if (count > 0) {
            if (!fits(count)) return false;
            pos += count;
            continue;
        }
        uint8_t right, up;
        switch (val) {
            case 0:  // end of line
                line--;
                pos = 0;
                break;
            case 1:  // end of picture
                return true;
            case 2:  // move right and up
                if (!r.Byte(right) || !r.Byte(up)) return false;
                pos += right;
                line -= up;
                if (pos > w || line < 0) return false;
                break;
            default:  // `val` pixels stored as they are, padded to a 16-bit boundary
                if (!fits(val)) return false;
                pos += val;
                if (!r.Skip(nibbles ? (val + 3) / 4 * 2 : (val + 1) / 2 * 2)) return false;
        }
    }
    return true;
}

PictureSize BmpSize(const std::string& fileName) {
    auto b = ReadStart(fileName, 34);
    if (b.size() < 26 || b[0] != 'B' || b[1] != 'M') return {};
    uint32_t pixelOffset = Le32(b, 10);
    uint32_t infoSize = Le32(b, 14);
    int64_t w, h;
    uint32_t bits, compression = 0;
    if (infoSize == 12) {  // the old OS/2 header: 16-bit sizes, 3-byte palette entries
        w = Le16(b, 18), h = Le16(b, 20), bits = Le16(b, 24);
        // Allegro reads as many palette entries as fit before the pixels,
        // into a 256-entry palette.
        if (bits <= 8 && (pixelOffset < 26 || (pixelOffset - 26) / 3 > 256)) return {};
    } else {
        if (infoSize < 40 || b.size() < 34) return {};
        w = static_cast<int32_t>(Le32(b, 18));
        // A negative height marks a top-down picture.
        h = std::llabs(static_cast<int64_t>(static_cast<int32_t>(Le32(b, 22))));
        bits = Le16(b, 28), compression = Le32(b, 30);
        if (bits <= 8 && (pixelOffset < 54 || (pixelOffset - 54) / 4 > 256)) return {};
    }
    PictureSize size = Known(w, h);
    if (!size.w || !size.h || bits == 0 || bits > 32) return {};
    if (compression == 1 || compression == 2) {
        bool nibbles = compression == 2;
        bool bottomUp = infoSize == 12 || static_cast<int32_t>(Le32(b, 22)) > 0;
        if (bits != (nibbles ? 4u : 8u) || !bottomUp) return {};
        ForwardReader runs(fileName, pixelOffset);
        return BmpRunsFit(runs, w, h, nibbles) ? size : PictureSize{};
    }
    int64_t rowBytes = (int64_t{size.w} * bits + 31) / 32 * 4;
    return UnlessCutShort(size, pixelOffset, rowBytes, size.h, fileName);
}

// Allegro reads 8-bit planes, one or three of them, and writes only as many
// pixels of a row as its stored line holds: a line shorter than the width
// would leave pixels undefined.
PictureSize PcxSize(const std::string& fileName) {
    auto b = ReadStart(fileName, 68);
    if (b.size() < 68 || b[0] != 10) return {};
    int64_t w = static_cast<int64_t>(Le16(b, 8)) - Le16(b, 4) + 1;
    int64_t h = static_cast<int64_t>(Le16(b, 10)) - Le16(b, 6) + 1;
    int planes = b[65];
    if (b[3] != 8 || (planes != 1 && planes != 3) || Le16(b, 66) < w) return {};
    return Known(w, h);
}

// Allegro's run-length reader trusts each packet's count and writes past the
// end of the last row when a packet overruns it: every packet must end
// within its row and every byte must be present.
bool TgaRunsFit(ForwardReader& r, int w, int h, int bytes) {
    for (int row = 0; row < h; row++) {
        for (int x = 0; x < w;) {
            uint8_t packet;
            if (!r.Byte(packet)) return false;
            int count = (packet & 0x7f) + 1;
            if (x + count > w) return false;
            if (!r.Skip((packet & 0x80) ? bytes : count * bytes)) return false;
            x += count;
        }
    }
    return true;
}

PictureSize TgaSize(const std::string& fileName) {
    auto b = ReadStart(fileName, 18);
    if (b.size() < 18) return {};
    bool hasPalette = b[1] == 1;
    int type = b[2];
    uint32_t firstEntry = Le16(b, 3), entries = Le16(b, 5), entryBits = b[7];
    // Allegro keeps a TGA palette in a 256-entry table, and fills it only
    // from entries of 15, 16, 24 or 32 bits: other sizes would leave it
    // undefined.
    if (hasPalette && firstEntry + entries > 256) return {};
    if (hasPalette && entryBits != 15 && entryBits != 16 && entryBits != 24 && entryBits != 32) return {};
    PictureSize size = Known(Le16(b, 12), Le16(b, 14));
    int bytes = (b[16] + 7) / 8;
    if (!size.w || !size.h || bytes < 1 || bytes > 4) return {};
    // Colour-mapped, true-colour and grey pictures, raw or run-length.
    if (type != 1 && type != 2 && type != 3 && type != 9 && type != 10 && type != 11) return {};
    int64_t start = 18 + b[0] + (hasPalette ? entries * ((entryBits + 7) / 8) : 0);
    if (type >= 9 && type <= 11) {
        ForwardReader runs(fileName, start);
        return TgaRunsFit(runs, size.w, size.h, bytes) ? size : PictureSize{};
    }
    return UnlessCutShort(size, start, int64_t{size.w} * bytes, size.h, fileName);
}

// Every chunk is walked and checked, but no pixel data is read.
PictureSize LbmSize(const std::string& fileName) {
    std::FILE* f = std::fopen(fileName.c_str(), "rb");
    if (!f) return {};
    LbmHeader header;
    std::string why;
    bool ok = ReadLbmHeader(f, header, why);
    std::fclose(f);
    return ok ? Known(header.w, header.h) : PictureSize{};
}

// SDL_image ignores short reads, so libpng, told by a hostile chunk length
// to skip gigabytes, would spend minutes reading nothing: every chunk must
// lie within the file, up to the closing IEND chunk.
bool PngChunksFit(const std::string& fileName) {
    std::ifstream in(fileName, std::ios::binary);
    int64_t size = FileSize(fileName);
    std::vector<uint8_t> head(8);
    for (int64_t at = 8; at + 12 <= size;) {
        if (!in.seekg(at) || !in.read(reinterpret_cast<char*>(head.data()), 8)) return false;
        int64_t length = Be32(head, 0);
        if (length > size - at - 12) return false;
        if (std::string(head.begin() + 4, head.end()) == "IEND") return true;
        at += 12 + length;
    }
    return false;
}

PictureSize PngSize(const std::string& fileName, const std::vector<uint8_t>& b) {
    if (b.size() < 24 || std::string(b.begin() + 12, b.begin() + 16) != "IHDR") return {};
    if (!PngChunksFit(fileName)) return {};
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
    if (b.size() >= 8 && std::equal(kPng, kPng + 8, b.begin())) return PngSize(fileName, b);
    if (b.size() >= 2 && b[0] == 0xff && b[1] == 0xd8) return JpegSize(fileName);
    return {};
}
