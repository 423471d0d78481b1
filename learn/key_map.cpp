// The key pass and the key map: one table per modifier group, a row per key
// with the words the key reference prints for it.
#include <algorithm>
#include <array>
#include <exception>
#include <iterator>
#include <new>
#include <string>

#include "../all/key_wait.h"
#include "../all/stop_request.h"
#include "../bmp/bmp.h"
#include "frames.h"
#include "key_table.h"
#include "history.h"
#include "key_recorder.h"
#include "layer.h"
#include "lens.h"
#include "overlay.h"
#include "paint_gate.h"
#include "palette_colours.h"
#include "pointer.h"
#include "teleport.h"
#include "world.h"

namespace {

// A row of the key map: the key, its command and the words that describe it
// in the help screen, `vell --keys` and the man page. A screen-only command
// changes only what the screen shows, so a replay has nothing to repeat: its
// key is read straight from the keyboard and never recorded.
struct Command {
    int key;
    void (*run)(World& w);
    const char* words;
    bool screenOnly = false;
};

constexpr bool kScreenOnly = true;

struct Group {
    int code;
    bool ctrl, shift, alt;  // the live condition
    const Command* commands;
    size_t count;
    const char* title;
    const char* prefix;  // how the modifiers are written before a key's name
};

void GrabBox(World& w) {
    if (w.pointer->mode != 1) return;
    w.pointer->Grab(*w.layer);
    w.pointer->mode = 0;
}

void PickColourOrToggleBox(World& w) {
    Pointer* p = w.pointer;
    if (p->mode == 1)
        p->moveBox = !p->moveBox;
    else
        p->colour = w.layer->Pixel(p->x, p->y);
    if (auto swatch = w.palette.Find(RgbValue(p->colour))) w.paletteSelection = *swatch;
}

// TAB grows the step of a held arrow direction; the arrows are read from
// the keyboard directly here.
void GrowSteps(World& w) {
    w.stepX = (w.KeyHeld(KEY_LEFT) || w.KeyHeld(KEY_RIGHT)) ? w.stepX + 1 : 1;
    w.stepY = (w.KeyHeld(KEY_UP) || w.KeyHeld(KEY_DOWN)) ? w.stepY + 1 : 1;
}

// A negative pause waits 0 ms; a long one still ends on a stop request.
void PauseFrame(World& w) {
    RestUnlessStopped(std::max(w.pause, 0));
    w.Render();
}

// The four arrows share their words, so the reference lists them on one line.
const char* const kStepMove =
    "move the pointer by the step (1, growing while Tab is held); in box mode resize the box (at least 1x1), or move "
    "it after B";
const char* const kJumpMove = "move the pointer by its jump step (8 by default)";

const Command kPlain[] = {
    {KEY_QUOTE, [](World& w) { w.EditTeleports(); }, "teleport editing mode (its keys below)"},
    {KEY_C, [](World& w) { w.ColourFill(); }, "held: colour fill mode (its keys below)"},
    {KEY_ENTER, GrabBox, "in box mode: the box becomes the pointer's brush"},
    {KEY_E, [](World& w) { w.StampBrush(Stamping::Xor); }, "stamp the brush XOR (twice restores)"},
    {KEY_G, [](World& w) { w.pointer->StartBox(); }, "start a box at the pointer"},
    {KEY_P, [](World& w) { w.PickPointer(); }, "held: pick a pointer (its keys below)"},
    {KEY_ESC, [](World& w) { w.Cancel(); },
     "cancel: leaves line mode without drawing, or box mode putting the box back where it was at the last grab; "
     "with Shift, quit and save"},
    {KEY_D, [](World& w) { w.LineTo(); },
     "line to here: starts a rubber-band line; pressed again draws it and starts the next (a chain)"},
    {KEY_B, PickColourOrToggleBox,
     "pick up the colour under the pointer as pen colour (its swatch selected); in box mode switch between resizing and moving the box"},
    {KEY_TAB, GrowSteps,
     "reset the steps to 1 (they grow while an arrow is held with Tab); held, key passes run continuously"},
    {KEY_LEFT, [](World& w) { w.pointer->Move(-w.stepX, 0); }, kStepMove},
    {KEY_RIGHT, [](World& w) { w.pointer->Move(w.stepX, 0); }, kStepMove},
    {KEY_UP, [](World& w) { w.pointer->Move(0, -w.stepY); }, kStepMove},
    {KEY_DOWN, [](World& w) { w.pointer->Move(0, w.stepY); }, kStepMove},
    {KEY_EQUALS, [](World& w) { w.lens->Zoom(1); }, "zoom the lens in"},
    {KEY_MINUS, [](World& w) { w.lens->Zoom(-1); }, "zoom the lens out"},
    {KEY_SPACE, [](World& w) { w.Commit(); },
     "commit: a pixel in point mode, the line in line mode, the box outline in box mode"},
    {KEY_W, [](World& w) { w.ErasePixel(); }, "erase the pixel under the pointer (to black, or to see-through on a transparent layer)"},
    {KEY_Z, [](World& w) { w.PanLens(); }, "held: pan the lens (its keys below)"},
    {KEY_L, [](World& w) { w.LayerCommands(); }, "held: layer mode (its keys below)"},
    {KEY_F1, [](World& w) { w.ShowHelp(); },
     "show these keys (Page Down / Page Up or the arrows page, any other key leaves)", kScreenOnly},
    {KEY_F2, [](World& w) { w.ToggleStatusLine(); }, "show or hide the status line", kScreenOnly},
    {KEY_F, [](World& w) { w.FloodFill(); },
     "flood fill: the area of the colour under the pointer (4-connected) becomes the pen colour"},
    {KEY_R, [](World& w) { w.FillBox(); }, "fill the stored box with the pen colour (in any mode)"},
    {KEY_O, [](World& w) { w.DrawEllipse(false); }, "draw the ellipse inscribed in the stored box"},
    {KEY_H, [](World& w) { w.TurnBrush(BrushTurn::FlipLeftRight); }, "flip the brush left to right"},
    {KEY_V, [](World& w) { w.TurnBrush(BrushTurn::FlipTopBottom); }, "flip the brush top to bottom"},
    {KEY_T, [](World& w) { w.TurnBrush(BrushTurn::Clockwise); },
     "turn the brush 90 degrees clockwise (the box's width and height swap with it)"},
    {KEY_M, [](World& w) { w.CycleMirror(); },
     "mirror drawing: off, across a vertical axis (|), a horizontal one (-), both (+)"},
    {KEY_1, [](World& w) { w.ZoomPreset(1); }, "lens x1 (the pointer kept in view)"},
    {KEY_2, [](World& w) { w.ZoomPreset(2); }, "lens x2"},
    {KEY_3, [](World& w) { w.ZoomPreset(4); }, "lens x4"},
    {KEY_4, [](World& w) { w.ZoomPreset(8); }, "lens x8"},
    {KEY_5, [](World& w) { w.ZoomPreset(16); }, "lens x16"},
    {KEY_6, [](World& w) { w.ZoomPreset(32); }, "lens x32 (at most the largest the screen allows)"},
    {KEY_0, [](World& w) { w.ZoomPreset(0); }, "the largest magnification that shows the whole canvas"},
    {KEY_CLOSEBRACE, [](World& w) { w.StepColour(1, false); },
     "pen colour to the next palette colour (wrapping; from a colour not in the palette, the first)"},
    {KEY_OPENBRACE, [](World& w) { w.StepColour(-1, false); },
     "pen colour to the previous palette colour (wrapping; from a colour not in the palette, the last)"},
    {KEY_X, [](World& w) { w.SwapColours(); }, "swap the pen colour and the second colour"},
    {KEY_K, [](World& w) { w.PaletteCommands(); }, "held: palette mode (its keys below)"},
    {KEY_F3, [](World& w) { w.TogglePaletteStrip(); }, "show or hide the palette strip", kScreenOnly},
};

const Command kShift[] = {
    {KEY_D, [](World& w) { w.ClearBrushArea(); }, "clear a brush-sized area at the pointer"},
    {KEY_E, [](World& w) { w.StampBrush(Stamping::Masked); }, "stamp the brush masked (see-through colour skipped)"},
    {KEY_G, [](World& w) { w.pointer->ResumeBox(); }, "resume the box where it was"},
    {KEY_L, [](World& w) { w.EnlargeStamp(); }, "stamp the brush enlarged, each pixel a jump-step-sized block"},
    {KEY_F, [](World& w) { w.RecolourLayer(); }, "every pixel of the layer of the colour under the pointer becomes the pen colour"},
    {KEY_O, [](World& w) { w.DrawEllipse(true); }, "draw the filled ellipse inscribed in the stored box"},
    {KEY_T, [](World& w) { w.TurnBrush(BrushTurn::Anticlockwise); }, "turn the brush 90 degrees anticlockwise"},
    {KEY_M, [](World& w) { w.MirrorAtPointer(); }, "put the mirror axes through the pointer pixel's centre"},
    {KEY_CLOSEBRACE, [](World& w) { w.StepColour(1, true); }, "second colour to the next palette colour"},
    {KEY_OPENBRACE, [](World& w) { w.StepColour(-1, true); }, "second colour to the previous palette colour"},
    {KEY_SPACE, [](World& w) { w.CommitSecond(); }, "commit as Space does, in the second colour"},
};

const Command kCtrl[] = {
    {KEY_I, PauseFrame, "wait the pause, then draw a frame (an animation frame in a replay)"},
    {KEY_LEFT, [](World& w) { w.pointer->Move(-w.pointer->jx, 0); },
     kJumpMove},
    {KEY_RIGHT, [](World& w) { w.pointer->Move(w.pointer->jx, 0); },
     kJumpMove},
    {KEY_UP, [](World& w) { w.pointer->Move(0, -w.pointer->jy); }, kJumpMove},
    {KEY_DOWN, [](World& w) { w.pointer->Move(0, w.pointer->jy); }, kJumpMove},
    {KEY_Z, [](World& w) { w.Undo(); },
     "undo one step of the history (\"Undo (N more)\"; \"Nothing to undo\" at its start)"},
    {KEY_COMMA, [](World& w) { w.files->Step(-1), w.files->Announce(w.text); },
     "frame number down (0 to 999), shown as Files Select - \"img000.tga\""},
    {KEY_STOP, [](World& w) { w.files->Step(1), w.files->Announce(w.text); },
     "frame number up (0 to 999), shown the same way"},
    {KEY_Y, [](World& w) { w.Redo(); }, "redo a step undone (\"Redo (N more)\"); a new change drops what could be redone"},
    {KEY_G, [](World& w) { w.grid.Cycle(); },
     "grid in turn: off, pixel grid (lines between picture pixels, from magnification 4), tile grid (lines every "
     "16 pixels, [Grid] tile in vell.cfg); shown on the screen only, never saved in a picture",
     kScreenOnly},
    {KEY_CLOSEBRACE, [](World& w) { w.Shade(1); },
     "shade: the pixel under the pointer (in box mode every pixel of the box) of a palette colour becomes the next "
     "palette colour (the last stays)"},
    {KEY_OPENBRACE, [](World& w) { w.Shade(-1); }, "shade to the previous palette colour (the first stays)"},
    {KEY_O, [](World& w) { w.CycleOnionSkin(); },
     "onion skin in turn: off, the previous frame file (tinted red), the previous and the next (tinted blue), drawn "
     "translucent at the pointer's box; shown on the screen only, [Onion] mode, opacity and tint in vell.cfg",
     kScreenOnly},
    {KEY_P, [](World& w) { w.PreviewFrames(); },
     "preview: the frame files of the export range in turn at the export delay, looping, in a panel at the top "
     "right (\"frame N of M\"); any key stops it",
     kScreenOnly},
};

const Command kAlt[] = {
    {KEY_QUOTE, [](World& w) { w.teleportDialog(); },
     "teleports on or off; when on, a pointer (or box corner) landing exactly on a source jumps to its target at the "
     "end of the key pass, and on through later teleports in the same pass"},
    {KEY_F, [](World& w) { w.filesDialog(); }, "frame number and file root"},
    {KEY_I, [](World& w) { w.pauseDialog(); }, "the pause of Ctrl+I, in milliseconds"},
    {KEY_T, [](World& w) { w.textDialog(); }, "text brush: magnification and text, rendered in the pen colour"},
    {KEY_V, [](World& w) { w.resizeDialog(); }, "canvas size (every layer; pixels kept at the top left)"},
    {KEY_X, [](World& w) { w.jumpDialog(); }, "the pointer's jump steps"},
    {KEY_C, [](World& w) { w.colourDialog(); }, "the pen colour (red, green, blue)"},
    {KEY_E, [](World& w) { w.StampBrush(Stamping::Opaque); }, "stamp the brush opaque"},
    {KEY_S, [](World& w) { w.SaveImageFile(); },
     "save the picture (BMP, PCX, TGA or PNG by extension; a name with \".zub\" saves the document); an existing name "
     "asks \"Over write ... Y/N?\""},
    {KEY_L, [](World& w) { w.LoadImageFile(); },
     "load a picture (every layer takes its size; \".png\" and \".jpg\" too) or a document"},
    {KEY_R, [](World& w) { w.ToggleRecording(), w.WaitKeyRelease(KEY_R); },
     "start / stop recording key commands (\"Recording\" / \"Finihed Recording\")"},
    {KEY_P, [](World& w) { w.TogglePlayback(), w.WaitKeyRelease(KEY_P); },
     "replay the recording once, at full speed, without frames"},
    {KEY_G, [](World& w) { w.ExportAnimation(); },
     "export the frame files as an animated GIF (first and last frame, delay, loops, scale, file name)"},
};

const Command kCtrlShift[] = {
    {KEY_L, [](World& w) { w.LoadFrame(w.files->Name()); }, "load the current frame file back at the pointer"},
    {KEY_S, [](World& w) { w.SaveFrame(w.files->Name()); }, "save the pointer's box as the current frame file"},
    {KEY_Z, [](World& w) { w.Redo(); }, "redo a step undone (\"Redo (N more)\"); a new change drops what could be redone"},
};

const Command kShiftAlt[] = {
    {KEY_L, [](World& w) { w.SelectLoadImageFile(); }, "put a picture into the current layer at the pointer"},
    {KEY_S, [](World& w) { w.SaveSelectionFile(); }, "save the pointer's box as a picture"},
    {KEY_P, [](World& w) { w.PlayTimes(); }, "replay the recording a number of times"},
    {KEY_G, [](World& w) { w.ExportSheet(); },
     "export the frame files as a sprite sheet PNG and its JSON frame data (first and last frame, columns, padding, scale, file name)"},
};

template <size_t N>
constexpr Group MakeGroup(int code, bool ctrl, bool shift, bool alt, const Command (&rows)[N], const char* title,
                          const char* prefix) {
    return Group{code, ctrl, shift, alt, rows, N, title, prefix};
}

// In the order the key pass visits them.
const Group kGroups[] = {
    MakeGroup(-1, false, false, false, kPlain, "Plain keys", ""),
    MakeGroup(-9, false, true, false, kShift, "Shift", "Shift+"),
    MakeGroup(-10, true, false, false, kCtrl, "Ctrl", "Ctrl+"),
    MakeGroup(-8, false, false, true, kAlt, "Alt", "Alt+"),
    MakeGroup(-7, true, true, false, kCtrlShift, "Ctrl+Shift", "Ctrl+Shift+"),
    MakeGroup(-5, false, true, true, kShiftAlt, "Shift+Alt", "Shift+Alt+"),
};

// Key codes 0 to 114: everything below Allegro's modifier keys.
constexpr int kLastKeyTested = 114;

// Each group's rows by key code, made once: a key pass asks about every
// code of every group that runs, and a search of the rows each time costs
// more than the commands of a typical pass.
const Command* Find(const Group& g, int key) {
    using ByKey = std::array<const Command*, kLastKeyTested + 1>;
    static const std::array<ByKey, std::size(kGroups)> tables = [] {
        std::array<ByKey, std::size(kGroups)> t{};
        for (size_t i = 0; i < std::size(kGroups); i++)
            for (size_t r = 0; r < kGroups[i].count; r++)
                if (kGroups[i].commands[r].key <= kLastKeyTested) t[i][kGroups[i].commands[r].key] = &kGroups[i].commands[r];
        return t;
    }();
    if (key < 0 || key > kLastKeyTested) return nullptr;
    return tables[&g - kGroups][key];
}

// Read straight from the keyboard, never asked of the recorder: a key whose
// row in the group is screen-only, and the paging keys, which have no row
// but belong to the help screen.
bool ReadLive(const Group& g, int k) {
    if (const Command* c = Find(g, k)) return c->screenOnly;
    return k == KEY_PGUP || k == KEY_PGDN;
}

bool GroupRuns(World& w, const Group& g) {
    if (w.keyMan->mode == KeyMan::Replaying) return w.keyMan->CurrentGroup() == g.code;
    // Only the left-hand modifiers select a group; a key latched for this
    // pass brings the modifiers that were down at its press.
    auto down = [&w](int k) { return w.KeyHeld(k) || LatchedForPass(k); };
    return down(KEY_LCONTROL) == g.ctrl && down(KEY_LSHIFT) == g.shift && down(KEY_ALT) == g.alt;
}

// A whole replay is one step of the history: the group opens with the
// first pass that replays and closes with the first that no longer does.
void FollowReplay(World& w) {
    bool replaying = w.keyMan->mode == KeyMan::Replaying;
    if (replaying && !w.history->Grouping()) w.history->BeginGroup(w.slayer);
    if (!replaying && w.history->Grouping()) w.history->EndGroup();
}

void KeepPointerOnLayer(World& w) {
    Pointer* p = w.pointer;
    p->x = std::clamp(p->x, 0, w.layer->width - 1);
    p->y = std::clamp(p->y, 0, w.layer->height - 1);
}

// A command that fails halfway (out of memory, a bitmap that could not be
// made, or any other exception) ends the key pass: the open step of the
// history is taken back (the command's changes, and any the pass made
// before it in the same step), the message line says why, and the editor
// runs on.
bool RunCommand(World& w, const Command& c) {
    std::string why;
    try {
        c.run(w);
        return true;
    } catch (const std::bad_alloc&) {
        why = "out of memory";
    } catch (const std::exception& e) {
        why = e.what();
    }
    // A replay would only run into it again.
    if (w.keyMan->mode == KeyMan::Replaying) w.keyMan->StopReplay();
    if (w.history->Abandon())
        w.Message("Nothing done: " + why);
    else
        w.Message("Not finished: " + why + "; the change was too large to take back, the undo history is cleared");
    return false;
}

}  // namespace

