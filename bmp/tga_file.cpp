#include "tga_file.h"

#include <cstring>
#include <memory>
#include <vector>

namespace {

const char kMark[] = "Vell";
const size_t kMarkLength = sizeof(kMark) - 1;
const size_t kHeaderLength = 18;
const unsigned char kTrueColour = 2;
const unsigned char kAlphaBits = 8;  // image descriptor: 8 alpha bits, bottom-up rows

void Put16(unsigned char* at, int v) {
    at[0] = static_cast<unsigned char>(v & 0xff);
    at[1] = static_cast<unsigned char>(v >> 8 & 0xff);
}

struct Closer {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// The header and mark of a marked TGA; false for any other file.
bool ReadMarkedHeader(std::FILE* f, int& w, int& h) {
    unsigned char head[kHeaderLength + kMarkLength];
    if (std::fread(head, 1, sizeof(head), f) != sizeof(head)) return false;
    if (head[0] != kMarkLength || head[1] != 0 || head[2] != kTrueColour || head[16] != 32 ||
        head[17] != kAlphaBits || std::memcmp(head + kHeaderLength, kMark, kMarkLength) != 0)
        return false;
    w = head[12] | head[13] << 8;
    h = head[14] | head[15] << 8;
    return w > 0 && h > 0;
}

}  // namespace

bool WriteMarkedTga(std::FILE* f, const uint32_t* argb, int w, int h) {
    if (w < 1 || h < 1 || w > 0xffff || h > 0xffff) return false;
    unsigned char head[kHeaderLength] = {};
    head[0] = static_cast<unsigned char>(kMarkLength);
    head[2] = kTrueColour;
    Put16(head + 12, w);
    Put16(head + 14, h);
    head[16] = 32;
    head[17] = kAlphaBits;
    if (std::fwrite(head, 1, sizeof(head), f) != sizeof(head)) return false;
    if (std::fwrite(kMark, 1, kMarkLength, f) != kMarkLength) return false;
    std::vector<unsigned char> row(static_cast<size_t>(w) * 4);
    for (int y = h - 1; y >= 0; y--) {
        const uint32_t* in = argb + static_cast<size_t>(y) * w;
        unsigned char* out = row.data();
        for (int x = 0; x < w; x++) {
            uint32_t c = in[x];
            *out++ = static_cast<unsigned char>(c);
            *out++ = static_cast<unsigned char>(c >> 8);
            *out++ = static_cast<unsigned char>(c >> 16);
            *out++ = static_cast<unsigned char>(c >> 24);
        }
        if (std::fwrite(row.data(), 1, row.size(), f) != row.size()) return false;
    }
    return !std::ferror(f);
}

bool MarkedTgaSize(const std::string& fileName, int& w, int& h) {
    std::unique_ptr<std::FILE, Closer> f(std::fopen(fileName.c_str(), "rb"));
    return f && ReadMarkedHeader(f.get(), w, h);
}

bool IsMarkedTga(const std::string& fileName) {
    int w, h;
    return MarkedTgaSize(fileName, w, h);
}

bool DecodeMarkedTga(const std::string& fileName, const RgbaRowSink& store, int& w, int& h, std::string& why) {
    std::unique_ptr<std::FILE, Closer> f(std::fopen(fileName.c_str(), "rb"));
    if (!f) {
        why = "it can't be opened";
        return false;
    }
    if (!ReadMarkedHeader(f.get(), w, h)) {
        why = "not a picture, or one whose data is cut short or out of bounds";
        return false;
    }
    std::vector<unsigned char> bytes(static_cast<size_t>(w) * 4);
    std::vector<RgbaPixel> row(static_cast<size_t>(w));
    for (int y = h - 1; y >= 0; y--) {
        if (std::fread(bytes.data(), 1, bytes.size(), f.get()) != bytes.size()) {
            why = "the picture's data is cut short";
            return false;
        }
        const unsigned char* p = bytes.data();
        for (int x = 0; x < w; x++, p += 4) row[x] = Rgba(p[2], p[1], p[0], p[3]);
        store(y, row.data());
    }
    return true;
}
