#pragma once
#include <string>
#include <vector>

class World;

// One recorded event: a key asked for under a group (or a mode's hold key),
// or a data event (-1, -1) holding a text.
class Key {
public:
    Key(World* world, int akey, int nkey, const std::string& c);
    virtual ~Key();

    int akey;
    int nkey;
    std::string c;
    World* world;
};

// The key tester and key-command recorder every command's key test passes
// through.
class KeyMan {
public:
    enum { Recording = 0, Replaying = 1, Live = 2 };

    explicit KeyMan(World* world);
    virtual ~KeyMan();

    virtual bool Check(int akey, int nkey, const std::string& c);
    virtual void Advance();
    virtual void StartReplay();
    virtual void StopReplay();
    virtual void StartRecording();
    virtual void StopRecording();
    virtual void Clear();
    virtual void Record(int akey, int nkey, const std::string& c);
    virtual int CurrentGroup();
    virtual int CurrentKey();
    virtual std::string CurrentLabel();

    // Reads the held state of a key (through varshim).
    virtual bool KeyDown(int k);

    int pos = 0;
    int repeats = 0;
    std::vector<Key*> events;
    int mode = Live;
    World* world;
    // Counts every Advance made while replaying; the key pass uses it to
    // notice a pass that consumed nothing.
    long advances = 0;
};
