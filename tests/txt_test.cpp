#include "txt/txt.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <initializer_list>
#include <string>
#include <thread>
#include <vector>

#include "all/display.h"
#include "bmp/bmp.h"
#include "test_support.h"

namespace {

int Orange() { return makecol(255, 180, 0); }
int Mask() { return makecol(255, 0, 255); }

// A widget at a fixed scale, whatever the screen size.
struct Label {
    Txt txt;
    Label(const std::string& s, int sx, int sy) : txt(0, 0, Orange(), s) { txt.setScale(sx, sy); }
};

TEST(TxtRender, SizesFollowLengthAndScale) {
    Label abc("abc", 1, 1);
    EXPECT_EQ(26, abc.txt.getWidth());
    EXPECT_EQ(10, abc.txt.getHeight());
    EXPECT_EQ(26, abc.txt.getBmp()->Width());

    Label big("abc", 2, 3);
    EXPECT_EQ(52, big.txt.getWidth());
    EXPECT_EQ(30, big.txt.getHeight());
    EXPECT_EQ(30, big.txt.getBmp()->Height());

    // Each character adds 8 x scaleX pixels.
    Label longer("abcd", 2, 3);
    EXPECT_EQ(52 + 16, longer.txt.getWidth());
}

TEST(TxtRender, BlankImageIsOneScaledPixelOfMask) {
    Label blank("", 2, 3);
    ASSERT_NE(nullptr, blank.txt.getBmp());
    EXPECT_EQ(2, blank.txt.getWidth());
    EXPECT_EQ(3, blank.txt.getHeight());
    for (int y = 0; y < 3; y++)
        for (int x = 0; x < 2; x++) EXPECT_EQ(RgbOf(Mask()), PixelAt(blank.txt.getBmp()->Get(), x, y));
}

TEST(TxtRender, ConstructorScalesFromTheScreen) {
    // The test screen is 1024x768: 1024/320 = 3, 768/240 = 3.
    Txt t(0, 0, Orange(), "abc");
    EXPECT_EQ(78, t.getWidth());
    EXPECT_EQ(30, t.getHeight());
}

// Checks every pixel of a scale-1 image against the font's own glyph
// pixels: text colour on a glyph pixel, black beside one, mask elsewhere.
TEST(TxtRender, OutlineSurroundsTheGlyphs) {
    const std::string s = "Ag!";
    Label l(s, 1, 1);
    BITMAP* img = l.txt.getBmp()->Get();
    int w = l.txt.getWidth(), h = l.txt.getHeight();
    BITMAP* glyphs = create_bitmap(w, h);
    clear_to_color(glyphs, 0);
    textout_ex(glyphs, display::font, s.c_str(), 1, 1, makecol(255, 255, 255), -1);
    auto glyphAt = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < w && y < h && getpixel(glyphs, x, y) != 0;
    };
    int inside = 0, edge = 0, outside = 0;
    for (int y = 0; y < h; y++) {
        for (int x = 0; x < w; x++) {
            // The colour copy is drawn one pixel right and down.
            bool on = glyphAt(x - 1, y - 1);
            bool near = false;
            for (int dy = -1; dy <= 1; dy++)
                for (int dx = -1; dx <= 1; dx++) near = near || glyphAt(x - 1 + dx, y - 1 + dy);
            Rgb want = on ? RgbOf(Orange()) : near ? RgbOf(0) : RgbOf(Mask());
            ASSERT_EQ(want, PixelAt(img, x, y)) << "at " << x << "," << y;
            (on ? inside : near ? edge : outside)++;
        }
    }
    EXPECT_GT(inside, 10);
    EXPECT_GT(edge, inside);
    EXPECT_GT(outside, 0);
    destroy_bitmap(glyphs);
}

TEST(TxtRender, ScaledImageKeepsColourEdgeAndMask) {
    Label l("I", 3, 3);
    BITMAP* img = l.txt.getBmp()->Get();
    int colour = 0, black = 0, mask = 0;
    for (int y = 0; y < img->h; y++)
        for (int x = 0; x < img->w; x++) {
            Rgb p = PixelAt(img, x, y);
            colour += p == RgbOf(Orange());
            black += p == RgbOf(0);
            mask += p == RgbOf(Mask());
        }
    EXPECT_GT(colour, 0);
    EXPECT_GT(black, 0);
    EXPECT_GT(mask, 0);
    EXPECT_EQ(img->w * img->h, colour + black + mask);
    EXPECT_EQ(RgbOf(Mask()), PixelAt(img, 0, 0));
}

