#include "palette_io.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <vector>

namespace {

constexpr size_t kMaxFileBytes = 1 << 20;
constexpr size_t kMaxLineChars = 4096;
constexpr size_t kRawPalBytes = 768;

// Splits text into lines at LF, dropping a CR before it, numbered from 1.
// A line past kMaxLineChars stops the walk there: nothing after it is read.
class Lines {
public:
    explicit Lines(std::string_view text) : rest(text) {}

    // The next line, or false at the end or at a line too long (then
    // `error` says so).
    bool Next(std::string_view& line) {
        if (rest.empty() || !error.empty()) return false;
        size_t end = rest.find('\n');
        size_t length = end == std::string_view::npos ? rest.size() : end;
        number++;
        line = rest.substr(0, length);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.size() > kMaxLineChars) {
            error = "line " + std::to_string(number) + " is longer than 4096 characters";
            return false;
        }
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        return true;
    }
    // The next line that holds more than spaces and tabs, trimmed.
    bool NextFilled(std::string_view& line) {
        while (Next(line)) {
            line = Trim(line);
            if (!line.empty()) return true;
        }
        return false;
    }

    size_t Number() const { return number; }
    std::string At(const std::string& what) const { return "line " + std::to_string(number) + ": " + what; }
    const std::string& Error() const { return error; }

    static std::string_view Trim(std::string_view s) {
        while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
        while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
        return s;
    }

private:
    std::string_view rest;
    size_t number = 0;
    std::string error;
};

// The colours as they are read: the first kMaxColours kept, the rest counted.
struct Collected {
    std::vector<uint32_t> colours;
    size_t leftOut = 0;

    void Add(uint32_t rgb) {
        if (colours.size() < Palette::kMaxColours)
            colours.push_back(rgb);
        else
            leftOut++;
    }
};

PaletteReading Refused(std::string why) {
    PaletteReading r;
    r.error = std::move(why);
    return r;
}

// The palette read, unless the walk through the lines stopped at `error`.
PaletteReading Finish(const std::string& error, Collected&& got) {
    if (!error.empty()) return Refused(error);
    if (got.colours.empty()) return Refused("no colours");
    PaletteReading r;
    r.palette = Palette(std::move(got.colours));
    r.leftOut = got.leftOut;
    return r;
}

// A decimal number 0 to 255 at the start of `s`, which it then leaves
// after the number and any spaces or tabs.
bool TakeChannel(std::string_view& s, uint32_t& value) {
    size_t digits = 0;
    value = 0;
    while (digits < s.size() && std::isdigit(static_cast<unsigned char>(s[digits]))) {
        value = value * 10 + static_cast<uint32_t>(s[digits] - '0');
        if (value > 255) return false;
        digits++;
    }
    if (digits == 0) return false;
    s.remove_prefix(digits);
    if (!s.empty() && s[0] != ' ' && s[0] != '\t') return false;
    s = Lines::Trim(s);
    return true;
}

// "R G B" with anything after it when `nameAllowed`, as GIMP keeps a name
// there.
std::optional<uint32_t> ParseRgb(std::string_view s, bool nameAllowed) {
    uint32_t r, g, b;
    if (!TakeChannel(s, r) || !TakeChannel(s, g) || !TakeChannel(s, b)) return std::nullopt;
    if (!nameAllowed && !s.empty()) return std::nullopt;
    return r << 16 | g << 8 | b;
}

const char* const kRgbExpected = "expected three numbers 0 to 255";

bool StartsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

PaletteReading ReadGpl(std::string_view bytes) {
    Lines lines(bytes);
    std::string_view line;
    // Some editors put a UTF-8 byte order mark before the header.
    if (!lines.Next(line) || Lines::Trim(StartsWith(line, "\xEF\xBB\xBF") ? line.substr(3) : line) != "GIMP Palette")
        return Refused(lines.Error().empty() ? "line 1: expected \"GIMP Palette\"" : lines.Error());
    Collected got;
    while (lines.NextFilled(line)) {
        if (line[0] == '#' || StartsWith(line, "Name:") || StartsWith(line, "Columns:")) continue;
        std::optional<uint32_t> rgb = ParseRgb(line, true);
        if (!rgb) return Refused(lines.At(kRgbExpected));
        got.Add(*rgb);
    }
    return Finish(lines.Error(), std::move(got));
}

PaletteReading ReadHex(std::string_view bytes) {
    Lines lines(bytes);
    std::string_view line;
    Collected got;
    while (lines.NextFilled(line)) {
        std::optional<uint32_t> rgb = ParseHexColour(line);
        if (!rgb) return Refused(lines.At("expected a colour like 1a2b3c"));
        got.Add(*rgb);
    }
    return Finish(lines.Error(), std::move(got));
}

PaletteReading ReadRawPal(std::string_view bytes) {
    Collected got;
    for (size_t i = 0; i + 2 < bytes.size(); i += 3) {
        auto channel = [&](size_t k) { return static_cast<uint32_t>(static_cast<unsigned char>(bytes[i + k])); };
        got.Add(channel(0) << 16 | channel(1) << 8 | channel(2));
    }
    return Finish("", std::move(got));
}

// Line `number` of the header, trimmed; false (with `why`) when it is
// missing or too long.
bool HeaderLine(Lines& lines, size_t number, const std::string& expected, std::string_view& line, std::string& why) {
    if (lines.Next(line)) {
        line = Lines::Trim(line);
        return true;
    }
    why = lines.Error().empty() ? "line " + std::to_string(number) + ": expected " + expected : lines.Error();
    return false;
}

