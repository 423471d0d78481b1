#include "test_support.h"

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <ostream>
#include <sstream>

#include "learn/overlay.h"

Rgb RgbOf(int c) { return {getr(c), getg(c), getb(c)}; }

Rgb PixelAt(BITMAP* b, int x, int y) { return RgbOf(getpixel(b, x, y)); }

void PrintTo(const Rgb& c, std::ostream* os) { *os << "rgb(" << c.r << "," << c.g << "," << c.b << ")"; }

std::string ReadFile(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

bool WriteFile(const std::string& name, const std::string& bytes) {
    std::ofstream out(name, std::ios::binary);
    out << bytes;
    out.close();
    return !out.fail();
}

bool FileExists(const std::string& name) {
    struct stat st;
    return stat(name.c_str(), &st) == 0;
}

void ReleaseAllKeys() {
    for (int k = 0; k < KEY_MAX; k++) key[k] = 0;
}

void HoldKey(int k, bool held) { key[k] = held ? -1 : 0; }

TempDir::TempDir() {
    char tmpl[] = "/tmp/vell-test-XXXXXX";
    dir = mkdtemp(tmpl);
    char cwd[4096];
    previous = getcwd(cwd, sizeof cwd) ? cwd : "/tmp";
    if (chdir(dir.c_str()) != 0) std::abort();
}

TempDir::~TempDir() {
    if (chdir(previous.c_str()) != 0) std::abort();
    std::string cmd = "rm -rf '" + dir + "'";
    if (std::system(cmd.c_str()) != 0) {
    }
}

void ScriptedWorld::Render() {
    if (frames < static_cast<int>(steps.size())) {
        steps[frames]();
    } else {
        overran = true;
        ReleaseAllKeys();
        HoldKey(KEY_LSHIFT);
        HoldKey(KEY_ESC);
    }
    frames++;
    shownLines.push_back(text->lines);
    World::Render();
}

MemoryCap::MemoryCap(long headroomBytes) {
    rlimit limit;
    getrlimit(RLIMIT_AS, &limit);
    savedCur = static_cast<long>(limit.rlim_cur);
    savedMax = static_cast<long>(limit.rlim_max);
    long pages = 0;
    if (std::FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld", &pages) != 1) pages = 0;
        std::fclose(f);
    }
    limit.rlim_cur = static_cast<rlim_t>(pages) * sysconf(_SC_PAGESIZE) + headroomBytes;
    setrlimit(RLIMIT_AS, &limit);
}

MemoryCap::~MemoryCap() {
    rlimit limit;
    limit.rlim_cur = static_cast<rlim_t>(savedCur);
    limit.rlim_max = static_cast<rlim_t>(savedMax);
    setrlimit(RLIMIT_AS, &limit);
}
