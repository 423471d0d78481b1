#include "elsewhere_note.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "safe_file.h"

const char kElsewhereNote[] = ".Vell.zub.elsewhere";

namespace {

// A path longer than this is no note Vell wrote.
constexpr size_t kMostPath = 4096;

}  // namespace

bool NoteWorkElsewhere(const std::string& path, std::string& why) {
    SafeFile file(kElsewhereNote);
    if (!file.Open(why)) return false;
    if (std::fprintf(file.Stream(), "%s\n", path.c_str()) < 0) {
        why = std::strerror(errno);
        return false;
    }
    return file.Commit(why);
}

void ForgetWorkElsewhere() { unlink(kElsewhereNote); }

std::string WorkElsewhere() {
    std::FILE* f = std::fopen(kElsewhereNote, "rb");
    if (!f) return "";
    char line[kMostPath + 2];
    size_t n = std::fread(line, 1, sizeof line, f);
    std::fclose(f);
    std::string path(line, n);
    size_t end = path.find('\n');
    if (end == std::string::npos || end == 0 || end > kMostPath) return "";
    path.resize(end);
    // A name with a control character is no note Vell wrote.
    for (unsigned char c : path)
        if (c < 0x20) return "";
    return path;
}
