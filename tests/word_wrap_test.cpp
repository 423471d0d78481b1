// Message and status lines broken at word boundaries.
#include <gtest/gtest.h>

#include "txt/word_wrap.h"

namespace {

struct Case {
    const char* text;
    size_t width;
    std::vector<std::string> lines;
};

const Case kCases[] = {
    {"fits exactly", 12, {"fits exactly"}},
    {"", 5, {""}},
    {"hello world foo", 8, {"hello", "world", "foo"}},
    // A break at the space just past the width; the spaces of a break go.
    {"abcd efgh", 4, {"abcd", "efgh"}},
    {"one   two", 5, {"one", "two"}},
    // Spaces inside a line stay (the status line's double spaces).
    {"P0 1,2  x16  frame 0", 12, {"P0 1,2  x16", "frame 0"}},
    // A word longer than a line is cut.
    {"abcdefghij k", 4, {"abcd", "efgh", "ij k"}},
    {"Nothing loaded: 'a-very-long-name.png': does not exist", 20,
     {"Nothing loaded:", "'a-very-long-name.pn", "g': does not exist"}},
    {"ab", 0, {"a", "b"}},
};

}  // namespace

TEST(WordWrap, BreaksAtSpacesAndCutsOnlyWordsLongerThanALine) {
    for (const Case& c : kCases) EXPECT_EQ(WrapWords(c.text, c.width), c.lines) << '"' << c.text << '"';
}
