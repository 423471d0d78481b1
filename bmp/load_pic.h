#pragma once
#include <string>

// The extension of a file name: the characters from its last "." to the end,
// A-Z turned to lower case; empty when the name has no ".".
std::string PictureExtension(const std::string& fileName);

// True for names whose pictures SDL_image decodes (".jpg" and ".png", any case).
bool LoadsThroughSdl(const std::string& fileName);
