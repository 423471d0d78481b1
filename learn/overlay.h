#pragma once
#include <allegro.h>

#include <string>
#include <vector>

class World;

// The message lines drawn over the magnified picture.
class Text {
public:
    explicit Text(World* world);
    virtual ~Text() = default;

    virtual void SetLines(const std::vector<std::string>& lines);
    virtual void ClearLines();
    virtual void Draw(BITMAP* dest);

    std::vector<std::string> lines;
    World* world;
};

// The text brush settings.
class TextDraw {
public:
    TextDraw(int w, int h, const std::string& text);
    virtual ~TextDraw() = default;

    int w;
    int h;
    std::string text;
};
