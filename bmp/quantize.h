#pragma once
#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

// Colours are 0xRRGGBB; any bits above are ignored.

// A palette of at most maxColours colours for the pixels. When they hold no
// more colours than that, the palette is exactly their colours (sorted), so
// nothing is lost; otherwise median cut on the colour histogram, refined by
// a few rounds of weighted k-means. The same pixels always give the same
// palette.
std::vector<uint32_t> QuantizePalette(const uint32_t* pixels, size_t n, int maxColours);

// The nearest palette entry (squared RGB distance; the first of equals) of a
// colour, remembered per colour since a picture repeats its colours.
class NearestColour {
public:
    explicit NearestColour(const std::vector<uint32_t>& palette);
    int Index(uint32_t rgb);

private:
    struct Entry {
        int r, g, b, index;
    };
    std::vector<Entry> byRed;  // searched outwards from the nearest red
    std::unordered_map<uint32_t, int> known;
    int Search(uint32_t rgb) const;
};
