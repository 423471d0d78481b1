#include "bmp_reader.h"

#include <sys/types.h>

#include <algorithm>
#include <climits>

namespace {

uint32_t Le16(const uint8_t* b) { return b[0] | b[1] << 8; }
uint32_t Le32(const uint8_t* b) { return Le16(b) | Le16(b + 2) << 16; }

bool ReadBytes(std::FILE* f, uint8_t* into, size_t n) { return std::fread(into, 1, n, f) == n; }
bool SeekTo(std::FILE* f, int64_t at) { return at >= 0 && fseeko(f, static_cast<off_t>(at), SEEK_SET) == 0; }

const char* const kCutShort = "damaged: its data is cut short";

// Compression types of the Windows headers. OS/2 2.x headers use 3 for
// Huffman-coded 1-bit pictures and 4 for 24-bit runs instead.
enum : uint32_t {
    kRgb = 0,
    kRle8 = 1,
    kRle4 = 2,
    kBitFields = 3,
    kJpeg = 4,
    kPng = 5,
    kAlphaBitFields = 6,
    kCmyk = 11,
    kCmykRle4 = 13,
};

// The info header's fields, whichever of its forms the file uses.
struct Info {
    int64_t w = 0, h = 0;
    int bits = 0;
    uint32_t compression = kRgb;
    uint32_t declaredColours = 0;
    uint32_t masks[4] = {};  // red, green, blue, alpha
    bool os2 = false;        // an OS/2 2.x header, with OS/2's compression types
    int entryBytes = 4;      // bytes of one palette entry
    int maskBytes = 0;       // masks stored after a 40-byte header
};

bool IsOs2Two(uint32_t size) { return size >= 16 && size <= 64 && size != 40 && size != 52 && size != 56; }
bool IsWindows(uint32_t size) { return size == 40 || size == 52 || size == 56 || size >= 108; }

// The file position is just past the info header's size field.
bool ReadInfo(std::FILE* f, uint32_t infoSize, Info& in, std::string& why) {
    uint8_t b[124] = {};
    if (infoSize == 12) {  // OS/2 1.x: 16-bit sizes, 3-byte palette entries
        if (!ReadBytes(f, b + 4, 8)) return why = kCutShort, false;
        in.w = Le16(b + 4), in.h = Le16(b + 6), in.bits = static_cast<int>(Le16(b + 10));
        in.entryBytes = 3;
        return true;
    }
    if (!IsOs2Two(infoSize) && !IsWindows(infoSize)) {
        why = "a BMP with a " + std::to_string(infoSize) + "-byte header cannot be loaded";
        return false;
    }
    // Shorter OS/2 2.x headers leave out the fields at their end, which
    // then count as 0; later Windows headers only add fields after these.
    size_t stored = std::min<uint32_t>(infoSize, sizeof b);
    if (!ReadBytes(f, b + 4, stored - 4)) return why = kCutShort, false;
    in.os2 = IsOs2Two(infoSize);
    in.w = static_cast<int32_t>(Le32(b + 4));
    in.h = static_cast<int32_t>(Le32(b + 8));
    in.bits = static_cast<int>(Le16(b + 14));
    in.compression = Le32(b + 16);
    in.declaredColours = Le32(b + 32);
    bool masked = !in.os2 && (in.compression == kBitFields || in.compression == kAlphaBitFields);
    if (masked && infoSize == 40) {
        // The masks follow the short header: three, or four with alpha.
        in.maskBytes = in.compression == kAlphaBitFields ? 16 : 12;
        if (!ReadBytes(f, b + 40, static_cast<size_t>(in.maskBytes))) return why = kCutShort, false;
    }
    if (masked)
        for (int i = 0; i < 4; i++) in.masks[i] = Le32(b + 40 + 4 * i);
    // A 52-byte header holds no alpha mask.
    if (infoSize == 52 && in.compression != kAlphaBitFields) in.masks[3] = 0;
    return true;
}

std::string BitsName(int bits) {
    std::string n = std::to_string(bits);
    bool an = n[0] == '8' || n == "11" || n == "18";  // said with a vowel first
    return (an ? "an " : "a ") + n + "-bit BMP";
}

bool SetFields(BmpHeader& h, const uint32_t masks[4], std::string& why) {
    BmpField* fields[4] = {&h.red, &h.green, &h.blue, &h.alpha};
    for (int i = 0; i < 4; i++)
        if (!MaskField(masks[i], h.bits, *fields[i])) {
            why = BitsName(h.bits) + " whose colour masks have gaps or reach past its pixels cannot be loaded";
            return false;
        }
    h.coding = BmpCoding::Fields;
    return true;
}

// Picks how the pixels are stored from the bit count and compression type;
// false, naming what is missing, for the kinds that are not read.
bool ChooseCoding(const Info& in, BmpHeader& h, std::string& why) {
    const int bits = in.bits;
    auto needBits = [&](bool fits, BmpCoding coding, const char* kind) {
        if (!fits) why = std::string(kind) + " in " + BitsName(bits) + " cannot be loaded";
        h.coding = coding;
        return fits;
    };
    if (in.os2 && in.compression == 3) return why = "a Huffman-coded BMP cannot be loaded", false;
    if (in.os2 && in.compression == 4) return needBits(bits == 24, BmpCoding::Rle24, "24-bit runs");
    switch (in.compression) {
        case kRgb: {
            if (bits == 1 || bits == 2 || bits == 4 || bits == 8) return needBits(true, BmpCoding::Indexed, "");
            // Without masks: 5 bits a part at 16 bits, 8 bits a part at 24 and 32.
            static const uint32_t k16[4] = {0x7c00, 0x03e0, 0x001f, 0};
            static const uint32_t k32[4] = {0xff0000, 0x00ff00, 0x0000ff, 0};
            if (bits == 16) return SetFields(h, k16, why);
            if (bits == 24 || bits == 32) return SetFields(h, k32, why);
            why = BitsName(bits) + " cannot be loaded";
            return false;
        }
        case kRle8:
            return needBits(bits == 8, BmpCoding::Rle8, "8-bit runs");
        case kRle4:
            return needBits(bits == 4, BmpCoding::Rle4, "4-bit runs");
        case kBitFields:
        case kAlphaBitFields:
            if (bits != 16 && bits != 24 && bits != 32) return needBits(false, h.coding, "colour masks");
            return SetFields(h, in.masks, why);
        case kJpeg:
            return why = "JPEG inside a BMP cannot be loaded", false;
        case kPng:
            return why = "PNG inside a BMP cannot be loaded", false;
        default:
            if (in.compression >= kCmyk && in.compression <= kCmykRle4)
                why = "a CMYK BMP cannot be loaded";
            else
                why = "a BMP of compression type " + std::to_string(in.compression) + " cannot be loaded";
            return false;
    }
}

bool ReadPalette(std::FILE* f, const Info& in, BmpHeader& h, std::string& why) {
    BmpPaletteSpan span = PaletteSpan(h.infoSize, in.maskBytes, h.pixelStart, h.bits, in.declaredColours,
                                      in.entryBytes);
    std::vector<uint8_t> bytes(static_cast<size_t>(span.count) * static_cast<size_t>(in.entryBytes));
    if (!SeekTo(f, span.start) || !ReadBytes(f, bytes.data(), bytes.size())) return why = kCutShort, false;
    h.palette.resize(static_cast<size_t>(span.count));
    for (size_t i = 0; i < h.palette.size(); i++) {
        const uint8_t* e = bytes.data() + i * static_cast<size_t>(in.entryBytes);
        h.palette[i] = Rgba(e[2], e[1], e[0]);
    }
    return true;
}

// Colours of the 256 indices: indices past the palette are black.
struct IndexColours {
    explicit IndexColours(const std::vector<RgbaPixel>& palette) : known(static_cast<int>(palette.size())) {
        std::fill(colours, colours + 256, Rgba(0, 0, 0));
        std::copy(palette.begin(), palette.end(), colours);
    }
    RgbaPixel operator()(unsigned index, int64_t& beyond) const {
        beyond += static_cast<int>(index) >= known;
        return colours[index];
    }
    RgbaPixel colours[256];
    int known;
};

// One part of a masked pixel, scaled to 8 bits through a table for the
// widths a table suits.
class FieldScale {
public:
    explicit FieldScale(const BmpField& f) : field(f), mask(f.bits ? ~uint32_t{0} >> (32 - f.bits) : 0) {
        if (f.bits > 0 && f.bits <= 16) {
            table.resize(size_t{1} << f.bits);
            for (size_t v = 0; v < table.size(); v++) table[v] = ScaleField(static_cast<uint32_t>(v), f.bits);
        }
    }
    uint32_t operator()(uint32_t pixel, uint32_t absent) const {
        if (!field.bits) return absent;
        uint32_t v = pixel >> field.shift & mask;
        return table.empty() ? ScaleField(v, field.bits) : table[v];
    }

private:
    BmpField field;
    uint32_t mask;
    std::vector<uint8_t> table;
};

bool IsField(const BmpField& f, int shift, int bits) { return f.shift == shift && f.bits == bits; }

// Turns one stored row of raw pixels into colours.
class RawRowDecoder {
public:
    explicit RawRowDecoder(const BmpHeader& h)
        : header(h), colours(h.palette), r(h.red), g(h.green), b(h.blue), a(h.alpha) {
        // Eight bits a part at their usual places, the common case by far.
        usual = h.coding == BmpCoding::Fields && (h.bits == 24 || h.bits == 32) && IsField(h.red, 16, 8) &&
                IsField(h.green, 8, 8) && IsField(h.blue, 0, 8) && (h.alpha.bits == 0 || IsField(h.alpha, 24, 8));
    }

