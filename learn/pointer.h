#pragma once
#include <allegro.h>

#include <vector>

#include "../bmp/area.h"

class Bmp;
class Layer;
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
    // The box of src becomes the brush; an empty box keeps the old one.
    virtual void Grab(const Layer& src);
    // The whole surface becomes the brush, and its size the box's.
    virtual void GrabWhole(Bmp* src);
    virtual void Move(int dx, int dy);
    // Pass 5 is the commit (drawn by the editor through its paint gate);
    // pass 6 draws the flickering cursor onto dest.
    virtual void Draw(int pass, BITMAP* dest);
    // What committing draws: the pixel, the line or the box outline, as
    // rectangles of the layer.
    virtual std::vector<Area> CommitShape() const;
    // Where the brush goes: the pointer's w x h box at the pointer.
    Area BrushBox() const { return {x, y, w, h}; }
    // The stored box (bx, by, w, h) that the box commands use.
    Area StoredBox() const { return {bx, by, w, h}; }

    // Takes ownership of the first brush of a new pointer (a document load);
    // replacing a brush is a step of the history (World::ReplaceBrush).
    virtual void SetBrush(Bmp* b);

    int x = 0, y = 0;
    int lineX = 0, lineY = 0;
    int bx = 0, by = 0;
    int w = 0, h = 0;
    int grabX = 0, grabY = 0, grabW = 0, grabH = 0;
    int colour = 0;
    // The second colour: X swaps it with the pen, Shift+Space draws with it.
    int second = 0;
    int wc = 0;
    int jx = 0, jy = 0;
    int layer = 0;
    int mode = 0;
    bool moveBox = false;
    bool showCursor = false;
    Bmp* brush = nullptr;
    World* world = nullptr;
};
