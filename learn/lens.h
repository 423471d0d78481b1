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
    int ViewW() const;
    int ViewH() const;

    Bmp* view;
    int mag;
    int x, y;
    int screenW, screenH;
};
