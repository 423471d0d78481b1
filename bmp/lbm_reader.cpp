#include "lbm_reader.h"

#include <algorithm>
#include <cstring>

namespace {

uint32_t Be16(const uint8_t* b) { return static_cast<uint32_t>(b[0]) << 8 | b[1]; }
uint32_t Be32(const uint8_t* b) { return Be16(b) << 16 | Be16(b + 2); }

bool ReadExactly(std::FILE* f, uint8_t* into, size_t n) { return std::fread(into, 1, n, f) == n; }

int64_t FileLength(std::FILE* f) {
    if (std::fseek(f, 0, SEEK_END) != 0) return -1;
    long end = std::ftell(f);
    return std::fseek(f, 0, SEEK_SET) == 0 ? end : -1;
}

bool ReadBitmapHeader(const uint8_t* b, LbmHeader& h, std::string& why) {
    h.w = static_cast<int>(Be16(b));
    h.h = static_cast<int>(Be16(b + 2));
    h.planes = b[8];
    int masking = b[9];
    h.compression = b[10];
    h.maskPlane = masking == 1;
    if (h.w < 1 || h.h < 1) why = "an empty picture";
    else if (h.planes < 1 || h.planes > 8) why = "only 1 to 8 bit planes are read";
    else if (h.compression > 1) why = "unknown compression " + std::to_string(h.compression);
    else if (masking > 3) why = "unknown masking " + std::to_string(masking);
    else if (h.chunky && h.maskPlane) why = "a mask plane in a chunky picture";
    return why.empty();
}

bool ReadPalette(std::FILE* f, uint32_t length, LbmHeader& h, std::string& why) {
    if (length / 3 > 256) {
        why = "a palette of more than 256 colours";
        return false;
    }
    h.palette.resize(length / 3 * 3);
    if (!ReadExactly(f, h.palette.data(), h.palette.size())) {
        why = "the palette is cut short";
        return false;
    }
    return true;
}

// Bytes of one stored row of one plane (planar rows are padded to 16 bits),
// or of the whole row in the chunky layout (padded to an even length).
int64_t PlaneRowBytes(const LbmHeader& h) {
    return h.chunky ? h.w + (h.w & 1) : (static_cast<int64_t>(h.w) + 15) / 16 * 2;
}

int PlaneRowsPerRow(const LbmHeader& h) { return h.chunky ? 1 : h.planes + (h.maskPlane ? 1 : 0); }

// A small BODY cannot describe a large picture: a byte run of 2 bytes gives
// at most 128, so the check needs no decoding.
bool BodyCanHoldPicture(const LbmHeader& h) {
    int64_t rowBytes = PlaneRowBytes(h) * PlaneRowsPerRow(h);
    int64_t perByte = h.compression == 1 ? 64 : 1;
    return rowBytes * h.h <= h.bodyBytes * perByte;
}

bool WalkChunks(std::FILE* f, int64_t end, LbmHeader& h, std::string& why) {
    bool haveHeader = false, haveBody = false;
    uint8_t chunk[8];
    for (int64_t at = 12; at + 8 <= end; ) {
        if (std::fseek(f, static_cast<long>(at), SEEK_SET) != 0 || !ReadExactly(f, chunk, 8)) break;
        uint32_t length = Be32(chunk + 4);
        if (length > end - at - 8) {
            why = "a chunk runs past the end of the file";
            return false;
        }
        if (std::memcmp(chunk, "BMHD", 4) == 0) {
            uint8_t b[20];
            if (length < 20 || !ReadExactly(f, b, 20)) {
                why = "the bitmap header is cut short";
                return false;
            }
            if (!ReadBitmapHeader(b, h, why)) return false;
            haveHeader = true;
        } else if (std::memcmp(chunk, "CMAP", 4) == 0) {
            if (!ReadPalette(f, length, h, why)) return false;
        } else if (std::memcmp(chunk, "BODY", 4) == 0 && !haveBody) {
            h.body = static_cast<long>(at + 8);
            h.bodyBytes = length;
            haveBody = true;
        }
        at += 8 + int64_t{length} + (length & 1);
    }
    if (!haveHeader || !haveBody) why = haveHeader ? "no BODY chunk" : "no bitmap header";
    else if (!BodyCanHoldPicture(h)) why = "the pixel data is cut short";
    return why.empty();
}

// Reads one stored row of `n` bytes from the BODY, unpacking byte runs. A run
// may not cross the end of its row.
class BodyReader {
public:
    BodyReader(std::FILE* f, int64_t bytes, int compression) : f(f), left(bytes), packed(compression == 1) {}

