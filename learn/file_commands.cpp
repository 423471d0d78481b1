// Pictures and documents in and out: Alt+S, Alt+L, Shift+Alt+S, Shift+Alt+L
// and the frame commands Ctrl+Shift+S / Ctrl+Shift+L.
#include <sys/stat.h>

#include <cstdio>
#include <memory>

#include "../all/display.h"
#include "../all/key_wait.h"
#include "../all/stop_request.h"
#include "../bmp/bmp.h"
#include "../bmp/load_pic.h"
#include "../bmp/safe_write.h"
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

// The formats Allegro writes, and PNG through libpng.
bool Savable(const std::string& name) {
    std::string ext = PictureExtension(name);
    return ext == ".bmp" || ext == ".pcx" || ext == ".png" || ext == ".tga";
}

std::string Quoted(const std::string& name) { return "'" + name + "'"; }

// Asks for a file name; false when the form was stopped, which applies
// nothing (not even the offered name that Esc goes on with).
bool AskName(World& world, const std::string& title, const std::string& label, std::string& name) {
    PromptAnswers a = world.Prompt(title, {label}, {world.cfile});
    if (a.texts.empty()) return false;
    name = a.texts[0];
    return true;
}

// Writes the picture to a temporary file and renames it over the target, so
// a save that fails never destroys the old file.
bool WritePicture(World& world, Bmp& picture, const std::string& name) {
    if (IsBlank(name)) {
        world.Message("Nothing saved: no file name");
        return false;
    }
    if (!Savable(name)) {
        world.Message("Nothing saved: " + Quoted(name) + " is not a .bmp, .pcx, .png or .tga name");
        return false;
    }
    if (!WriteThroughTemp(name, [&](const std::string& temp) { return picture.Save(temp) == 0; })) {
        world.Message("Nothing saved: " + Quoted(name) + " can't be written");
        return false;
    }
    std::printf("Saved %s\n", Quoted(name).c_str());
    return true;
}

// A black surface of w x h for a save, or null (and a message) when the
// size is empty or refused.
std::unique_ptr<Bmp> SaveSurface(World& world, int w, int h) {
    if (w < 1 || h < 1) {
        world.Message("Nothing saved: the box is empty");
        return nullptr;
    }
    auto b = Bmp::TryCreate(w, h, "save bmp");
    if (!b) world.Message("Nothing saved: a picture of " + std::to_string(w) + "x" + std::to_string(h) + " is too large");
    return b;
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
    world.Message("Couldn't load " + Quoted(name) + ": " + picture.Failure());
}

// Puts the picture of the file onto the current layer at the pointer; a
// picture that cannot be read stamps nothing.
bool StampPicture(World& world, const std::string& name) {
    if (!world.MayLoadPicture(name)) return false;
    Bmp picture(name);
    if (!picture.Loaded()) {
        ReportUnloaded(world, name, picture);
        return false;
    }
    Pointer& p = *world.pointer;
    world.gate->PutImage(*world.layer, picture.GetBitmap(), p.x, p.y, picture.Width(), picture.Height(), Stamping::Opaque);
    return true;
}

}  // namespace

void World::SaveImageFile() {
    std::string name;
    if (keyMan->mode == KeyMan::Replaying) {
        if (!TakeReplayedName(*keyMan, name)) {
            Message("Nothing saved: the recording holds no file name here");
            return;
        }
    } else {
        if (!AskName(*this, "Save Image File", "Save:", name)) return;
        bool save = !Exists(name) || ConfirmOverwrite(name);
        if (StopRequested()) return;
        if (!save) {
            cfile = name;
            return;
        }
    }
    if (IsDocumentName(name)) {
        if (!SaveDocument(name))
            Message("Nothing saved: the document " + Quoted(name) + " can't be written");
        else if (name == kStartDocument)
            savedVersion = CurrentDocumentVersion();  // no autosave of what was just written
    } else if (auto picture = SaveSurface(*this, layer->width, layer->height)) {
        ComposeLayers(layers, {0, 0, layer->width, layer->height}, picture->GetBitmap(), 0, 0);
        WritePicture(*this, *picture, name);
    }
    keyMan->Record(-1, -1, name);
    cfile = name;
}

void World::LoadImageFile() {
    std::string name;
    if (!AskName(*this, "Load Image File", "Load:", name)) return;
    cfile = name;
    if (!Exists(name)) return;
    if (IsDocumentName(name)) {
        LoadDocument(name);
    } else {
        if (!MayLoadPicture(name)) return;
        Bmp picture(name);
        // An unreadable picture or a canvas that cannot be allocated leaves
        // the picture as it was.
        if (!picture.Loaded()) {
            ReportUnloaded(*this, name, picture);
            return;
        }
        if (!resizeCanvas(picture.Width(), picture.Height())) {
            Message("Couldn't load " + Quoted(name) + ": no room for a canvas of its size");
            return;
        }
        gate->PutImage(*layer, picture.GetBitmap(), 0, 0, picture.Width(), picture.Height(), Stamping::Opaque);
    }
}

void World::LoadFrame(const std::string& name) {
    if (!Exists(name)) return;
    StampPicture(*this, name);
}

void World::SelectLoadImageFile() {
    std::string name;
    if (!AskName(*this, "Select Load Image File", "Load:", name)) return;
    cfile = name;
    if (!Exists(name)) return;
    if (!IsDocumentName(name)) StampPicture(*this, name);
}

void World::SaveSelectionFile() {
    std::string name;
    if (!AskName(*this, "Save Selection", "Save:", name)) return;
    if (Exists(name) && !ConfirmOverwrite(name)) return;
    if (StopRequested()) return;
    SaveSelection(name);
}

void World::SaveFrame(const std::string& name) { SaveSelection(name); }

// The pointer's box of every layer composed; black where no layer covers it.
void World::SaveSelection(const std::string& name) {
    auto picture = SaveSurface(*this, pointer->w, pointer->h);
    if (!picture) return;
    ComposeLayers(layers, pointer->StoredBox(), picture->GetBitmap(), 0, 0);
    WritePicture(*this, *picture, name);
}

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

// Asks on the visible screen and waits for N or Y (N wins when both are
// held), sleeping until a key changes rather than spinning a core. A stop
// request answers N.
bool World::AskYesNo(const std::string& question) {
    txt->setText(question);
    txt->drawAt(1, display::screen, 0, 0);
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
