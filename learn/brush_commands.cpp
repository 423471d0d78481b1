// Replacing the pointer's brush as a step of the history, and the brush
// turns: flips left to right and top to bottom, quarter turns either way.
#include <memory>

#include "../bmp/bitmap_grid.h"
#include "../bmp/bmp.h"
#include "../bmp/brush_turns.h"
#include "history.h"
#include "pointer.h"
#include "world.h"

void World::ReplaceBrush(Pointer& p, std::unique_ptr<Bmp> brush, int w, int h) {
    auto at = std::find(pointers.begin(), pointers.end(), &p);
    std::unique_ptr<Bmp> old(p.brush);
    p.brush = brush.release();
    int oldW = p.w, oldH = p.h;
    p.w = w;
    p.h = h;
    if (at != pointers.end()) history->BrushReplaced(static_cast<int>(at - pointers.begin()), std::move(old), oldW, oldH);
}

namespace {

struct TurnRule {
    BrushTurn turn;
    bool swapsSides;
    void (*apply)(const PixelGrid& from, const PixelGrid& to);
};

void CopyThenFlipLeftRight(const PixelGrid& from, const PixelGrid& to) {
    for (int y = 0; y < from.height; y++)
        std::copy(from.line[y], from.line[y] + from.width * from.bytesPerPixel, to.line[y]);
    FlipLeftRight(to);
}

void CopyThenFlipTopBottom(const PixelGrid& from, const PixelGrid& to) {
    for (int y = 0; y < from.height; y++)
        std::copy(from.line[y], from.line[y] + from.width * from.bytesPerPixel, to.line[y]);
    FlipTopBottom(to);
}

const TurnRule kTurns[] = {
    {BrushTurn::FlipLeftRight, false, CopyThenFlipLeftRight},
    {BrushTurn::FlipTopBottom, false, CopyThenFlipTopBottom},
    {BrushTurn::Clockwise, true, TurnClockwise},
    {BrushTurn::Anticlockwise, true, TurnAnticlockwise},
};

}  // namespace

// A quarter turn swaps the box's sides with the brush's, so the whole brush
// stays in "Vell.zub", which stores a brush at its box's size.
void World::TurnBrush(BrushTurn turn) {
    Pointer& p = *pointer;
    if (!p.brush) return;
    const TurnRule& rule = *std::find_if(std::begin(kTurns), std::end(kTurns), [turn](const TurnRule& r) { return r.turn == turn; });
    BITMAP* from = p.brush->GetBitmap();
    int w = rule.swapsSides ? from->h : from->w, h = rule.swapsSides ? from->w : from->h;
    std::unique_ptr<Bmp> fresh = Bmp::TryCreate(w, h, "_bmp");
    if (!fresh) return;
    rule.apply(GridOf(from), GridOf(fresh->GetBitmap()));
    ReplaceBrush(p, std::move(fresh), rule.swapsSides ? p.h : p.w, rule.swapsSides ? p.w : p.h);
}
