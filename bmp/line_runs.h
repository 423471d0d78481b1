#pragma once
#include <vector>

#include "area.h"

// The pixels of the line from (x0, y0) to (x1, y1), both ends included, as
// horizontal runs in order from the first end. Each step along the longer
// axis rounds the other coordinate half away from zero, so the mirror image
// of a line's ends gives exactly the mirror image of its pixels.
std::vector<Area> LineRuns(int x0, int y0, int x1, int y1);
