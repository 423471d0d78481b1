// The range table every form's numbers pass through: which row is refused
// first and what the refusal says.
#include <gtest/gtest.h>

#include "all/field_ranges.h"

TEST(FieldRanges, RefusesTheTopmostRowOutsideItsRange) {
    const FieldRanges colour = {{0, "red", 0, 255}, {1, "green", 0, 255}, {2, "blue", 0, 255}};
    // A text row (1) between two numbers, listed out of row order.
    const FieldRanges mixed = {{2, "loops", 0, 65535}, {0, "first frame", 0, 999}};
    const struct {
        const FieldRanges& ranges;
        std::vector<std::string> answers;
        int row;
        const char* message;
    } cases[] = {
        {colour, {"0", "255", " 7"}, -1, ""},
        {colour, {"0", "256", "-10"}, 1, "green must be 0 to 255"},
        {colour, {"abc", "12px", "300px"}, 2, "blue must be 0 to 255"},  // read as 0, 12, 300
        {colour, {"1", "2"}, 2, "blue must be 0 to 255"},  // a missing answer
        {mixed, {"5", "-anything-", "0"}, -1, ""},
        {mixed, {"1000", "x", "70000"}, 0, "first frame must be 0 to 999"},
    };
    for (const auto& c : cases) {
        RangeVerdict v = CheckRanges(c.answers, c.ranges);
        EXPECT_EQ(v.row, c.row) << c.message;
        EXPECT_EQ(v.message, c.message) << c.row;
    }
}