    void Decode(const uint8_t* p, RgbaPixel* out, int64_t& beyond) const {
        const int w = header.w;
        if (header.coding == BmpCoding::Indexed) {
            if (header.bits == 8) {
                // Locals: `out` could otherwise alias the table and the count.
                const RgbaPixel* table = colours.colours;
                const unsigned known = static_cast<unsigned>(colours.known);
                if (known == 256) {
                    for (int x = 0; x < w; x++) out[x] = table[p[x]];
                    return;
                }
                int64_t past = 0;
                for (int x = 0; x < w; x++) {
                    past += p[x] >= known;
                    out[x] = table[p[x]];
                }
                beyond += past;
                return;
            }
            const int bits = header.bits, perByte = 8 / bits;
            const unsigned mask = (1u << bits) - 1;
            for (int x = 0; x < w; x++) {
                int slot = x % perByte;
                out[x] = colours(p[x / perByte] >> (8 - bits * (slot + 1)) & mask, beyond);
            }
            return;
        }
        if (usual && header.bits == 24) {
            for (int x = 0; x < w; x++, p += 3) out[x] = Rgba(p[2], p[1], p[0]);
            return;
        }
        if (usual) {
            bool alpha = header.alpha.bits != 0;
            for (int x = 0; x < w; x++, p += 4) out[x] = Rgba(p[2], p[1], p[0], alpha ? p[3] : 255);
            return;
        }
        const int bytes = header.bits / 8;
        for (int x = 0; x < w; x++, p += bytes) {
            uint32_t v = p[0] | p[1] << 8;
            if (bytes >= 3) v |= static_cast<uint32_t>(p[2]) << 16;
            if (bytes == 4) v |= static_cast<uint32_t>(p[3]) << 24;
            out[x] = Rgba(r(v, 0), g(v, 0), b(v, 0), a(v, 255));
        }
    }

private:
    const BmpHeader& header;
    IndexColours colours;
    FieldScale r, g, b, a;
    bool usual = false;
};

int StoredY(const BmpHeader& h, int64_t stored) {
    return static_cast<int>(h.topDown ? stored : h.h - 1 - stored);
}

// Raw rows are read many at a time: one read per row would cost a system
// call for every row of a large picture.
bool DecodeRaw(std::FILE* f, const BmpHeader& h, const RgbaRowSink& row, int64_t& beyond, std::string& why) {
    if (!row) return true;  // the header check compared the data's size with the file
    const size_t rowBytes = static_cast<size_t>(h.rowBytes);
    const size_t perBlock = std::max<size_t>(1, (size_t{1} << 20) / rowBytes);
    std::vector<uint8_t> block(perBlock * rowBytes);
    std::vector<RgbaPixel> out(static_cast<size_t>(h.w));
    RawRowDecoder decoder(h);
    if (!SeekTo(f, h.pixelStart)) return why = kCutShort, false;
    for (int64_t done = 0; done < h.h;) {
        size_t n = static_cast<size_t>(std::min<int64_t>(static_cast<int64_t>(perBlock), h.h - done));
        if (std::fread(block.data(), rowBytes, n, f) != n) return why = kCutShort, false;
        for (size_t i = 0; i < n; i++) {
            decoder.Decode(block.data() + i * rowBytes, out.data(), beyond);
            row(StoredY(h, done + static_cast<int64_t>(i)), out.data());
        }
        done += static_cast<int64_t>(n);
    }
    return true;
}

// Reads a file forward a block at a time.
class ByteStream {
public:
    explicit ByteStream(std::FILE* file) : f(file), block(1 << 16) {}
    bool Byte(uint8_t& b) {
        if (at == end) {
            end = std::fread(block.data(), 1, block.size(), f);
            at = 0;
            if (end == 0) return false;
        }
        b = block[at++];
        return true;
    }

private:
    std::FILE* f;
    std::vector<uint8_t> block;
    size_t at = 0, end = 0;
};

// Runs: a count and a value, or 0 and a code (end of line, end of picture,
// a move right and up, or a stretch of pixels stored as they are). Rows
// come bottom row first. Runs that reach past the end of their row lose the
// pixels beyond it, as other readers do (some writers fill odd rows up to an
// even width); a move out of the picture is damage.
class RunDecoder {
public:
    RunDecoder(const BmpHeader& h, const RgbaRowSink& sink, int64_t& beyondPalette)
        : header(h), row(sink), keep(static_cast<bool>(sink)), colours(h.palette), beyond(beyondPalette) {
        if (keep) line.assign(static_cast<size_t>(h.w), 0);
    }

