#include "display.h"

namespace display {
BITMAP* screen = nullptr;
FONT* font = nullptr;
int maskColour = 0;
Timer* timer = nullptr;
}  // namespace display
