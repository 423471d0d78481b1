#pragma once
#include <allegro.h>

#include <string>

class Txt;

// The status line at the bottom of the screen. Rendering a text costs far
// more than drawing it, so the line keeps its rendered image and renders
// again only when the text differs from the one it shows.
class StatusLine {
public:
    StatusLine();
    virtual ~StatusLine();

    virtual void Draw(BITMAP* dest, const std::string& text);

    Txt* txt;
    std::string shown;
};
