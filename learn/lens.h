#pragma once

class Bmp;

// The magnified view: a window of the composed picture stretched over the
// whole screen.
class Lens {
public:
    Lens(int mag, int x, int y, int screenW, int screenH);
    virtual ~Lens();

    virtual void Zoom(int d);
    virtual void Fit();
    virtual void Pan(int dx, int dy);
    virtual void Show(Bmp* src, Bmp* dest);

    // The largest magnification that still leaves a window of 1x1 pixel.
    int MaxMag() const;
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
    int screenW, screenH;
};
