#pragma once
#include <allegro.h>

#include "bmp/bmp.h"
#include "learn/layer.h"

// Tests and benchmarks set up and read pictures directly, past the paint
// gate: what a command changes is then checked against what the gate was
// told.
struct LayerTestAccess {
    static BITMAP* Bitmap(const Layer& l) { return l.bmp->GetBitmap(); }
};
inline BITMAP* LayerBitmap(const Layer* l) { return LayerTestAccess::Bitmap(*l); }
