#include "sdl_picture.h"

#include <cstring>
#include <vector>

#include "bmp.h"

Uint32 GetSdlPixel(SDL_Surface* surface, int x, int y) {
    int bpp = surface->format->BytesPerPixel;
    const Uint8* p = static_cast<const Uint8*>(surface->pixels) + y * surface->pitch + x * bpp;
    switch (bpp) {
        case 1:
            return *p;
        case 2: {
            Uint16 v;
            std::memcpy(&v, p, 2);
            return v;
        }
        case 3:
            return p[0] | p[1] << 8 | p[2] << 16;
        case 4: {
            Uint32 v;
            std::memcpy(&v, p, 4);
            return v;
        }
        default:
            return 0;
    }
}

namespace {

// Writes one row of colours at a depth other than 32.
void WriteRow(BITMAP* dest, int y, const std::vector<int>& colours) {
    for (size_t x = 0; x < colours.size(); x++) putpixel(dest, static_cast<int>(x), y, colours[x]);
}

// A surface with eight bits per colour part and 3 or 4 bytes per pixel: the
// parts are shifted straight out of the raw value, with no call per pixel.
bool IsTrueColour(const SDL_PixelFormat* f) {
    return !f->palette && (f->BytesPerPixel == 3 || f->BytesPerPixel == 4) && f->Rloss == 0 &&
           f->Gloss == 0 && f->Bloss == 0;
}

// Reads 3 or 4 bytes per pixel straight from the row. At depth 32 the
// colour is put together inline from shifts held in locals, which the
// compiler may keep in registers (the stores to `out` could otherwise alias
// Allegro's global shifts): this path carries the big photographs.
template <int Bytes, bool Depth32>
void DecodeTrueColourRow(SDL_Surface* s, int y, int* out) {
    const SDL_PixelFormat* f = s->format;
    const int rs = f->Rshift, gs = f->Gshift, bs = f->Bshift;
    const int ars = _rgb_r_shift_32, ags = _rgb_g_shift_32, abs = _rgb_b_shift_32;
    const Uint8* p = static_cast<const Uint8*>(s->pixels) + y * s->pitch;
    const int w = s->w;
    for (int x = 0; x < w; x++, p += Bytes) {
        Uint32 v;
        if (Bytes == 4)
            std::memcpy(&v, p, 4);
        else
            v = p[0] | p[1] << 8 | p[2] << 16;
        int r = (v >> rs) & 0xff, g = (v >> gs) & 0xff, b = (v >> bs) & 0xff;
        out[x] = Depth32 ? (r << ars | g << ags | b << abs) : makecol(r, g, b);
    }
}

using RowDecoder = void (*)(SDL_Surface*, int, int*);

RowDecoder TrueColourDecoder(int bytes, bool depth32) {
    if (bytes == 4) return depth32 ? DecodeTrueColourRow<4, true> : DecodeTrueColourRow<4, false>;
    return depth32 ? DecodeTrueColourRow<3, true> : DecodeTrueColourRow<3, false>;
}

// Palette and greyscale pictures: one colour per palette index, made once.
std::vector<int> PaletteColours(const SDL_PixelFormat* f) {
    std::vector<int> colours(256);
    for (int i = 0; i < 256; i++) {
        Uint8 r, g, b;
        SDL_GetRGB(static_cast<Uint32>(i), const_cast<SDL_PixelFormat*>(f), &r, &g, &b);
        colours[i] = makecol(r, g, b);
    }
    return colours;
}

void DecodeIndexedRow(SDL_Surface* s, int y, const std::vector<int>& palette, int* row) {
    const Uint8* p = static_cast<const Uint8*>(s->pixels) + y * s->pitch;
    for (int x = 0; x < s->w; x++) row[x] = palette[p[x]];
}

void DecodeAnyRow(SDL_Surface* s, int y, int* row) {
    for (int x = 0; x < s->w; x++) {
        Uint8 r, g, b;
        SDL_GetRGB(GetSdlPixel(s, x, y), s->format, &r, &g, &b);
        row[x] = makecol(r, g, b);
    }
}

}  // namespace

// At depth 32 each row is decoded straight into the bitmap's own line.
BITMAP* BitmapFromSurface(SDL_Surface* s) {
    BITMAP* dest = Bmp::CreateChecked(s->w, s->h);
    if (!dest) return nullptr;
    bool depth32 = bitmap_color_depth(dest) == 32;
    std::vector<int> row(s->w);
    const SDL_PixelFormat* f = s->format;
    bool indexed = f->BytesPerPixel == 1 && f->palette;
    std::vector<int> palette = indexed ? PaletteColours(f) : std::vector<int>();
    RowDecoder trueColour = IsTrueColour(f) ? TrueColourDecoder(f->BytesPerPixel, depth32) : nullptr;
    SDL_LockSurface(s);
    for (int y = 0; y < s->h; y++) {
        int* out = depth32 ? reinterpret_cast<int*>(dest->line[y]) : row.data();
        if (trueColour)
            trueColour(s, y, out);
        else if (indexed)
            DecodeIndexedRow(s, y, palette, out);
        else
            DecodeAnyRow(s, y, out);
        if (!depth32) WriteRow(dest, y, row);
    }
    SDL_UnlockSurface(s);
    return dest;
}
