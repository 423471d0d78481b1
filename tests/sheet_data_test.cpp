#include "bmp/sheet_data.h"

#include <gtest/gtest.h>

// File names may hold any bytes; the JSON must parse whatever they are.
TEST(SheetData, FileNamesAreQuotedAsValidJson) {
    const struct {
        std::string in, out;
    } cases[] = {
        {"walk000.tga", "\"walk000.tga\""},
        {"say \"hi\"\\now", "\"say \\\"hi\\\"\\\\now\""},
        {"a\nb\tc\x7f", "\"a\\u000ab\\u0009c\\u007f\""},
        {"caf\xc3\xa9 \xf0\x9f\x90\x88", "\"caf\xc3\xa9 \xf0\x9f\x90\x88\""},
        // A stray byte, a cut sequence, an overlong form, a surrogate.
        {"\xff" "a\xc3", "\"\xef\xbf\xbd" "a\xef\xbf\xbd\""},
        {"\xc0\xaf", "\"\xef\xbf\xbd\xef\xbf\xbd\""},
        {"\xed\xa0\x80", "\"\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd\""},
    };
    for (const auto& c : cases) EXPECT_EQ(c.out, JsonQuoted(c.in)) << c.in;
}
