#include <cstdio>

#include "bmp.h"

// Loads a picture through Allegro's readers; the SDL_image path for ".jpg"
// and ".png" is added with picture loading.
BITMAP* Bmp::LoadPic(const std::string& fileName) {
    BITMAP* picture = nullptr;
    if (fileName.empty() || fileName.find('.') == std::string::npos) {
        std::printf("Bmp LoadPic no file name?\n");
    } else {
        picture = load_bitmap(fileName.c_str(), pal);
    }
    loaded = picture != nullptr;
    if (!picture && bitmap) return bitmap;
    if (!picture) {
        picture = create_bitmap(8, 8);
        clear_to_color(picture, makecol(255, 0, 255));
    }
    Adopt(picture);
    return bitmap;
}
