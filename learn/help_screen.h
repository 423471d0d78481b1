#pragma once
#include <string>
#include <vector>

#include "key_table.h"

// One line of the help screen; titles are drawn in their own colour.
struct HelpLine {
    std::string text;
    bool title;
};

// The key reference laid out in lines of at most `cols` characters (keys in
// a column, their words wrapped beside them) and cut into pages of at most
// `rows` lines. A row is never split over two pages, and a section's title
// stays on the page of its first row.
std::vector<std::vector<HelpLine>> HelpPages(const std::vector<KeySection>& sections, int cols, int rows);
