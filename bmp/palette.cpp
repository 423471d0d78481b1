#include "palette.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr uint32_t kDb32[] = {
    0x000000, 0x222034, 0x45283c, 0x663931, 0x8f563b, 0xdf7126, 0xd9a066, 0xeec39a, 0xfbf236, 0x99e550, 0x6abe30,
    0x37946e, 0x4b692f, 0x524b24, 0x323c39, 0x3f3f74, 0x306082, 0x5b6ee1, 0x639bff, 0x5fcde4, 0xcbdbfc, 0xffffff,
    0x9badb7, 0x847e87, 0x696a6a, 0x595652, 0x76428a, 0xac3232, 0xd95763, 0xd77bba, 0x8f974a, 0x8a6f30,
};

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

Palette Palette::Default() { return Palette(std::vector<uint32_t>(std::begin(kDb32), std::end(kDb32))); }

Palette::Palette(std::vector<uint32_t> list) : colours(std::move(list)) {
    if (colours.empty()) colours.assign(std::begin(kDb32), std::end(kDb32));
    if (colours.size() > kMaxColours) colours.resize(kMaxColours);
    for (uint32_t& c : colours) c &= 0xffffff;
}

std::optional<size_t> Palette::Find(uint32_t rgb) const {
    auto it = std::find(colours.begin(), colours.end(), rgb & 0xffffff);
    if (it == colours.end()) return std::nullopt;
    return static_cast<size_t>(it - colours.begin());
}

bool Palette::InsertAfter(size_t at, uint32_t rgb) {
    if (colours.size() >= kMaxColours) return false;
    size_t where = std::min(at + 1, colours.size());
    colours.insert(colours.begin() + static_cast<std::ptrdiff_t>(where), rgb & 0xffffff);
    return true;
}

bool Palette::Remove(size_t at) {
    if (colours.size() < 2 || at >= colours.size()) return false;
    colours.erase(colours.begin() + static_cast<std::ptrdiff_t>(at));
    return true;
}

std::string FormatHexColour(uint32_t rgb) {
    char text[8];
    std::snprintf(text, sizeof text, "%06X", rgb & 0xffffff);
    return text;
}

std::optional<uint32_t> ParseHexColour(std::string_view text) {
    if (!text.empty() && text[0] == '#') text.remove_prefix(1);
    if (text.size() != 6) return std::nullopt;
    uint32_t rgb = 0;
    for (char c : text) {
        int d = HexDigit(c);
        if (d < 0) return std::nullopt;
        rgb = rgb << 4 | static_cast<uint32_t>(d);
    }
    return rgb;
}
