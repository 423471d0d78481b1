#include "word_wrap.h"

std::vector<std::string> WrapWords(const std::string& text, size_t width, const std::string& gap) {
    if (width < 1) width = 1;
    std::vector<std::string> lines;
    std::string rest = text;
    while (rest.size() > width) {
        // The last gap that still lets the line end within the width.
        size_t cut = rest.rfind(gap, width);
        size_t end = cut == std::string::npos ? 0 : rest.find_last_not_of(' ', cut);
        if (cut == std::string::npos || end == std::string::npos || end >= cut) {
            end = cut = width;  // no boundary before a text: it is cut
        } else {
            end++;
        }
        lines.push_back(rest.substr(0, end));
        size_t start = rest.find_first_not_of(' ', cut);
        rest = start == std::string::npos ? "" : rest.substr(start);
    }
    if (!rest.empty() || lines.empty()) lines.push_back(rest);
    return lines;
}
