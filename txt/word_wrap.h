#pragma once
#include <string>
#include <vector>

// Breaks a text into lines of at most `width` characters where `gap` occurs
// (a space by default; the status line breaks only between its items, which
// two spaces part), the spaces at a break dropped; a part longer than a
// whole line is cut at the width. An empty text is one empty line; a width
// below 1 counts as 1.
std::vector<std::string> WrapWords(const std::string& text, size_t width, const std::string& gap = " ");
