// The help screen's layout: wrapping into the key and words columns and
// cutting into pages.
#include "learn/help_screen.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

// The words of a text, spaces ignored.
std::vector<std::string> Words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

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
        expected += s.title + " ";
        for (const KeyRow& r : s.rows) expected += r.keys + " " + r.words + " ";
    }
    for (const auto& page : pages) {
        ASSERT_FALSE(page.empty());
        EXPECT_LE(page.size(), static_cast<size_t>(rows));
        EXPECT_FALSE(page[0].text.empty() && !page[0].title) << "a page starts with a blank line";
        EXPECT_FALSE(page.back().title) << page.back().text << " is last on its page";
        for (const HelpLine& line : page) {
            EXPECT_LE(line.text.size(), static_cast<size_t>(cols)) << line.text;
            all += line.text + " ";
        }
    }
    // Every word in order, the one too long for the column cut into pieces.
    std::string joined;
    for (const std::string& w : Words(all)) joined += w;
    std::string wanted;
    for (const std::string& w : Words(expected)) wanted += w;
    EXPECT_EQ(joined, wanted);

    // A row's continuation lines never start a page: a page begins with a
    // title or a key.
    for (const auto& page : pages) EXPECT_NE(page[0].text[0], ' ') << page[0].text;
}
