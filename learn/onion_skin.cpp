#include "onion_skin.h"

#include <algorithm>
#include <climits>

#include "frames.h"
#include "overlay.h"
#include "world.h"

namespace {

// The channels a tint keeps; the others are halved.
struct Tint {
    bool r, g, b;
};

const Tint kPreviousTint = {true, false, false};
const Tint kNextTint = {false, false, true};

int Halved(int v, bool keep) { return keep ? v : v / 2; }

// Every pixel as a plain colour value (a loader may leave an alpha byte in
// it); tinted, the channels the tint does not keep are halved, so black
// stays black and only what was drawn takes the tint's colour. Mask-coloured
// pixels stay the mask colour, which the translucent draw skips: see-through
// parts of a frame show nothing. A tint halves red or blue, so no tinted
// pixel becomes the mask colour.
void Prepare(BITMAP* b, const Tint* tint) {
    const int mask = bitmap_mask_color(b);
    for (int y = 0; y < b->h; y++) {
        for (int x = 0; x < b->w; x++) {
            int c = getpixel(b, x, y);
            int r = getr(c), g = getg(c), bl = getb(c);
            if (r == 255 && g == 0 && bl == 255) {
                putpixel(b, x, y, mask);
                continue;
            }
            if (tint) r = Halved(r, tint->r), g = Halved(g, tint->g), bl = Halved(bl, tint->b);
            putpixel(b, x, y, makecol(r, g, bl));
        }
    }
}

// n in 64 bits: the frame number comes from the settings file and may be
// any int.
void DrawFrame(BITMAP* dest, CachedPicture& cache, const std::string& root, long long n, const Tint* tint,
               int alpha, int x, int y) {
    if (n < 0 || n > INT_MAX) return;
    BITMAP* frame = cache.Get(FrameFileName(root, static_cast<int>(n)), [tint](BITMAP* b) { Prepare(b, tint); });
    if (!frame) return;
    // Other drawing (the forms, the help screen) leaves its own blender set.
    set_trans_blender(0, 0, 0, alpha);
    draw_trans_sprite(dest, frame, x, y);
}

}  // namespace

void OnionSkin::Cycle() {
    mode = (mode + 1) % 3;
    version++;
}

void OnionSkin::Sanitize() {
    if (mode < Off || mode > Both) mode = Off;
    opacity = std::clamp(opacity, 0, 100);
}

std::string OnionSkin::Words() const {
    switch (mode) {
        case Previous: return "Onion skin: the previous frame";
        case Both: return "Onion skin: the previous and the next frame";
        default: return "Onion skin: off";
    }
}

void OnionSkin::Draw(BITMAP* dest, const std::string& root, int pos, int x, int y) {
    if (mode == Off || opacity <= 0) return;
    if (tint != preparedTint) {
        previous.Forget();
        next.Forget();
        preparedTint = tint;
    }
    int alpha = opacity * 255 / 100;
    DrawFrame(dest, previous, root, pos - 1LL, tint ? &kPreviousTint : nullptr, alpha, x, y);
    if (mode == Both) DrawFrame(dest, next, root, pos + 1LL, tint ? &kNextTint : nullptr, alpha, x, y);
}

void World::CycleOnionSkin() {
    onion.Cycle();
    Message(onion.Words());
}
