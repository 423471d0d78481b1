#pragma once
#include <string>
#include <vector>

// What a sprite sheet holds, for the JSON that sprite-sheet importers of
// game engines read beside the PNG (the "array" form of frames). Every
// coordinate and size is the sheet's own, after any scaling.
struct SheetFrame {
    std::string filename;
    int x, y, w, h;
    int durationMs;
};

struct SheetData {
    std::string app, version, image;
    int w, h;
    int scale;
    std::vector<SheetFrame> frames;
};

// The text as a JSON string, quotes included: quotes, backslashes and
// control characters escaped, and every byte that is not part of valid
// UTF-8 (a file name may be any bytes) written as U+FFFD, so the document
// always parses.
std::string JsonQuoted(const std::string& text);

// The whole JSON document, ending in a newline.
std::string SheetJson(const SheetData& sheet);
