#include "quantize.h"

#include <algorithm>
#include <array>

namespace {

const uint32_t kRgbMask = 0xFFFFFFu;
const int kRefineRounds = 4;

int Channel(uint32_t rgb, int c) { return static_cast<int>(rgb >> (16 - 8 * c)) & 0xFF; }

struct Weighted {
    uint32_t rgb;
    uint64_t count;
};

// The distinct colours of the pixels with how often each occurs, by colour.
std::vector<Weighted> Histogram(const uint32_t* pixels, size_t n) {
    std::unordered_map<uint32_t, uint64_t> counts;
    for (size_t i = 0; i < n; i++) counts[pixels[i] & kRgbMask]++;
    std::vector<Weighted> h;
    h.reserve(counts.size());
    for (const auto& kv : counts) h.push_back({kv.first, kv.second});
    std::sort(h.begin(), h.end(), [](const Weighted& a, const Weighted& b) { return a.rgb < b.rgb; });
    return h;
}

// A run [begin, end) of the histogram with its weighted sums per channel.
struct Box {
    size_t begin, end;
    double weight = 0, error = 0;
    std::array<double, 3> sum{}, sumSq{};
    int widest = 0;  // the channel of largest spread
};

Box Measure(const std::vector<Weighted>& h, size_t begin, size_t end) {
    Box b{begin, end};
    for (size_t i = begin; i < end; i++) {
        double w = static_cast<double>(h[i].count);
        b.weight += w;
        for (int c = 0; c < 3; c++) {
            double v = Channel(h[i].rgb, c);
            b.sum[c] += w * v;
            b.sumSq[c] += w * v * v;
        }
    }
    double best = -1;
    for (int c = 0; c < 3; c++) {
        double spread = b.sumSq[c] - b.sum[c] * b.sum[c] / b.weight;
        b.error += spread;
        if (spread > best) best = spread, b.widest = c;
    }
    return b;
}

uint32_t Mean(const std::array<double, 3>& sum, double weight) {
    uint32_t rgb = 0;
    for (int c = 0; c < 3; c++) rgb = rgb << 8 | static_cast<uint32_t>(std::min(255.0, sum[c] / weight + 0.5));
    return rgb;
}

// Cuts the box at the weighted median of its widest channel; both halves
// keep at least one colour.
std::pair<Box, Box> Split(std::vector<Weighted>& h, const Box& b) {
    int c = b.widest;
    std::sort(h.begin() + b.begin, h.begin() + b.end, [c](const Weighted& x, const Weighted& y) {
        int vx = Channel(x.rgb, c), vy = Channel(y.rgb, c);
        return vx != vy ? vx < vy : x.rgb < y.rgb;
    });
    double half = b.weight / 2, seen = 0;
    size_t cut = b.begin + 1;
    for (size_t i = b.begin; i + 1 < b.end; i++) {
        seen += static_cast<double>(h[i].count);
        cut = i + 1;
        if (seen >= half) break;
    }
    return {Measure(h, b.begin, cut), Measure(h, cut, b.end)};
}

std::vector<uint32_t> MedianCut(std::vector<Weighted>& h, int maxColours) {
    std::vector<Box> boxes{Measure(h, 0, h.size())};
    while (static_cast<int>(boxes.size()) < maxColours) {
        auto worst = boxes.end();
        for (auto it = boxes.begin(); it != boxes.end(); ++it)
            if (it->end - it->begin > 1 && (worst == boxes.end() || it->error > worst->error)) worst = it;
        if (worst == boxes.end()) break;
        auto halves = Split(h, *worst);
        *worst = halves.first;
        boxes.push_back(halves.second);
    }
    std::vector<uint32_t> palette;
    for (const Box& b : boxes) palette.push_back(Mean(b.sum, b.weight));
    return palette;
}

// Moves every entry to the weighted mean of the colours nearest to it; an
// entry that no colour chose stays where it is.
void Refine(const std::vector<Weighted>& h, std::vector<uint32_t>& palette) {
    for (int round = 0; round < kRefineRounds; round++) {
        std::vector<std::array<double, 3>> sums(palette.size(), std::array<double, 3>{});
        std::vector<double> weights(palette.size(), 0);
        NearestColour nearest(palette);
        for (const Weighted& w : h) {
            int i = nearest.Index(w.rgb);
            weights[i] += static_cast<double>(w.count);
            for (int c = 0; c < 3; c++) sums[i][c] += static_cast<double>(w.count) * Channel(w.rgb, c);
        }
        for (size_t i = 0; i < palette.size(); i++)
            if (weights[i] > 0) palette[i] = Mean(sums[i], weights[i]);
    }
}

}  // namespace

std::vector<uint32_t> QuantizePalette(const uint32_t* pixels, size_t n, int maxColours) {
    std::vector<Weighted> h = Histogram(pixels, n);
    if (h.empty() || maxColours < 1) return {};
    if (static_cast<int>(h.size()) <= maxColours) {
        std::vector<uint32_t> exact;
        for (const Weighted& w : h) exact.push_back(w.rgb);
        return exact;
    }
    std::vector<uint32_t> palette = MedianCut(h, maxColours);
    Refine(h, palette);
    return palette;
}

NearestColour::NearestColour(const std::vector<uint32_t>& palette) {
    for (size_t i = 0; i < palette.size(); i++)
        byRed.push_back({Channel(palette[i], 0), Channel(palette[i], 1), Channel(palette[i], 2), static_cast<int>(i)});
    std::sort(byRed.begin(), byRed.end(),
              [](const Entry& a, const Entry& b) { return a.r != b.r ? a.r < b.r : a.index < b.index; });
}

int NearestColour::Index(uint32_t rgb) {
    rgb &= kRgbMask;
    auto it = known.find(rgb);
    if (it != known.end()) return it->second;
    int i = Search(rgb);
    known.emplace(rgb, i);
    return i;
}

// Entries are sorted by red, so the search walks both ways from the query's
// red and stops on a side once the red difference alone exceeds the best.
int NearestColour::Search(uint32_t rgb) const {
    if (byRed.empty()) return 0;
    int r = Channel(rgb, 0), g = Channel(rgb, 1), b = Channel(rgb, 2);
    size_t start = std::lower_bound(byRed.begin(), byRed.end(), r, [](const Entry& e, int v) { return e.r < v; }) -
                   byRed.begin();
    int best = -1, bestDist = 0;
    auto consider = [&](const Entry& e) {
        int d = (e.r - r) * (e.r - r) + (e.g - g) * (e.g - g) + (e.b - b) * (e.b - b);
        if (best < 0 || d < bestDist || (d == bestDist && e.index < best)) best = e.index, bestDist = d;
    };
    for (size_t i = start; i < byRed.size(); i++) {
        if (best >= 0 && (byRed[i].r - r) * (byRed[i].r - r) > bestDist) break;
        consider(byRed[i]);
    }
    for (size_t i = start; i-- > 0;) {
        if (best >= 0 && (byRed[i].r - r) * (byRed[i].r - r) > bestDist) break;
        consider(byRed[i]);
    }
    return best;
}
