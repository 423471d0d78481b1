// Set-up shared by the benchmarks that build the whole editor.
#pragma once
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "learn/world.h"

// A fresh working directory for the life of the object: the editor reads and
// writes its document and settings in the working directory.
class ScratchDir {
public:
    ScratchDir() {
        char tmpl[] = "/tmp/vell-bench-XXXXXX";
        dir = mkdtemp(tmpl);
        char cwd[4096];
        previous = getcwd(cwd, sizeof cwd) ? cwd : "/tmp";
        if (chdir(dir.c_str()) != 0) std::abort();
    }
    ~ScratchDir() {
        if (chdir(previous.c_str()) != 0) std::abort();
        std::string cmd = "rm -rf '" + dir + "'";
        if (std::system(cmd.c_str()) != 0) {
        }
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

private:
    std::string dir;
    std::string previous;
};

// Sends standard output to /dev/null for the life of the object: the editor
// reports its start on the console, between the benchmark's result lines.
class QuietStdout {
public:
    QuietStdout() {
        std::fflush(stdout);
        saved = dup(1);
        int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        close(null);
    }
    ~QuietStdout() {
        std::fflush(stdout);
        dup2(saved, 1);
        close(saved);
    }
    QuietStdout(const QuietStdout&) = delete;
    QuietStdout& operator=(const QuietStdout&) = delete;

private:
    int saved;
};

// Writes `name` in place through `write(FILE*)`: what an encoder costs on
// its own, without the flush to the disk and the rename that the editor's
// whole-file saves add.
template <typename Write>
bool WriteInPlace(const std::string& name, Write write) {
    std::FILE* f = std::fopen(name.c_str(), "wb");
    if (!f) return false;
    bool ok = write(f);
    return std::fclose(f) == 0 && ok;
}

// The real editor, built the way the program builds it, without its start-up
// report on standard output. Build it inside a ScratchDir.
class BenchWorld : public World {
public:
    BenchWorld() : World(NoInit{}) {
        QuietStdout quiet;
        Construct("");
    }
};
