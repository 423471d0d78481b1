#include "world.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "../all/display.h"
#include "../all/endings.h"
#include "../all/key_wait.h"
#include "../all/stop_request.h"
#include "../bmp/bmp.h"
#include "../fileio/fileio.h"
#include "../txt/txt.h"
#include "../varshim/varshim.h"
#include "compose.h"
#include "frames.h"
#include "history.h"
#include "key_recorder.h"
#include "layer.h"
#include "lens.h"
#include "overlay.h"
#include "paint_gate.h"
#include "pointer.h"
#include "status_line.h"
#include "teleport.h"

World::World(const std::string& docName) { Construct(docName); }

void World::Construct(const std::string& docName) {
    fileIO = new FileIO();
    history = new History(layers, pointers, History::kDefaultBudget);
    gate = new PaintGate(*history);
    history->WatchPalette(&palette);
    OpenStartDocument();
    EnsureTenPointers();
    LoadSettings();
    if (!docName.empty()) cfile = docName;
    txt = new Txt(0, 0, makecol(255, 180, 0), "text");
    txt->setScale(2, 2);
    stm = new Bmp(layer->width, layer->height, "_stm");
    keyMan = new KeyMan(this);
    text = new Text(this);
    TellWhereWorkWent();
    stm2 = new Bmp(display::screen->w, display::screen->h, "_stm2");
    Render();
    stepX = 1;
    stepY = 1;
    // The start document is where the history begins, not a step of it, and
    // it is what "Vell.zub" holds (or a new picture, worth no autosave).
    history->Clear();
    savedVersion = CurrentDocumentVersion();
    history->say = [this](const std::string& line) { Message(line); };
}

World::~World() {
    for (Pointer* p : pointers) delete p;
    for (Layer* l : layers) delete l;
    delete txt;
    delete stm;
    delete stm2;
    delete gate;
    delete history;
    delete lens;
    delete keyMan;
    delete fileIO;
    delete text;
    delete textDraw;
    delete files;
    delete teleportMan;
    delete statusLine;
}

void World::StartNewPicture() {
    for (Layer* l : layers) delete l;
    layers.clear();
    layers.push_back(new Layer(this, display::screen->w, display::screen->h, 0));
    slayer = 0;
    layer = layers[0];
    EnsureTenPointers();
    std::printf("Started a new picture of %dx%d\n", layer->width, layer->height);
}

void World::EnsureTenPointers() {
    while (pointers.size() < 10) pointers.push_back(new Pointer());
}

// The wait of the key pass: the only place where the document is whole and
// still, so the pass lock is let go and autosaves happen here.
int World::ReadKey() {
    UnlockPass();
    int k = WaitForKey([this](long quietMs) {
        LockPass();
        AutosaveIfDue(quietMs);
        UnlockPass();
        return autosaveClock.MsUntilDue(NowMs(), quietMs);
    });
    LockPass();
    return k;
}

bool World::KeyHeld(int k) { return get_key(k) != 0; }

bool World::QuitRequested() {
    return (KeyHeld(KEY_LSHIFT) || KeyHeld(KEY_RSHIFT)) && KeyHeld(KEY_ESC);
}

void World::Run() {
    LockPass();
    SetConnectionLostSave([this] { return SaveEverything(); });
    do {
        DoKeys();
        if (StopRequested()) break;
        autosaveClock.PassRan(NowMs());
        if (keyMan->mode != KeyMan::Replaying) Render();
        AutosaveIfDue(0);
    } while (!(QuitChordPressed() && QuitNow()) && !StopRequested());
    BeginEnding();
    ReportEnding(quitSaved ? kStartDocument : SaveEverything());
    SetConnectionLostSave(nullptr);
    UnlockPass();
}

// Composes only the part of stm that the lens window covers: nothing else
// reads stm, so the screen shows exactly what a whole-canvas composition
// would, at a cost that does not grow with the canvas.
void World::ComposeVisibleRegion() {
    BITMAP* dest = stm->GetBitmap();
    int rx = std::max(lens->x, 0);
    int ry = std::max(lens->y, 0);
    // In 64 bits: the lens position comes from the settings file and may lie
    // anywhere, where adding the window size would overflow an int.
    int64_t right = std::min<int64_t>(int64_t(lens->x) + lens->ViewW(), dest->w);
    int64_t bottom = std::min<int64_t>(int64_t(lens->y) + lens->ViewH(), dest->h);
    if (right <= rx || bottom <= ry) return;
    int rw = static_cast<int>(right - rx);
    int rh = static_cast<int>(bottom - ry);
    ComposeLayers(layers, {rx, ry, rw, rh}, dest, rx, ry);
    set_clip_rect(dest, rx, ry, rx + rw - 1, ry + rh - 1);
    onion.Draw(dest, files->root, files->filesPos, pointer->bx, pointer->by);
    if (showTeleports) teleportMan->Draw(stm);
    pointer->Draw(6, dest);
    set_clip_rect(dest, 0, 0, dest->w - 1, dest->h - 1);
}

void World::Render() {
    ScreenTraffic drawingOnly;
    // The view narrows while the palette strip shows, so the strip never
    // covers a picture pixel.
    int viewW = display::screen->w - PaletteStripWidth();
    if (lens->areaW != viewW || lens->areaH != display::screen->h) lens->SetArea(viewW, display::screen->h);
    ComposeVisibleRegion();
    lens->Show(stm, stm2);
    grid.Draw(stm2->GetBitmap(), *lens);
    DrawMirrorAxes(stm2->GetBitmap());
    DrawPaletteStrip(stm2->GetBitmap());
    text->Draw(stm2->GetBitmap());
    DrawStatusLine(stm2->GetBitmap());
    blit(stm2->GetBitmap(), display::screen, 0, 0, 0, 0, display::screen->w, display::screen->h);
    if (KeyHeld(KEY_TAB)) rest(40);
}

int World::ClearColour() { return layer->ClearColour(); }

void World::WaitKeyRelease(int k) {
    while (KeyHeld(k) && !StopRequested()) WaitForKeyChange();
    clear_keybuf();
}

bool World::NextModeFrame(int movingMs) {
    if (movingMs > 0)
        RestUnlessStopped(movingMs);
    else
        WaitForKeyChange();
    return !StopRequested();
}
