// The settings file "vell.cfg": every section and key, in the order both
// LoadSettings and SaveSettings visit them.
#include <algorithm>
#include <climits>
#include <cstdio>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "../all/display.h"
#include "../fileio/fileio.h"
#include "frames.h"
#include "history.h"
#include "layer.h"
#include "lens.h"
#include "overlay.h"
#include "palette_colours.h"
#include "pointer.h"
#include "teleport.h"
#include "world.h"

namespace {

const char* const kSettingsFile = "vell.cfg";
const int kPointerCount = 10;
const int kTeleportCount = 20;
// The undo history's memory in MiB: at least 1, and small enough that the
// byte count cannot overflow.
const int kUndoMiBMax = 1 << 20;

struct PointerKey {
    const char* name;
    int Pointer::*field;
    int def;
};

// In Setup's argument order; the pen colours follow them in the file but
// are never read back.
const PointerKey kPointerKeys[] = {
    {"layer", &Pointer::layer, 0}, {"x", &Pointer::x, 0},   {"y", &Pointer::y, 0},
    {"bx", &Pointer::bx, 0},       {"by", &Pointer::by, 0}, {"w", &Pointer::w, 0},
    {"h", &Pointer::h, 0},         {"jx", &Pointer::jx, 8}, {"jy", &Pointer::jy, 8},
};

struct TeleportKey {
    const char* name;
    int Teleport::*field;
    int def;
};

const TeleportKey kTeleportKeys[] = {
    {"x", &Teleport::x, 0}, {"y", &Teleport::y, 0}, {"jtx", &Teleport::jtx, 8}, {"jty", &Teleport::jty, 8}};

std::string Numbered(const char* name, int n) { return name + std::to_string(n); }

// The file holds one setting per line, and the text entry lets any byte
// through (Ctrl+J types a line feed): a line break written into a value
// would split it and shift the lines after it.
std::string OneLine(std::string s) {
    for (char& c : s)
        if (c == '\n' || c == '\r') c = ' ';
    return s;
}

// A mirror axis is stored as the sum s of x' = s - x; without one it runs
// through the canvas middle and follows a resize, so nothing is stored.
std::optional<int64_t> StoredSum(FileIO& io, const char* key) {
    std::string v = io.GetString(key, "");
    if (v.empty()) return std::nullopt;
    return io.GetInt(key, 0);
}

void StoreSum(FileIO& io, const char* key, const std::optional<int64_t>& sum) {
    if (sum)
        io.SetInt(key, static_cast<int>(std::clamp<int64_t>(*sum, INT_MIN, INT_MAX)));
    else
        io.Remove(key);
}

// The numbers of the hidden layers, "1 3"; "Vell.zub" keeps its format.
std::string HiddenLayers(const std::vector<Layer*>& layers) {
    std::string s;
    for (size_t i = 0; i < layers.size(); i++)
        if (layers[i]->hidden) s += (s.empty() ? "" : " ") + std::to_string(i);
    return s;
}

// Numbers that name no layer are passed over.
void ReadHiddenLayers(const std::string& list, std::vector<Layer*>& layers) {
    std::istringstream in(list);
    long n;
    while (in >> n)
        if (n >= 0 && n < static_cast<long>(layers.size())) layers[n]->hidden = true;
}

// The palette as "count" and "c0", "c1", ... in RRGGBB hex; a missing
// count is the default palette, a bad count or colour falls back to it.
Palette StoredPalette(FileIO& io) {
    if (io.GetString("count", "").empty()) return Palette::Default();
    int count = io.GetInt("count", 0);
    std::vector<uint32_t> colours;
    bool bad = count < 1 || count > static_cast<int>(Palette::kMaxColours);
    for (int n = 0; n < count && !bad; n++) {
        auto c = ParseHexColour(io.GetString(Numbered("c", n), ""));
        if (c) colours.push_back(*c);
        bad = !c;
    }
    if (!bad) return Palette(colours);
    std::printf("%s: the palette's count or a colour is not valid; the default palette is used\n", kSettingsFile);
    return Palette::Default();
}

void StorePalette(FileIO& io, const Palette& palette) {
    io.SetInt("count", static_cast<int>(palette.Size()));
    for (size_t n = 0; n < Palette::kMaxColours; n++) {
        std::string key = Numbered("c", static_cast<int>(n));
        if (n < palette.Size())
            io.SetString(key, FormatHexColour(palette[n]));
        else
            io.Remove(key);
    }
}

}  // namespace

