// The help screen's layout: wrapping into the key and words columns and
// cutting into pages.
#include "learn/help_screen.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

namespace {

// The text without its blanks: wrapping may move and cut words but must
// keep every character in order.
std::string Squeezed(std::string s) {
    s.erase(std::remove_if(s.begin(), s.end(), [](unsigned char c) { return std::isspace(c); }), s.end());
    return s;
}

// n distinct words, so a word lost or moved shows.
std::string Repeat(const std::string& word, int n) {
    std::string s;
    for (int i = 0; i < n; i++) s += word + std::to_string(i) + " ";
    return s;
}

}  // namespace

TEST(HelpPages, FitTheScreenKeepRowsWholeAndLoseNoWord) {
    std::vector<KeySection> sections = {
        {"First", {{"A", Repeat("word", 30)}, {"B", "short"}, {"a-very-long-key-name", "moves to a line of its own"}}},
        {"Second", {{"C", "an-unbreakable-word-longer-than-the-column " + Repeat("tail", 4)}, {"D", "end"}}},
        {"Third", {{"E", Repeat("x", 12)}}},
    };
    const int cols = 40, rows = 9;
    auto pages = HelpPages(sections, cols, rows);
    ASSERT_GT(pages.size(), 1u);
    std::string all, expected;
    for (const KeySection& s : sections) {
        expected += s.title;
        for (const KeyRow& r : s.rows) expected += r.keys + r.words;
    }
    for (const auto& page : pages) {
        ASSERT_FALSE(page.empty());
        EXPECT_LE(page.size(), static_cast<size_t>(rows));
        // A page begins with a title or a key: never a blank line nor the
        // continuation of a row; and a title never ends a page.
        EXPECT_TRUE(!page[0].text.empty() && page[0].text[0] != ' ') << "page starts with '" << page[0].text << "'";
        EXPECT_FALSE(page.back().title) << page.back().text << " is last on its page";
        for (const HelpLine& line : page) {
            EXPECT_LE(line.text.size(), static_cast<size_t>(cols)) << line.text;
            all += line.text;
        }
    }
    EXPECT_EQ(Squeezed(all), Squeezed(expected));
}
