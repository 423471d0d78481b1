#pragma once
// Palette files, one reader and one writer per format, chosen by the name's
// extension: GIMP ".gpl", ".hex" lists, and ".pal" (JASC-PAL text, or 768
// bytes of raw RGB). The readers are bounded: a file over 1 MiB or a line
// over 4,096 characters is refused without reading further.
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "palette.h"

// True for a name ending ".gpl", ".hex" or ".pal" in any case.
bool IsPaletteFileName(const std::string& name);

struct PaletteReading {
    // Set when the file was read; at most Palette::kMaxColours colours.
    std::optional<Palette> palette;
    // Colours past the 256th, not kept.
    size_t leftOut = 0;
    // Why nothing was read, with the place: "line 7: expected three numbers
    // 0 to 255". Empty when palette is set.
    std::string error;
};

// The palette in `bytes`, in the format of `name`'s extension.
PaletteReading ParsePalette(const std::string& name, std::string_view bytes);
// Reads the file (refused past 1 MiB) and parses it; a file that can't be
// opened says why in `error`.
PaletteReading ReadPaletteFile(const std::string& name);

// Writes the palette in the format of `name`'s extension (GIMP with a
// "Name:" line, the hex list, JASC-PAL for ".pal"); false when `name` is no
// palette name or the stream fails.
bool WritePalette(std::FILE* f, const Palette& palette, const std::string& name);
