// The multi-field form driven through real text widgets whose key reads are
// scripted: accept, cancel, wrapping to the first row, emptied rows.
#include <gtest/gtest.h>

#include <climits>
#include <deque>

#include "all/display.h"
#include "learn/prompt.h"
#include "test_support.h"
#include "txt/txt.h"

namespace {

// One key press: the keys held while it is read, and its character.
struct Press {
    std::vector<int> held;
    int ch;
};

struct Script {
    std::deque<Press> presses;
    bool ranOut = false;
    int pauses = 0;

    void Type(const std::string& s) {
        for (char c : s) presses.push_back({{}, c});
    }
    void Enter() { presses.push_back({{KEY_ENTER}, '\r'}); }
    void CtrlEnter() { presses.push_back({{KEY_LCONTROL, KEY_ENTER}, '\r'}); }
    void Esc() { presses.push_back({{KEY_ESC}, 27}); }
    void CtrlEsc() { presses.push_back({{KEY_LCONTROL, KEY_ESC}, 27}); }
    void ShiftBackspace() { presses.push_back({{KEY_LSHIFT, KEY_BACKSPACE}, 8}); }

    PromptSeams Seams() {
        PromptSeams s;
        s.makeTxt = [this](int x, int y, int c, const std::string& t) { return new Scripted(this, x, y, c, t); };
        // The user lets go of every key while the form waits for that.
        s.pause = [this](int) {
            pauses++;
            ReleaseAllKeys();
        };
        return s;
    }

    class Scripted : public Txt {
    public:
        Scripted(Script* s, int x, int y, int c, const std::string& t) : Txt(x, y, c, t), script(s) {}

    protected:
        int ReadKey() override {
            ReleaseAllKeys();
            if (script->presses.empty()) {  // end a runaway form rather than hang
                script->ranOut = true;
                HoldKey(KEY_ESC);
                return 27;
            }
            Press p = script->presses.front();
            script->presses.pop_front();
            for (int k : p.held) HoldKey(k);
            return p.ch;
        }
        Script* script;
    };
};

const std::vector<std::string> kPrompts = {"One:", "Two:", "Three:"};
const std::vector<std::string> kValues = {"a", "b", "c"};

class PromptTest : public testing::Test {
protected:
    void SetUp() override {
        ReleaseAllKeys();
        clear_to_color(display::screen, 0);
    }
    void TearDown() override { ReleaseAllKeys(); }
    PromptAnswers Ask() { return AskFields("Title", kPrompts, kValues, script.Seams()); }
    Script script;
};

}  // namespace

TEST_F(PromptTest, CtrlEnterInTheFirstRowAcceptsWithTheOtherRowsAsOffered) {
    script.Type("1");
    script.CtrlEnter();
    PromptAnswers a = Ask();
    EXPECT_TRUE(a.accepted);
    EXPECT_EQ(a.texts, (std::vector<std::string>{"a1", "b", "c"}));
    EXPECT_FALSE(script.ranOut);
}

TEST_F(PromptTest, EscAndCtrlEscCancelWithTheOfferedValues) {
    script.Type("zz");
    script.Esc();
    PromptAnswers a = Ask();
    EXPECT_FALSE(a.accepted);
    EXPECT_EQ(a.texts, kValues);

    script.Enter();  // first row left as it was, then cancel in the second
    script.Type("q");
    script.CtrlEsc();
    PromptAnswers b = Ask();
    EXPECT_FALSE(b.accepted);
    EXPECT_EQ(b.texts, kValues);
    EXPECT_FALSE(script.ranOut);
}

TEST_F(PromptTest, EnterAfterTheLastRowWrapsToTheFirstKeepingEarlierEdits) {
    script.Type("1");
    script.Enter();
    script.Type("2");
    script.Enter();
    script.Type("3");
    script.Enter();
    script.Type("4");
    script.CtrlEnter();
    PromptAnswers a = Ask();
    EXPECT_TRUE(a.accepted);
    EXPECT_EQ(a.texts, (std::vector<std::string>{"a14", "b2", "c3"}));
    EXPECT_FALSE(script.ranOut);
}

TEST_F(PromptTest, AnEmptiedRowGivesASpace) {
    script.Enter();
    script.ShiftBackspace();
    script.CtrlEnter();
    PromptAnswers a = Ask();
    EXPECT_TRUE(a.accepted);
    EXPECT_EQ(a.texts, (std::vector<std::string>{"a", " ", "c"}));
}

TEST_F(PromptTest, AHeldAltIsWaitedOutAndTheFormIsDrawnOnTheScreen) {
    HoldKey(KEY_ALT);
    script.CtrlEnter();
    PromptAnswers a = Ask();
    EXPECT_TRUE(a.accepted);
    EXPECT_GT(script.pauses, 0);
    // Title at the top left and the hint below the three rows, in yellow.
    int yellow = makecol(255, 255, 0);
    auto yellowIn = [&](int y0) {
        for (int y = y0; y < y0 + 8; y++)
            for (int x = 1; x < 200; x++)
                if (getpixel(display::screen, x, y) == yellow) return true;
        return false;
    };
    EXPECT_TRUE(yellowIn(FormLayout::kTitleY));
    EXPECT_TRUE(yellowIn(FormLayout::HintY(3)));
    EXPECT_FALSE(yellowIn(FormLayout::Height(3) + 8));
}

TEST(NumberFrom, ReadsLikeTheDialogsPromise) {
    EXPECT_EQ(NumberFrom("abc"), 0);
    EXPECT_EQ(NumberFrom(""), 0);
    EXPECT_EQ(NumberFrom(" "), 0);
    EXPECT_EQ(NumberFrom("  -5x"), -5);
    EXPECT_EQ(NumberFrom("+7"), 7);
    EXPECT_EQ(NumberFrom(" 12 3"), 12);
    EXPECT_EQ(NumberFrom("0x10"), 0);
    EXPECT_EQ(NumberFrom("99999999999"), INT_MAX);
    EXPECT_EQ(NumberFrom("-99999999999"), INT_MIN);
}
