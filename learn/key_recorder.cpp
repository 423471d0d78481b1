#include "key_recorder.h"

#include <cstdio>

#include "../all/key_wait.h"
#include "../varshim/varshim.h"
#include "pointer.h"
#include "world.h"

Key::Key(World* w, int a, int n, const std::string& label) : akey(a), nkey(n), c(label), world(w) {
    std::printf("Key Obj created: akey=%d nkey=%d c=\"%s\"\n", akey, nkey, c.c_str());
}

Key::~Key() { std::printf("Key Obj destroyed, akey=%d nkey=%d c=\"%s\"\n", akey, nkey, c.c_str()); }

KeyMan::KeyMan(World* w) : world(w) {}

KeyMan::~KeyMan() {
    for (Key* k : events) delete k;
}

// A key latched for the key pass counts as down once, though released.
bool KeyMan::KeyDown(int k) { return get_key(k) != 0 || LatchedForPass(k); }

bool KeyMan::Check(int akey, int nkey, const std::string& c) {
    switch (mode) {
        case Recording:
            if (!KeyDown(nkey)) return false;
            Record(akey, nkey, c);
            return true;
        case Replaying:
            if (CurrentGroup() != akey || CurrentKey() != nkey) return false;
            Advance();
            return true;
        default:
            return KeyDown(nkey);
    }
}

// A play covers events 0 to n-2: the last event is the Alt+R that ended the
// recording.
void KeyMan::Advance() {
    if (mode != Replaying) return;
    advances++;
    pos++;
    if (pos != static_cast<int>(events.size()) - 1) return;
    if (repeats == 0) {
        StopReplay();
    } else {
        repeats--;
        StartReplay();
    }
}

void KeyMan::StartReplay() {
    if (world && world->pointer) world->pointer->showCursor = false;
    pos = 0;
    mode = Replaying;
    // Fewer than two events never reach the end of a play: go back to live
    // at once rather than stay stuck in replay mode.
    if (events.size() < 2) {
        repeats = 0;
        StopReplay();
    }
}

void KeyMan::StopReplay() {
    if (world && world->pointer) world->pointer->showCursor = true;
    mode = Live;
}

void KeyMan::StartRecording() {
    Clear();
    mode = Recording;
}

void KeyMan::StopRecording() { mode = Live; }

void KeyMan::Clear() {
    for (Key* k : events) delete k;
    events.clear();
    mode = Live;
}

void KeyMan::Record(int akey, int nkey, const std::string& c) {
    if (mode == Recording) events.push_back(new Key(world, akey, nkey, c));
}

int KeyMan::CurrentGroup() {
    if (mode == Replaying && pos < static_cast<int>(events.size())) return events[pos]->akey;
    return -1;
}

int KeyMan::CurrentKey() {
    if (mode == Replaying && pos < static_cast<int>(events.size())) return events[pos]->nkey;
    return -1;
}

std::string KeyMan::CurrentLabel() {
    if (pos >= 0 && pos < static_cast<int>(events.size())) return events[pos]->c;
    return "";
}
