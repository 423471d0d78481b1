// Frame file names, the step limits, and the Ctrl+COMMA / Ctrl+STOP keys.
#include "learn/frames.h"

#include <gtest/gtest.h>

#include "learn/overlay.h"
#include "test_support.h"

namespace {

TEST(Files, NameIsRootAndThreeDigitNumber) {
    EXPECT_EQ("img007.tga", Files(nullptr, "img", 7).Name());
    EXPECT_EQ("img000.tga", Files(nullptr, "img", 0).Name());
    EXPECT_EQ("frames/run042.tga", Files(nullptr, "frames/run", 42).Name());
    // A stored number above 999 is shown in full until a step clamps it.
    Files big(nullptr, "f", 1234);
    EXPECT_EQ("f1234.tga", big.Name());
    big.Step(1);
    EXPECT_EQ("f999.tga", big.Name());
}

TEST(Files, LongRootIsKeptWhole) {
    std::string root(600, 'r');
    EXPECT_EQ(root + "003.tga", Files(nullptr, root, 3).Name());
}

TEST(Files, StepStaysWithinZeroTo999) {
    Files f(nullptr, "img", 998);
    f.Step(1);
    EXPECT_EQ(999, f.filesPos);
    f.Step(1);
    EXPECT_EQ(999, f.filesPos);
    f.Step(-999);
    EXPECT_EQ(0, f.filesPos);
    f.Step(-1);
    EXPECT_EQ(0, f.filesPos);
    f.Step(5);
    f.Step(-2);
    EXPECT_EQ(3, f.filesPos);
    Files extreme(nullptr, "img", 2147483647);
    extreme.Step(2147483647);
    EXPECT_EQ(999, extreme.filesPos);
    Files low(nullptr, "img", -2147483647);
    low.Step(-5);
    EXPECT_EQ(0, low.filesPos);
}

TEST(Files, AnnounceShowsOneQuotedLine) {
    Text overlay(nullptr);
    overlay.SetLines({"old", "lines"});
    Files f(nullptr, "img", 12);
    f.Announce(&overlay);
    EXPECT_EQ(std::vector<std::string>{"Files Select - \"img012.tga\""}, overlay.lines);
}

class FrameKeys : public ::testing::Test {
protected:
    TempDir dir;
    void TearDown() override { ReleaseAllKeys(); }
};

TEST_F(FrameKeys, CtrlStopAndCtrlCommaStepAndAnnounce) {
    TestWorld w;
    ReleaseAllKeys();
    HoldKey(KEY_LCONTROL);
    HoldKey(KEY_STOP);
    w.DoKeys();
    w.DoKeys();
    EXPECT_EQ(2, w.files->filesPos);
    EXPECT_EQ(std::vector<std::string>{"Files Select - \"img002.tga\""}, w.text->lines);
    HoldKey(KEY_STOP, false);
    HoldKey(KEY_COMMA);
    for (int i = 0; i < 4; i++) w.DoKeys();
    EXPECT_EQ(0, w.files->filesPos);
    EXPECT_EQ(std::vector<std::string>{"Files Select - \"img000.tga\""}, w.text->lines);
}

}  // namespace
