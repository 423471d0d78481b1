#include "line_runs.h"

#include <cstdint>
#include <cstdlib>

namespace {

// n * num / den rounded half away from zero (den > 0).
int64_t RoundedRatio(int64_t n, int64_t num, int64_t den) {
    int64_t p = n * num;
    int64_t q = (std::llabs(p) * 2 + den) / (2 * den);
    return p < 0 ? -q : q;
}

}  // namespace

std::vector<Area> LineRuns(int x0, int y0, int x1, int y1) {
    int64_t dx = int64_t{x1} - x0, dy = int64_t{y1} - y0;
    std::vector<Area> runs;
    if (std::llabs(dx) >= std::llabs(dy)) {
        int64_t n = std::llabs(dx), sx = dx < 0 ? -1 : 1;
        for (int64_t i = 0; i <= n; i++) {
            int64_t x = x0 + sx * i, y = y0 + (n ? RoundedRatio(i, dy, n) : 0);
            // Steps along x on the same row grow the last run, leftwards
            // too when the line runs right to left.
            if (!runs.empty() && runs.back().y == y) {
                Area& last = runs.back();
                if (sx < 0) last.x = x;
                last.w++;
            } else {
                runs.push_back({x, y, 1, 1});
            }
        }
    } else {
        int64_t n = std::llabs(dy), sy = dy < 0 ? -1 : 1;
        for (int64_t i = 0; i <= n; i++) runs.push_back({x0 + RoundedRatio(i, dx, n), y0 + sy * i, 1, 1});
    }
    return runs;
}
