#include "overlay.h"

#include <cstdio>

#include "../txt/txt.h"
#include "world.h"

Text::Text(World* w) : world(w) {}

void Text::SetLines(const std::vector<std::string>& l) { lines = l; }

void Text::ClearLines() { lines.clear(); }

// The editor's one text widget renders each line in turn; a line's top is
// its index times the widget's height, so lines follow the widget's scale.
void Text::Draw(BITMAP* dest) {
    Txt* txt = world ? world->txt : nullptr;
    if (!txt) return;
    for (size_t i = 0; i < lines.size(); i++) {
        txt->setText(lines[i]);
        txt->drawAt(1, dest, 0, static_cast<int>(i) * txt->getHeight());
    }
}

TextDraw::TextDraw(int tw, int th, const std::string& t) : w(tw), h(th), text(t) {}

void World::Message(const std::string& line) {
    std::printf("%s\n", line.c_str());
    if (text) text->SetLines({line});
}
