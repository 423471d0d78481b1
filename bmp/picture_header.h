#pragma once
#include <string>

// The size a picture file's header promises, read before any decoder sees the
// file, so that a small hostile file cannot make a decoder allocate a huge
// surface. `ext` is the lower-case extension with its dot (".bmp").
struct PictureSize {
    bool known = false;  // false: no header of the expected kind was found
    int w = 0;
    int h = 0;
};

// Headers of ".bmp", ".pcx", ".tga" and ".lbm" files.
PictureSize ReadAllegroPictureSize(const std::string& fileName, const std::string& ext);

// A BMP's size after its headers and palette are read and its pixel data is
// checked against the file: raw rows must all be there, runs must end
// within the data and never move out of the picture. Unknown, with the
// reason in `why`, otherwise.
PictureSize ReadBmpPictureSize(const std::string& fileName, std::string& why);

// Headers of the formats handed to SDL_image: PNG and JPEG, told apart by
// their content rather than their extension (SDL_image does the same).
PictureSize ReadSdlPictureSize(const std::string& fileName);
