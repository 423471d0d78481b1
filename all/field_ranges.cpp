#include "field_ranges.h"

#include "read_number.h"

namespace {

std::string RangeMessage(const FieldRange& r) {
    return r.name + " must be " + std::to_string(r.lowest) + " to " + std::to_string(r.highest);
}

}  // namespace

RangeVerdict CheckRanges(const std::vector<std::string>& answers, const FieldRanges& ranges) {
    RangeVerdict first;
    for (const FieldRange& r : ranges) {
        bool present = r.row >= 0 && r.row < static_cast<int>(answers.size());
        int64_t n = present ? ReadNumber(answers[r.row]) : 0;
        bool inside = present && n >= r.lowest && n <= r.highest;
        // The refusal names the topmost refused row, whatever the table's order.
        if (!inside && (!first.Refused() || r.row < first.row)) first = {r.row, RangeMessage(r)};
    }
    return first;
}
