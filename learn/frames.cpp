#include "frames.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "overlay.h"

namespace {

const int kLastFrame = 999;

}  // namespace

// "%s%03d.tga" without a fixed-size buffer: the root may be any length.
std::string FrameFileName(const std::string& root, int pos) {
    char number[16];
    std::snprintf(number, sizeof number, "%03d", pos);
    return root + number + ".tga";
}

Files::Files(World* w, const std::string& r, int p) : root(r), filesPos(p), world(w) {}

std::string Files::Name() { return FrameFileName(root, filesPos); }

void Files::Step(int d) {
    // Widened so that a large step from a large stored number cannot overflow.
    long long next = static_cast<long long>(filesPos) + d;
    filesPos = static_cast<int>(std::min<long long>(std::max<long long>(next, 0), kLastFrame));
}

void Files::Announce(Text* overlay) { overlay->SetLines({"Files Select - \"" + Name() + "\""}); }
