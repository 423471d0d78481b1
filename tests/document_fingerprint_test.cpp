#include <gtest/gtest.h>

#include "learn/document_io.h"

namespace {

// One layer of 64x3 values, all 5 but the ones given as (index, value).
uint64_t FingerprintWith(std::initializer_list<std::pair<int, uint32_t>> values) {
    Document doc;
    auto pixels = std::make_unique<PlainPixels>(64, 3);
    for (int i = 0; i < 64 * 3; i++) pixels->At(i % 64, i / 64) = 5;
    for (auto [i, v] : values) pixels->At(i % 64, i / 64) = static_cast<int32_t>(v);
    doc.layers.push_back(DocLayer{0, std::move(pixels)});
    doc.pointers.resize(10);
    return FingerprintDocument(doc);
}

TEST(DocumentFingerprint, EveryChangeShowsAndEqualDocumentsAgree) {
    uint64_t plain = FingerprintWith({});
    EXPECT_EQ(plain, FingerprintWith({}));
    EXPECT_NE(plain, FingerprintWith({{100, 6}}));
    EXPECT_NE(plain, FingerprintWith({{191, 6}})) << "the last value, past the full lanes";
    // Top bits of two words that meet in one lane: a multiplication alone
    // would let the two changes cancel.
    EXPECT_NE(plain, FingerprintWith({{1, 5u | 0x80000000u}, {33, 5u | 0x80000000u}}));
    // Swapped values.
    EXPECT_NE(FingerprintWith({{0, 1}, {1, 2}}), FingerprintWith({{0, 2}, {1, 1}}));
}

}  // namespace
