#pragma once
#include <cstddef>
#include <cstdint>

// Starts Allegro without a display, at the editor's colour depth, so that
// pictures can be loaded as the editor loads them.
void StartPictureLoading();

// Loads one input as a picture file through the editor's own loading path.
// The first byte picks the format (by its value modulo the number of
// formats), the rest is the file. A picture the editor would ask about
// before loading is declined, as a user answering N would. True when a
// picture was loaded.
bool LoadPictureInput(const uint8_t* data, size_t size);
