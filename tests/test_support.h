#pragma once
#include <allegro.h>

#include <functional>
#include <string>
#include <vector>

#include "learn/world.h"
#include "layer_access.h"

// Colours compared through their parts: without a graphics mode Allegro's
// 32-bit layout differs from the X11 screen's.
struct Rgb {
    int r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};
Rgb RgbOf(int colour);
Rgb PixelAt(BITMAP* b, int x, int y);
void PrintTo(const Rgb& c, std::ostream* os);

// Whole files as bytes, for tests that check what the editor wrote or hand
// it files of their own. ReadFile gives "" for a file that cannot be read;
// WriteFile replaces the file and tells whether every byte was written.
std::string ReadFile(const std::string& name);
bool WriteFile(const std::string& name, const std::string& bytes);
bool FileExists(const std::string& name);

// Releases every key in Allegro's key table.
void ReleaseAllKeys();
// Holds or releases a key, as Allegro's keyboard handler would (-1 = held).
void HoldKey(int k, bool held = true);

// A fresh temporary directory that becomes the working directory for the
// life of the object, so the editor's files land there.
class TempDir {
public:
    TempDir();
    ~TempDir();
    const std::string& path() const { return dir; }
    std::string file(const std::string& name) const { return dir + "/" + name; }

private:
    std::string dir;
    std::string previous;
};

// An editor built in a temporary directory on the memory screen. Subclasses
// override Render to change key state between frames, then call the base.
class TestWorld : public World {
public:
    TestWorld() : World(NoInit{}) { Construct(""); }
    explicit TestWorld(const std::string& docName) : World(NoInit{}) { Construct(docName); }
};

// An editor whose Render first runs the next scripted step (which changes
// key[] for the following frame), keeps the message lines shown in that
// frame, and then runs the real Render. Once the script is used up every key
// is released and Shift+ESC is held, so modal loops and Run always end.
class ScriptedWorld : public TestWorld {
public:
    void Render() override;

    std::vector<std::function<void()>> steps;
    std::vector<std::vector<std::string>> shownLines;
    int frames = 0;
    bool overran = false;
};

// Caps the process's address space a little above what it uses now, so
// that allocations beyond the headroom fail as on a machine out of memory;
// the old limit comes back with the object. AddressSanitizer reserves far
// more address space than the cap allows, so tests using this are left out
// of sanitizer builds.
class MemoryCap {
public:
    explicit MemoryCap(long headroomBytes);
    ~MemoryCap();

private:
    long savedCur, savedMax;
};
