// Alt+G and Shift+Alt+G: the numbered frame files out as one animated GIF or
// one sprite sheet PNG. Every frame is read and checked before anything is
// written, and the file is written whole or not at all, so a refused or
// failed export leaves no file behind.
#include <sys/stat.h>

#include <algorithm>
#include <functional>
#include <string>

#include "../bmp/bmp.h"
#include "../bmp/gif_export.h"
#include "../bmp/png_writer.h"
#include "../all/usage.h"
#include "../bmp/rgb_pixels.h"
#include "../bmp/scale_pixels.h"
#include "../bmp/sheet.h"
#include "../bmp/sheet_data.h"
#include "../bmp/surface_size.h"
#include "../fileio/safe_file.h"
#include "frames.h"
#include "key_recorder.h"
#include "prompt.h"
#include "world.h"

namespace {

const int kLastFrame = 999;
const int kMinDelayMs = 20;
const int kMaxLoops = 65535;
const int kMaxGifSide = 65535;

std::string Num(int n) { return std::to_string(n); }
std::string Num64(int64_t n) { return std::to_string(n); }
std::string Quoted(const std::string& name) { return "'" + name + "'"; }

std::string CantWrite(const std::string& name, const std::string& why) {
    return Quoted(name) + " can't be written" + (why.empty() ? "" : ": " + why);
}


bool Exists(const std::string& name) {
    struct stat st;
    return stat(name.c_str(), &st) == 0;
}

// The last frame of the unbroken run of files from `first`; `first` itself
// when there is none, so that the export names the missing file.
int LastOfRun(const std::string& root, int first) {
    int last = first;
    while (last < kLastFrame && Exists(FrameFileName(root, last + 1))) last++;
    return last;
}

// The number of frames from first to last; 0 when that is no range of
// frame numbers at all.
int RangeCount(int first, int last) {
    return first >= 0 && last <= kLastFrame && last >= first ? last - first + 1 : 0;
}

int LastOffered(World& w) {
    const ExportSettings& e = w.exportSettings;
    return e.last >= 0 ? e.last : LastOfRun(w.files->root, e.first);
}

// A refusal: the message line says why, nothing is written.
struct Refusal {
    std::string why;
};

// The range's frames read one by one, each checked against the first's size.
class FrameReader {
public:
    FrameReader(const std::string& root, int first, int last) : root(root), first(first), last(last) {}

    int Count() const { return RangeCount(first, last); }

    // False, with the reason, when first to last is no range of frames.
    bool RangeSound(Refusal& r) const {
        if (first < 0 || last > kLastFrame) return r.why = "frames are numbered 0 to " + Num(kLastFrame), false;
        if (last < first) return r.why = "the range " + Num(first) + " to " + Num(last) + " is empty", false;
        return true;
    }

    // Reads every frame once to check it, passing each to `look`.
    bool Check(Refusal& r, const std::function<void(const RgbPixels&)>& look) {
        if (!RangeSound(r)) return false;
        for (int n = first; n <= last; n++) {
            RgbPixels px;
            if (!Read(n, px, r)) return false;
            look(px);
        }
        return true;
    }

    // Reads frame n, which a check has found sound.
    bool Read(int n, RgbPixels& px, Refusal& r) {
        std::string name = FrameFileName(root, n);
        if (!Exists(name)) return r.why = Quoted(name) + " is missing", false;
        Bmp picture(name);
        if (!picture.Loaded()) return r.why = Quoted(name) + " can't be read", false;
        px = PixelsOf(picture.GetBitmap());
        // A frame's see-through pixels (the loader gives them as the mask
        // colour) go out fully transparent: alpha 0.
        if (picture.Transparent() > 0)
            for (uint32_t& p : px.argb)
                if ((p & 0xFFFFFFu) == 0xFF00FFu) p = 0;
        // The first read of the first frame sets the size; a frame read
        // again is held to it.
        if (n == first && w == 0) w = px.w, h = px.h;
        if (px.w != w || px.h != h)
            return r.why = Quoted(name) + " is " + Num(px.w) + "x" + Num(px.h) + ", the first frame " + Num(w) +
                           "x" + Num(h),
                   false;
        return true;
    }

