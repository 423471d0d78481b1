// Fuzz target for the .zub reader: any input must be read or refused
// without a crash, a leak or an allocation the input's length cannot back.
// An accepted document must also survive writing and reading again.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "learn/document_io.h"

namespace {

ReadLimits Limits() {
    ReadLimits limits;
    limits.sizeAllowed = [](int64_t w, int64_t h) {
        return w >= 1 && h >= 1 && w <= (1 << 16) && h <= (1 << 16) && w * h <= (1 << 24);
    };
    limits.make = [](int w, int h) -> std::unique_ptr<PixelRows> {
        return std::make_unique<PlainPixels>(w, h);
    };
    return limits;
}

bool Read(const void* data, size_t size, Document& doc) {
    if (size == 0) return false;  // fmemopen refuses an empty buffer
    std::FILE* f = fmemopen(const_cast<void*>(data), size, "rb");
    if (!f) return false;
    std::string why;
    bool ok = ReadDocument(f, Limits(), doc, why);
    std::fclose(f);
    return ok;
}

std::string Write(Document& doc) {
    char* out = nullptr;
    size_t size = 0;
    std::FILE* f = open_memstream(&out, &size);
    std::string why;
    if (!WriteDocument(f, doc, why)) std::abort();
    std::fclose(f);
    std::string bytes(out, size);
    std::free(out);
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Document doc;
    if (!Read(data, size, doc)) return 0;
    std::string once = Write(doc);
    Document again;
    if (!Read(once.data(), once.size(), again)) std::abort();
    if (Write(again) != once) std::abort();
    return 0;
}
