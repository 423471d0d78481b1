#pragma once
#include <allegro.h>

#include <cstdio>

// An Allegro PACKFILE that writes into an open stdio stream, so Allegro's
// picture writers (save_bmp_pf and the like) fill a file that someone else
// opened and will close: pack_fclose leaves the stream open. Null when
// Allegro cannot make the PACKFILE.
PACKFILE* PackfileOver(std::FILE* f);