    bool Decode(std::FILE* f, std::string& why) {
        if (!SeekTo(f, header.pixelStart)) return why = kCutShort, false;
        ByteStream in(f);
        while (y < header.h) {
            uint8_t count, value;
            if (!in.Byte(count) || !in.Byte(value)) return why = kCutShort, false;
            if (count > 0) {
                if (!Run(in, count, value)) return why = kCutShort, false;
                continue;
            }
            if (value == 0) {  // end of line
                NextLine();
                x = 0;
            } else if (value == 1) {  // end of picture: the rest stays transparent
                if (!keep) return true;
                while (y < header.h) NextLine();
            } else if (value == 2) {
                uint8_t right, up;
                if (!in.Byte(right) || !in.Byte(up)) return why = kCutShort, false;
                if (x + right > header.w || y + up >= header.h)
                    return why = "damaged: a move in its runs leaves the picture", false;
                x += right;
                for (int i = 0; i < up; i++) NextLine();
            } else if (!Stored(in, value)) {
                return why = kCutShort, false;
            }
        }
        return true;
    }

private:
    // Pixels past the end of the row are dropped; x stays at the row's end.
    void Put(RgbaPixel c) {
        if (x >= header.w) return;
        if (keep) line[static_cast<size_t>(x)] = c;
        x++;
    }
    RgbaPixel Index(unsigned i) { return colours(i, beyond); }

