// Fuzz target for the palette readers: the first byte picks the format
// (its value modulo 3: ".gpl", ".hex", ".pal"), the rest is the file. Any
// input must be read or refused without a crash or undefined behaviour; a
// palette read must come back the same through its format's writer.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "bmp/palette_io.h"

namespace {

std::string Written(const Palette& palette, const std::string& name) {
    char* out = nullptr;
    size_t size = 0;
    std::FILE* f = open_memstream(&out, &size);
    if (!f || !WritePalette(f, palette, name)) std::abort();
    std::fclose(f);
    std::string bytes(out, size);
    std::free(out);
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const char* const names[] = {"fuzz.gpl", "fuzz.hex", "fuzz.pal"};
    std::string name = names[data[0] % 3];
    PaletteReading read = ParsePalette(name, std::string_view(reinterpret_cast<const char*>(data + 1), size - 1));
    // Exactly one of a palette and a reason.
    if (read.palette.has_value() == !read.error.empty()) std::abort();
    if (!read.palette) return 0;
    if (read.leftOut > 0 && read.palette->Size() != Palette::kMaxColours) std::abort();
    PaletteReading again = ParsePalette(name, Written(*read.palette, name));
    if (!again.palette || *again.palette != *read.palette) std::abort();
    return 0;
}
