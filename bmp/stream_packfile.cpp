#include "stream_packfile.h"

namespace {

std::FILE* Of(void* userdata) { return static_cast<std::FILE*>(userdata); }

// The stream belongs to the caller.
int Close(void*) { return 0; }
int GetC(void*) { return EOF; }
int UngetC(int, void*) { return EOF; }
long Read(void*, long, void*) { return 0; }
int PutC(int c, void* userdata) { return std::fputc(c, Of(userdata)); }

long Write(const void* from, long n, void* userdata) {
    return static_cast<long>(std::fwrite(from, 1, static_cast<size_t>(n), Of(userdata)));
}

int Seek(void* userdata, int offset) { return offset < 0 ? -1 : std::fseek(Of(userdata), offset, SEEK_CUR); }
int Eof(void*) { return 0; }
int Error(void* userdata) { return std::ferror(Of(userdata)); }

const PACKFILE_VTABLE kStreamVtable = {Close, GetC, UngetC, Read, PutC, Write, Seek, Eof, Error};

}  // namespace

PACKFILE* PackfileOver(std::FILE* f) { return pack_fopen_vtable(&kStreamVtable, f); }
