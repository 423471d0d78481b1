// The BMP reader's arithmetic: colour masks to fields and their scaling,
// where each header size puts its palette, and the headers it names as
// missing features rather than damage (the end-to-end case loads the
// pictures themselves).
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "bmp/bmp_reader.h"

TEST(BmpReader, MasksGiveFieldsOnlyWhenUnbrokenAndInsideThePixel) {
    struct Case {
        uint32_t mask;
        int pixelBits;
        bool ok;
        int shift, bits;
    };
    const Case cases[] = {
        {0xf800, 16, true, 11, 5},         {0x07e0, 16, true, 5, 6},     {0x0001, 16, true, 0, 1},
        {0, 16, true, 0, 0},               {0xffffffff, 32, true, 0, 32}, {0xfffc0000, 32, true, 18, 14},
        {0x3ff00000, 32, true, 20, 10},    {0x00ff0000, 16, false, 0, 0}, {0x0f0f, 16, false, 0, 0},
        {0x80000001, 32, false, 0, 0},     {0x00ff0000, 24, true, 16, 8}, {0x01000000, 24, false, 0, 0},
    };
    for (const Case& c : cases) {
        BmpField f;
        EXPECT_EQ(MaskField(c.mask, c.pixelBits, f), c.ok) << std::hex << c.mask;
        if (!c.ok) continue;
        EXPECT_EQ(f.shift, c.shift) << std::hex << c.mask;
        EXPECT_EQ(f.bits, c.bits) << std::hex << c.mask;
    }
}

TEST(BmpReader, FieldsScaleToTheNearestEightBitLevel) {
    struct Case {
        uint32_t value;
        int bits, expected;
    };
    const Case cases[] = {{0, 5, 0},         {31, 5, 255},    {15, 5, 123},      {16, 5, 132}, {1, 1, 255},
                          {1, 2, 85},        {2, 2, 170},     {32, 6, 130},      {8, 4, 136},  {1023, 10, 255},
                          {512, 10, 128},    {255, 8, 255},   {100, 8, 100},     {0x20000, 18, 128},
                          {0xffffffff, 32, 255}, {0x80000000, 32, 128}};
    for (const Case& c : cases) EXPECT_EQ(ScaleField(c.value, c.bits), c.expected) << c.value << "/" << c.bits;
}

// Today's writers put 108- and 124-byte headers before the palette; the
// palette must be looked for behind whichever header the file has.
TEST(BmpReader, ThePaletteStartsBehindEachHeaderSize) {
    struct Case {
        uint32_t infoSize;
        int maskBytes;
        int64_t pixelStart;
        int bits;
        uint32_t declared;
        int entryBytes;
        int64_t start;
        int count;
    };
    const Case cases[] = {
        {12, 0, 26 + 768, 8, 0, 3, 26, 256},      // OS/2 1.x: 3-byte entries
        {12, 0, 26 + 30, 8, 0, 3, 26, 10},        // fewer entries fit before the pixels
        {64, 0, 78 + 1024, 8, 0, 4, 78, 256},     // OS/2 2.x
        {16, 0, 30 + 64, 4, 0, 4, 30, 16},        // OS/2 2.x shortened to 16 bytes
        {40, 0, 54 + 1024, 8, 0, 4, 54, 256},     //
        {40, 0, 54 + 64, 4, 5, 4, 54, 5},         // fewer entries declared
        {40, 12, 66, 16, 0, 4, 66, 0},            // masks behind the short header, no palette
        {108, 0, 122 + 1024, 8, 256, 4, 122, 256},
        {124, 0, 138 + 1024, 8, 256, 4, 138, 256},
        {124, 0, 138 + 8, 2, 0, 4, 138, 2},       // room for 2 of a 2-bit picture's 4 entries
        {124, 0, 138 + 1200, 1, 300, 4, 138, 2},  // more declared than the bits can index
        {124, 0, 100, 8, 0, 4, 138, 0},           // pixel data before the palette's place
    };
    for (const Case& c : cases) {
        BmpPaletteSpan span = PaletteSpan(c.infoSize, c.maskBytes, c.pixelStart, c.bits, c.declared, c.entryBytes);
        EXPECT_EQ(span.start, c.start) << c.infoSize << " " << c.pixelStart;
        EXPECT_EQ(span.count, c.count) << c.infoSize << " " << c.pixelStart;
    }
}

