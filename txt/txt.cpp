// Placeholder: the text widget's rendering and editing.
#include "txt.h"

#include "../bmp/bmp.h"

Txt::Txt(int px, int py, int c, const std::string& t) : text(t), x(px), y(py), colour(c) {}
Txt::~Txt() { delete _bmp; }
void Txt::setScale(int sx, int sy) {
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
std::string Txt::getInput(int px, int py) { return text.empty() ? " " : text; }
void Txt::render() {}
void Txt::setText(const std::string& s) {
    text = s;
    render();
}
void Txt::setPos(int px, int py) {
    x = px;
    y = py;
}
void Txt::setColour(int c) { colour = c; }
void Txt::printAt(BITMAP* dest, int col, int row) {}
void Txt::draw(int mode, BITMAP* dest) { drawAt(mode, dest, x, y); }
void Txt::drawAt(int mode, BITMAP* dest, int px, int py) {}
