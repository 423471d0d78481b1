// Ellipses inscribed in a box of any size, even sides included, as spans of
// rows. The outline is one pixel thin, so an outline drawn with XOR shows no
// doubled pixels, and the filled ellipse covers exactly the outline and what
// lies inside it.
#pragma once
#include <vector>

struct Span {
    int y, x0, x1;  // inclusive, relative to the box's top-left
};

// The outline of the ellipse inscribed in a w x h box; empty for w or h < 1.
// Spans are in row order, left to right, and never overlap.
std::vector<Span> EllipseOutline(int w, int h);
// The outline and its inside, one span per row.
std::vector<Span> EllipseFilled(int w, int h);
