#pragma once
// A palette of 1 to 256 colours, as plain data: the editor's strip, its
// settings and the palette files all hold one. Colours are 0xRRGGBB.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class Palette {
public:
    static constexpr size_t kMaxColours = 256;

    // The 32-colour "DB32" palette in its published order.
    static Palette Default();

    Palette() = default;
    // The first kMaxColours of `colours`; an empty list makes the default.
    explicit Palette(std::vector<uint32_t> colours);

    size_t Size() const { return colours.size(); }
    uint32_t operator[](size_t i) const { return colours[i]; }
    const std::vector<uint32_t>& Colours() const { return colours; }
    // The index of the first entry of `rgb`.
    std::optional<size_t> Find(uint32_t rgb) const;

    // `rgb` after entry `at` (at the end when `at` is past it); false when
    // the palette is full.
    bool InsertAfter(size_t at, uint32_t rgb);
    // False for the last colour: a palette is never empty.
    bool Remove(size_t at);
    void Set(size_t at, uint32_t rgb) { colours[at] = rgb & 0xffffff; }

    bool operator==(const Palette& o) const { return colours == o.colours; }
    bool operator!=(const Palette& o) const { return colours != o.colours; }

private:
    std::vector<uint32_t> colours;
};

// "RRGGBB", upper case.
std::string FormatHexColour(uint32_t rgb);
// "RRGGBB" or "#RRGGBB" in either case, nothing else around it.
std::optional<uint32_t> ParseHexColour(std::string_view text);
