// Message and status lines broken at word boundaries.
#include <gtest/gtest.h>

#include "txt/word_wrap.h"

TEST(WordWrap, BreaksAtSpacesAndCutsOnlyWordsLongerThanALine) {
    const struct {
        const char* text;
        size_t width;
        std::vector<std::string> lines;
        const char* gap = " ";
    } cases[] = {
        {"", 5, {""}},
        {"hello world foo", 8, {"hello", "world", "foo"}},
        {"abcd   efgh", 4, {"abcd", "efgh"}},  // a space just past the width; the spaces of a break go
        {"P0 1,2  x16  frame 0", 12, {"P0 1,2  x16", "frame 0"}},  // spaces inside a line stay
        {"layer 0 of 1  x16", 14, {"layer 0 of 1", "x16"}, "  "},  // only between items
        {"abcdefghij k", 4, {"abcd", "efgh", "ij k"}},
    };
    for (const auto& c : cases) EXPECT_EQ(WrapWords(c.text, c.width, c.gap), c.lines) << '"' << c.text << '"';
}
