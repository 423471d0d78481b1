#include "bmp/flood_fill.h"

#include <algorithm>

FillMarks::FillMarks(int width, int height)
    : width(width), height(height), wordsPerRow((static_cast<size_t>(width) + 63) / 64),
      bits(wordsPerRow * height), left(width), top(height) {}

PixelRect FillMarks::Bounds() const {
    if (right < left) return {0, 0, 0, 0};
    return {left, top, right - left + 1, bottom - top + 1};
}

void FillMarks::MarkSpan(int y, int x0, int x1) {
    uint64_t* row = bits.data() + static_cast<size_t>(y) * wordsPerRow;
    int firstWord = x0 >> 6, lastWord = x1 >> 6;
    uint64_t firstBits = ~0ull << (x0 & 63), lastBits = ~0ull >> (63 - (x1 & 63));
    if (firstWord == lastWord) {
        row[firstWord] |= firstBits & lastBits;
    } else {
        row[firstWord] |= firstBits;
        std::fill(row + firstWord + 1, row + lastWord, ~0ull);
        row[lastWord] |= lastBits;
    }
    left = std::min(left, x0);
    right = std::max(right, x1);
    top = std::min(top, y);
    bottom = std::max(bottom, y);
    count += x1 - x0 + 1;
}

namespace {

// A marked run of one row whose rows above and below are still to be looked at.
struct Run {
    int y, x0, x1;
};

// The scanline fill: a run is marked whole as soon as it is found, then
// queued so the rows beside it are searched for open pixels that touch it.
// Nothing recurses; the queue holds at most `workLimit` runs and a run that
// does not fit only flags its row, which is swept for marked runs once the
// queue is empty.
template <int B>
class AreaMarker {
public:
    AreaMarker(const PixelGrid& p, FillMarks& marks, size_t workLimit)
        : p(p), marks(marks), workLimit(workLimit), flaggedRows(p.height) {}

    void Fill(int x, int y) {
        target = LoadPixel<B>(p.line[y] + x * B);
        MarkRunThrough(x, y);
        do Drain();
        while (SweepFlaggedRow());
    }

private:
    bool Open(int x, int y) const { return LoadPixel<B>(p.line[y] + x * B) == target && !marks.Test(x, y); }

    // Marks and queues the open run through (x, y); returns its right end.
    int MarkRunThrough(int x, int y) {
        int x0 = x, x1 = x;
        while (x0 > 0 && Open(x0 - 1, y)) x0--;
        while (x1 + 1 < p.width && Open(x1 + 1, y)) x1++;
        marks.MarkSpan(y, x0, x1);
        Queue({y, x0, x1});
        return x1;
    }

    void Queue(Run run) {
        if (work.size() < workLimit) {
            work.push_back(run);
        } else if (!flaggedRows[run.y]) {
            flaggedRows[run.y] = 1;
            flagged++;
        }
    }

    void SearchRow(int y, int x0, int x1) {
        for (int x = x0; x <= x1; x++)
            if (Open(x, y)) x = MarkRunThrough(x, y) + 1;
    }

    void SearchBeside(Run run) {
        if (run.y > 0) SearchRow(run.y - 1, run.x0, run.x1);
        if (run.y + 1 < p.height) SearchRow(run.y + 1, run.x0, run.x1);
    }

    void Drain() {
        while (!work.empty()) {
            Run run = work.back();
            work.pop_back();
            SearchBeside(run);
        }
    }

    // Searches beside every marked run of the next flagged row; false when
    // no row is flagged.
    bool SweepFlaggedRow() {
        if (flagged == 0) return false;
        while (!flaggedRows[sweepRow]) sweepRow = (sweepRow + 1) % p.height;
        flaggedRows[sweepRow] = 0;
        flagged--;
        PixelRect bounds = marks.Bounds();
        for (int x = bounds.x; x < bounds.x + bounds.w; x++) {
            if (!marks.Test(x, sweepRow)) continue;
            int x0 = x;
            while (x + 1 < bounds.x + bounds.w && marks.Test(x + 1, sweepRow)) x++;
            SearchBeside({sweepRow, x0, x});
        }
        return true;
    }

    const PixelGrid& p;
    FillMarks& marks;
    size_t workLimit;
    uint32_t target = 0;
    std::vector<Run> work;
    std::vector<unsigned char> flaggedRows;
    size_t flagged = 0;
    int sweepRow = 0;
};

// Enough for any area whose rows each hold a few runs at once, such as mazes
// and spirals; more only costs a row sweep.
size_t DefaultWorkLimit(const PixelGrid& p) { return 4 * (static_cast<size_t>(p.width) + p.height); }

template <int B>
void MarkRunsOf(const PixelGrid& p, uint32_t c, FillMarks& marks) {
    for (int y = 0; y < p.height; y++) {
        const unsigned char* row = p.line[y];
        for (int x = 0; x < p.width; x++) {
            if (LoadPixel<B>(row + x * B) != c) continue;
            int x0 = x;
            while (x + 1 < p.width && LoadPixel<B>(row + (x + 1) * B) == c) x++;
            marks.MarkSpan(y, x0, x);
        }
    }
}

template <int B>
void WriteMarkedRows(const PixelGrid& p, const FillMarks& marks, uint32_t c) {
    PixelRect r = marks.Bounds();
    for (int y = r.y; y < r.y + r.h; y++) {
        const uint64_t* bits = marks.Row(y);
        unsigned char* row = p.line[y];
        for (int word = r.x >> 6; word <= (r.x + r.w - 1) >> 6; word++) {
            int x0 = word * 64;
            if (bits[word] == ~0ull) {
                for (int x = x0; x < x0 + 64; x++) StorePixel<B>(row + x * B, c);
                continue;
            }
            for (uint64_t w = bits[word]; w; w &= w - 1) StorePixel<B>(row + (x0 + __builtin_ctzll(w)) * B, c);
        }
    }
}

}  // namespace

FillMarks MarkArea(const PixelGrid& p, int x, int y) { return MarkArea(p, x, y, DefaultWorkLimit(p)); }

FillMarks MarkArea(const PixelGrid& p, int x, int y, size_t workLimit) {
    if (!Contains(p, x, y)) return FillMarks();
    FillMarks marks(p.width, p.height);
    ForPixelSize(p.bytesPerPixel, [&](auto size) {
        AreaMarker<decltype(size)::value>(p, marks, workLimit).Fill(x, y);
    });
    return marks;
}

FillMarks MarkColour(const PixelGrid& p, uint32_t c) {
    FillMarks marks(p.width, p.height);
    ForPixelSize(p.bytesPerPixel, [&](auto size) { MarkRunsOf<decltype(size)::value>(p, c, marks); });
    return marks;
}

void WriteMarked(const PixelGrid& p, const FillMarks& marks, uint32_t c) {
    if (marks.Width() != p.width || marks.Height() != p.height) return;
    ForPixelSize(p.bytesPerPixel, [&](auto size) { WriteMarkedRows<decltype(size)::value>(p, marks, c); });
}
