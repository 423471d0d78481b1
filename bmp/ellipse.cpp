// The ellipse is drawn from one quarter, mirrored into the other three, so
// both axes are symmetric by construction. The quarter is a path of pixels
// from the top tip to the right tip, in grid steps counted from the centre
// column(s) and row(s): u steps right, v steps up. It joins two
// digitisations of the ideal curve, the nearest row in every column and the
// nearest column in every row, so that it has no gaps where the curve is
// steep or flat; then each pixel that only turns an L corner is dropped so no
// pixel touches more than two others.
//
// All decisions are exact integer comparisons in doubled coordinates, where
// the centre and both radii ((w-1)/2, (h-1)/2) are whole: a square box gives
// a path that is the same with u and v swapped, a circle (checked for every
// square up to 6000).
#include "bmp/ellipse.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

struct GridPoint {
    int u, v;
};

// One axis of the box in doubled coordinates: a pixel k steps from the
// centre lies at 2k + offset (offset 1 for an even side), the radius is
// side - 1 and the last step is `steps`.
struct Axis {
    int64_t radius;
    int offset;
    int steps;

    explicit Axis(int side) : radius(side - 1), offset(side % 2 == 0), steps((side - 1) / 2) {}
    int64_t At(int k) const { return 2 * k + offset; }
};

// Whether the pixel k steps along `along` is no more than half a pixel inside
// the curve at the position `at` of `across`: the boundary between step k-1
// and step k lies at or below the ideal curve there.
bool ReachesStep(const Axis& along, const Axis& across, int64_t at, int k) {
    int64_t boundary = along.At(k) - 1;
    if (boundary <= 0) return true;
    __int128 r2 = static_cast<__int128>(across.radius) * across.radius;
    __int128 lhs = static_cast<__int128>(boundary) * boundary * r2;
    __int128 rhs = static_cast<__int128>(along.radius) * along.radius * (r2 - static_cast<__int128>(at) * at);
    return lhs <= rhs;
}

// The step along `along` nearest to the ideal curve at `at` on `across`
// (halves round outwards).
int NearestStep(const Axis& along, const Axis& across, int64_t at) {
    double ratio = across.radius > 0 ? static_cast<double>(at) / across.radius : 0;
    double ideal = along.radius * std::sqrt(std::max(0.0, 1 - ratio * ratio));
    int k = std::clamp(static_cast<int>((ideal + 1 - along.offset) / 2), 0, along.steps);
    while (k < along.steps && ReachesStep(along, across, at, k + 1)) k++;
    while (k > 0 && !ReachesStep(along, across, at, k)) k--;
    return k;
}

// The nearest step in every position across, except that both tips are
// forced, and off the tips the path keeps one step clear of the far axis:
// a tip that lingered on the axis would be a spur or a 2x2 block.
std::vector<int> NearestSteps(const Axis& along, const Axis& across) {
    std::vector<int> steps(across.steps + 1);
    for (int k = 0; k <= across.steps; k++) {
        int step = k == 0 ? along.steps : NearestStep(along, across, across.At(k));
        if (k < across.steps && along.steps >= 1) step = std::max(step, 1);
        steps[k] = step;
    }
    return steps;
}

// Both digitisations as one path from the top tip to the right tip.
std::vector<GridPoint> JoinedPath(const Axis& horizontal, const Axis& vertical) {
    std::vector<GridPoint> path;
    std::vector<int> rowOfColumn = NearestSteps(vertical, horizontal);
    std::vector<int> columnOfRow = NearestSteps(horizontal, vertical);
    for (int u = 0; u <= horizontal.steps; u++) path.push_back({u, rowOfColumn[u]});
    for (int v = 0; v <= vertical.steps; v++) path.push_back({columnOfRow[v], v});
    std::sort(path.begin(), path.end(), [](GridPoint a, GridPoint b) { return a.u != b.u ? a.u < b.u : a.v > b.v; });
    path.erase(std::unique(path.begin(), path.end(), [](GridPoint a, GridPoint b) { return a.u == b.u && a.v == b.v; }),
               path.end());
    return path;
}

// Appends q to a thin path; a last pixel that would only turn an L corner
// (a step across followed by a step down, or the reverse) is dropped.
void AppendThin(std::vector<GridPoint>& path, GridPoint q) {
    size_t n = path.size();
    if (n >= 2 && q.u - path[n - 2].u == 1 && path[n - 2].v - q.v == 1) path.pop_back();
    path.push_back(q);
}

std::vector<GridPoint> Thinned(const std::vector<GridPoint>& path) {
    std::vector<GridPoint> thin;
    for (GridPoint q : path) AppendThin(thin, q);
    return thin;
}

// The quarter's leftmost and rightmost step in each row v.
struct RowExtent {
    int uLow, uHigh;
};

std::vector<RowExtent> QuarterRows(int w, int h) {
    Axis horizontal(w), vertical(h);
    std::vector<GridPoint> path = JoinedPath(horizontal, vertical);
    path = Thinned(path);
    std::vector<RowExtent> rows(vertical.steps + 1, RowExtent{horizontal.steps, 0});
    for (GridPoint q : path) {
        rows[q.v].uLow = std::min(rows[q.v].uLow, q.u);
        rows[q.v].uHigh = std::max(rows[q.v].uHigh, q.u);
    }
    return rows;
}

// Calls f(y, extent) for every row of the box, top to bottom, with the
// quarter's extent mirrored into it.
template <class F>
void ForEachRow(int w, int h, F f) {
    std::vector<RowExtent> rows = QuarterRows(w, h);
    int n = (h - 1) / 2;
    for (int y = 0; y < h; y++) f(y, rows[y <= n ? n - y : y - (h - 1 - n)]);
}

}  // namespace

std::vector<Span> EllipseOutline(int w, int h) {
    std::vector<Span> spans;
    if (w < 1 || h < 1) return spans;
    int m = (w - 1) / 2;
    auto right = [&](int u) { return w - 1 - m + u; };
    auto left = [&](int u) { return m - u; };
    ForEachRow(w, h, [&](int y, RowExtent e) {
        if (left(e.uLow) + 1 >= right(e.uLow)) {
            spans.push_back({y, left(e.uHigh), right(e.uHigh)});
        } else {
            spans.push_back({y, left(e.uHigh), left(e.uLow)});
            spans.push_back({y, right(e.uLow), right(e.uHigh)});
        }
    });
    return spans;
}

std::vector<Span> EllipseFilled(int w, int h) {
    std::vector<Span> spans;
    if (w < 1 || h < 1) return spans;
    int m = (w - 1) / 2;
    ForEachRow(w, h, [&](int y, RowExtent e) { spans.push_back({y, m - e.uHigh, w - 1 - m + e.uHigh}); });
    return spans;
}
