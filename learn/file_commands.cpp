// Pictures and documents in and out: Alt+S, Alt+L, Shift+Alt+S, Shift+Alt+L
// and the frame commands Ctrl+Shift+S / Ctrl+Shift+L.
#include <sys/stat.h>

#include <cstdio>
#include <memory>

#include "../all/display.h"
#include "../all/endings.h"
#include "../all/key_wait.h"
#include "../all/stop_request.h"
#include "../bmp/bmp.h"
#include "../bmp/load_pic.h"
#include "../bmp/palette_io.h"
#include "../fileio/file_answer.h"
#include "../fileio/safe_file.h"
#include "../txt/txt.h"
#include "compose.h"
#include "history.h"
#include "key_recorder.h"
#include "layer.h"
#include "paint_gate.h"
#include "pointer.h"
#include "prompt.h"
#include "world.h"

namespace {

bool Exists(const std::string& name) {
    struct stat st;
    return !name.empty() && stat(name.c_str(), &st) == 0;
}

bool IsDocumentName(const std::string& name) { return name.find(".zub") != std::string::npos; }

bool IsBlank(const std::string& name) { return name.find_first_not_of(' ') == std::string::npos; }

std::string Size(int w, int h) { return "(" + std::to_string(w) + " x " + std::to_string(h) + ")"; }

void SaidNothing(World& world, FileAction action, const std::string& name, const std::string& why) {
    world.Message(NothingDone(action, name, why));
}

// Asks for a file name; false when the form was cancelled (Esc) or stopped,
// which applies nothing.
bool AskName(World& world, const std::string& title, const std::string& label, std::string& name) {
    PromptAnswers a = world.Prompt(title, {label}, {world.cfile});
    if (!a.accepted || a.texts.empty()) return false;
    name = a.texts[0];
    return true;
}

// True when the file exists; otherwise says why nothing is loaded.
bool FoundToLoad(World& world, const std::string& name) {
    std::string missing = WhyMissing(name);
    if (!missing.empty()) SaidNothing(world, FileAction::Load, name, missing);
    return missing.empty();
}

// The reason a save that is not even tried would fail, or "".
std::string WhyNotSavable(const std::string& name) {
    if (!Bmp::SavesAs(name)) return "not a .bmp, .pcx, .png or .tga name";
    return WhyNoFolder(name);
}

// Writes the picture whole or not at all, so a save that fails never
// destroys the old file. `saved` starts the message
// of a save that worked ("Saved ", "Saved frame ").
bool WritePicture(World& world, Bmp& picture, const std::string& name, const std::string& saved) {
    if (IsBlank(name)) {
        world.Message("Nothing saved: no file name");
        return false;
    }
    std::string why = WhyNotSavable(name);
    std::string ext = PictureExtension(name);
    if (why.empty() && !WriteWholeFile(name, [&](std::FILE* f) { return picture.Save(f, ext) == 0; }, &why))
        if (why.empty()) why = "the picture could not be written";
    if (!why.empty()) {
        SaidNothing(world, FileAction::Save, name, why);
        return false;
    }
    world.Message(saved + QuotedName(name));
    return true;
}

// A black surface of w x h for a save, or null (and a message) when the
// size is empty or refused.
std::unique_ptr<Bmp> SaveSurface(World& world, const std::string& name, int w, int h) {
    if (w < 1 || h < 1) {
        SaidNothing(world, FileAction::Save, name, "the box is empty");
        return nullptr;
    }
    auto b = Bmp::TryCreate(w, h, "save bmp");
    if (!b)
        SaidNothing(world, FileAction::Save, name,
                    "a picture of " + std::to_string(w) + "x" + std::to_string(h) + " is too large");
    return b;
}

// The pointer's box of every layer composed; black where no layer covers it.
void SaveBox(World& world, const std::string& name, const std::string& saved) {
    Pointer& p = *world.pointer;
    auto picture = SaveSurface(world, name, p.w, p.h);
    if (!picture) return;
    // The pointer's box of the visible layers; transparent in PNG and TGA
    // files where none is opaque, black in the other formats.
    ComposeWithAlpha(world.layers, p.StoredBox(), picture->GetBitmap());
    picture->CarryAlpha();
    WritePicture(world, *picture, name, saved);
}

// A replayed Alt+S saves to the name stored after its key event; when that
// event is not a text event the name was never stored and nothing is saved.
bool TakeReplayedName(KeyMan& keys, std::string& name) {
    if (keys.pos < 0 || keys.pos >= static_cast<int>(keys.events.size())) return false;
    const Key* e = keys.events[keys.pos];
    if (e->akey != -1 || e->nkey != -1) return false;
    name = e->c;
    keys.Advance();
    return true;
}

void ReportUnloaded(World& world, const std::string& name, const Bmp& picture) {
    SaidNothing(world, FileAction::Load, name, picture.Failure());
}

// "Loaded 'NAME' (W x H)", with what the load had to make up after a colon.
std::string LoadedLine(const std::string& loaded, const std::string& name, Bmp& picture) {
    std::string line = loaded + QuotedName(name) + " " + Size(picture.Width(), picture.Height());
    return picture.Remark().empty() ? line : line + ": " + picture.Remark();
}

// The big-picture question answered N.
void NotLoaded(World& world) { world.Message("Not loaded"); }

// "Loaded 'NAME' (W x H)" and what else a load had to do after a colon.
std::string LoadedLine(const std::string& loaded, const std::string& name, Bmp& picture, const std::string& more) {
    std::string line = LoadedLine(loaded, name, picture);
    if (more.empty()) return line;
    return line + (picture.Remark().empty() ? ": " : ", ") + more;
}

std::string Pixels(int64_t n) { return std::to_string(n) + (n == 1 ? " pixel" : " pixels"); }

// Puts the picture of the file onto the current layer at the pointer,
// leaving the layer as it was where the file is transparent; a picture that
// cannot be read stamps nothing. `loaded` starts the message of
// a load that worked ("Loaded ", "Loaded frame ").
bool StampPicture(World& world, const std::string& name, const std::string& loaded) {
    if (!world.MayLoadPicture(name)) {
        NotLoaded(world);
        return false;
    }
    Bmp picture(name);
    if (!picture.Loaded()) {
        ReportUnloaded(world, name, picture);
        return false;
    }
    world.Message(LoadedLine(loaded, name, picture));
    Pointer& p = *world.pointer;
    // Transparent pixels were loaded as the mask colour, which a masked
    // stamp skips; a picture without any is stamped whole, as always.
    Stamping how = picture.Transparent() > 0 ? Stamping::Masked : Stamping::Opaque;
    world.gate->PutImage(*world.layer, picture.GetBitmap(), p.x, p.y, picture.Width(), picture.Height(), how);
    return true;
}

}  // namespace

