// The history's bookkeeping: budget, redo cut, merged rectangles, groups.
#include "learn/history.h"

#include <gtest/gtest.h>

#include "bmp/bmp.h"
#include "learn/layer.h"
#include "test_support.h"

namespace {

const Rgb kRed{255, 0, 0}, kBlack{0, 0, 0};

class HistoryTest : public testing::Test {
protected:
    HistoryTest() : layers{new Layer(nullptr, 64, 48, 0)}, history(layers, pointers, History::kDefaultBudget) {
        history.say = [this](const std::string& line) { said.push_back(line); };
    }
    ~HistoryTest() override { delete layers[0]; }
    // A filled rectangle, reported first as a drawing command does.
    void Fill(int x, int y, int w, int h, int colour = makecol(255, 0, 0)) {
        history.WillChange(layers[0], x, y, w, h);
        rectfill(LayerBitmap(layers[0]), x, y, x + w - 1, y + h - 1, colour);
    }
    void Step(int x, int colour = makecol(255, 0, 0)) { Fill(x, 0, 1, 1, colour), history.Close(); }
    Rgb At(int x, int y) { return PixelAt(LayerBitmap(layers[0]), x, y); }

    std::vector<Layer*> layers;
    std::vector<Pointer*> pointers;
    History history;
    std::vector<std::string> said;
};

// (A step larger than the whole budget empties the history: the end-to-end
// case checks that with its message.)
TEST_F(HistoryTest, TheOldestStepsLeaveFirstAndQuietly) {
    for (int x = 0; x < 3; x++) Step(x);
    history.SetBudget(history.Bytes());
    Step(3), Step(4);
    while (history.Undo() >= 0) {
    }
    EXPECT_EQ(At(1, 0), kRed);
    EXPECT_EQ(At(2, 0), kBlack);
    EXPECT_TRUE(said.empty());
}

TEST_F(HistoryTest, ANewStepAfterAnUndoDropsTheRedoAndAnUnchangedOneDropsNothing) {
    Step(0), Step(1);
    history.Undo();
    Step(1, 0);  // black on black: no step
    EXPECT_EQ(history.RedoCount(), 1);
    Step(2);
    EXPECT_EQ(history.Redo(), -1);
    EXPECT_EQ(At(1, 0), kBlack);
}

TEST_F(HistoryTest, OverlappingReportsOfAStepAndAGroupAreUndoneWhole) {
    Step(40);
    history.BeginGroup(0);
    Fill(0, 0, 4, 4), Fill(2, 2, 4, 4, makecol(0, 255, 0)), Fill(30, 30, 2, 2);
    Fill(3, 3, 28, 28, makecol(9, 9, 9));  // meets and joins all three
    history.Close();
    Step(10);
    history.Undo(), history.Undo();
    EXPECT_EQ(history.Undo(), -1);  // the step before the group is out of reach
    Step(11);
    history.EndGroup();
    EXPECT_EQ(history.UndoCount(), 2);
    history.Undo();
    for (int y = 0; y < 48; y++)
        for (int x = 0; x < 64; x++) ASSERT_EQ(At(x, y), x == 40 && y == 0 ? kRed : kBlack) << x << "," << y;
}

}  // namespace
