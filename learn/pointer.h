#pragma once
#include <allegro.h>

class Bmp;
class World;

int RandomColour();

// A keyboard drawing pointer: position, box, line anchor, pen colour, jump
// steps, brush and the index of its layer.
class Pointer {
public:
    Pointer();
    virtual ~Pointer();

    virtual void Setup(World* world, int layer, int x, int y, int bx, int by, int w, int h, int jx,
                       int jy, int c, int cw, int mode);
    virtual void StartBox();
    virtual void ResumeBox();
    virtual void Grab(Bmp* src);
    virtual void GrabWhole(Bmp* src);
    virtual void Stamp(int how, Bmp* dest);
    virtual void ClearBox(Bmp* dest);
    virtual void Move(int dx, int dy);
    virtual void Draw(int pass, BITMAP* dest);
    // Tells the history what committing the current shape onto dest is
    // about to change.
    virtual void ReportShape(Bmp* dest);

    // Takes ownership of a brush (document loading); the old one is deleted.
    virtual void SetBrush(Bmp* b);

    int x = 0, y = 0;
    int lineX = 0, lineY = 0;
    int bx = 0, by = 0;
    int w = 0, h = 0;
    int grabX = 0, grabY = 0, grabW = 0, grabH = 0;
    int colour = 0;
    int wc = 0;
    int jx = 0, jy = 0;
    int layer = 0;
    int mode = 0;
    bool moveBox = false;
    bool showCursor = false;
    Bmp* brush = nullptr;
    // Counts the brushes set, so an autosave knows the document changed.
    unsigned long brushChanges = 0;
    World* world = nullptr;
};
