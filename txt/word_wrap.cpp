#include "word_wrap.h"

std::vector<std::string> WrapWords(const std::string& text, size_t width) {
    if (width < 1) width = 1;
    std::vector<std::string> lines;
    std::string rest = text;
    while (rest.size() > width) {
        // The last space that still lets the line end within the width.
        size_t cut = rest.rfind(' ', width);
        size_t end = cut, next = cut;
        if (cut == std::string::npos || rest.find_first_not_of(' ') >= cut) {
            end = next = width;  // no word boundary: the word is cut
        } else {
            end = rest.find_last_not_of(' ', cut) + 1;
        }
        lines.push_back(rest.substr(0, end));
        size_t start = rest.find_first_not_of(' ', next);
        rest = start == std::string::npos ? "" : rest.substr(start);
    }
    if (!rest.empty() || lines.empty()) lines.push_back(rest);
    return lines;
}
