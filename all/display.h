#pragma once
#include <allegro.h>

class Timer;

// The process-wide display objects. They live in their own namespace so they
// never clash with Allegro's globals of the same names.
namespace display {
extern BITMAP* screen;  // the display bitmap (a memory bitmap in unit tests)
extern FONT* font;      // Allegro's default 8x8 font
extern int maskColour;  // makecol(255, 0, 255), or 0 at depth 8
extern Timer* timer;    // the shared timer used by the text entry widget
}  // namespace display
