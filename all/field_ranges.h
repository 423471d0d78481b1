#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The numbers a form may hold: one row of the table per number-holding row
// of the form, with the name its refusal uses ("red must be 0 to 255").
// Rows without an entry hold text and are not checked.
struct FieldRange {
    int row;
    std::string name;
    int64_t lowest, highest;
};

using FieldRanges = std::vector<FieldRange>;

// The first refused row and what to tell the user; row -1 when every
// answer is inside its range.
struct RangeVerdict {
    int row = -1;
    std::string message;

    bool Refused() const { return row >= 0; }
};

// Reads each ranged answer as typed numbers are read everywhere and checks
// it against its row's range. A row the answers lack is refused too, so a
// short list can never pass as checked.
RangeVerdict CheckRanges(const std::vector<std::string>& answers, const FieldRanges& ranges);