TEST(TxtRender, RefusedScaleChangesNothing) {
    Label l("abc", 2, 2);
    const int refused[][2] = {{1 << 20, 1 << 20}, {0, 1}, {1, -3}, {INT_MAX, INT_MAX}, {INT_MAX, 1}};
    for (const auto& s : refused) {
        l.txt.setScale(s[0], s[1]);
        EXPECT_EQ(52, l.txt.getWidth()) << s[0] << "x" << s[1];
        EXPECT_EQ(20, l.txt.getHeight()) << s[0] << "x" << s[1];
    }
    l.txt.setText("abcd");
    EXPECT_EQ(68, l.txt.getWidth());
}

TEST(TxtRender, ColourChangeShowsAtNextRender) {
    Label l("H", 1, 1);
    int blue = makecol(0, 0, 255);
    l.txt.setColour(blue);
    auto countOf = [&](int c) {
        int n = 0;
        BITMAP* img = l.txt.getBmp()->Get();
        for (int y = 0; y < img->h; y++)
            for (int x = 0; x < img->w; x++) n += PixelAt(img, x, y) == RgbOf(c);
        return n;
    };
    EXPECT_GT(countOf(Orange()), 0);
    EXPECT_EQ(0, countOf(blue));
    l.txt.setText("H");
    EXPECT_EQ(0, countOf(Orange()));
    EXPECT_GT(countOf(blue), 0);
}

class TxtDraw : public ::testing::Test {
protected:
    BITMAP* dest = nullptr;
    int red = makecol(255, 0, 0);
    void SetUp() override {
        dest = create_bitmap(100, 40);
        clear_to_color(dest, red);
    }
    void TearDown() override { destroy_bitmap(dest); }
};

TEST_F(TxtDraw, ModeOneLeavesMaskTransparent) {
    Label l("abc", 1, 1);
    l.txt.drawAt(1, dest, 10, 5);
    EXPECT_EQ(RgbOf(red), PixelAt(dest, 10, 5));  // the image's mask corner
    EXPECT_EQ(PixelAt(l.txt.getBmp()->Get(), 3, 3), PixelAt(dest, 13, 8));
    EXPECT_EQ(RgbOf(red), PixelAt(dest, 9, 5));
}

TEST_F(TxtDraw, ModeTwoIsOpaque) {
    Label l("abc", 1, 1);
    l.txt.drawAt(2, dest, 10, 5);
    EXPECT_EQ(RgbOf(Mask()), PixelAt(dest, 10, 5));
    EXPECT_EQ(RgbOf(Mask()), PixelAt(dest, 35, 14));
    EXPECT_EQ(RgbOf(red), PixelAt(dest, 36, 14));  // one past the image
}

TEST_F(TxtDraw, ModeThreeAndUnknownModesDrawNothing) {
    Label l("abc", 1, 1);
    for (int mode : {3, 0, 7}) {
        l.txt.drawAt(mode, dest, 0, 0);
        for (int y = 0; y < 40; y++)
            for (int x = 0; x < 100; x++) ASSERT_EQ(RgbOf(red), PixelAt(dest, x, y)) << "mode " << mode;
    }
}

TEST_F(TxtDraw, DrawUsesThePosition) {
    Label l("abc", 1, 1);
    l.txt.setPos(50, 20);
    l.txt.draw(2, dest);
    EXPECT_EQ(RgbOf(red), PixelAt(dest, 49, 20));
    EXPECT_EQ(RgbOf(Mask()), PixelAt(dest, 50, 20));
}

TEST_F(TxtDraw, PrintAtIsPlainAndUnscaled) {
    Label l("H", 3, 3);
    clear_to_color(dest, 0);
    l.txt.printAt(dest, 2, 1);  // pixel (17, 9)
    BITMAP* ref = create_bitmap(100, 40);
    clear_to_color(ref, 0);
    textout_ex(ref, display::font, "H", 17, 9, Orange(), -1);
    for (int y = 0; y < 40; y++)
        for (int x = 0; x < 100; x++) ASSERT_EQ(PixelAt(ref, x, y), PixelAt(dest, x, y)) << x << "," << y;
    destroy_bitmap(ref);
}

// One press: the keys held while it is read, and the character it yields.
struct Press {
    std::vector<int> held;
    int ch;
    std::function<void()> before;  // runs just before the key is read
};

