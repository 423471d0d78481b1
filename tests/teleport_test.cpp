// Teleport jumps, chaining in list order, and the editing mode.
#include "learn/teleport.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "bmp/bmp.h"
#include "learn/layer.h"
#include "learn/pointer.h"
#include "test_support.h"

namespace {

// Twenty teleports that lead nowhere and draw nothing: both ends lie far
// outside any picture.
std::vector<Teleport*> Inert() {
    std::vector<Teleport*> list;
    for (int i = 0; i < 20; i++) list.push_back(new Teleport(-1000 - i, -1000, -1000, -1000));
    return list;
}

TEST(Teleport, JumpsOnlyFromItsExactSource) {
    Teleport t(3, 4, 10, 20);
    int x = 3, y = 4;
    t.Apply(x, y);
    EXPECT_EQ(10, x);
    EXPECT_EQ(20, y);
    int ax = 3, ay = 5, bx = 4, by = 4;
    t.Apply(ax, ay);
    t.Apply(bx, by);
    EXPECT_EQ(3, ax);
    EXPECT_EQ(5, ay);
    EXPECT_EQ(4, bx);
    EXPECT_EQ(4, by);
}

TEST(Teleport, MoveSourceOrTarget) {
    Teleport t(0, 0, 8, 8);
    t.Move(0, 2, -1);
    t.Move(1, -3, 5);
    t.Move(7, 1, 1);  // any non-zero end is the target
    EXPECT_EQ(2, t.x);
    EXPECT_EQ(-1, t.y);
    EXPECT_EQ(6, t.jtx);
    EXPECT_EQ(14, t.jty);
}

// Inert teleports but for a chain (5,5) -> (10,10) -> (20,20) whose two links
// sit at the given indices, so the order of the list decides the chaining.
std::vector<Teleport*> Chain(int firstLink, int secondLink) {
    std::vector<Teleport*> list = Inert();
    *list[firstLink] = Teleport(5, 5, 10, 10);
    *list[secondLink] = Teleport(10, 10, 20, 20);
    return list;
}

TEST(TeleportMan, ChainsUpwardsInOneCall) {
    TeleportMan man(nullptr, Chain(2, 7), true);
    int x = 5, y = 5;
    man.Apply(x, y);
    EXPECT_EQ(20, x);
    EXPECT_EQ(20, y);
}

TEST(TeleportMan, DownwardJumpWaitsForTheNextCall) {
    TeleportMan man(nullptr, Chain(7, 2), true);
    int x = 5, y = 5;
    man.Apply(x, y);
    EXPECT_EQ(10, x);
    EXPECT_EQ(10, y);
    man.Apply(x, y);
    EXPECT_EQ(20, x);
    EXPECT_EQ(20, y);
}

TEST(TeleportMan, DrawIsXorSoASecondDrawRestores) {
    std::vector<Teleport*> list = Inert();
    *list[0] = Teleport(2, 2, 12, 12);
    TeleportMan man(nullptr, list, false);
    Bmp b(20, 20, "marks");
    int base = makecol(10, 200, 30);
    clear_to_color(b.GetBitmap(), base);
    man.Draw(&b);
    Rgb inverted = RgbOf(base ^ makecol(255, 255, 255));
    EXPECT_EQ(inverted, PixelAt(b.GetBitmap(), 3, 3));     // on the line
    EXPECT_EQ(inverted, PixelAt(b.GetBitmap(), 7, 7));     // on the line
    EXPECT_EQ(inverted, PixelAt(b.GetBitmap(), 14, 10));   // cross arm
    EXPECT_EQ(inverted, PixelAt(b.GetBitmap(), 10, 14));   // cross arm
    EXPECT_EQ(RgbOf(base), PixelAt(b.GetBitmap(), 2, 12)); // off the marks
    man.Draw(&b);
    for (int y = 0; y < 20; y++)
        for (int x = 0; x < 20; x++) ASSERT_EQ(RgbOf(base), PixelAt(b.GetBitmap(), x, y));
    // Drawing mode is back to solid.
    putpixel(b.GetBitmap(), 0, 0, base);
    EXPECT_EQ(RgbOf(base), PixelAt(b.GetBitmap(), 0, 0));
}

// An editor whose frames run a script: step i sets the keys held after
// frame i. When the script runs out QUOTE is held so the mode ends, and the
// first time it is read as held the user lets go of it again.
class ScriptWorld : public TestWorld {
public:
    bool KeyHeld(int k) override {
        bool held = World::KeyHeld(k);
        if (k == KEY_QUOTE && held && frame > steps.size()) HoldKey(KEY_QUOTE, false);
        return held;
    }

