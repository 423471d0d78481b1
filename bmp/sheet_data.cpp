#include "sheet_data.h"

#include <cstdio>

namespace {

// The length of the valid UTF-8 sequence at s[i], 0 when there is none
// (overlong forms, surrogates and values beyond U+10FFFF included).
size_t Utf8Length(const std::string& s, size_t i) {
    auto b = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
    unsigned char c = b(i);
    size_t n = c < 0x80 ? 1 : (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 0;
    if (n == 0 || i + n > s.size()) return 0;
    for (size_t k = 1; k < n; k++)
        if ((b(i + k) & 0xC0) != 0x80) return 0;
    if (n == 2 && c < 0xC2) return 0;
    if (n == 3 && ((c == 0xE0 && b(i + 1) < 0xA0) || (c == 0xED && b(i + 1) >= 0xA0))) return 0;
    if (n == 4 && ((c == 0xF0 && b(i + 1) < 0x90) || c > 0xF4 || (c == 0xF4 && b(i + 1) >= 0x90))) return 0;
    return n;
}

std::string Rect(int x, int y, int w, int h) {
    return "{\"x\": " + std::to_string(x) + ", \"y\": " + std::to_string(y) + ", \"w\": " + std::to_string(w) +
           ", \"h\": " + std::to_string(h) + "}";
}

std::string Size(int w, int h) { return "{\"w\": " + std::to_string(w) + ", \"h\": " + std::to_string(h) + "}"; }

}  // namespace

std::string JsonQuoted(const std::string& text) {
    std::string out = "\"";
    for (size_t i = 0; i < text.size();) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        size_t n = Utf8Length(text, i);
        if (n == 0) {
            out += "\xEF\xBF\xBD";
            i++;
            continue;
        }
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c == 0x7F) {
            char esc[8];
            std::snprintf(esc, sizeof esc, "\\u%04x", c);
            out += esc;
        } else {
            out.append(text, i, n);
        }
        i += n;
    }
    return out + "\"";
}

std::string SheetJson(const SheetData& sheet) {
    std::string out = "{\"frames\": [";
    for (size_t i = 0; i < sheet.frames.size(); i++) {
        const SheetFrame& f = sheet.frames[i];
        out += i ? ",\n  " : "\n  ";
        out += "{\"filename\": " + JsonQuoted(f.filename) + ", \"frame\": " + Rect(f.x, f.y, f.w, f.h) +
               ", \"rotated\": false, \"trimmed\": false, \"spriteSourceSize\": " + Rect(0, 0, f.w, f.h) +
               ", \"sourceSize\": " + Size(f.w, f.h) + ", \"duration\": " + std::to_string(f.durationMs) + "}";
    }
    out += "\n],\n\"meta\": {\"app\": " + JsonQuoted(sheet.app) + ", \"version\": " + JsonQuoted(sheet.version) +
           ", \"image\": " + JsonQuoted(sheet.image) + ", \"format\": \"RGBA8888\", \"size\": " +
           Size(sheet.w, sheet.h) + ", \"scale\": " + JsonQuoted(std::to_string(sheet.scale)) + "}\n}\n";
    return out;
}