void World::LoadSettings() {
    FileIO& io = *fileIO;
    io.SetConfigFile(kSettingsFile);

    io.SetSection("File");
    cfile = io.GetString("cfile", "gfx/qop.pcx");

    io.SetSection("Lens");
    int lx = io.GetInt("x", 0);
    int ly = io.GetInt("y", 0);
    int mag = io.GetInt("mag", 16);
    delete lens;
    lens = new Lens(mag < 1 ? 1 : mag, lx, ly, display::screen->w, display::screen->h);

    io.SetSection("Pointer");
    for (int n = 0; n < kPointerCount; n++) {
        int v[9];
        for (int k = 0; k < 9; k++) v[k] = io.GetInt(Numbered(kPointerKeys[k].name, n), kPointerKeys[k].def);
        pointers[n]->Setup(this, v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], 0, 0, 0);
    }

    io.SetSection("Teleport");
    bool on = io.GetInt("on", 0) != 0;
    std::vector<Teleport*> list;
    for (int n = 0; n < kTeleportCount; n++) {
        auto t = std::make_unique<Teleport>(0, 0, 8, 8);
        for (const TeleportKey& k : kTeleportKeys) (*t).*k.field = io.GetInt(Numbered(k.name, n), k.def);
        list.push_back(t.release());
    }
    delete teleportMan;
    teleportMan = new TeleportMan(this, list, on);
    spointer = io.GetInt("spointer", 0);
    // The stored index picks from a fixed list; anything else starts on 0.
    if (spointer < 0 || spointer >= kPointerCount) spointer = 0;
    pointer = pointers[spointer];
    SelectLayer(pointer->layer);

    io.SetSection("Files");
    std::string root = io.GetString("root", "img");
    int filesPos = io.GetInt("filesPos", 0);
    delete files;
    files = new Files(this, root, filesPos);

    io.SetSection("TextDraw");
    int tw = io.GetInt("w", 1);
    int th = io.GetInt("h", 1);
    std::string stampText = io.GetString("text", " ");
    delete textDraw;
    textDraw = new TextDraw(tw, th, stampText);

    io.SetSection("Pause");
    pause = io.GetInt("pause", 0);

    io.SetSection("Undo");
    int mib = io.GetInt("memory", static_cast<int>(History::kDefaultBudget >> 20));
    history->SetBudget(size_t(std::clamp(mib, 1, kUndoMiBMax)) << 20);

    io.SetSection("Status");
    statusShown = io.GetInt("shown", 1) != 0;

    io.SetSection("Export");
    ExportSettings& e = exportSettings;
    e.first = io.GetInt("first", 0);
    e.last = io.GetInt("last", -1);
    e.delay = io.GetInt("delay", -1);
    e.loops = io.GetInt("loops", 0);
    e.gif = io.GetString("gif", "");
    e.columns = io.GetInt("columns", -1);
    e.padding = io.GetInt("padding", 0);
    e.scale = std::clamp(io.GetInt("scale", 1), kMinExportScale, kMaxExportScale);
    e.sheet = io.GetString("sheet", "");

    io.SetSection("Layers");
    ReadHiddenLayers(io.GetString("hidden", ""), layers);

    io.SetSection("Onion");
    onion.mode = io.GetInt("mode", OnionSkin::Off);
    onion.opacity = io.GetInt("opacity", OnionSkin::kDefaultOpacity);
    onion.tint = io.GetInt("tint", 1) != 0;
    onion.Sanitize();

    io.SetSection("Mirror");
    mirrorMode = static_cast<MirrorMode>(std::clamp(io.GetInt("mode", 0), 0, 3));
    mirrorSumX = StoredSum(io, "x");
    mirrorSumY = StoredSum(io, "y");

    io.SetSection("Grid");
    grid.mode = io.GetInt("mode", Grid::Off);
    grid.tile = io.GetInt("tile", Grid::kDefaultTile);
    grid.Sanitize();

    io.SetSection("Palette");
    palette = StoredPalette(io);
    paletteShown = io.GetInt("shown", 1) != 0;
    for (int n = 0; n < kPointerCount; n++) {
        auto second = ParseHexColour(io.GetString(Numbered("second", n), "000000"));
        pointers[n]->second = ColourValue(second.value_or(0));
    }
}

