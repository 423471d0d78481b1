// Fuzz target for the picture loaders: any input must be loaded or refused
// without a crash, a memory error, undefined behaviour in our own code or an
// allocation the editor would not make without asking.
#include <cstddef>
#include <cstdint>

#include "picture_input.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    StartPictureLoading();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    LoadPictureInput(data, size);
    return 0;
}