namespace {

void Put16(std::string& s, size_t at, uint32_t v) { s[at] = char(v), s[at + 1] = char(v >> 8); }
void Put32(std::string& s, size_t at, uint32_t v) { Put16(s, at, v), Put16(s, at + 2, v >> 16); }

// A 2x2 picture's headers with the given info header size, bits and
// compression; the pixel data starts right after them.
std::string Headers(uint32_t infoSize, int bits, uint32_t compression) {
    std::string s(14 + infoSize + 16, '\0');
    s[0] = 'B', s[1] = 'M';
    Put32(s, 10, static_cast<uint32_t>(s.size()));
    Put32(s, 14, infoSize);
    if (infoSize == 12) {
        Put16(s, 18, 2), Put16(s, 20, 2), Put16(s, 22, 1), Put16(s, 24, static_cast<uint32_t>(bits));
    } else {
        Put32(s, 18, 2), Put32(s, 22, 2), Put16(s, 26, 1), Put16(s, 28, static_cast<uint32_t>(bits));
        Put32(s, 30, compression);
    }
    return s + std::string(64, '\0');
}

std::string HeaderVerdict(const std::string& file) {
    std::FILE* f = fmemopen(const_cast<char*>(file.data()), file.size(), "rb");
    BmpHeader header;
    std::string why;
    bool ok = ReadBmpHeader(f, header, why);
    std::fclose(f);
    return ok ? "ok" : why;
}

}  // namespace

TEST(BmpReader, RefusalsNameTheMissingFeature) {
    struct Case {
        uint32_t infoSize;
        int bits;
        uint32_t compression;
        const char* verdict;
    };
    const Case cases[] = {
        {124, 64, 0, "a 64-bit BMP cannot be loaded"},
        {124, 0, 4, "JPEG inside a BMP cannot be loaded"},
        {124, 0, 5, "PNG inside a BMP cannot be loaded"},
        {40, 32, 11, "a CMYK BMP cannot be loaded"},
        {64, 1, 3, "a Huffman-coded BMP cannot be loaded"},
        {40, 8, 3, "colour masks in an 8-bit BMP cannot be loaded"},
        {40, 24, 2, "4-bit runs in a 24-bit BMP cannot be loaded"},
        {40, 8, 9, "a BMP of compression type 9 cannot be loaded"},
        {100, 8, 0, "a BMP with a 100-byte header cannot be loaded"},
        {12, 8, 0, "ok"},
        {64, 24, 4, "ok"},  // OS/2 2.x: 24-bit runs
        {40, 2, 0, "ok"},
        {108, 16, 0, "ok"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HeaderVerdict(Headers(c.infoSize, c.bits, c.compression)), c.verdict)
            << c.infoSize << " " << c.bits << " " << c.compression;
    // A 32-bit BMP whose red mask has a gap.
    std::string gap = Headers(40, 32, 3);
    Put32(gap, 54, 0x00f0f000);
    EXPECT_EQ(HeaderVerdict(gap), "a 32-bit BMP whose colour masks have gaps or reach past its pixels cannot be loaded");
    // Damage is said only of sizes and offsets that do not fit.
    std::string inside = Headers(124, 24, 0);
    Put32(inside, 10, 100);
    EXPECT_EQ(HeaderVerdict(inside), "damaged: its pixel data starts inside its header");
    EXPECT_EQ(HeaderVerdict(Headers(124, 24, 0).substr(0, 60)), "damaged: its data is cut short");
}