    std::string root;
    int first, last;
    int w = 0, h = 0;
};

bool Blank(const std::string& name) { return name.find_first_not_of(' ') == std::string::npos; }

// Writes the file whole; the message line says how it went. A writer that
// fails with a reason of its own (a frame that no longer reads) puts it in
// r.why.
void Finish(World& world, const std::string& name, bool checked, Refusal& r,
            const std::function<bool(std::FILE*)>& write, const std::function<std::string()>& saved) {
    if (!checked) return world.Message("Nothing exported: " + r.why);
    r.why.clear();
    std::string why;
    if (WriteWholeFile(name, write, &why))
        return world.Message("Saved " + Quoted(name) + ": " + saved());
    if (!r.why.empty())
        world.Message("Nothing exported: " + r.why);
    else
        world.Message("Nothing exported: " + CantWrite(name, why));
}

bool Replaying(World& w) { return w.keyMan->mode == KeyMan::Replaying; }

const FieldRanges kAnimationRanges = {{0, "first frame", 0, 999},
                                      {1, "last frame", 0, 999},
                                      {2, "delay", 0, 60000},
                                      {3, "loops", 0, 65535},
                                      {4, "scale", kMinExportScale, kMaxExportScale}};
const FieldRanges kSheetRanges = {
    {0, "first frame", 0, 999}, {1, "last frame", 0, 999}, {4, "scale", kMinExportScale, kMaxExportScale}};

// The delay of the animation export, also the duration of the sheet's
// frames: the last accepted, or the pause, and never below 20 ms.
int DelayOffered(World& w) {
    int delay = w.exportSettings.delay >= 0 ? w.exportSettings.delay : w.pause;
    return std::max(delay, kMinDelayMs);
}

// The form offers the last answers, or the defaults; accepted answers are
// kept. Pauses below 20 ms are offered as 20: GIF players slow shorter
// delays down.
bool AskAnimation(World& w) {
    ExportSettings& e = w.exportSettings;
    int delay = e.delay >= 0 ? e.delay : std::max(w.pause, kMinDelayMs);
    PromptAnswers a =
        w.Prompt("Export Animation", {"First frame:", "Last frame:", "Delay ms:", "Loops (0 forever):", "Scale:", "File:"},
                 {Num(e.first), Num(LastOffered(w)), Num(delay), Num(e.loops), Num(e.scale),
                  e.gif.empty() ? w.files->root + ".gif" : e.gif},
                 kAnimationRanges);
    if (!AcceptedInRange(a, 6, kAnimationRanges)) return false;
    e.first = NumberFrom(a.texts[0]);
    e.last = NumberFrom(a.texts[1]);
    e.delay = NumberFrom(a.texts[2]);
    e.loops = NumberFrom(a.texts[3]);
    e.scale = NumberFrom(a.texts[4]);
    e.gif = a.texts[5];
    return true;
}

// Columns are offered as all frames in one row until the user picks some.
bool AskSheet(World& w) {
    ExportSettings& e = w.exportSettings;
    int last = LastOffered(w);
    int columns = e.columns > 0 ? e.columns : std::max(1, RangeCount(e.first, last));
    PromptAnswers a =
        w.Prompt("Export Sheet", {"First frame:", "Last frame:", "Columns:", "Padding:", "Scale:", "File:"},
                 {Num(e.first), Num(last), Num(columns), Num(e.padding), Num(e.scale),
                  e.sheet.empty() ? w.files->root + "_sheet.png" : e.sheet},
                 kSheetRanges);
    if (!AcceptedInRange(a, 6, kSheetRanges)) return false;
    e.first = NumberFrom(a.texts[0]);
    e.last = NumberFrom(a.texts[1]);
    e.columns = NumberFrom(a.texts[2]);
    e.padding = NumberFrom(a.texts[3]);
    e.scale = NumberFrom(a.texts[4]);
    e.sheet = a.texts[5];
    return true;
}

// NAME.json beside NAME.png: the sheet's name with its extension, if any,
// made ".json".
std::string SheetDataName(const std::string& sheet) {
    size_t slash = sheet.rfind('/');
    size_t base = slash == std::string::npos ? 0 : slash + 1;
    size_t dot = sheet.rfind('.');
    bool extension = dot != std::string::npos && dot > base;
    return (extension ? sheet.substr(0, dot) : sheet) + ".json";
}

std::string BaseName(const std::string& name) {
    size_t slash = name.rfind('/');
    return slash == std::string::npos ? name : name.substr(slash + 1);
}

// The frames' places in the scaled sheet, each shown for the export delay.
SheetData DataOf(World& w, const SheetLayout& layout, const RgbPixels& sheet) {
    const ExportSettings& e = w.exportSettings;
    SheetData d{"Vell", VersionNumber(), BaseName(e.sheet), sheet.w, sheet.h, e.scale, {}};
    for (int cell = 0; cell < layout.count; cell++)
        d.frames.push_back({FrameFileName(w.files->root, e.first + cell), layout.X(cell) * e.scale,
                            layout.Y(cell) * e.scale, layout.cellW * e.scale, layout.cellH * e.scale,
                            DelayOffered(w)});
    return d;
}

}  // namespace