    std::vector<std::function<void()>> steps;
    std::vector<bool> shown;
    size_t frame = 0;
    void Render() override {
        shown.push_back(showTeleports);
        ReleaseAllKeys();
        if (frame < steps.size())
            steps[frame]();
        else
            HoldKey(KEY_QUOTE);
        frame++;
        World::Render();
    }
};

class TeleportWorld : public ::testing::Test {
protected:
    TempDir dir;
    void TearDown() override { ReleaseAllKeys(); }
    // Teleports switched on, every one but the one at `index` leading from
    // (-5, -5), off the picture.
    static void OnlyTeleport(World& w, int index, const Teleport& t) {
        for (Teleport* each : w.teleportMan->teleports) *each = Teleport(-5, -5, 0, 0);
        *w.teleportMan->teleports[index] = t;
        w.teleportMan->on = true;
    }
};

TEST_F(TeleportWorld, PointerLandingOnASourceJumpsInTheSamePass) {
    ScriptWorld w;
    OnlyTeleport(w, 0, Teleport(3, 3, 30, 40));
    w.pointer->x = 4;
    w.pointer->y = 3;
    ReleaseAllKeys();
    HoldKey(KEY_LEFT);
    w.DoKeys();
    EXPECT_EQ(30, w.pointer->x);
    EXPECT_EQ(40, w.pointer->y);

    // Switched off, nothing jumps.
    w.teleportMan->on = false;
    w.pointer->x = 4;
    w.pointer->y = 3;
    w.DoKeys();
    EXPECT_EQ(3, w.pointer->x);
    EXPECT_EQ(3, w.pointer->y);
}

TEST_F(TeleportWorld, BoxCornerJumpsIndependently) {
    ScriptWorld w;
    OnlyTeleport(w, 4, Teleport(6, 7, 16, 17));
    w.pointer->x = 50;
    w.pointer->y = 50;
    w.pointer->bx = 6;
    w.pointer->by = 7;
    ReleaseAllKeys();
    w.DoKeys();
    EXPECT_EQ(16, w.pointer->bx);
    EXPECT_EQ(17, w.pointer->by);
    EXPECT_EQ(50, w.pointer->x);
}

TEST_F(TeleportWorld, EditingSelectsAndMovesOnePixelPerFrame) {
    ScriptWorld w;
    std::vector<Teleport> before;
    for (Teleport* t : w.teleportMan->teleports) before.push_back(*t);
    // Frame 0: nothing; frames 1-3: Q and RIGHT (target of teleport 0);
    // frames 4-5: 3 and DOWN (source of teleport 2); frame 6: 1 and Q both
    // held with UP (the target wins); frames 7-8: COLON (source 19) with
    // LEFT; frame 9: SLASH (target 19) with UP.
    // The keys are copied: an initializer_list's array ends with the call
    // that made it, before the step runs.
    auto hold = [](std::initializer_list<int> keys) {
        return [held = std::vector<int>(keys)] {
            for (int k : held) HoldKey(k);
        };
    };
    w.steps = {hold({}),
               hold({KEY_Q, KEY_RIGHT}), hold({KEY_RIGHT}), hold({KEY_RIGHT}),
               hold({KEY_3, KEY_DOWN}), hold({KEY_DOWN}),
               hold({KEY_1, KEY_Q, KEY_UP}),
               hold({KEY_COLON, KEY_LEFT}), hold({KEY_LEFT}),
               hold({KEY_SLASH, KEY_UP})};
    w.teleportMan->on = false;
    ReleaseAllKeys();
    w.EditTeleports();

    std::vector<Teleport*>& t = w.teleportMan->teleports;
    EXPECT_EQ(before[0].x, t[0]->x);
    EXPECT_EQ(before[0].jtx + 3, t[0]->jtx);
    EXPECT_EQ(before[0].jty - 1, t[0]->jty);
    EXPECT_EQ(before[2].y + 2, t[2]->y);
    EXPECT_EQ(before[2].jty, t[2]->jty);
    EXPECT_EQ(before[19].x - 2, t[19]->x);
    EXPECT_EQ(before[19].jty - 1, t[19]->jty);
    for (int i : {1, 3, 10, 18}) {
        EXPECT_EQ(before[i].x, t[i]->x);
        EXPECT_EQ(before[i].jtx, t[i]->jtx);
    }
    // The marks are shown during the mode only.
    ASSERT_GE(w.shown.size(), 11u);
    EXPECT_TRUE(w.shown[0]);
    EXPECT_TRUE(w.shown.back());
    EXPECT_FALSE(w.showTeleports);
}

TEST_F(TeleportWorld, MarksAppearInTheComposedFrame) {
    ScriptWorld w;
    for (Teleport* t : w.teleportMan->teleports) *t = Teleport(-50, -50, -50, -50);
    *w.teleportMan->teleports[0] = Teleport(20, 10, 30, 10);
    w.pointer->x = 200;
    w.pointer->y = 200;
    Rgb before = PixelAt(w.stm->GetBitmap(), 25, 10);
    w.showTeleports = true;
    w.World::Render();
    Rgb after = PixelAt(w.stm->GetBitmap(), 25, 10);
    EXPECT_FALSE(before == after);
    w.showTeleports = false;
    w.World::Render();
    EXPECT_EQ(before, PixelAt(w.stm->GetBitmap(), 25, 10));
}

}  // namespace
