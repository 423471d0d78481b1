#include "overlay.h"

#include <cstdio>

#include "world.h"

Text::Text(World* w) : world(w) {}

void Text::SetLines(const std::vector<std::string>& l) { lines = l; }

void Text::ClearLines() { lines.clear(); }

// Placeholder: the lines are drawn once the text widget lands.
void Text::Draw(BITMAP* dest) {}

TextDraw::TextDraw(int tw, int th, const std::string& t) : w(tw), h(th), text(t) {}

void World::Message(const std::string& line) {
    std::printf("%s\n", line.c_str());
    text->SetLines({line});
}
