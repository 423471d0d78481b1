#include "top_down_bmp.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// Where the signed 32-bit height sits in a BMP with a Windows info header.
const long kHeightAt = 22;

struct PatchedFile {
    std::FILE* f;
    long pos;
    uint8_t height[4];  // the height to show instead of the stored one
};

PatchedFile* Of(void* userdata) { return static_cast<PatchedFile*>(userdata); }

uint8_t Patched(const PatchedFile* p, long at, uint8_t stored) {
    return at >= kHeightAt && at < kHeightAt + 4 ? p->height[at - kHeightAt] : stored;
}

int Close(void*) { return 0; }

int GetC(void* userdata) {
    PatchedFile* p = Of(userdata);
    int c = std::fgetc(p->f);
    if (c == EOF) return EOF;
    return Patched(p, p->pos++, static_cast<uint8_t>(c));
}

int UngetC(int c, void* userdata) {
    PatchedFile* p = Of(userdata);
    if (std::ungetc(c, p->f) == EOF) return EOF;
    p->pos--;
    return c;
}

long Read(void* into, long n, void* userdata) {
    PatchedFile* p = Of(userdata);
    auto* bytes = static_cast<uint8_t*>(into);
    long got = static_cast<long>(std::fread(bytes, 1, static_cast<size_t>(n), p->f));
    for (long i = 0; i < got; i++) bytes[i] = Patched(p, p->pos + i, bytes[i]);
    p->pos += got;
    return got;
}

int PutC(int, void*) { return EOF; }
long Write(const void*, long, void*) { return 0; }

int Seek(void* userdata, int offset) {
    PatchedFile* p = Of(userdata);
    if (offset < 0 || std::fseek(p->f, offset, SEEK_CUR) != 0) return -1;
    p->pos += offset;
    return 0;
}

int Eof(void* userdata) { return std::feof(Of(userdata)->f); }
int Error(void* userdata) { return std::ferror(Of(userdata)->f); }

const PACKFILE_VTABLE kPatchedVtable = {Close, GetC, UngetC, Read, PutC, Write, Seek, Eof, Error};

int32_t StoredHeight(std::FILE* f) {
    uint8_t b[26];
    if (std::fread(b, 1, sizeof b, f) != sizeof b || b[0] != 'B' || b[1] != 'M') return 0;
    uint32_t infoSize = b[14] | b[15] << 8 | b[16] << 16 | static_cast<uint32_t>(b[17]) << 24;
    if (infoSize < 40) return 0;  // the old header's height has no sign
    uint32_t h = b[22] | b[23] << 8 | b[24] << 16 | static_cast<uint32_t>(b[25]) << 24;
    return static_cast<int32_t>(h);
}

void FlipRows(BITMAP* b) {
    size_t rowBytes = static_cast<size_t>(b->w) * static_cast<size_t>((bitmap_color_depth(b) + 7) / 8);
    std::vector<uint8_t> spare(rowBytes);
    for (int top = 0, bottom = b->h - 1; top < bottom; top++, bottom--) {
        std::memcpy(spare.data(), b->line[top], rowBytes);
        std::memcpy(b->line[top], b->line[bottom], rowBytes);
        std::memcpy(b->line[bottom], spare.data(), rowBytes);
    }
}

}  // namespace

bool IsTopDownBmp(const std::string& fileName) {
    std::FILE* f = std::fopen(fileName.c_str(), "rb");
    if (!f) return false;
    bool topDown = StoredHeight(f) < 0;
    std::fclose(f);
    return topDown;
}

BITMAP* LoadTopDownBmp(const std::string& fileName, RGB* pal) {
    std::FILE* f = std::fopen(fileName.c_str(), "rb");
    if (!f) return nullptr;
    int64_t height = -static_cast<int64_t>(StoredHeight(f));
    BITMAP* picture = nullptr;
    if (height > 0 && height <= INT32_MAX && std::fseek(f, 0, SEEK_SET) == 0) {
        PatchedFile patched = {f, 0, {}};
        for (int i = 0; i < 4; i++) patched.height[i] = static_cast<uint8_t>(height >> (8 * i));
        if (PACKFILE* pf = pack_fopen_vtable(&kPatchedVtable, &patched)) {
            picture = load_bmp_pf(pf, pal);
            pack_fclose(pf);
        }
    }
    std::fclose(f);
    if (picture) FlipRows(picture);
    return picture;
}
