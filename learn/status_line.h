#pragma once
#include <allegro.h>

#include <memory>
#include <string>
#include <vector>

class Txt;

// The status line at the bottom of the screen; a text wider than the screen
// takes more lines above the last, broken between words. Rendering a text
// costs far more than drawing it, so the line keeps its rendered images and
// renders again only when the text differs from the one it shows.
class StatusLine {
public:
    StatusLine();
    virtual ~StatusLine();

    virtual void Draw(BITMAP* dest, const std::string& text);

    Txt* txt;
    std::string shown;
    // One widget per line after the first (txt shows the first).
    std::vector<std::unique_ptr<Txt>> more;
    int scaleX = 1, scaleY = 1;
};