void World::DoKeys() {
    bool replaying = keyMan->mode == KeyMan::Replaying;
    if (!replaying && !KeyHeld(KEY_TAB)) ReadKey();
    if (StopRequested()) return;
    long advancesBefore = keyMan->advances;
    // Each key pass is one step of the history.
    history->Close();

    for (const Group& g : kGroups) {
        if (!GroupRuns(*this, g)) continue;
        for (int k = 0; k <= kLastKeyTested; k++) {
            // Every key is asked about, so a recording holds every key that
            // was down, also those without a command.
            bool down = ReadLive(g, k) ? !replaying && KeyHeld(k) : keyMan->Check(g.code, k, "");
            if (!down) continue;
            const Command* c = Find(g, k);
            if (c && !RunCommand(*this, *c)) return ClearPassLatch();
            // A mode or form left on a stop request ends the pass too.
            if (StopRequested()) return ClearPassLatch();
        }
    }
    ClearPassLatch();

    // A replay whose current event no group can take would never advance:
    // end it rather than leave the editor stuck in replay mode.
    if (replaying && keyMan->mode == KeyMan::Replaying && keyMan->advances == advancesBefore) {
        keyMan->repeats = 0;
        keyMan->StopReplay();
    }

    history->Close();
    FollowReplay(*this);
    KeepPointerOnLayer(*this);
    if (teleportMan && teleportMan->on) {
        teleportMan->Apply(pointer->x, pointer->y);
        teleportMan->Apply(pointer->bx, pointer->by);
    }
}

// Rows that follow each other with the same words share one line, their
// keys joined by "/" ("Left/Right/Up/Down").
std::vector<KeySection> KeyMapSections() {
    std::vector<KeySection> sections;
    for (const Group& g : kGroups) {
        KeySection s{g.title, {}};
        for (size_t i = 0; i < g.count; i++) {
            std::string words = g.commands[i].words ? g.commands[i].words : "";
            std::string name = KeyName(g.commands[i].key);
            if (!s.rows.empty() && s.rows.back().words == words)
                s.rows.back().keys += "/" + name;
            else
                s.rows.push_back({g.prefix + name, words});
        }
        sections.push_back(s);
    }
    return sections;
}