// "JASC-PAL", "0100", the count, then that many "R G B" lines.
PaletteReading ReadJascPal(std::string_view bytes) {
    Lines lines(bytes);
    std::string_view line;
    std::string why;
    const char* const header[] = {"JASC-PAL", "0100"};
    for (size_t i = 0; i < 2; i++) {
        std::string expected = std::string("\"") + header[i] + "\"";
        if (!HeaderLine(lines, i + 1, expected, line, why)) return Refused(why);
        if (line != header[i]) return Refused(lines.At("expected " + expected));
    }
    const char* const countExpected = "the number of colours";
    if (!HeaderLine(lines, 3, countExpected, line, why)) return Refused(why);
    std::string countText(line);
    bool digitsOnly = !countText.empty() && countText.size() <= 6 &&
                      std::all_of(countText.begin(), countText.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (!digitsOnly) return Refused(lines.At(std::string("expected ") + countExpected));
    size_t count = std::stoul(countText);
    Collected got;
    size_t seen = 0;
    while (lines.NextFilled(line)) {
        if (++seen > count) return Refused(lines.At("more colours than the " + countText + " on line 3"));
        std::optional<uint32_t> rgb = ParseRgb(line, false);
        if (!rgb) return Refused(lines.At(kRgbExpected));
        got.Add(*rgb);
    }
    if (lines.Error().empty() && seen < count)
        return Refused("line 3: says " + countText + " colours, the file has " + std::to_string(seen));
    return Finish(lines.Error(), std::move(got));
}

// A ".pal" is JASC text unless it is exactly 256 raw RGB triples.
PaletteReading ReadPal(std::string_view bytes) {
    if (bytes.size() == kRawPalBytes && !StartsWith(bytes, "JASC-PAL")) return ReadRawPal(bytes);
    return ReadJascPal(bytes);
}

// Without its folder and extension: the palette's name inside the file.
std::string BaseName(const std::string& name) {
    size_t slash = name.find_last_of('/');
    std::string base = slash == std::string::npos ? name : name.substr(slash + 1);
    size_t dot = base.find_last_of('.');
    return dot == std::string::npos || dot == 0 ? base : base.substr(0, dot);
}

bool WriteGpl(std::FILE* f, const Palette& palette, const std::string& name) {
    bool ok = std::fprintf(f, "GIMP Palette\nName: %s\n#\n", BaseName(name).c_str()) > 0;
    for (uint32_t c : palette.Colours())
        ok = std::fprintf(f, "%3u %3u %3u\t%s\n", c >> 16, c >> 8 & 0xff, c & 0xff, FormatHexColour(c).c_str()) > 0 &&
             ok;
    return ok;
}

bool WriteHex(std::FILE* f, const Palette& palette, const std::string&) {
    bool ok = true;
    for (uint32_t c : palette.Colours()) ok = std::fprintf(f, "%s\n", FormatHexColour(c).c_str()) > 0 && ok;
    return ok;
}

// CRLF, as the format's own tools write it.
bool WriteJasc(std::FILE* f, const Palette& palette, const std::string&) {
    bool ok = std::fprintf(f, "JASC-PAL\r\n0100\r\n%zu\r\n", palette.Size()) > 0;
    for (uint32_t c : palette.Colours())
        ok = std::fprintf(f, "%u %u %u\r\n", c >> 16, c >> 8 & 0xff, c & 0xff) > 0 && ok;
    return ok;
}

struct PaletteFormat {
    const char* extension;
    PaletteReading (*read)(std::string_view bytes);
    bool (*write)(std::FILE* f, const Palette& palette, const std::string& name);
};

const PaletteFormat kFormats[] = {
    {".gpl", ReadGpl, WriteGpl},
    {".hex", ReadHex, WriteHex},
    {".pal", ReadPal, WriteJasc},
};

const PaletteFormat* FormatOf(const std::string& name) {
    size_t dot = name.find_last_of('.');
    if (dot == std::string::npos) return nullptr;
    std::string ext = name.substr(dot);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    for (const PaletteFormat& format : kFormats)
        if (ext == format.extension) return &format;
    return nullptr;
}

const char* const kTooLarge = "larger than 1 MiB";

}  // namespace

bool IsPaletteFileName(const std::string& name) { return FormatOf(name) != nullptr; }

PaletteReading ParsePalette(const std::string& name, std::string_view bytes) {
    const PaletteFormat* format = FormatOf(name);
    if (!format) return Refused("not a palette file (.gpl, .hex or .pal)");
    if (bytes.size() > kMaxFileBytes) return Refused(kTooLarge);
    return format->read(bytes);
}

PaletteReading ReadPaletteFile(const std::string& name) {
    std::FILE* f = std::fopen(name.c_str(), "rb");
    if (!f) return Refused(std::strerror(errno));
    // A file that says it is too large is not read at all; one that grows
    // while read, or is no regular file, stops one chunk past the limit.
    struct stat st;
    if (fstat(fileno(f), &st) == 0 && static_cast<uint64_t>(st.st_size) > kMaxFileBytes) {
        std::fclose(f);
        return Refused(kTooLarge);
    }
    std::string bytes;
    char chunk[1 << 14];
    size_t got;
    while (bytes.size() <= kMaxFileBytes && (got = std::fread(chunk, 1, sizeof chunk, f)) > 0) bytes.append(chunk, got);
    bool failed = std::ferror(f) != 0;
    int why = errno;
    std::fclose(f);
    if (failed) return Refused(std::strerror(why));
    return ParsePalette(name, bytes);
}

bool WritePalette(std::FILE* f, const Palette& palette, const std::string& name) {
    const PaletteFormat* format = FormatOf(name);
    if (!format) return false;
    bool ok = format->write(f, palette, name);
    return ok && std::fflush(f) == 0 && !std::ferror(f);
}