void World::SaveSettings() {
    FileIO& io = *fileIO;
    io.StartConfigWrite(kSettingsFile);

    io.SetSection("File");
    io.SetString("cfile", OneLine(cfile));

    io.SetSection("Lens");
    io.SetInt("x", lens->x);
    io.SetInt("y", lens->y);
    io.SetInt("mag", lens->mag);

    io.SetSection("Pointer");
    for (int n = 0; n < kPointerCount; n++) {
        Pointer* p = pointers[n];
        for (const PointerKey& k : kPointerKeys) io.SetInt(Numbered(k.name, n), p->*k.field);
        io.SetInt(Numbered("c", n), p->colour);
        io.SetInt(Numbered("wc", n), p->wc);
    }

    io.SetSection("Teleport");
    io.SetInt("on", teleportMan->on ? 1 : 0);
    for (int n = 0; n < kTeleportCount && n < static_cast<int>(teleportMan->teleports.size()); n++)
        for (const TeleportKey& k : kTeleportKeys) io.SetInt(Numbered(k.name, n), (*teleportMan->teleports[n]).*k.field);
    io.SetInt("spointer", spointer);

    io.SetSection("Files");
    io.SetString("root", OneLine(files->root));
    io.SetInt("filesPos", files->filesPos);

    io.SetSection("TextDraw");
    io.SetInt("w", textDraw->w);
    io.SetInt("h", textDraw->h);
    io.SetString("text", OneLine(textDraw->text));

    io.SetSection("Pause");
    io.SetInt("pause", pause);

    io.SetSection("Undo");
    io.SetInt("memory", static_cast<int>(history->Budget() >> 20));

    io.SetSection("Status");
    io.SetInt("shown", statusShown ? 1 : 0);

    io.SetSection("Export");
    const ExportSettings& e = exportSettings;
    io.SetInt("first", e.first);
    io.SetInt("last", e.last);
    io.SetInt("delay", e.delay);
    io.SetInt("loops", e.loops);
    io.SetString("gif", OneLine(e.gif));
    io.SetInt("columns", e.columns);
    io.SetInt("padding", e.padding);
    io.SetInt("scale", e.scale);
    io.SetString("sheet", OneLine(e.sheet));

    io.SetSection("Layers");
    io.SetString("hidden", HiddenLayers(layers));

    io.SetSection("Onion");
    io.SetInt("mode", onion.mode);
    io.SetInt("opacity", onion.opacity);
    io.SetInt("tint", onion.tint ? 1 : 0);

    io.SetSection("Mirror");
    io.SetInt("mode", static_cast<int>(mirrorMode));
    StoreSum(io, "x", mirrorSumX);
    StoreSum(io, "y", mirrorSumY);

    io.SetSection("Grid");
    io.SetInt("mode", grid.mode);
    io.SetInt("tile", grid.tile);

    io.SetSection("Palette");
    StorePalette(io, palette);
    io.SetInt("shown", paletteShown ? 1 : 0);
    for (int n = 0; n < kPointerCount; n++)
        io.SetString(Numbered("second", n), FormatHexColour(RgbValue(pointers[n]->second)));

    // Written now rather than at Allegro's shutdown, which an abnormal exit
    // would skip, and replaced whole, so an interrupted save keeps the old file.
    io.Flush();
}
