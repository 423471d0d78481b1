#include "bmp.h"

#include <cstdio>
#include <cstring>

#include "../all/display.h"
#include "../fileio/safe_file.h"
#include "load_pic.h"
#include "png_writer.h"
#include "rgb_pixels.h"
#include "stream_packfile.h"
#include "surface_size.h"
#include "tga_file.h"

namespace {

// Allegro's writers by the extension they write; PNG goes through libpng.
struct Writer {
    const char* ext;
    int (*save)(PACKFILE*, BITMAP*, const RGB*);
};
const Writer kWriters[] = {{".bmp", save_bmp_pf}, {".pcx", save_pcx_pf}, {".tga", save_tga_pf}};

const Writer* WriterFor(const std::string& ext) {
    for (const Writer& w : kWriters)
        if (ext == w.ext) return &w;
    return nullptr;
}

}  // namespace

int Bmp::NextId() {
    static int counter = 0;
    return counter++;
}

BITMAP* Bmp::CreateChecked(int w, int h) {
    if (!SurfaceSizeAllowed(w, h)) return nullptr;
    return create_bitmap(w, h);
}

Bmp::Bmp(int w, int h, const std::string& label) : id(NextId()), name(label) {
    std::memset(pal, 255, sizeof(pal));
    BITMAP* b = CreateChecked(w, h);
    if (!b) {
        std::printf("Bmp '%s': a %dx%d surface cannot be allocated, using 1x1\n", label.c_str(), w, h);
        b = create_bitmap(1, 1);
    }
    clear_to_color(b, 0);
    Adopt(b);
    Prepare();
}

Bmp::Bmp(int newId, const std::string& label, bool) : id(newId), name(label) {
    std::memset(pal, 255, sizeof(pal));
}

Bmp::Bmp(const std::string& fileName) : Bmp(NextId(), fileName, true) {
    if (display::screen) {
        x = display::screen->w / 2;
        y = display::screen->h / 2;
    }
    LoadPic(fileName);
    Prepare();
}

std::unique_ptr<Bmp> Bmp::TryCreate(int w, int h, const std::string& label) {
    // The bitmap is allocated first, so that a refusal or a shortage of
    // memory gives null quietly, without the blank constructor's fallback
    // and its console line: the caller reports the failure its own way.
    BITMAP* b = CreateChecked(w, h);
    if (!b) return nullptr;
    clear_to_color(b, 0);
    std::unique_ptr<Bmp> made(new Bmp(NextId(), label, true));
    made->Adopt(b);
    made->Prepare();
    return made;
}

Bmp::~Bmp() {
    Release();
    if (bitmap) destroy_bitmap(bitmap);
}

void Bmp::Adopt(BITMAP* b) {
    if (bitmap && bitmap != b) destroy_bitmap(bitmap);
    bitmap = b;
    w = b ? b->w : 0;
    h = b ? b->h : 0;
}

BITMAP* Bmp::Get() { return Bitmap(); }
BITMAP* Bmp::GetBitmap() { return Bitmap(); }
BITMAP* Bmp::Bitmap() { return bitmap; }
void Bmp::SetX(int nx) { x = nx; }
void Bmp::SetY(int ny) { y = ny; }
int Bmp::Width() { return w; }
int Bmp::Height() { return h; }
void Bmp::Prepare() {}
void Bmp::Release() {}
int Bmp::Id() { return id; }

bool Bmp::Append(BITMAP* other) {
    BITMAP* wider = CreateChecked(w + other->w, h);
    if (!wider) return false;
    // The strip beside the old picture starts black where `other` is lower.
    clear_to_color(wider, 0);
    blit(bitmap, wider, 0, 0, 0, 0, w, h);
    blit(other, wider, 0, 0, w, 0, other->w, h);
    Adopt(wider);
    return true;
}

bool Bmp::SavesAs(const std::string& fileName) {
    std::string ext = PictureExtension(fileName);
    return ext == ".png" || WriterFor(ext);
}

int Bmp::Save(const std::string& fileName) {
    if (!SavesAs(fileName)) return -1;
    std::string ext = PictureExtension(fileName);
    return WriteWholeFile(fileName, [&](std::FILE* f) { return Save(f, ext) == 0; }) ? 0 : -1;
}

int Bmp::Save(std::FILE* f, const std::string& ext) {
    std::string lower = PictureExtension(ext);
    // Allegro writes no PNG: the composed pixels go through libpng instead,
    // as a palette PNG when they hold few enough colours.
    if (lower == ".png") {
        RgbPixels px = carriesAlpha ? PixelsWithAlphaOf(bitmap) : PixelsOf(bitmap);
        return WritePicturePng(f, px.argb.data(), px.w, px.h) ? 0 : -1;
    }
    // Allegro's TGA writer puts the pixel's top byte in the alpha byte (0
    // for plain colours, which other programs show as wholly transparent);
    // Vell writes 32-bit TGAs itself, opaque where no alpha is carried.
    if (lower == ".tga" && bitmap_color_depth(bitmap) == 32) {
        RgbPixels px = carriesAlpha ? PixelsWithAlphaOf(bitmap) : PixelsOf(bitmap);
        return WriteMarkedTga(f, px.argb.data(), px.w, px.h) ? 0 : -1;
    }
    const Writer* writer = WriterFor(lower);
    PACKFILE* pf = writer ? PackfileOver(f) : nullptr;
    if (!pf) return -1;
    get_palette(pal);
    int result = writer->save(pf, bitmap, pal);
    // pack_fclose hands Allegro's buffered bytes to the stream.
    if (pack_fclose(pf) != 0) result = -1;
    return result == 0 && !std::ferror(f) ? 0 : -1;
}

void Bmp::UsePalette() { set_palette(pal); }

void Bmp::ReplaceMaskColour(int colour) {
    const int mask = bitmap_mask_color(bitmap);
    for (int py = 0; py < h; py++)
        for (int px = 0; px < w; px++)
            if (getpixel(bitmap, px, py) == mask) putpixel(bitmap, px, py, colour);
}

bool Bmp::StretchTo(int nw, int nh) {
    BITMAP* scaled = CreateChecked(nw, nh);
    if (!scaled) return false;
    stretch_blit(bitmap, scaled, 0, 0, w, h, 0, 0, nw, nh);
    Adopt(scaled);
    return true;
}

bool Bmp::Resize(int nw, int nh, int colour) {
    BITMAP* resized = CreateChecked(nw, nh);
    if (!resized) return false;
    clear_to_color(resized, colour);
    blit(bitmap, resized, 0, 0, 0, 0, w, h);
    Adopt(resized);
    return true;
}

void Bmp::DrawOn(int mode, Bmp* dest, int dx, int dy) { DrawTo(mode, dest->GetBitmap(), dx, dy); }

void Bmp::DrawTo(int mode, BITMAP* dest, int dx, int dy) {
    if (mode == 1)
        masked_blit(bitmap, dest, 0, 0, dx, dy, w, h);
    else
        blit(bitmap, dest, 0, 0, dx, dy, w, h);
}

void Bmp::SpriteOn(Bmp* dest, int dx, int dy) { SpriteTo(dest->GetBitmap(), dx, dy); }
void Bmp::SpriteTo(BITMAP* dest, int dx, int dy) { draw_sprite(dest, bitmap, dx, dy); }
void Bmp::SpriteAtTo(BITMAP* dest) { draw_sprite(dest, bitmap, x, y); }
void Bmp::SpriteAtOn(Bmp* dest) { SpriteAtTo(dest->GetBitmap()); }