// While recording, a save that was cancelled (Esc, or N to the overwrite
// question) is recorded as an empty name, so its replay saves nothing.
void World::SaveImageFile() {
    std::string name;
    if (keyMan->mode == KeyMan::Replaying) {
        if (!TakeReplayedName(*keyMan, name)) {
            Message("Nothing saved: the recording holds no file name here");
            return;
        }
        if (name.empty()) return;
    } else {
        if (!AskName(*this, "Save Image File", "Save:", name)) {
            if (!StopRequested()) keyMan->Record(-1, -1, "");
            return;
        }
        bool save = !Exists(name) || ConfirmOverwrite(name);
        if (StopRequested()) return;
        if (!save) {
            cfile = name;
            Message("Not overwritten");
            keyMan->Record(-1, -1, "");
            return;
        }
    }
    if (IsPaletteFileName(name)) {
        SavePaletteFile(name);
    } else if (IsDocumentName(name)) {
        if (!SaveDocument(name)) {
            SaidNothing(*this, FileAction::Save, name, documentFailure);
        } else {
            Message("Saved " + QuotedName(name));
            if (name == kStartDocument) savedVersion = CurrentDocumentVersion();  // no autosave of what was just written
        }
    } else if (auto picture = SaveSurface(*this, name, layer->width, layer->height)) {
        ComposeWithAlpha(layers, {0, 0, layer->width, layer->height}, picture->GetBitmap());
        picture->CarryAlpha();
        WritePicture(*this, *picture, name, "Saved ");
    }
    keyMan->Record(-1, -1, name);
    cfile = name;
}

