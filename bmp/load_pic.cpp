#include "load_pic.h"

#include <SDL/SDL_image.h>

#include <cstdio>
#include <fstream>

#include "bmp.h"
#include "picture_header.h"
#include "sdl_picture.h"
#include "surface_size.h"

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

namespace {

// Refuses a picture whose header is unreadable or promises a size the
// surface-size helper refuses, before any decoder allocates for it.
bool HeaderAllowed(const std::string& fileName, const PictureSize& size) {
    if (!size.known && !std::ifstream(fileName)) {
        std::printf("'%s' can't be opened\n", fileName.c_str());
        return false;
    }
    if (!size.known) {
        std::printf("'%s': not a picture, or one whose data is cut short or out of bounds\n", fileName.c_str());
        return false;
    }
    if (!SurfaceSizeAllowed(size.w, size.h)) {
        std::printf("'%s': a picture of %dx%d is refused\n", fileName.c_str(), size.w, size.h);
        return false;
    }
    return true;
}

BITMAP* LoadThroughSdl(const std::string& fileName) {
    if (!HeaderAllowed(fileName, ReadSdlPictureSize(fileName))) return nullptr;
    SDL_Surface* surface = IMG_Load(fileName.c_str());
    if (!surface) {
        std::printf("couldn't load %s\n", fileName.c_str());
        return nullptr;
    }
    BITMAP* picture = nullptr;
    if (SurfaceSizeAllowed(surface->w, surface->h)) picture = BitmapFromSurface(surface);
    SDL_FreeSurface(surface);
    return picture;
}

BITMAP* LoadThroughAllegro(const std::string& fileName, RGB* pal) {
    PictureSize size = ReadAllegroPictureSize(fileName, PictureExtension(fileName));
    if (!HeaderAllowed(fileName, size)) return nullptr;
    return load_bitmap(fileName.c_str(), pal);
}

// Magenta and black squares: plainly not a picture, and the magenta parts
// show the layers below when the placeholder is drawn masked.
BITMAP* Placeholder() {
    BITMAP* b = create_bitmap(8, 8);
    for (int y = 0; y < 8; y++)
        for (int x = 0; x < 8; x++) putpixel(b, x, y, ((x / 2 + y / 2) & 1) ? 0 : makecol(255, 0, 255));
    return b;
}

}  // namespace

// A picture that cannot be read leaves the surface as it was; only a surface
// without any bitmap yet (the file constructor's) gets the placeholder.
BITMAP* Bmp::LoadPic(const std::string& fileName) {
    BITMAP* picture = nullptr;
    if (PictureExtension(fileName).empty()) {
        std::printf("Bmp LoadPic no file name?\n");
    } else if (LoadsThroughSdl(fileName)) {
        picture = LoadThroughSdl(fileName);
    } else {
        picture = LoadThroughAllegro(fileName, pal);
    }
    loaded = picture != nullptr;
    if (!picture && bitmap) return bitmap;
    Adopt(picture ? picture : Placeholder());
    return bitmap;
}
