#pragma once
#include <allegro.h>

#include <cstdint>
#include <string>

#include "picture_header.h"

// The extension of a file name: the characters from its last "." to the end,
// A-Z turned to lower case; empty when the name has no ".".
std::string PictureExtension(const std::string& fileName);

// True for names whose content picks their reader (".jpg" and ".png", any
// case): PNG data goes to libpng, JPEG data to SDL_image.
bool LoadsThroughSdl(const std::string& fileName);

// The size a picture file promises, from its header alone: nothing is
// decoded and nothing the size of the picture is allocated.
PictureSize ReadPictureSize(const std::string& fileName);

// Pictures whose pixels would take more bytes than this at the current
// colour depth are loaded only after the user agrees.
const int64_t kBigPictureBytes = int64_t{256} << 20;

// The bytes a picture of this size takes at the current colour depth; 0 when
// the size is unknown or the surface-size helper refuses it.
int64_t PictureBytes(const PictureSize& size);

// A picture file as a new bitmap of the current colour depth; `pal` gets the
// palette of a palette picture. Null, with the reason in `why`, when the
// file cannot be opened, is refused or cannot be decoded. `remark` says
// what a load that worked had to make up (indices past the palette).
BITMAP* LoadPicture(const std::string& fileName, RGB* pal, std::string& why, std::string& remark);
// The same, and `clear` gets the number of pixels the file marks
// transparent (alpha below 128), which the bitmap holds as the mask colour.
BITMAP* LoadPicture(const std::string& fileName, RGB* pal, std::string& why, std::string& remark, int64_t& clear);
