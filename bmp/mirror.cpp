#include "mirror.h"

std::vector<Reflection> MirrorAxes::Images() const {
    switch (mode) {
        case MirrorMode::Vertical: return {{true, false}};
        case MirrorMode::Horizontal: return {{false, true}};
        case MirrorMode::Both: return {{true, false}, {false, true}, {true, true}};
        default: return {};
    }
}

Area MirrorAxes::Reflect(const Area& a, Reflection r) const {
    Area m = a;
    if (r.acrossX) m.x = sumX - (a.x + a.w - 1);
    if (r.acrossY) m.y = sumY - (a.y + a.h - 1);
    return m;
}

MirrorMode NextMirrorMode(MirrorMode m) { return static_cast<MirrorMode>((static_cast<int>(m) + 1) % 4); }
