// Loads each file named on the command line as a picture fuzz input, in a
// build without sanitizers, so that valgrind can watch the system libraries
// (Allegro, SDL_image) that the fuzzer cannot see into. With --all-load
// (for the seed corpus) an input that loads no picture is an error too.
// Usage: picture_replay [--all-load] FILE...
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "picture_input.h"

int main(int argc, char** argv) {
    StartPictureLoading();
    bool allLoad = argc > 1 && std::strcmp(argv[1], "--all-load") == 0;
    int replayed = 0, loaded = 0;
    for (int i = allLoad ? 2 : 1; i < argc; i++, replayed++) {
        std::ifstream in(argv[i], std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "can't read %s\n", argv[i]);
            return 1;
        }
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        bool ok = LoadPictureInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
        loaded += ok;
        if (allLoad && !ok) std::fprintf(stderr, "%s: no picture loaded\n", argv[i]);
    }
    std::printf("replayed %d picture inputs, %d loaded\n", replayed, loaded);
    return allLoad && loaded != replayed ? 1 : 0;
}
