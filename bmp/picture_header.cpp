#include "picture_header.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <vector>

#include "bmp_reader.h"
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

PictureSize BmpSize(const std::string& fileName) {
    std::string why;
    return ReadBmpPictureSize(fileName, why);
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

PictureSize ReadBmpPictureSize(const std::string& fileName, std::string& why) {
    std::FILE* f = std::fopen(fileName.c_str(), "rb");
    if (!f) {
        why = "it can't be opened";
        return {};
    }
    BmpHeader header;
    PictureSize size;
    if (ReadBmpHeader(f, header, why)) {
        size = Known(header.w, header.h);
        int64_t beyond = 0;
        bool raw = header.coding == BmpCoding::Indexed || header.coding == BmpCoding::Fields;
        if (raw) size = UnlessCutShort(size, header.pixelStart, header.rowBytes, header.h, fileName);
        if (raw && !size.known) why = "damaged: its pixel data is cut short";
        // Runs are walked without decoding: a few bytes may promise a huge
        // picture, and nothing is allocated for it before they are checked.
        if (!raw && !DecodeBmpRows(f, header, RgbaRowSink(), beyond, why)) size = {};
    }
    std::fclose(f);
    return size;
}

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