    void NextLine() {
        if (keep) {
            row(static_cast<int>(header.h - 1 - y), line.data());
            std::fill(line.begin(), line.end(), 0);
        }
        y++;
    }

    bool Run(ByteStream& in, int count, uint8_t value) {
        switch (header.coding) {
            case BmpCoding::Rle8:
                for (int i = 0; i < count; i++) Put(Index(value));
                return true;
            case BmpCoding::Rle4:
                for (int i = 0; i < count; i++) Put(Index(i % 2 ? value & 15 : value >> 4));
                return true;
            default: {  // 24-bit: the value is the first of blue, green, red
                uint8_t g, r;
                if (!in.Byte(g) || !in.Byte(r)) return false;
                for (int i = 0; i < count; i++) Put(Rgba(r, g, value));
                return true;
            }
        }
    }

    // `count` pixels as they are, padded to a 16-bit boundary.
    bool Stored(ByteStream& in, int count) {
        int bytes = 0;
        uint8_t b = 0, g = 0, r = 0;
        for (int i = 0; i < count; i++) {
            switch (header.coding) {
                case BmpCoding::Rle8:
                    if (!in.Byte(b)) return false;
                    bytes++;
                    Put(Index(b));
                    break;
                case BmpCoding::Rle4:
                    if (i % 2 == 0 && !in.Byte(b)) return false;
                    bytes += i % 2 == 0;
                    Put(Index(i % 2 ? b & 15 : b >> 4));
                    break;
                default:
                    if (!in.Byte(b) || !in.Byte(g) || !in.Byte(r)) return false;
                    bytes += 3;
                    Put(Rgba(r, g, b));
            }
        }
        return bytes % 2 == 0 || in.Byte(b);
    }

