// The document's digest: sixteen independent lanes over 64-bit words keep
// the multiplier busy (one lane alone waits for each product), so hashing
// runs at about the speed memory is read.
#include <cstring>
#include <vector>

#include "document_io.h"

namespace {

constexpr uint64_t kPrime = 0x9E3779B97F4A7C15ull;

// A bijection on 64 bits; the shift feeds high bits back into low ones,
// which the multiplication alone never does.
uint64_t Mix(uint64_t h) {
    h *= kPrime;
    return h ^ (h >> 32);
}

constexpr int kLanes = 16;

class Digest {
public:
    void Add(uint64_t v) { lane[0] = Mix(lane[0] ^ v); }

    void AddValues(const int32_t* v, int n) {
        int i = 0;
        for (; i + 2 * kLanes <= n; i += 2 * kLanes) {
            uint64_t w[kLanes];
            std::memcpy(w, v + i, sizeof w);
            for (int k = 0; k < kLanes; k++) lane[k] = Mix(lane[k] ^ w[k]);
        }
        for (; i < n; i++) Add(static_cast<uint32_t>(v[i]));
    }

    void AddRows(PixelRows& rows, std::vector<int32_t>& buffer) {
        Add(static_cast<uint64_t>(rows.Width()) << 32 | static_cast<uint32_t>(rows.Height()));
        buffer.resize(static_cast<size_t>(rows.Width()));
        for (int y = 0; y < rows.Height(); y++) {
            const int32_t* row = rows.DirectRow(y);
            if (!row) rows.GetRow(y, buffer.data()), row = buffer.data();
            AddValues(row, rows.Width());
        }
    }

    uint64_t Value() const {
        uint64_t h = 0;
        for (uint64_t l : lane) h = Mix(Mix(h ^ l) + 1);
        return h;
    }

private:
    uint64_t lane[kLanes] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
};

}  // namespace

uint64_t FingerprintDocument(Document& doc) {
    Digest d;
    std::vector<int32_t> buffer;
    d.Add(static_cast<uint32_t>(doc.version));
    d.Add(static_cast<uint64_t>(doc.width) << 32 | static_cast<uint32_t>(doc.height));
    d.Add(doc.layers.size());
    for (DocLayer& l : doc.layers) {
        d.Add(static_cast<uint32_t>(l.mode));
        d.AddRows(*l.pixels, buffer);
    }
    for (DocPointer& p : doc.pointers) {
        if (!p.brush) {
            d.Add(0);
            continue;
        }
        int w, h;
        PointerRecordSize(p, &w, &h);
        d.Add(static_cast<uint64_t>(w) << 32 | static_cast<uint32_t>(h));
        d.AddRows(*p.brush, buffer);
    }
    return d.Value();
}
