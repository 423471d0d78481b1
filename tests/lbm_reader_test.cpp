// The IFF picture decoder: both layouts with odd widths and both
// compressions give the stored indices (the end-to-end case loads an
// uncompressed one); hostile chunks are refused.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bmp/lbm_reader.h"

namespace {

std::string Be32(uint32_t v) { return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)}; }

std::string Chunk(const std::string& id, const std::string& data) {
    return id + Be32(static_cast<uint32_t>(data.size())) + data + (data.size() & 1 ? std::string(1, '\0') : "");
}

// A bitmap header of w x h (both below 256) with the given planes and compression.
std::string Header(int w, int h, int planes, int compression) {
    std::string b(20, '\0');
    b[1] = char(w), b[3] = char(h), b[8] = char(planes), b[10] = char(compression);
    return Chunk("BMHD", b);
}

std::string Form(const std::string& type, const std::string& chunks) {
    return "FORM" + Be32(static_cast<uint32_t>(4 + chunks.size())) + type + chunks;
}

// Decodes the bytes; the rows' indices, or the reason for a refusal.
std::vector<std::vector<int>> Decode(const std::string& file, std::string& why) {
    std::vector<std::vector<int>> rows;
    std::FILE* f = fmemopen(const_cast<char*>(file.data()), file.size(), "rb");
    LbmHeader header;
    if (ReadLbmHeader(f, header, why))
        DecodeLbmRows(f, header, [&](int, const uint8_t* ix) { rows.emplace_back(ix, ix + header.w); }, why);
    std::fclose(f);
    return rows;
}

const std::string kPalette = Chunk("CMAP", std::string(8 * 3, '\x40'));

}  // namespace

// Valid pictures give their rows' indices; hostile ones (no rows expected)
// are refused with a reason.
TEST(LbmReader, BothLayoutsGiveTheirIndicesAndHostileChunksAreRefused) {
    using Rows = std::vector<std::vector<int>>;
    std::string body = Chunk("BODY", std::string(8, '\x01'));
    const std::pair<std::string, Rows> cases[] = {
        // 5 wide, 3 planes, byte runs: the planes of row 0 stored as they
        // are, row 1's third plane as a repeat run of two zero bytes.
        {Form("ILBM", Header(5, 2, 3, 1) + kPalette +
                          Chunk("BODY", std::string("\x01\xa8\x00\x01\x60\x00\x01\x18\x00"
                                                    "\x01\x88\x00\x01\xa0\x00\xff\x00",
                                                    17))),
         {{1, 2, 3, 4, 5}, {3, 0, 2, 0, 1}}},
        // 3 wide, one byte per pixel, packed: 4 bytes as they are (a row
        // and its pad byte), then 4 fives.
        {Form("PBM ", Header(3, 2, 8, 1) + Chunk("BODY", std::string("\x03\x09\x08\x07\xee\xfd\x05", 7))),
         {{9, 8, 7}, {5, 5, 5}}},
        {Form("PBM ", Header(3, 2, 8, 0) + Chunk("CMAP", std::string(257 * 3, '\0')) + body), {}},
        {Form("PBM ", Header(3, 2, 8, 1) + Chunk("BODY", std::string("\x04\x01\x02\x03\x04\x05\x80\x80", 8))), {}},
        {Form("PBM ", Header(3, 2, 8, 2) + body), {}},
        {Form("PBM ", Header(3, 3, 8, 0) + body), {}},
        {Form("ILBM", Header(3, 2, 9, 0) + body), {}},
        {Form("ILBM", Header(3, 2, 1, 0) + "BODY" + Be32(1000) + "\x01\x02"), {}},
    };
    for (size_t i = 0; i < std::size(cases); i++) {
        std::string why;
        Rows rows = Decode(cases[i].first, why);
        EXPECT_EQ(cases[i].second.empty(), !why.empty()) << "case " << i << ": " << why;
        if (!cases[i].second.empty()) {
            EXPECT_EQ(rows, cases[i].second) << "case " << i;
        }
    }
}
