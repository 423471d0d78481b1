#pragma once

class Bmp;

// The magnified view: a window of the composed picture, each of its pixels
// drawn as exactly mag x mag screen pixels over an area at the screen's
// top-left corner (the whole screen unless narrowed); the screen pixels
// left over at the area's right and bottom edges show the lens's grey.
class Lens {
public:
    Lens(int mag, int x, int y, int screenW, int screenH);
    virtual ~Lens();

    virtual void Zoom(int d);
    virtual void Fit();
    virtual void Pan(int dx, int dy);
    virtual void Show(Bmp* src, Bmp* dest);

    // The part of the screen the view covers, from its top-left corner.
    void SetArea(int w, int h);

    // The largest magnification that still leaves a window of 1x1 pixel.
    int MaxMag() const;
    // The window in picture pixels: the whole ones that fit the area.
    // The largest magnification at which a w x h canvas fits the screen
    // whole (at least 1).
    int FittingMag(int w, int h) const;
    // Moves the window the least that brings picture pixel (px, py) inside.
    void KeepInView(int px, int py);
    int ViewW() const;
    int ViewH() const;

    Bmp* view;
    int mag;
    int x, y;
    int areaW, areaH;
};
