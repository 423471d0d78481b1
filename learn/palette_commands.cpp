// The palette's commands: stepping the pen and the second colour through it,
// swapping them, drawing in the second colour, shading, the palette mode
// (K held) and palette files. Every change of the palette is a step of the
// history.
#include <allegro.h>

#include <algorithm>
#include <string>
#include <unordered_map>

#include "../all/display.h"
#include "../all/field_ranges.h"
#include "../bmp/palette_io.h"
#include "../fileio/file_answer.h"
#include "../fileio/safe_file.h"
#include "history.h"
#include "key_recorder.h"
#include "layer.h"
#include "overlay.h"
#include "paint_gate.h"
#include "palette_colours.h"
#include "palette_strip.h"
#include "pointer.h"
#include "prompt.h"
#include "world.h"

namespace {

const FieldRanges kSwatchRanges = {{0, "red", 0, 255}, {1, "green", 0, 255}, {2, "blue", 0, 255}};

std::string Counted(size_t n, const char* what) { return std::to_string(n) + " " + what + (n == 1 ? "" : "s"); }

// Each colour of the palette leads to its neighbour `by` places on, the
// first and last staying; a colour listed twice steps from its first entry.
std::unordered_map<int, int> ShadeSteps(const Palette& palette, int by) {
    std::unordered_map<int, int> steps;
    int last = static_cast<int>(palette.Size()) - 1;
    for (int i = last; i >= 0; i--) steps[ColourValue(palette[i])] = ColourValue(palette[std::clamp(i + by, 0, last)]);
    return steps;
}

PaletteStripLayout StripOf(const World& w) {
    return PaletteStripLayout(display::screen->w, display::screen->h, w.palette.Size());
}

std::string SwatchLine(const World& w) {
    size_t i = w.paletteSelection;
    return "swatch " + std::to_string(i) + " of " + std::to_string(w.palette.Size()) + ": " +
           FormatHexColour(w.palette[i]);
}

// The box's colours on the layer in the order they first appear, rows top
// to bottom, each left to right; a see-through layer's mask colour left out.
std::vector<uint32_t> BoxColours(const Layer& layer, const Area& box, size_t most, size_t& leftOut) {
    Area on = Intersection(box, {0, 0, layer.width, layer.height});
    std::vector<uint32_t> found;
    std::unordered_map<int, bool> seen;
    leftOut = 0;
    int mask = layer.mode == 0 ? -1 : layer.ClearColour();
    for (int64_t y = on.y; y < on.Bottom(); y++)
        for (int64_t x = on.x; x < on.Right(); x++) {
            int c = layer.Pixel(int(x), int(y));
            if (c == mask || !seen.emplace(c, true).second) continue;
            if (found.size() < most)
                found.push_back(RgbValue(c));
            else
                leftOut++;
        }
    return found;
}

// A replayed K+Enter takes the colour recorded after its key, as a replayed
// Alt+S takes its name.
bool TakeRecordedColour(KeyMan& keys, uint32_t& rgb) {
    if (keys.pos < 0 || keys.pos >= static_cast<int>(keys.events.size())) return false;
    const Key* e = keys.events[keys.pos];
    if (e->akey != -1 || e->nkey != -1) return false;
    auto colour = ParseHexColour(e->c);
    if (colour) rgb = *colour;
    keys.Advance();
    return colour.has_value();
}

bool AskSwatchColour(World& w, uint32_t& rgb) {
    if (w.keyMan->mode == KeyMan::Replaying) return TakeRecordedColour(*w.keyMan, rgb);
    PromptAnswers a = w.Prompt("Palette Colour", {"Red   0-255:", "Green 0-255:", "Blue  0-255:"},
                               {std::to_string(rgb >> 16 & 255), std::to_string(rgb >> 8 & 255),
                                std::to_string(rgb & 255)},
                               kSwatchRanges);
    if (!AcceptedInRange(a, 3, kSwatchRanges)) return false;
    rgb = uint32_t(NumberFrom(a.texts[0])) << 16 | uint32_t(NumberFrom(a.texts[1])) << 8 |
          uint32_t(NumberFrom(a.texts[2]));
    w.keyMan->Record(-1, -1, FormatHexColour(rgb));
    return true;
}

std::string AddPenColour(World& w) {
    Palette next = w.palette;
    uint32_t pen = RgbValue(w.pointer->colour);
    if (auto at = next.Find(pen)) return "The pen colour is already swatch " + std::to_string(*at);
    if (!next.InsertAfter(w.paletteSelection, pen)) return "The palette is full (256 colours)";
    w.ReplacePalette(next);
    w.paletteSelection = std::min(w.paletteSelection + 1, w.palette.Size() - 1);
    return "Added " + FormatHexColour(pen) + " as swatch " + std::to_string(w.paletteSelection);
}

std::string DeleteSwatch(World& w) {
    Palette next = w.palette;
    if (!next.Remove(w.paletteSelection)) return "The last colour of the palette stays";
    w.ReplacePalette(next);
    w.paletteSelection = std::min(w.paletteSelection, w.palette.Size() - 1);
    return "Deleted a swatch: " + Counted(w.palette.Size(), "colour") + " left";
}

std::string EditSwatch(World& w) {
    uint32_t rgb = w.palette[w.paletteSelection];
    if (!AskSwatchColour(w, rgb)) return "Swatch not changed";
    Palette next = w.palette;
    next.Set(w.paletteSelection, rgb);
    w.ReplacePalette(next);
    return SwatchLine(w);
}

std::string PaletteFromBox(World& w) {
    size_t leftOut = 0;
    std::vector<uint32_t> colours = BoxColours(*w.layer, w.pointer->StoredBox(), Palette::kMaxColours, leftOut);
    if (colours.empty()) return "The box holds no colours: the palette stays";
    w.ReplacePalette(Palette(colours));
    w.paletteSelection = 0;
    std::string line = "Palette of the box: " + Counted(colours.size(), "colour");
    if (leftOut > 0) line += ", " + Counted(leftOut, "more colour") + " left out";
    return line;
}

std::string TakeSwatch(World& w) {
    // Shift is asked after Space, so a replay meets them in the order they
    // were recorded.
    bool second = w.keyMan->Check(KEY_K, KEY_LSHIFT, "");
    (second ? w.pointer->second : w.pointer->colour) = ColourValue(w.palette[w.paletteSelection]);
    return std::string(second ? "Second colour " : "Pen colour ") + FormatHexColour(w.palette[w.paletteSelection]);
}

std::string MoveSelection(World& w, int dx, int dy) {
    w.paletteSelection = StripOf(w).Neighbour(w.paletteSelection, dx, dy);
    return SwatchLine(w);
}

struct PaletteKey {
    int key;
    std::string (*run)(World& w);
};

const PaletteKey kPaletteKeys[] = {
    {KEY_UP, [](World& w) { return MoveSelection(w, 0, -1); }},
    {KEY_DOWN, [](World& w) { return MoveSelection(w, 0, 1); }},
    {KEY_LEFT, [](World& w) { return MoveSelection(w, -1, 0); }},
    {KEY_RIGHT, [](World& w) { return MoveSelection(w, 1, 0); }},
    {KEY_SPACE, TakeSwatch},
    {KEY_A, AddPenColour},
    {KEY_D, DeleteSwatch},
    {KEY_ENTER, EditSwatch},
    {KEY_G, PaletteFromBox},
};

// A replay stays in the mode while its events are the mode's.
bool InPaletteMode(World& w) {
    if (w.keyMan->mode == KeyMan::Replaying) return w.keyMan->CurrentGroup() == KEY_K;
    return w.NextModeFrame(0) && w.KeyHeld(KEY_K);
}

}  // namespace

