#include "status_line.h"

#include <algorithm>
#include <vector>

#include "../all/display.h"
#include "../bmp/bmp.h"
#include "../txt/txt.h"
#include "compose.h"
#include "../txt/word_wrap.h"
#include "frames.h"
#include "key_recorder.h"
#include "layer.h"
#include "lens.h"
#include "palette_colours.h"
#include "pointer.h"
#include "world.h"

namespace {

std::string Rgb(int c) {
    return std::to_string(getr(c)) + "," + std::to_string(getg(c)) + "," + std::to_string(getb(c));
}

const char* MirrorWords(MirrorMode m) {
    switch (m) {
        case MirrorMode::Vertical: return "  mirror |";
        case MirrorMode::Horizontal: return "  mirror -";
        case MirrorMode::Both: return "  mirror +";
        default: return "";
    }
}

const char* RecorderState(int mode) {
    switch (mode) {
        case KeyMan::Recording: return "  REC";
        case KeyMan::Replaying: return "  PLAY";
        default: return "";
    }
}

}  // namespace

StatusLine::StatusLine() : txt(new Txt(0, 0, makecol(255, 180, 0), "")) {
    // Letters 8 pixels wide leave room for the longest line (some 110
    // characters) on a 1024-wide screen; bigger screens get bigger letters.
    scaleX = std::max(display::screen->w / 1024, 1);
    scaleY = std::max(display::screen->h / 768, 1);
    txt->setScale(scaleX, scaleY);
}

StatusLine::~StatusLine() { delete txt; }

void StatusLine::Draw(BITMAP* dest, const std::string& text) {
    if (text != shown) {
        size_t fit = static_cast<size_t>(std::max(txt->CharsFitting(dest->w), 1));
        std::vector<std::string> lines = WrapWords(text, fit, "  ");
        more.resize(lines.size() - 1);
        txt->setText(lines.back());
        for (size_t i = 0; i < more.size(); i++) {
            if (!more[i]) {
                more[i].reset(new Txt(0, 0, txt->getColour(), ""));
                more[i]->setScale(scaleX, scaleY);
            }
            more[i]->setText(lines[i]);
        }
        shown = text;
    }
    // The last part at the bottom, the earlier ones above it in order.
    int y = dest->h - txt->getHeight();
    txt->drawAt(1, dest, 0, y);
    for (size_t i = more.size(); i-- > 0;) {
        y -= more[i]->getHeight();
        more[i]->drawAt(1, dest, 0, y);
    }
}

std::string World::StatusText() {
    const Pointer& p = *pointer;
    std::string s = "P" + std::to_string(spointer) + " " + std::to_string(p.x) + "," + std::to_string(p.y);
    if (p.mode == 1) s += "  box " + std::to_string(p.w) + "x" + std::to_string(p.h);
    s += "  colour " + Rgb(ComposedColour(layers, p.x, p.y)) + "  pen " + Rgb(p.colour);
    if (auto swatch = palette.Find(RgbValue(p.colour))) s += " #" + std::to_string(*swatch);
    s += "  layer " + std::to_string(slayer) + " of " + std::to_string(layers.size());
    s += layer->mode == 0 ? ", opaque" : ", see-through";
    if (layer->hidden) s += ", hidden";
    s += "  " + std::to_string(layer->width) + "x" + std::to_string(layer->height);
    s += "  x" + std::to_string(lens->mag);
    s += "  frame " + std::to_string(files->filesPos);
    s += MirrorWords(mirrorMode);
    if (previewing) s += "  PREVIEW";
    return s + RecorderState(keyMan->mode);
}

void World::DrawStatusLine(BITMAP* dest) {
    if (!statusShown) return;
    if (!statusLine) statusLine = new StatusLine();
    statusLine->Draw(dest, StatusText());
}

void World::ToggleStatusLine() { statusShown = !statusShown; }