    bool Row(uint8_t* out, int64_t n, std::string& why) {
        if (!packed) return Take(out, n, why);
        for (int64_t x = 0; x < n;) {
            uint8_t code;
            if (!Take(&code, 1, why)) return false;
            if (code == 128) continue;  // a no-op code
            int count = code < 128 ? code + 1 : 257 - code;
            if (x + count > n) {
                why = "a run goes past the end of its row";
                return false;
            }
            if (code < 128) {
                if (!Take(out + x, count, why)) return false;
            } else {
                uint8_t value;
                if (!Take(&value, 1, why)) return false;
                std::memset(out + x, value, static_cast<size_t>(count));
            }
            x += count;
        }
        return true;
    }

private:
    bool Take(uint8_t* into, int64_t n, std::string& why) {
        if (n > left || !ReadExactly(f, into, static_cast<size_t>(n))) {
            why = "the pixel data is cut short";
            return false;
        }
        left -= n;
        return true;
    }

    std::FILE* f;
    int64_t left;
    bool packed;
};

// Gathers bit x of every plane row into the colour index of pixel x.
void PlanesToIndices(const std::vector<uint8_t>& planes, int64_t planeBytes, const LbmHeader& h, uint8_t* out) {
    for (int x = 0; x < h.w; x++) {
        int index = 0, shift = 7 - (x & 7);
        for (int p = 0; p < h.planes; p++) index |= ((planes[p * planeBytes + x / 8] >> shift) & 1) << p;
        out[x] = static_cast<uint8_t>(index);
    }
}

}  // namespace

bool ReadLbmHeader(std::FILE* f, LbmHeader& header, std::string& why) {
    header = LbmHeader();
    why.clear();
    uint8_t form[12];
    int64_t length = FileLength(f);
    if (length < 12 || !ReadExactly(f, form, 12) || std::memcmp(form, "FORM", 4) != 0) {
        why = "not an IFF file";
        return false;
    }
    header.chunky = std::memcmp(form + 8, "PBM ", 4) == 0;
    if (!header.chunky && std::memcmp(form + 8, "ILBM", 4) != 0) {
        why = "an IFF file that is not a picture";
        return false;
    }
    // Chunks past the form's own length are not part of the picture.
    int64_t end = std::min<int64_t>(length, 8 + int64_t{Be32(form + 4)});
    return WalkChunks(f, end, header, why);
}

bool DecodeLbmRows(std::FILE* f, const LbmHeader& h, const LbmRowSink& row, std::string& why) {
    if (std::fseek(f, h.body, SEEK_SET) != 0) {
        why = "the pixel data can't be read";
        return false;
    }
    BodyReader body(f, h.bodyBytes, h.compression);
    int64_t planeBytes = PlaneRowBytes(h);
    int planeRows = PlaneRowsPerRow(h);
    std::vector<uint8_t> stored(static_cast<size_t>(planeBytes * planeRows));
    std::vector<uint8_t> indices(static_cast<size_t>(h.w));
    for (int y = 0; y < h.h; y++) {
        for (int p = 0; p < planeRows; p++)
            if (!body.Row(stored.data() + p * planeBytes, planeBytes, why)) return false;
        if (h.chunky)
            std::memcpy(indices.data(), stored.data(), indices.size());
        else
            PlanesToIndices(stored, planeBytes, h, indices.data());
        row(y, indices.data());
    }
    return true;
}
