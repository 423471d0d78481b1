#include "picture_input.h"

#include <allegro.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bmp/load_pic.h"

namespace {

// The extension picks the reader, as it does for the editor's file names.
const char* const kExtensions[] = {".bmp", ".pcx", ".tga", ".lbm", ".png", ".jpg"};

std::string InputFileName(size_t format) {
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir && *dir ? dir : "/tmp") + "/vell-picture-input-" + std::to_string(getpid()) +
           kExtensions[format];
}

bool WriteAll(const std::string& name, const uint8_t* data, size_t size) {
    std::FILE* f = std::fopen(name.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(data, 1, size, f) == size;
    return std::fclose(f) == 0 && ok;
}

}  // namespace

void StartPictureLoading() {
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) {
        std::fprintf(stderr, "install_allegro failed\n");
        std::exit(1);
    }
    set_color_depth(32);
}

bool LoadPictureInput(const uint8_t* data, size_t size) {
    if (size < 1) return false;
    size_t formats = sizeof kExtensions / sizeof kExtensions[0];
    std::string name = InputFileName(data[0] % formats);
    if (!WriteAll(name, data + 1, size - 1)) std::abort();
    BITMAP* picture = nullptr;
    if (PictureBytes(ReadPictureSize(name)) <= kBigPictureBytes) {
        PALETTE pal;
        std::string why, remark;
        picture = LoadPicture(name, pal, why, remark);
    }
    std::remove(name.c_str());
    if (picture) destroy_bitmap(picture);
    return picture != nullptr;
}
