// The range table every form's numbers pass through: which row is refused
// first and what the refusal says.
#include <gtest/gtest.h>

#include "all/field_ranges.h"

namespace {

const FieldRanges kColour = {{0, "red", 0, 255}, {1, "green", 0, 255}, {2, "blue", 0, 255}};
// A text row (1) between two numbers, listed out of row order.
const FieldRanges kMixed = {{2, "loops", 0, 65535}, {0, "first frame", 0, 999}};

struct Case {
    const char* what;
    const FieldRanges* ranges;
    std::vector<std::string> answers;
    int row;
    const char* message;
};

const Case kCases[] = {
    {"every part at its ends", &kColour, {"0", "255", " 7"}, -1, ""},
    {"above the top", &kColour, {"300", "0", "0"}, 0, "red must be 0 to 255"},
    {"below the bottom", &kColour, {"0", "-1", "0"}, 1, "green must be 0 to 255"},
    {"the topmost refused row is named", &kColour, {"0", "256", "-10"}, 1, "green must be 0 to 255"},
    {"no digits read as 0", &kColour, {"abc", "0", "0"}, -1, ""},
    {"digits up to the first other character", &kColour, {"12px", "0", "300px"}, 2, "blue must be 0 to 255"},
    {"beyond an int saturates and is refused", &kColour, {"99999999999", "0", "0"}, 0, "red must be 0 to 255"},
    {"a missing answer is refused", &kColour, {"1", "2"}, 2, "blue must be 0 to 255"},
    {"text rows are not checked", &kMixed, {"5", "-anything-", "0"}, -1, ""},
    {"row order, not table order", &kMixed, {"1000", "x", "70000"}, 0, "first frame must be 0 to 999"},
};

}  // namespace

TEST(FieldRanges, RefusesTheTopmostRowOutsideItsRange) {
    for (const Case& c : kCases) {
        RangeVerdict v = CheckRanges(c.answers, *c.ranges);
        EXPECT_EQ(v.row, c.row) << c.what;
        EXPECT_EQ(v.Refused(), c.row >= 0) << c.what;
        EXPECT_EQ(v.message, c.message) << c.what;
    }
}