// A widget whose key reads come from a script; the real editor runs.
class ScriptedTxt : public Txt {
public:
    ScriptedTxt(const std::string& s, std::vector<Press> p) : Txt(0, 0, Orange(), s), presses(std::move(p)) {}
    size_t reads = 0;

protected:
    int ReadKey() override {
        ReleaseAllKeys();
        if (reads >= presses.size()) {
            ADD_FAILURE() << "getInput read past the script";
            HoldKey(KEY_ENTER);
            return 13;
        }
        const Press& p = presses[reads++];
        if (p.before) p.before();
        for (int k : p.held) HoldKey(k);
        return p.ch;
    }

private:
    std::vector<Press> presses;
};

Press Key(int k, std::initializer_list<int> mods = {}) {
    Press p{{k}, 0, nullptr};
    p.held.insert(p.held.end(), mods);
    return p;
}
Press Char(char c, std::initializer_list<int> mods = {}) {
    // A letter key is held too; only the editing keys are looked at.
    Press p{{KEY_A}, static_cast<unsigned char>(c), nullptr};
    p.held.insert(p.held.end(), mods);
    return p;
}
Press Enter() { return {{KEY_ENTER}, 13, nullptr}; }
Press Esc() { return {{KEY_ESC}, 27, nullptr}; }

std::vector<Press> Typed(const std::string& s) {
    std::vector<Press> v;
    for (char c : s) v.push_back(Char(c));
    return v;
}

std::vector<Press> Seq(std::initializer_list<std::vector<Press>> parts) {
    std::vector<Press> v;
    for (const auto& part : parts) v.insert(v.end(), part.begin(), part.end());
    return v;
}
std::vector<Press> One(Press p) { return {p}; }
std::vector<Press> Times(int n, Press p) { return std::vector<Press>(n, p); }

// The cursor is observed by typing '|' where it stands.
struct EditCase {
    const char* name;
    std::string start;
    std::vector<Press> presses;
    std::string returned;
    std::string textAfter;
};

class TxtInput : public ::testing::TestWithParam<EditCase> {
protected:
    void TearDown() override { ReleaseAllKeys(); }
};

TEST_P(TxtInput, EditsAsScripted) {
    const EditCase& c = GetParam();
    ScriptedTxt t(c.start, c.presses);
    std::string got = t.getInput(10, 10);
    EXPECT_EQ(c.returned, got);
    EXPECT_EQ(c.textAfter, t.getText());
    EXPECT_EQ(c.presses.size(), t.reads);
}

const int LS = KEY_LSHIFT, RS = KEY_RSHIFT, LC = KEY_LCONTROL, RC = KEY_RCONTROL, ALT = KEY_ALT;

