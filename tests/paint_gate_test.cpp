// Every command that changes a layer or a brush, run through the key pass
// on a picture of random pixels: each changed pixel lies inside an area the
// paint gate was told, Ctrl+Z gives the picture and the brushes back
// exactly, and Ctrl+Y brings the change back.
#include "learn/paint_gate.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <map>
#include <random>

#include "learn/frames.h"
#include "learn/history.h"
#include "learn/pointer.h"
#include "learn/prompt.h"
#include "test_support.h"

namespace {

// Modes end after one frame, each key is let go once it has been waited
// on, and forms take the answers given.
class GateWorld : public TestWorld {
public:
    // The first frame of a mode holds `inMode` with its key, as a user
    // presses a mode's key while holding the mode's own.
    void Render() override {
        bool first = !inMode.empty() && KeyHeld(KEY_L);
        ReleaseAllKeys();
        if (first) HoldKey(KEY_L);
        for (int k : inMode) HoldKey(k);
        inMode.clear();
        TestWorld::Render();
    }
    std::vector<int> inMode;
    void WaitKeyRelease(int k) override {
        HoldKey(k, false);
        TestWorld::WaitKeyRelease(k);
    }
    PromptAnswers Prompt(const std::string&, const std::vector<std::string>&, const std::vector<std::string>& values,
                         const FieldRanges& = {}) override {
        if (answers.empty()) return {values, false};
        PromptAnswers a{answers.front(), true};
        answers.pop_front();
        return a;
    }
    std::deque<std::vector<std::string>> answers;
};

struct Brush {
    int w, h;
    std::vector<int> pixels;
    bool operator==(const Brush& o) const { return w == o.w && h == o.h && pixels == o.pixels; }
};

std::vector<int> PixelsOf(BITMAP* b) {
    std::vector<int> v;
    for (int y = 0; y < b->h; y++)
        for (int x = 0; x < b->w; x++) v.push_back(getpixel(b, x, y));
    return v;
}

// Everything a command may change: the layers (by object) and the brushes.
struct State {
    std::vector<const Layer*> order;
    std::map<const Layer*, std::vector<int>> pixels;
    std::map<const Layer*, std::pair<int, int>> sizes;
    std::vector<Brush> brushes;
    bool operator==(const State& o) const {
        return order == o.order && pixels == o.pixels && sizes == o.sizes && brushes == o.brushes;
    }
};

State Capture(World& w) {
    State s;
    for (const Layer* l : w.layers) {
        s.order.push_back(l);
        s.pixels[l] = PixelsOf(LayerBitmap(l));
        s.sizes[l] = {l->width, l->height};
    }
    for (const Pointer* p : w.pointers)
        s.brushes.push_back({p->w, p->h, p->brush ? PixelsOf(p->brush->GetBitmap()) : std::vector<int>{}});
    return s;
}

void Pass(World& w, std::vector<int> keys) {
    ReleaseAllKeys();
    for (int k : keys) HoldKey(k);
    w.DoKeys();
    ReleaseAllKeys();
}

struct Case {
    const char* name;
    std::vector<int> keys;
    std::function<void(GateWorld&)> setup;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

void BoxMode(GateWorld& w) { w.pointer->mode = 1; }
void LineMode(GateWorld& w) {
    w.pointer->mode = 2;
    w.pointer->lineX = 37, w.pointer->lineY = 2;
}
void MirrorBoth(GateWorld& w) { w.mirrorMode = MirrorMode::Both; }
void MirrorAtEdge(GateWorld& w) {
    w.mirrorMode = MirrorMode::Both;
    w.mirrorSumX = 3, w.mirrorSumY = 50;
}
void Nothing(GateWorld&) {}
// A third layer of its own colours, the middle one current.
void ThreeLayers(GateWorld& w) {
    w.layers.push_back(new Layer(&w, 40, 30, 0));
    clear_to_color(LayerBitmap(w.layers[2]), makecol(7, 7, 7));
    w.history->Clear();
}
// A palette of the picture's own colours, so shading finds them.
void PictureColours(GateWorld& w) { w.palette = Palette({0x0a141e, 0xc80a0a, 0xff00ff, 0x005a00}); }
void TopOfThree(GateWorld& w) {
    ThreeLayers(w);
    w.SelectLayer(2);
}

const Case kCases[] = {
    {"pixel", {KEY_SPACE}, Nothing},
    {"line", {KEY_SPACE}, LineMode},
    {"line chained", {KEY_D}, LineMode},
    {"box outline", {KEY_SPACE}, BoxMode},
    {"erase", {KEY_W}, Nothing},
    {"clear brush area", {KEY_LSHIFT, KEY_D}, Nothing},
    {"stamp XOR", {KEY_E}, Nothing},
    {"stamp masked", {KEY_LSHIFT, KEY_E}, Nothing},
    {"stamp opaque", {KEY_ALT, KEY_E}, Nothing},
    {"stamp enlarged", {KEY_LSHIFT, KEY_L}, Nothing},
    {"grab brush", {KEY_ENTER}, BoxMode},
    {"text brush", {KEY_ALT, KEY_T}, [](GateWorld& w) { w.answers = {{"2", "3", "Hi"}}; }},
    {"colour fill in box", {KEY_C, KEY_G}, Nothing},
    {"add layer", {KEY_L, KEY_A}, Nothing},
    {"frame at pointer", {KEY_LCONTROL, KEY_LSHIFT, KEY_L}, Nothing},
    {"picture over the layers", {KEY_ALT, KEY_L}, [](GateWorld& w) { w.answers = {{"frame.bmp"}}; }},
    {"flood fill", {KEY_F}, Nothing},
    {"recolour layer", {KEY_LSHIFT, KEY_F}, Nothing},
    {"filled box", {KEY_R}, Nothing},
    {"ellipse", {KEY_O}, Nothing},
    {"filled ellipse", {KEY_LSHIFT, KEY_O}, Nothing},
    {"flip left to right", {KEY_H}, Nothing},
    {"flip top to bottom", {KEY_V}, Nothing},
    {"turn clockwise", {KEY_T}, Nothing},
    {"turn anticlockwise", {KEY_LSHIFT, KEY_T}, Nothing},
    {"mirrored line", {KEY_SPACE}, [](GateWorld& w) { LineMode(w), MirrorBoth(w); }},
    {"mirrored box outline", {KEY_SPACE}, [](GateWorld& w) { BoxMode(w), MirrorBoth(w); }},
    {"mirrored stamp masked", {KEY_LSHIFT, KEY_E}, MirrorBoth},
    {"mirrored stamp enlarged", {KEY_LSHIFT, KEY_L}, MirrorAtEdge},
    {"mirrored flood fill", {KEY_F}, MirrorAtEdge},
    {"mirrored filled ellipse", {KEY_LSHIFT, KEY_O}, MirrorBoth},
    {"mirrored colour fill in box", {KEY_C, KEY_G}, MirrorBoth},
    {"mirrored erase", {KEY_W}, MirrorAtEdge},
    {"layer up", {KEY_L}, [](GateWorld& w) { ThreeLayers(w), w.inMode = {KEY_UP}; }},
    {"layer down", {KEY_L}, [](GateWorld& w) { TopOfThree(w), w.inMode = {KEY_DOWN}; }},
    {"layer merged down", {KEY_L}, [](GateWorld& w) { w.inMode = {KEY_M}; }},
    {"layer duplicated", {KEY_L}, [](GateWorld& w) { w.inMode = {KEY_C}; }},
    {"line in the second colour", {KEY_LSHIFT, KEY_SPACE}, [](GateWorld& w) { LineMode(w), w.pointer->second = makecol(0, 0, 77); }},
    {"shade a pixel", {KEY_LCONTROL, KEY_CLOSEBRACE}, PictureColours},
    {"shade the box", {KEY_LCONTROL, KEY_OPENBRACE}, [](GateWorld& w) { PictureColours(w), BoxMode(w); }},
};

// A 40x30 picture of few random colours (so fills find areas), a
// see-through layer over it, a brush with see-through pixels, and a frame
// file to load.
void RandomPicture(GateWorld& w, unsigned seed) {
    std::minstd_rand random(seed);
    ASSERT_TRUE(w.resizeCanvas(40, 30));
    w.layers.push_back(new Layer(&w, 40, 30, 1));
    const int colours[] = {makecol(10, 20, 30), makecol(200, 10, 10), makecol(255, 0, 255), makecol(0, 90, 0)};
    for (Layer* l : w.layers)
        for (int y = 0; y < 30; y++)
            for (int x = 0; x < 40; x++) putpixel(LayerBitmap(l), x, y, colours[random() % 4]);
    auto* brush = new Bmp(5, 3, "brush");
    for (int y = 0; y < 3; y++)
        for (int x = 0; x < 5; x++) putpixel(brush->GetBitmap(), x, y, colours[random() % 4]);
    Pointer& p = *w.pointer;
    p.SetBrush(brush);
    p.x = 9, p.y = 11, p.bx = 4, p.by = 5, p.w = 7, p.h = 5, p.jx = 3, p.jy = 2;
    p.colour = makecol(250, 250, 0);
    // Under the pointer a colour that every command changes.
    for (Layer* l : w.layers) putpixel(LayerBitmap(l), p.x, p.y, colours[1]);
    w.SelectLayer(1);
    Bmp frame(6, 4, "frame");
    clear_to_color(frame.GetBitmap(), makecol(1, 2, 3));
    ASSERT_EQ(0, frame.Save(w.files->Name()));
    ASSERT_EQ(0, frame.Save("frame.bmp"));
    w.history->Clear();
}

class PaintGateCommands : public testing::TestWithParam<Case> {};

TEST_P(PaintGateCommands, ChangeOnlyWhatTheGateWasToldAndUndoExactly) {
    TempDir dir;
    GateWorld w;
    RandomPicture(w, 7);
    GetParam().setup(w);
    std::map<const Layer*, std::vector<Area>> told;
    w.gate->watch = [&told](const Layer& l, const Area& a) { told[&l].push_back(a); };

    State before = Capture(w);
    Pass(w, GetParam().keys);
    State after = Capture(w);
    ASSERT_FALSE(before == after) << "the command changed nothing";

    for (const Layer* l : before.order) {
        if (!after.pixels.count(l) || after.sizes[l] != before.sizes[l]) continue;
        int width = l->width;
        const std::vector<int>&old = before.pixels[l], &now = after.pixels[l];
        for (size_t i = 0; i < old.size(); i++) {
            if (old[i] == now[i]) continue;
            int64_t x = int64_t(i) % width, y = int64_t(i) / width;
            bool inside = false;
            for (const Area& a : told[l]) inside |= x >= a.x && x < a.Right() && y >= a.y && y < a.Bottom();
            ASSERT_TRUE(inside) << "pixel " << x << "," << y << " changed outside what the gate was told";
        }
    }

    w.mirrorMode = MirrorMode::Off;  // undo and redo know nothing of it
    Pass(w, {KEY_LCONTROL, KEY_Z});
    EXPECT_TRUE(Capture(w) == before) << "Ctrl+Z did not give the picture and brushes back";
    Pass(w, {KEY_LCONTROL, KEY_Y});
    EXPECT_TRUE(Capture(w) == after) << "Ctrl+Y did not bring the change back";
}

INSTANTIATE_TEST_SUITE_P(EveryCommand, PaintGateCommands, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<Case>& i) {
                             std::string n;
                             for (const char* c = i.param.name; *c; c++) n += std::isalnum(*c) ? *c : '_';
                             return n;
                         });

}  // namespace
