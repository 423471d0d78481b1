#pragma once
#include <allegro.h>

#include <string>

class Bmp;

// The text widget: an outlined label rendered into an image, and a modal
// one-line editor (getInput).
class Txt {
public:
    Txt(int x, int y, int colour, const std::string& text);
    virtual ~Txt();

    virtual void setScale(int sx, int sy);
    virtual int getColour();
    virtual int getWidth();
    virtual int getHeight();
    virtual std::string input();
    virtual Bmp* getBmp();
    virtual std::string getInput(int x, int y);
    virtual void render();
    virtual void setText(const std::string& s);
    virtual void setPos(int x, int y);
    virtual void setColour(int c);
    virtual void printAt(BITMAP* dest, int col, int row);
    virtual void draw(int mode, BITMAP* dest);
    virtual void drawAt(int mode, BITMAP* dest, int x, int y);

    const std::string& getText() const { return text; }
    // How many characters of text fit in `pixels` at the current scale.
    int CharsFitting(int pixels) const { return (pixels / scaleX - 2) / 8; }

protected:
    // Reads one key for getInput; tests override it to script the held keys
    // and the character of each press.
    virtual int ReadKey();

    Bmp* _bmp = nullptr;
    std::string text;
    int x = 0, y = 0;
    int colour = 0;
    int width = 0, height = 0;
    int scaleX = 1, scaleY = 1;
    int cellW = 8, cellH = 8;
};
