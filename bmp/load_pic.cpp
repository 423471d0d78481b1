#include "load_pic.h"

#include <SDL/SDL_image.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <vector>

#include "bmp.h"
#include "lbm_reader.h"
#include "sdl_picture.h"
#include "surface_size.h"
#include "top_down_bmp.h"

std::string PictureExtension(const std::string& fileName) {
    size_t dot = fileName.rfind('.');
    if (dot == std::string::npos) return "";
    std::string ext = fileName.substr(dot);
    for (char& c : ext)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return ext;
}

bool LoadsThroughSdl(const std::string& fileName) {
    std::string ext = PictureExtension(fileName);
    return ext == ".jpg" || ext == ".png";
}

PictureSize ReadPictureSize(const std::string& fileName) {
    if (LoadsThroughSdl(fileName)) return ReadSdlPictureSize(fileName);
    return ReadAllegroPictureSize(fileName, PictureExtension(fileName));
}

int64_t PictureBytes(const PictureSize& size) {
    if (!size.known || !SurfaceSizeAllowed(size.w, size.h)) return 0;
    return int64_t{size.w} * size.h * CurrentBytesPerPixel();
}

namespace {

// Refuses a picture whose header is unreadable or promises a size the
// surface-size helper refuses, before any decoder allocates for it.
bool HeaderAllowed(const std::string& fileName, const PictureSize& size, std::string& why) {
    if (!size.known && !std::ifstream(fileName))
        why = "it can't be opened";
    else if (!size.known)
        why = "not a picture, or one whose data is cut short or out of bounds";
    else if (!SurfaceSizeAllowed(size.w, size.h))
        why = "a picture of " + std::to_string(size.w) + "x" + std::to_string(size.h) + " is refused";
    return why.empty();
}

BITMAP* LoadThroughSdl(const std::string& fileName, RGB*, std::string& why) {
    if (!HeaderAllowed(fileName, ReadSdlPictureSize(fileName), why)) return nullptr;
    SDL_Surface* surface = IMG_Load(fileName.c_str());
    if (!surface) {
        why = "the picture can't be decoded";
        return nullptr;
    }
    BITMAP* picture = nullptr;
    if (SurfaceSizeAllowed(surface->w, surface->h)) picture = BitmapFromSurface(surface);
    SDL_FreeSurface(surface);
    if (!picture) why = "no memory for the picture";
    return picture;
}

BITMAP* LoadThroughAllegro(const std::string& fileName, RGB* pal, std::string& why) {
    PictureSize size = ReadAllegroPictureSize(fileName, PictureExtension(fileName));
    if (!HeaderAllowed(fileName, size, why)) return nullptr;
    BITMAP* picture = load_bitmap(fileName.c_str(), pal);
    if (!picture) why = "the picture can't be decoded";
    return picture;
}

// Allegro 4.4 refuses top-down BMPs, so those take their own way in.
BITMAP* LoadBmp(const std::string& fileName, RGB* pal, std::string& why) {
    if (!IsTopDownBmp(fileName)) return LoadThroughAllegro(fileName, pal, why);
    if (!HeaderAllowed(fileName, ReadAllegroPictureSize(fileName, ".bmp"), why)) return nullptr;
    BITMAP* picture = LoadTopDownBmp(fileName, pal);
    if (!picture) why = "the picture can't be decoded";
    return picture;
}

// Palette entries as Allegro keeps them (6 bits a part); indices beyond the
// file's palette are black.
void FillPalette(const LbmHeader& header, RGB* pal) {
    for (int i = 0; i < 256; i++) {
        size_t at = static_cast<size_t>(i) * 3;
        bool known = at + 2 < header.palette.size();
        pal[i].r = known ? header.palette[at] >> 2 : 0;
        pal[i].g = known ? header.palette[at + 1] >> 2 : 0;
        pal[i].b = known ? header.palette[at + 2] >> 2 : 0;
    }
}

// Colours of the 256 indices at the current depth; at depth 8 the index
// itself, as Allegro's readers keep it.
std::vector<int> IndexColours(const LbmHeader& header) {
    std::vector<int> colours(256, get_color_depth() == 8 ? 0 : makecol(0, 0, 0));
    for (int i = 0; i < 256; i++) {
        size_t at = static_cast<size_t>(i) * 3;
        if (get_color_depth() == 8)
            colours[i] = i;
        else if (at + 2 < header.palette.size())
            colours[i] = makecol(header.palette[at], header.palette[at + 1], header.palette[at + 2]);
    }
    return colours;
}

BITMAP* DecodeLbm(std::FILE* f, RGB* pal, std::string& why) {
    LbmHeader header;
    if (!ReadLbmHeader(f, header, why)) return nullptr;
    if (!SurfaceSizeAllowed(header.w, header.h)) {
        why = "a picture of " + std::to_string(header.w) + "x" + std::to_string(header.h) + " is refused";
        return nullptr;
    }
    BITMAP* picture = Bmp::CreateChecked(header.w, header.h);
    if (!picture) {
        why = "no memory for the picture";
        return nullptr;
    }
    std::vector<int> colours = IndexColours(header);
    auto row = [&](int y, const uint8_t* indices) {
        for (int x = 0; x < header.w; x++) putpixel(picture, x, y, colours[indices[x]]);
    };
    if (!DecodeLbmRows(f, header, row, why)) {
        destroy_bitmap(picture);
        return nullptr;
    }
    FillPalette(header, pal);
    return picture;
}

BITMAP* LoadLbm(const std::string& fileName, RGB* pal, std::string& why) {
    std::FILE* f = std::fopen(fileName.c_str(), "rb");
    if (!f) {
        why = "it can't be opened";
        return nullptr;
    }
    BITMAP* picture = DecodeLbm(f, pal, why);
    std::fclose(f);
    return picture;
}

struct Loader {
    const char* ext;
    BITMAP* (*load)(const std::string&, RGB*, std::string&);
};

const Loader kLoaders[] = {
    {".jpg", LoadThroughSdl},
    {".png", LoadThroughSdl},
    {".bmp", LoadBmp},
    {".lbm", LoadLbm},
};

// Magenta and black squares: plainly not a picture, and the magenta parts
// show the layers below when the placeholder is drawn masked.
BITMAP* Placeholder() {
    BITMAP* b = create_bitmap(8, 8);
    for (int y = 0; y < 8; y++)
        for (int x = 0; x < 8; x++) putpixel(b, x, y, ((x / 2 + y / 2) & 1) ? 0 : makecol(255, 0, 255));
    return b;
}

}  // namespace

BITMAP* LoadPicture(const std::string& fileName, RGB* pal, std::string& why) {
    why.clear();
    // Allegro's readers fill only the entries a file has, then convert
    // every index through the whole palette: indices beyond the file's
    // palette come out black rather than from whatever `pal` held.
    std::memset(pal, 0, sizeof(RGB) * PAL_SIZE);
    std::string ext = PictureExtension(fileName);
    if (ext.empty()) {
        why = "no file name extension";
        return nullptr;
    }
    for (const Loader& l : kLoaders)
        if (ext == l.ext) return l.load(fileName, pal, why);
    return LoadThroughAllegro(fileName, pal, why);
}

// A picture that cannot be read leaves the surface as it was; only a surface
// without any bitmap yet (the file constructor's) gets the placeholder.
BITMAP* Bmp::LoadPic(const std::string& fileName) {
    BITMAP* picture = LoadPicture(fileName, pal, failure);
    if (!picture) std::printf("'%s': %s\n", fileName.c_str(), failure.c_str());
    loaded = picture != nullptr;
    if (!picture && bitmap) return bitmap;
    Adopt(picture ? picture : Placeholder());
    return bitmap;
}
