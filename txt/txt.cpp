#include "txt.h"

#include <climits>
#include <cstdio>
#include <memory>

#include "../all/display.h"
#include "../all/key_wait.h"
#include "../all/stop_request.h"
#include "../all/timer.h"
#include "../bmp/bmp.h"
#include "../bmp/surface_size.h"
#include "../varshim/varshim.h"

namespace {

// One 8x8 line of the font plus a one-pixel border on every side.
const int kLineH = 10;

int MaskColour() { return makecol(255, 0, 255); }

bool Held(int k) { return get_key(k) != 0; }
bool CtrlHeld() { return Held(KEY_LCONTROL) || Held(KEY_RCONTROL); }
bool ShiftHeld() { return Held(KEY_LSHIFT) || Held(KEY_RSHIFT); }
bool AltHeld() { return Held(KEY_ALT); }

// Keeps the pixels equal to `colour` as `keep` and makes every other pixel
// of the inner area mask; the one-pixel ring stays mask from the clear.
void Separate(BITMAP* b, int colour, int keep) {
    int mask = MaskColour();
    for (int i = 1; i <= 8; i++)
        for (int j = 1; j <= b->w - 2; j++) putpixel(b, j, i, getpixel(b, j, i) == colour ? keep : mask);
}

// True when an image of (w * sx) x (h * sy) pixels may be allocated. The
// factors are checked one by one so that the products cannot overflow.
bool ScaledImageFits(int64_t w, int64_t h, int sx, int sy) {
    if (sx < 1 || sy < 1 || w < 1 || h < 1) return false;
    if (sx > INT_MAX / w || sy > INT_MAX / h) return false;
    return SurfaceSizeAllowed(w * sx, h * sy);
}

}  // namespace

Txt::Txt(int px, int py, int c, const std::string& t) {
    setPos(px, py);
    setColour(c);
    text = t;
    int sw = display::screen ? display::screen->w : 0;
    int sh = display::screen ? display::screen->h : 0;
    setScale(sw > 320 ? sw / 320 : 1, sh > 240 ? sh / 240 : 1);
}

Txt::~Txt() { delete _bmp; }

void Txt::setScale(int sx, int sy) {
    // A scale whose image could not exist is refused before anything changes.
    int64_t w = text.empty() ? 1 : 8 * static_cast<int64_t>(text.size()) + 2;
    int64_t h = text.empty() ? 1 : kLineH;
    if (!ScaledImageFits(w, h, sx, sy)) {
        std::printf("Txt: a text scale of %dx%d cannot be rendered\n", sx, sy);
        return;
    }
    scaleX = sx;
    scaleY = sy;
    cellW = 8 * sx;
    cellH = 8 * sy;
    setText(text);
}

int Txt::getColour() { return colour; }
int Txt::getWidth() { return width; }
int Txt::getHeight() { return height; }
std::string Txt::input() { return getInput(x, y); }
Bmp* Txt::getBmp() { return _bmp; }

void Txt::render() {
    int mask = MaskColour();
    if (text.empty()) {
        std::unique_ptr<Bmp> blank = Bmp::TryCreate(scaleX, scaleY, "txt _bmp blank");
        if (!blank) {
            std::printf("Txt: a blank image of %dx%d cannot be allocated\n", scaleX, scaleY);
            return;
        }
        clear_to_color(blank->Get(), mask);
        delete _bmp;
        _bmp = blank.release();
        width = scaleX;
        height = scaleY;
        return;
    }
    int64_t w = 8 * static_cast<int64_t>(text.size()) + 2;
    if (!ScaledImageFits(w, kLineH, scaleX, scaleY)) {
        std::printf("Txt: a text of %zu characters cannot be rendered at %dx%d\n", text.size(), scaleX, scaleY);
        return;
    }
    int sw = static_cast<int>(w) * scaleX, sh = kLineH * scaleY;
    std::unique_ptr<Bmp> shadow = Bmp::TryCreate(static_cast<int>(w), kLineH, "txt tmp");
    std::unique_ptr<Bmp> copy = Bmp::TryCreate(static_cast<int>(w), kLineH, "txt tmpc");
    std::unique_ptr<Bmp> result = Bmp::TryCreate(sw, sh, "txt _bmp");
    if (!shadow || !copy || !result) {
        std::printf("Txt: the image of a %dx%d text cannot be allocated\n", sw, sh);
        return;
    }
    clear_to_color(shadow->Get(), mask);
    clear_to_color(copy->Get(), mask);
    printAt(shadow->Get(), 0, 0);
    printAt(copy->Get(), 0, 0);
    Separate(shadow->Get(), colour, 0);
    Separate(copy->Get(), colour, colour);
    if ((scaleX > 1 || scaleY > 1) && !(shadow->StretchTo(sw, sh) && copy->StretchTo(sw, sh))) {
        std::printf("Txt: the image of a %dx%d text cannot be allocated\n", sw, sh);
        return;
    }
    clear_to_color(result->Get(), mask);
    // The shadow drawn at the nine offsets of a 3x3 square, under the text at
    // its centre, leaves a one-pixel black edge on every side.
    for (int dy = 0; dy <= 2; dy++)
        for (int dx = 0; dx <= 2; dx++) draw_sprite(result->Get(), shadow->Get(), dx, dy);
    draw_sprite(result->Get(), copy->Get(), 1, 1);
    delete _bmp;
    _bmp = result.release();
    width = shadow->Width();
    height = shadow->Height();
}

