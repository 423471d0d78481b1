#pragma once
#include <allegro.h>

#include <string>

#include "../bmp/frame_cache.h"

// The frame files before and after the current frame number, drawn
// translucent over the view so the next drawing can follow the last: the
// previous one tinted red, the next one blue. Only the screen shows them;
// nothing of them reaches a layer or a file. Kept in "vell.cfg" (section
// "Onion": mode, opacity in percent, tint 0/1).
class OnionSkin {
public:
    enum Mode { Off = 0, Previous = 1, Both = 2 };
    static constexpr int kDefaultOpacity = 35;

    // Ctrl+O: off, the previous frame, the previous and the next, off.
    void Cycle();
    // Brings values read from the settings file into range.
    void Sanitize();
    // What Ctrl+O's message says of the mode.
    std::string Words() const;
    // Draws the frame files of numbers pos - 1 (and pos + 1) of `root` onto
    // dest with their top left at (x, y), inside dest's clip rectangle. A
    // missing or unreadable file draws nothing.
    void Draw(BITMAP* dest, const std::string& root, int pos, int x, int y);
    // Moves with every change of the mode, so that an autosave keeps it.
    unsigned long Version() const { return version; }
    // How many times a frame file was decoded.
    int Reads() const { return previous.Reads() + next.Reads(); }

    int mode = Off;
    int opacity = kDefaultOpacity;
    bool tint = true;

private:
    CachedPicture previous, next;
    // The tint the cached pictures were prepared with.
    bool preparedTint = true;
    unsigned long version = 0;
};