const EditCase kEditCases[] = {
    {"EnterAtOnceKeepsText", "hello", {Enter()}, "hello", "hello"},
    {"EnterOnEmptyGivesSpace", "", {Enter()}, " ", ""},
    {"TypingAppends", "ab", Seq({Typed("cd"), One(Enter())}), "abcd", "abcd"},
    {"TypingIntoEmpty", "", Seq({Typed("x y"), One(Enter())}), "x y", "x y"},
    {"EscRestores", "hello", Seq({Typed("xyz"), One(Key(KEY_HOME)), One(Key(KEY_DEL)), One(Esc())}), "hello",
     "hello"},
    {"EnterWinsOverEsc", "hi", Seq({Typed("!"), One(Press{{KEY_ENTER, KEY_ESC}, 13, nullptr})}), "hi!", "hi!"},
    {"HomeThenEnd", "hello", Seq({One(Key(KEY_HOME)), Typed("|"), One(Key(KEY_END)), Typed("!"), One(Enter())}),
     "|hello!", "|hello!"},
    {"LeftMovesOne", "abc", Seq({One(Key(KEY_LEFT)), Typed("|"), One(Enter())}), "ab|c", "ab|c"},
    {"LeftStopsAtZero", "ab", Seq({Times(4, Key(KEY_LEFT)), Typed("|"), One(Enter())}), "|ab", "|ab"},
    {"RightStopsAtEnd", "ab", Seq({One(Key(KEY_HOME)), Times(4, Key(KEY_RIGHT)), Typed("|"), One(Enter())}),
     "ab|", "ab|"},
    {"DelAtCursor", "hello", Seq({One(Key(KEY_HOME)), One(Key(KEY_DEL)), Typed("|"), One(Enter())}), "|ello",
     "|ello"},
    {"DelAtEndChangesNothing", "hello", Seq({One(Key(KEY_DEL)), Typed("|"), One(Enter())}), "hello|", "hello|"},
    {"BackspaceBeforeCursor", "hello", Seq({One(Key(KEY_LEFT)), One(Key(KEY_BACKSPACE)), Typed("|"), One(Enter())}),
     "hel|o", "hel|o"},
    {"BackspaceAtZeroChangesNothing", "hello",
     Seq({One(Key(KEY_HOME)), One(Key(KEY_BACKSPACE)), Typed("|"), One(Enter())}), "|hello", "|hello"},
    {"BackspaceOnEmptyChangesNothing", "", Seq({One(Key(KEY_BACKSPACE)), One(Enter())}), " ", ""},
    {"ShiftBackspaceCutsToStart", "hello world",
     Seq({One(Key(KEY_HOME)), Times(6, Key(KEY_RIGHT)), One(Key(KEY_BACKSPACE, {LS})), Typed("|"), One(Enter())}),
     "|world", "|world"},
    {"RightShiftBackspace", "hello world",
     Seq({One(Key(KEY_HOME)), Times(6, Key(KEY_RIGHT)), One(Key(KEY_BACKSPACE, {RS})), One(Enter())}), "world",
     "world"},
    {"ShiftDelCutsToEnd", "hello world",
     Seq({One(Key(KEY_HOME)), Times(6, Key(KEY_RIGHT)), One(Key(KEY_DEL, {LS})), Typed("|"), One(Enter())}),
     "hello |", "hello |"},
    {"CtrlLeftFromEnd", "abc def", Seq({One(Key(KEY_LEFT, {LC})), Typed("|"), One(Enter())}), "abc |def",
     "abc |def"},
    {"CtrlLeftTwiceReachesStart", "abc def", Seq({Times(2, Key(KEY_LEFT, {RC})), Typed("|"), One(Enter())}),
     "|abc def", "|abc def"},
    {"CtrlLeftOverSpaces", "ab  cd", Seq({One(Key(KEY_LEFT, {LC})), Typed("|"), One(Enter())}), "ab  |cd",
     "ab  |cd"},
    {"CtrlRightFromStart", "abc def", Seq({One(Key(KEY_HOME)), One(Key(KEY_RIGHT, {LC})), Typed("|"), One(Enter())}),
     "abc| def", "abc| def"},
    {"CtrlRightSkipsSpacesThenWord", "abc def",
     Seq({One(Key(KEY_HOME)), Times(2, Key(KEY_RIGHT, {RC})), Typed("|"), One(Enter())}), "abc def|", "abc def|"},
    {"AltLetterMovesToEnd", "hello",
     Seq({One(Key(KEY_HOME)), One(Char('q', {ALT})), Typed("|"), One(Enter())}), "hello|", "hello|"},
    {"AltLeftScrollsOnly", "hello", Seq({One(Key(KEY_LEFT, {ALT})), Typed("|"), One(Enter())}), "hello|", "hello|"},
    {"EditingKeyWinsOverCharacter", "ab", Seq({One(Press{{KEY_HOME}, 'z', nullptr}), Typed("|"), One(Enter())}),
     "|ab", "|ab"},
    {"ControlCodesAreInserted", "a", Seq({One(Char(1)), One(Char('\t')), One(Enter())}), "a\x01\t", "a\x01\t"},
    {"HelpStatusAndPagingKeysAreIgnored", "ab",
     Seq({One(Key(KEY_HOME)), One(Press{{KEY_F1}, KEY_F1 << 8, nullptr}), One(Press{{KEY_F2}, KEY_F2 << 8, nullptr}),
          One(Press{{KEY_PGDN}, KEY_PGDN << 8, nullptr}), One(Press{{KEY_PGUP}, KEY_PGUP << 8, nullptr}), Typed("|"),
          One(Enter())}),
     "|ab", "|ab"},
};

INSTANTIATE_TEST_SUITE_P(Rules, TxtInput, ::testing::ValuesIn(kEditCases),
                         [](const ::testing::TestParamInfo<EditCase>& i) { return std::string(i.param.name); });

TEST(TxtInputZero, KeyWithoutCharacterInsertsZeroByte) {
    ScriptedTxt t("a", {Key(KEY_F1), Enter()});
    std::string got = t.getInput(0, 0);
    ASSERT_EQ(2u, got.size());
    EXPECT_EQ('\0', got[1]);
}