void World::ExportAnimation() {
    if (Replaying(*this) || !AskAnimation(*this)) return;
    const ExportSettings& e = exportSettings;
    FrameReader frames(files->root, e.first, e.last);
    Refusal r;
    GifExport gif(frames.Count(), [&](int i, RgbPixels& px, std::string& why) {
        bool ok = frames.Read(e.first + i, px, r);
        why = r.why;
        return ok;
    });
    bool checked = true;
    if (Blank(e.gif)) checked = false, r.why = "no file name";
    if (checked && (e.loops < 0 || e.loops > kMaxLoops)) checked = false, r.why = "loops must be 0 to 65535";
    gif.SetScale(e.scale);
    gif.SetSeeThrough(true);
    checked = checked && frames.RangeSound(r) && gif.Check(r.why);
    if (checked && (gif.Width() > kMaxGifSide || gif.Height() > kMaxGifSide))
        checked = false, r.why = "a GIF holds frames of at most 65535x65535";
    // A scaled frame is made whole before it is encoded.
    if (checked && !SurfaceSizeAllowedAt(gif.Width(), gif.Height(), 4))
        checked = false, r.why = "frames of " + Num64(gif.Width()) + "x" + Num64(gif.Height()) + " are too large";
    auto write = [&](std::FILE* f) { return gif.Write(f, GifDelay(e.delay), e.loops, r.why); };
    Finish(*this, e.gif, checked, r, write, [&] {
        std::string line = Num(frames.Count()) + " frames";
        if (gif.Reduced()) line += ", colours reduced to 256 per frame";
        if (gif.ChangedColours()) line += ", colours reduced: a frame file changed during the export";
        return line;
    });
}

void World::ExportSheet() {
    if (Replaying(*this) || !AskSheet(*this)) return;
    const ExportSettings& e = exportSettings;
    FrameReader frames(files->root, e.first, e.last);
    SheetLayout layout{frames.Count(), e.columns, e.padding, 0, 0};
    std::string dataName = SheetDataName(e.sheet);
    RgbPixels sheet;
    Refusal r;
    bool checked = true;
    if (Blank(e.sheet)) checked = false, r.why = "no file name";
    if (checked && dataName == e.sheet) checked = false, r.why = Quoted(dataName) + " would be both the sheet and its data";
    if (checked && (e.columns < 1 || e.padding < 0))
        checked = false, r.why = "columns must be at least 1 and padding at least 0";
    int cell = 0;
    checked = checked && frames.Check(r, [&](const RgbPixels& px) {
        if (cell == 0) {
            layout.cellW = px.w, layout.cellH = px.h;
            // Both the sheet and its scaled copy are held at once.
            if (!SurfaceSizeAllowedAt(layout.Width(), layout.Height(), 4) ||
                !SurfaceSizeAllowedAt(layout.Width() * e.scale, layout.Height() * e.scale, 4))
                return;
            sheet = EmptySheet(layout);
        }
        if (!sheet.argb.empty()) {
            PlaceCell(sheet, layout, cell, px);
            // The cell keeps the frame's see-through pixels transparent.
            for (int y = 0; y < px.h; y++)
                for (int x = 0; x < px.w; x++)
                    if (px.Row(y)[x] >> 24 == 0)
                        sheet.argb[static_cast<size_t>(layout.Y(cell) + y) * sheet.w + layout.X(cell) + x] = 0;
        }
        cell++;
    });
    if (checked && sheet.argb.empty()) {
        checked = false;
        r.why = "a sheet of " + Num64(layout.Width() * e.scale) + "x" + Num64(layout.Height() * e.scale) +
                " is too large";
    }
    if (!checked) return Message("Nothing exported: " + r.why);
    sheet = ScaledUp(sheet, e.scale);

    std::string why;
    auto writePng = [&](std::FILE* f) { return WritePng(f, sheet.argb.data(), sheet.w, sheet.h, true); };
    if (!WriteWholeFile(e.sheet, writePng, &why)) return Message("Nothing exported: " + CantWrite(e.sheet, why));
    std::string json = SheetJson(DataOf(*this, layout, sheet));
    auto writeJson = [&](std::FILE* f) { return std::fwrite(json.data(), 1, json.size(), f) == json.size(); };
    std::string frameCount = Num(frames.Count()) + " frames";
    if (!WriteWholeFile(dataName, writeJson, &why))
        return Message("Saved " + Quoted(e.sheet) + ": " + frameCount + ", but " + CantWrite(dataName, why));
    Message("Saved " + Quoted(e.sheet) + " and " + Quoted(dataName) + ": " + frameCount);
}
