#include "area.h"

#include <algorithm>

Area Intersection(const Area& a, const Area& b) {
    int64_t l = std::max(a.x, b.x), t = std::max(a.y, b.y);
    int64_t r = std::min(a.Right(), b.Right()), bt = std::min(a.Bottom(), b.Bottom());
    if (r <= l || bt <= t) return {};
    return {l, t, r - l, bt - t};
}

Area Union(const Area& a, const Area& b) {
    if (a.Empty()) return b;
    if (b.Empty()) return a;
    int64_t l = std::min(a.x, b.x), t = std::min(a.y, b.y);
    return {l, t, std::max(a.Right(), b.Right()) - l, std::max(a.Bottom(), b.Bottom()) - t};
}