// Counts pixels of the text colour in the screen strip.
int OrangeIn(int x0, int y0, int w, int h) {
    int n = 0;
    for (int y = y0; y < y0 + h; y++)
        for (int x = x0; x < x0 + w; x++) n += PixelAt(display::screen, x, y) == RgbOf(Orange());
    return n;
}

class TxtInputScreen : public ::testing::Test {
protected:
    void SetUp() override { clear_to_color(display::screen, 0); }
    void TearDown() override {
        ReleaseAllKeys();
        clear_to_color(display::screen, 0);
    }
};

TEST_F(TxtInputScreen, LeavesTheTextWithoutCursorInTheStrip) {
    ScriptedTxt t("", Seq({Typed("OK"), One(Enter())}));
    t.getInput(100, 200);
    EXPECT_GT(OrangeIn(100, 200, 60, 30), 0);
    EXPECT_EQ(0, OrangeIn(0, 0, 1024, 200));
    // No white-ish cursor block is left behind.
    for (int x = 100; x < 1024; x++) ASSERT_FALSE(RgbOf(makecol(180, 180, 180)) == PixelAt(display::screen, x, 205));
}

TEST_F(TxtInputScreen, DrawsATranslucentCursorBlock) {
    Rgb seen{-1, -1, -1};
    auto wait = [] { std::this_thread::sleep_for(std::chrono::milliseconds(30)); };
    // The redraw before the second read shows the cursor after "ab" (cell 2
    // at scale 3: x from 48 + 2).
    std::vector<Press> p = {Char('b'), Enter()};
    p[0].before = wait;
    p[1].before = [&] { seen = PixelAt(display::screen, 300 + 48 + 4, 40 + 4); };
    ScriptedTxt t("a", p);
    t.getInput(300, 40);
    EXPECT_GT(seen.r, 120);
    EXPECT_LT(seen.r, 230);
    EXPECT_EQ(seen.r, seen.g);
    EXPECT_EQ(seen.g, seen.b);
}

TEST_F(TxtInputScreen, LongTextScrollsToKeepTheCursorInside) {
    // 39 spaces then a W: at scale 3 the W lies far beyond a 200-pixel strip
    // unless the view scrolls with the cursor.
    std::string spaces(39, ' ');
    ScriptedTxt atEnd("", Seq({Typed(spaces + "W"), One(Enter())}));
    atEnd.getInput(824, 100);
    EXPECT_GT(OrangeIn(824, 100, 200, 30), 0);

    clear_to_color(display::screen, 0);
    ScriptedTxt atStart(spaces + "W", {Key(KEY_HOME), Enter()});
    atStart.getInput(824, 100);
    EXPECT_EQ(0, OrangeIn(824, 100, 200, 30));
}

TEST_F(TxtInputScreen, NoRoomForAStripReturnsTheTextUnread) {
    ScriptedTxt edge("kept", {});
    EXPECT_EQ("kept", edge.getInput(1023, 0));
    ScriptedTxt outside("", {});
    EXPECT_EQ(" ", outside.getInput(2000, 0));
    EXPECT_EQ(0u, edge.reads + outside.reads);
}

TEST_F(TxtInputScreen, StripOfEmptyTextIsOneLineHigh) {
    // A strip only scaleY high would cut the typed text to 3 pixel rows.
    ScriptedTxt t("", Seq({Typed("H"), One(Enter())}));
    t.getInput(0, 0);
    EXPECT_GT(OrangeIn(0, 10, 40, 20), 0);
}

}  // namespace

// Each printable ASCII character's coloured pixels are the font's glyph (the
// text lies one pixel in, the coloured copy one more over the outline).
TEST(TxtRender, EveryPrintableCharacterIsTheFontsGlyph) {
    BITMAP* glyph = create_bitmap(8, 8);
    for (char c = ' '; c <= '~'; c++) {
        Label label(std::string(1, c), 1, 1);
        clear_to_color(glyph, 0);
        textprintf_ex(glyph, display::font, 0, 0, Orange(), 0, "%c", c);
        BITMAP* shown = label.txt.getBmp()->GetBitmap();
        int differing = 0;
        for (int y = 0; y < 8; y++)
            for (int x = 0; x < 8; x++)
                differing += (getpixel(glyph, x, y) == Orange()) != (getpixel(shown, x + 2, y + 2) == Orange());
        EXPECT_EQ(differing, 0) << "'" << c << "'";
    }
    destroy_bitmap(glyph);
}