void Txt::setText(const std::string& s) {
    text = s;
    render();
}

void Txt::setPos(int px, int py) {
    x = px;
    y = py;
}

void Txt::setColour(int c) { colour = c; }

void Txt::printAt(BITMAP* dest, int col, int row) {
    textprintf_ex(dest, display::font, col * 8 + 1, row * 8 + 1, colour, -1, "%.*s", static_cast<int>(text.size()),
                  text.c_str());
}

void Txt::draw(int mode, BITMAP* dest) { drawAt(mode, dest, x, y); }

void Txt::drawAt(int mode, BITMAP* dest, int px, int py) {
    if (!_bmp) return;
    switch (mode) {
        case 1: draw_sprite(dest, _bmp->Get(), px, py); break;
        case 2: blit(_bmp->Get(), dest, 0, 0, px, py, width, height); break;
        case 3: break;
        default: std::printf("Txt drawAt: unknown mode %d\n", mode); break;
    }
}

int Txt::ReadKey() { return WaitForKey(); }

namespace {

// The working state of one getInput session.
struct LineEdit {
    std::string cur;
    int cursor = 0;
    int scroll = 0;
    int step = 0;
    bool changed = false;

    int Length() const { return static_cast<int>(cur.size()); }
    bool SpaceAt(int i) const { return i < Length() && cur[i] == ' '; }
};

void Home(LineEdit& e) { e.cursor = 0; }

void End(LineEdit& e) { e.cursor = e.Length(); }

void Delete(LineEdit& e) {
    if (e.cursor >= e.Length()) return;
    if (ShiftHeld())
        e.cur.erase(e.cursor);
    else
        e.cur.erase(e.cursor, 1);
    e.changed = true;
}

void Backspace(LineEdit& e) {
    if (e.Length() == 0 || e.cursor == 0) return;
    if (ShiftHeld()) {
        e.cur.erase(0, e.cursor);
        e.cursor = 0;
    } else {
        e.cur.erase(e.cursor - 1, 1);
        e.cursor--;
    }
    e.changed = true;
}

// Ends on the first character of the word left of the cursor, or at 0.
void WordLeft(LineEdit& e) {
    while (e.cursor > 0 && e.SpaceAt(e.cursor)) e.cursor--;
    while (e.cursor > 0) {
        if (e.SpaceAt(e.cursor)) {
            if (e.cursor + 1 < e.Length()) e.cursor++;
            return;
        }
        e.cursor--;
    }
}

// Ends on the space after the word right of the cursor, or at the end.
void WordRight(LineEdit& e) {
    while (e.cursor < e.Length() && e.SpaceAt(e.cursor)) e.cursor++;
    while (e.cursor < e.Length() && !e.SpaceAt(e.cursor)) e.cursor++;
}

void Left(LineEdit& e) {
    if (AltHeld()) {
        e.scroll += e.step;
    } else if (e.cursor > 0) {
        e.cursor--;
        if (e.cursor > 0 && CtrlHeld()) WordLeft(e);
    }
}

void Right(LineEdit& e) {
    if (AltHeld()) {
        e.scroll -= e.step;
    } else if (e.cursor < e.Length()) {
        e.cursor++;
        if (CtrlHeld()) WordRight(e);
    }
}

// The editing keys in the order they are tested; the first one held decides.
const struct {
    int key;
    void (*apply)(LineEdit&);
} kEditKeys[] = {
    {KEY_DEL, Delete}, {KEY_BACKSPACE, Backspace}, {KEY_LEFT, Left},
    {KEY_RIGHT, Right}, {KEY_HOME, Home},          {KEY_END, End},
};

// The editor's keys that act outside any text (the help screen, the status
// line, the palette strip, the onion skin, the preview, paging): a typed
// field neither inserts nor does anything with them.
bool IgnoredKey(int scancode) {
    if (CtrlHeld() && (scancode == KEY_O || scancode == KEY_P)) return true;
    return scancode == KEY_F1 || scancode == KEY_F2 || scancode == KEY_F3 || scancode == KEY_PGUP || scancode == KEY_PGDN;
}

// Applies the held editing key; false when none is held.
bool ApplyEditKey(LineEdit& e) {
    for (const auto& k : kEditKeys) {
        if (Held(k.key)) {
            k.apply(e);
            return true;
        }
    }
    // Alt with any other key stands for End, so Alt+letter inserts nothing.
    if (AltHeld()) {
        End(e);
        return true;
    }
    return false;
}

// Moves the view by half a strip at a time until the cursor is inside it.
void KeepCursorVisible(LineEdit& e, int cellW, int stripW) {
    while (cellW * e.cursor + e.scroll >= stripW) e.scroll -= stripW / 2;
    while (cellW * e.cursor + e.scroll < 0) e.scroll += stripW / 2;
}

}  // namespace