void World::StepColour(int by, bool second) {
    int& colour = second ? pointer->second : pointer->colour;
    size_t n = palette.Size();
    auto at = palette.Find(RgbValue(colour));
    size_t next = at ? (*at + n + size_t(by)) % n : (by > 0 ? 0 : n - 1);
    colour = ColourValue(palette[next]);
    if (!second) paletteSelection = next;
}

void World::SwapColours() { std::swap(pointer->colour, pointer->second); }

void World::CommitSecond() {
    Pointer& p = *pointer;
    std::swap(p.colour, p.second);
    Commit();
    std::swap(p.colour, p.second);
}

// One pixel, or in box mode every pixel of the box, whose colour is in the
// palette becomes its neighbour there; one step of the history.
void World::Shade(int by) {
    Pointer& p = *pointer;
    Area area = p.mode == 1 ? p.StoredBox() : Area{p.x, p.y, 1, 1};
    std::unordered_map<int, int> steps = ShadeSteps(palette, by);
    if (p.mode != 1 && !steps.count(layer->Pixel(p.x, p.y))) return;
    PaintGate::Surface s = gate->Open(*layer, area);
    if (!s) return;
    const Area& c = s.Clip();
    for (int64_t y = c.y; y < c.Bottom(); y++)
        for (int64_t x = c.x; x < c.Right(); x++) {
            auto step = steps.find(getpixel(s.Bitmap(), int(x), int(y)));
            if (step != steps.end()) putpixel(s.Bitmap(), int(x), int(y), step->second);
        }
}

void World::ReplacePalette(const Palette& next) {
    if (next == palette) return;
    history->Close();
    Palette old = palette;
    palette = next;
    history->PaletteReplaced(palette, std::move(old), slayer);
    history->Close();
    paletteSelection = std::min(paletteSelection, palette.Size() - 1);
}

void World::PaletteCommands() {
    auto pen = palette.Find(RgbValue(pointer->colour));
    paletteSelection = pen ? *pen : 0;
    std::vector<std::string> lines = {"- Palette -", " ", "Arrows - select a swatch",
                                      "Space - pen colour, Shift+Space - second colour",
                                      "A - add the pen colour, D - delete the swatch",
                                      "Enter - edit the swatch, G - the colours of the box", " ", SwatchLine(*this)};
    text->SetLines(lines);
    paletteModeOn = true;
    do {
        for (const PaletteKey& k : kPaletteKeys) {
            if (!keyMan->Check(KEY_K, k.key, "")) continue;
            lines.push_back(k.run(*this));
            text->SetLines(lines);
            Render();
            WaitKeyRelease(k.key);
        }
        Render();
    } while (InPaletteMode(*this));
    paletteModeOn = false;
    text->ClearLines();
    clear_keybuf();
}

void World::LoadPaletteFile(const std::string& name) {
    PaletteReading r = ReadPaletteFile(name);
    if (!r.palette) return Message(NothingDone(FileAction::Load, name, r.error));
    ReplacePalette(*r.palette);
    std::string line = "Loaded palette " + QuotedName(name) + ": " + Counted(r.palette->Size(), "colour");
    if (r.leftOut > 0) line += " (the first 256; " + std::to_string(r.leftOut) + " more left out)";
    Message(line);
}

void World::SavePaletteFile(const std::string& name) {
    std::string why;
    if (!WriteWholeFile(name, [&](std::FILE* f) { return WritePalette(f, palette, name); }, &why)) {
        if (why.empty()) why = "the palette could not be written";
        return Message(NothingDone(FileAction::Save, name, why));
    }
    Message("Saved palette " + QuotedName(name) + ": " + Counted(palette.Size(), "colour"));
}
