#include "overlay.h"

#include <algorithm>
#include <cstdio>

#include "../txt/txt.h"
#include "../txt/word_wrap.h"
#include "world.h"

Text::Text(World* w) : world(w) {}

void Text::SetLines(const std::vector<std::string>& l) { lines = l; }

void Text::ClearLines() { lines.clear(); }

// The editor's one text widget renders each line in turn, one widget height
// below the last, so lines follow the widget's scale; a line wider than
// `dest` goes on below, broken at a word boundary.
void Text::Draw(BITMAP* dest) {
    Txt* txt = world ? world->txt : nullptr;
    if (!txt) return;
    int y = 0;
    size_t fit = static_cast<size_t>(std::max(txt->CharsFitting(dest->w), 1));
    for (const std::string& line : lines) {
        for (const std::string& part : WrapWords(line, fit)) {
            txt->setText(part);
            txt->drawAt(1, dest, 0, y);
            y += txt->getHeight();
        }
    }
}

TextDraw::TextDraw(int tw, int th, const std::string& t) : w(tw), h(th), text(t) {}

void World::Message(const std::string& line) {
    std::printf("%s\n", line.c_str());
    if (text) text->SetLines({line});
}
