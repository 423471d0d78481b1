// Placeholder: the brush operations (grab, stamp, clear) come with drawing.
#include "../bmp/bmp.h"
#include "pointer.h"
#include "world.h"

void Pointer::Grab(Bmp* src) {}
void Pointer::GrabWhole(Bmp* src) {}
void Pointer::Stamp(int how, Bmp* dest) {}
void Pointer::ClearBox(Bmp* dest) {}
void Pointer::SetBrush(Bmp* b) {
    delete brush;
    brush = b;
}