void World::LoadImageFile() {
    std::string name;
    if (!AskName(*this, "Load Image File", "Load:", name)) return;
    cfile = name;
    if (!FoundToLoad(*this, name)) return;
    if (IsPaletteFileName(name)) {
        LoadPaletteFile(name);
    } else if (IsDocumentName(name)) {
        if (LoadDocument(name))
            Message("Loaded " + QuotedName(name) + " " + Size(layer->width, layer->height));
        else
            SaidNothing(*this, FileAction::Load, name, documentFailure);
    } else {
        if (!MayLoadPicture(name)) return NotLoaded(*this);
        Bmp picture(name);
        // An unreadable picture or a canvas that cannot be allocated leaves
        // the picture as it was.
        if (!picture.Loaded()) {
            ReportUnloaded(*this, name, picture);
            return;
        }
        if (!resizeCanvas(picture.Width(), picture.Height())) {
            SaidNothing(*this, FileAction::Load, name, "no room for a canvas of its size");
            return;
        }
        // A see-through layer keeps transparent pixels as its mask colour;
        // an opaque layer cannot show through, so they become its black.
        std::string more;
        if (picture.Transparent() > 0 && layer->mode == 0) {
            picture.ReplaceMaskColour(makecol(0, 0, 0));
            more = Pixels(picture.Transparent()) + " transparent in the file put as black: the layer is opaque";
        }
        Message(LoadedLine("Loaded ", name, picture, more));
        gate->PutImage(*layer, picture.GetBitmap(), 0, 0, picture.Width(), picture.Height(), Stamping::Opaque);
    }
}

void World::LoadFrame(const std::string& name) {
    if (FoundToLoad(*this, name)) StampPicture(*this, name, "Loaded frame ");
}

void World::SelectLoadImageFile() {
    std::string name;
    if (!AskName(*this, "Select Load Image File", "Load:", name)) return;
    cfile = name;
    if (!FoundToLoad(*this, name)) return;
    if (IsDocumentName(name))
        SaidNothing(*this, FileAction::Load, name, "a document cannot be put into a layer");
    else
        StampPicture(*this, name, "Loaded ");
}

void World::SaveSelectionFile() {
    std::string name;
    if (!AskName(*this, "Save Selection", "Save:", name)) return;
    bool save = !Exists(name) || ConfirmOverwrite(name);
    if (StopRequested()) return;
    if (save)
        SaveSelection(name);
    else
        Message("Not overwritten");
}

void World::SaveFrame(const std::string& name) { SaveBox(*this, name, "Saved frame "); }

void World::SaveSelection(const std::string& name) { SaveBox(*this, name, "Saved "); }

bool World::ConfirmOverwrite(const std::string& name) { return AskYesNo("Over write " + name + " Y/N?"); }

// Only the header is read before the question, so a small file that
// promises a huge picture costs nothing until the answer is Y. Sizes the
// surface-size helper refuses are left for the loader to refuse.
bool World::MayLoadPicture(const std::string& name) {
    PictureSize size = ReadPictureSize(name);
    int64_t bytes = PictureBytes(size);
    if (bytes <= kBigPictureBytes) return true;
    int64_t mib = (bytes + (1 << 20) - 1) >> 20;
    return AskYesNo("Load " + std::to_string(size.w) + " x " + std::to_string(size.h) + " (" +
                    std::to_string(mib) + " MiB)? Y/N");
}

// Asks on a panel of the visible screen and waits for N or Y (N wins when both are
// held), sleeping until a key changes rather than spinning a core. A stop
// request answers N.
bool World::AskYesNo(const std::string& question) {
    ScreenTraffic drawingOnly;
    BITMAP* scr = display::screen;
    std::printf("%s\n", question.c_str());
    txt->setText(question);
    DimView(scr);
    DrawPanel(scr, 0, txt->getHeight() + 8);
    txt->drawAt(1, scr, 4, 4);
    while (!StopRequested()) {
        if (KeyHeld(KEY_N)) {
            WaitKeyRelease(KEY_N);
            return false;
        }
        if (KeyHeld(KEY_Y)) {
            WaitKeyRelease(KEY_Y);
            return true;
        }
        WaitForKeyChange();
    }
    return false;
}
