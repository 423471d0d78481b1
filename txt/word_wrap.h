#pragma once
#include <string>
#include <vector>

// Breaks a text into lines of at most `width` characters at spaces, the
// spaces at a break dropped; a word longer than a whole line is cut at the
// width. Spaces inside a line are kept as they are. An empty text is one
// empty line; a width below 1 counts as 1.
std::vector<std::string> WrapWords(const std::string& text, size_t width);
