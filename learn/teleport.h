#pragma once
#include <vector>

class Bmp;
class World;

// A pair of picture points: landing on the source jumps to the target.
class Teleport {
public:
    Teleport(int x, int y, int jtx, int jty);
    virtual ~Teleport() = default;

    virtual void Move(int which, int dx, int dy);
    virtual void Apply(int& px, int& py);
    virtual void Draw(Bmp* dest);

    int x, y;
    int jtx, jty;
};

class TeleportMan {
public:
    TeleportMan(World* world, const std::vector<Teleport*>& teleports, bool on);
    virtual ~TeleportMan();

    virtual void Apply(int& px, int& py);
    virtual void Draw(Bmp* dest);

    std::vector<Teleport*> teleports;
    bool on;
    World* world;
};