    const BmpHeader& header;
    const RgbaRowSink& row;
    bool keep;
    IndexColours colours;
    int64_t& beyond;
    std::vector<RgbaPixel> line;
    int64_t x = 0, y = 0;  // y counts lines from the bottom
};

}  // namespace

BmpPaletteSpan PaletteSpan(uint32_t infoSize, int maskBytes, int64_t pixelStart, int bits, uint32_t declared,
                           int entryBytes) {
    BmpPaletteSpan span;
    span.start = 14 + int64_t{infoSize} + maskBytes;
    if (bits < 1 || bits > 8 || entryBytes < 1) return span;
    int64_t most = int64_t{1} << bits;
    int64_t wanted = declared == 0 ? most : std::min<int64_t>(declared, most);
    int64_t room = std::max<int64_t>(0, (pixelStart - span.start) / entryBytes);
    span.count = static_cast<int>(std::min(wanted, room));
    return span;
}

bool MaskField(uint32_t mask, int pixelBits, BmpField& field) {
    field = BmpField();
    if (mask == 0) return true;
    if (pixelBits < 32 && (mask >> pixelBits) != 0) return false;
    int shift = 0;
    while (!(mask >> shift & 1)) shift++;
    uint64_t run = mask >> shift;
    if ((run & (run + 1)) != 0) return false;  // not one unbroken run of bits
    int bits = 0;
    while (run >> bits & 1) bits++;
    field.shift = shift;
    field.bits = bits;
    return true;
}

uint8_t ScaleField(uint32_t value, int bits) {
    if (bits <= 0) return 0;
    uint64_t most = bits >= 32 ? 0xffffffffu : (uint64_t{1} << bits) - 1;
    return static_cast<uint8_t>((uint64_t{value} * 255 + most / 2) / most);
}

bool ReadBmpHeader(std::FILE* f, BmpHeader& h, std::string& why) {
    h = BmpHeader();
    uint8_t b[18];
    if (!SeekTo(f, 0) || !ReadBytes(f, b, sizeof b) || b[0] != 'B' || b[1] != 'M') {
        why = "not a BMP picture";
        return false;
    }
    h.pixelStart = Le32(b + 10);
    h.infoSize = Le32(b + 14);
    Info in;
    if (!ReadInfo(f, h.infoSize, in, why)) return false;
    if (in.w < 1 || in.h == 0 || in.w > INT_MAX || in.h > INT_MAX || in.h < -int64_t{INT_MAX}) {
        why = "damaged: it claims a size of " + std::to_string(in.w) + " x " + std::to_string(in.h);
        return false;
    }
    h.w = static_cast<int>(in.w);
    h.topDown = in.h < 0;
    h.h = static_cast<int>(h.topDown ? -in.h : in.h);
    h.bits = in.bits;
    // Checked first: masks said to follow a short header but overlapping
    // the pixels would otherwise be taken for masks.
    if (h.pixelStart < 14 + int64_t{h.infoSize} + in.maskBytes)
        return why = "damaged: its pixel data starts inside its header", false;
    if (!ChooseCoding(in, h, why)) return false;
    bool runs = h.coding != BmpCoding::Indexed && h.coding != BmpCoding::Fields;
    if (runs && h.topDown) return why = "runs in a top-down BMP cannot be loaded", false;
    h.rowBytes = (int64_t{h.w} * h.bits + 31) / 32 * 4;
    if (h.bits <= 8) return ReadPalette(f, in, h, why);
    return true;
}

bool DecodeBmpRows(std::FILE* f, const BmpHeader& h, const RgbaRowSink& row, int64_t& beyondPalette,
                   std::string& why) {
    beyondPalette = 0;
    if (h.coding == BmpCoding::Indexed || h.coding == BmpCoding::Fields)
        return DecodeRaw(f, h, row, beyondPalette, why);
    return RunDecoder(h, row, beyondPalette).Decode(f, why);
}