std::string Txt::getInput(int px, int py) {
    BITMAP* scr = display::screen;
    set_trans_blender(180, 180, 180, 180);
    int stripW = scr->w - px;
    // An empty text renders to a tiny image; the strip is still one line high
    // so that what the user types is not cut off.
    int stripH = text.empty() ? kLineH * scaleY : height;
    std::unique_ptr<Bmp> buf, back, leave;
    if (stripW >= 2 && stripH >= 1) {
        buf = Bmp::TryCreate(stripW, stripH, "txt getInput buf");
        back = Bmp::TryCreate(stripW, stripH, "txt getInput back");
        leave = Bmp::TryCreate(stripW, stripH, "txt getInput leave");
    }
    if (!buf || !back || !leave) {
        std::printf("Txt getInput: no room for an editing strip at (%d, %d)\n", px, py);
        return text.empty() ? " " : text;
    }
    blit(scr, back->Get(), px, py, 0, 0, stripW, stripH);

    LineEdit e;
    e.cur = text;
    std::string saved = text;
    e.cursor = e.Length();
    e.step = static_cast<int>(0.3 * stripW);
    clear_keybuf();
    display::timer->SetPeriod(10);

    // Background plus the text, shifted by the scroll, without the cursor.
    auto composeLeave = [&]() {
        blit(back->Get(), leave->Get(), 0, 0, 0, 0, stripW, stripH);
        drawAt(1, leave->Get(), e.scroll, 0);
    };

    bool keep = true;
    for (;;) {
        if (display::timer->Ready()) {
            KeepCursorVisible(e, cellW, stripW);
            composeLeave();
            blit(leave->Get(), buf->Get(), 0, 0, 0, 0, stripW, stripH);
            drawing_mode(DRAW_MODE_TRANS, nullptr, 0, 0);
            rectfill(buf->Get(), cellW * e.cursor + e.scroll + 2, 2, cellW * (e.cursor + 1) + e.scroll + 1, 2 * cellH,
                     makecol(255, 255, 255));
            drawing_mode(DRAW_MODE_SOLID, nullptr, 0, 0);
            blit(buf->Get(), scr, 0, 0, px, py, stripW, stripH);
        }
        int pressed = ReadKey();
        int ch = pressed & 0xff;
        if (StopRequested()) {
            keep = false;
            break;
        }
        if (Held(KEY_ENTER)) break;
        if (Held(KEY_ESC)) {
            keep = false;
            break;
        }
        if (IgnoredKey(pressed >> 8)) continue;
        e.changed = false;
        if (!ApplyEditKey(e)) {
            e.cur.insert(e.cur.begin() + e.cursor, static_cast<char>(ch));
            e.cursor++;
            e.changed = true;
        }
        if (e.changed) setText(e.cur);
    }

    // The strip is left showing the final text without the cursor, even when
    // keys came faster than the redraw and the last frame is stale.
    KeepCursorVisible(e, cellW, stripW);
    composeLeave();
    blit(leave->Get(), scr, 0, 0, px, py, stripW, stripH);
    if (!keep) setText(saved);
    clear_keybuf();
    return text.empty() ? " " : text;
}
