#pragma once
#include <string>

class Text;
class World;

// The file of frame `pos` of a root: root + three-digit number + ".tga".
std::string FrameFileName(const std::string& root, int pos);

// The numbered animation frame file name: root + three-digit number + ".tga".
class Files {
public:
    Files(World* world, const std::string& root, int filesPos);
    virtual ~Files() = default;

    virtual std::string Name();
    virtual void Step(int d);
    virtual void Announce(Text* overlay);

    std::string root;
    int filesPos;
    World* world;
};
