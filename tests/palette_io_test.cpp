#include "bmp/palette_io.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::string Lines(const std::string& line, int times) {
    std::string text;
    for (int i = 0; i < times; i++) text += line;
    return text;
}

std::string RawPal() {
    std::string bytes;
    for (int i = 0; i < 256; i++) bytes += {char(i), char(255 - i), char(i / 2)};
    return bytes;
}

// Either the colours read (at most their first and last, for long files)
// and how many were left out, or the error.
struct Case {
    const char* name;
    std::string bytes;
    std::vector<uint32_t> colours;
    size_t size;
    size_t leftOut;
    const char* error;
};

const Case kCases[] = {
    {"a.gpl", "GIMP Palette\r\nName: x\r\nColumns: 4\r\n# c\r\n\r\n  0  10 255\tBlue  one\r\n1 2 3\r\n",
     {0x000aff, 0x010203}, 2, 0, ""},
    {"a.gpl", "Name: x\n1 2 3\n", {}, 0, 0, "line 1: expected \"GIMP Palette\""},
    {"a.gpl", "GIMP Palette\n1 2 3\n\n# x\n1 2 256\n", {}, 0, 0, "line 5: expected three numbers 0 to 255"},
    {"a.gpl", "GIMP Palette\n1 2\n", {}, 0, 0, "line 2: expected three numbers 0 to 255"},
    {"a.gpl", "GIMP Palette\n1 -2 3\n", {}, 0, 0, "line 2: expected three numbers 0 to 255"},
    {"a.gpl", "GIMP Palette\r\n# only\r\n", {}, 0, 0, "no colours"},
    {"a.hex", "#ff0044\r\n00aaFF\r\n\r\n", {0xff0044, 0x00aaff}, 2, 0, ""},
    {"a.hex", "ff0044\n#12345\n", {}, 0, 0, "line 2: expected a colour like 1a2b3c"},
    {"a.hex", "\n\n", {}, 0, 0, "no colours"},
    {"a.hex", Lines("102030\n", 300), {0x102030, 0x102030}, 256, 44, ""},
    {"a.hex", "102030\n" + std::string(4097, 'a') + "\n102030\n", {}, 0, 0, "line 2 is longer than 4096 characters"},
    {"a.hex", Lines("102030\n", 150000), {}, 0, 0, "larger than 1 MiB"},
    {"a.PAL", "JASC-PAL\r\n0100\r\n2\r\n0 0 0\r\n255 128 7\r\n", {0x000000, 0xff8007}, 2, 0, ""},
    {"a.pal", "JASC-PAL\n0100\n3\n0 0 0\n1 1 1\n", {}, 0, 0, "line 3: says 3 colours, the file has 2"},
    {"a.pal", "JASC-PAL\n0100\n1\n0 0 0\n1 1 1\n", {}, 0, 0, "line 5: more colours than the 1 on line 3"},
    {"a.pal", "JASC-PAL\n0101\n1\n0 0 0\n", {}, 0, 0, "line 2: expected \"0100\""},
    {"a.pal", "JASC-PAL\n0100\nmany\n", {}, 0, 0, "line 3: expected the number of colours"},
    {"a.pal", "JASC-PAL\n0100\n1\n0 0 0 name\n", {}, 0, 0, "line 4: expected three numbers 0 to 255"},
    {"a.pal", "JASC-PAL\n0100\n300\n" + Lines("1 2 3\n", 300), {0x010203, 0x010203}, 256, 44, ""},
    {"a.pal", RawPal(), {0x00ff00, 0xff007f}, 256, 0, ""},
    {"a.pal", RawPal().substr(1), {}, 0, 0, "line 1: expected \"JASC-PAL\""},
};

TEST(PaletteIo, ReadsOrRefusesEachCase) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string(c.name) + ": " + c.bytes.substr(0, 40));
        PaletteReading r = ParsePalette(c.name, c.bytes);
        EXPECT_EQ(r.error, c.error);
        if (!*c.error) {
            ASSERT_TRUE(r.palette);
            EXPECT_EQ(r.palette->Size(), c.size);
            EXPECT_EQ(r.leftOut, c.leftOut);
            EXPECT_EQ((*r.palette)[0], c.colours.front());
            EXPECT_EQ((*r.palette)[c.size - 1], c.colours.back());
        } else {
            EXPECT_FALSE(r.palette);
        }
    }
}

TEST(PaletteIo, FilesTooLargeOrMissingAreRefusedWithTheReason) {
    std::string big = testing::TempDir() + "big.hex";
    std::FILE* f = std::fopen(big.c_str(), "wb");
    ASSERT_TRUE(f);
    std::fputs(Lines("102030\n", 150000).c_str(), f);
    std::fclose(f);
    EXPECT_EQ(ReadPaletteFile(big).error, "larger than 1 MiB");
    EXPECT_EQ(ReadPaletteFile(testing::TempDir() + "none.gpl").error, std::strerror(ENOENT));
}

TEST(PaletteIo, EachFormatReadsBackWhatItWrote) {
    Palette palette({0x000000, 0x0a0b0c, 0xffffff, 0x5b6ee1});
    for (const char* name : {"dir/my.gpl", "my.hex", "my.pal"}) {
        SCOPED_TRACE(name);
        char* out = nullptr;
        size_t size = 0;
        std::FILE* f = open_memstream(&out, &size);
        ASSERT_TRUE(WritePalette(f, palette, name));
        std::fclose(f);
        std::string text(out, size);
        std::free(out);
        PaletteReading back = ParsePalette(name, text);
        ASSERT_TRUE(back.palette) << back.error;
        EXPECT_EQ(*back.palette, palette);
        // GIMP's own layout: the name without folder or extension, padded numbers.
        const char* gimpStart = "GIMP Palette\nName: my\n#\n  0   0   0\t000000\n 10  11  12\t0A0B0C\n";
        if (std::string(name) == "dir/my.gpl") {
            EXPECT_EQ(text.substr(0, std::strlen(gimpStart)), gimpStart);
        }
    }
}

}  // namespace
