// The settings file: defaults, the file written, round trips and the
// guards against hand-edited values.
#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "learn/frames.h"
#include "learn/lens.h"
#include "learn/overlay.h"
#include "learn/pointer.h"
#include "learn/teleport.h"
#include "test_support.h"

namespace {

class Settings : public ::testing::Test {
protected:
    TempDir dir;
};

TEST_F(Settings, NoFileGivesTheDefaults) {
    TestWorld w;
    EXPECT_EQ("gfx/qop.pcx", w.cfile);
    EXPECT_EQ(16, w.lens->mag);
    EXPECT_EQ(0, w.lens->x);
    EXPECT_EQ(0, w.lens->y);
    ASSERT_EQ(10u, w.pointers.size());
    for (Pointer* p : w.pointers) {
        EXPECT_EQ(0, p->x);
        EXPECT_EQ(0, p->y);
        EXPECT_EQ(0, p->bx);
        EXPECT_EQ(0, p->by);
        EXPECT_EQ(0, p->w);
        EXPECT_EQ(0, p->h);
        EXPECT_EQ(8, p->jx);
        EXPECT_EQ(8, p->jy);
        EXPECT_EQ(0, p->layer);
        EXPECT_EQ(RgbOf(makecol(255, 180, 0)), RgbOf(p->colour));
    }
    ASSERT_EQ(20u, w.teleportMan->teleports.size());
    for (Teleport* t : w.teleportMan->teleports) {
        EXPECT_EQ(0, t->x);
        EXPECT_EQ(0, t->y);
        EXPECT_EQ(8, t->jtx);
        EXPECT_EQ(8, t->jty);
    }
    EXPECT_FALSE(w.teleportMan->on);
    EXPECT_EQ(0, w.spointer);
    EXPECT_EQ(w.pointers[0], w.pointer);
    EXPECT_EQ("img", w.files->root);
    EXPECT_EQ(0, w.files->filesPos);
    EXPECT_EQ(1, w.textDraw->w);
    EXPECT_EQ(1, w.textDraw->h);
    EXPECT_EQ(" ", w.textDraw->text);
    EXPECT_EQ(0, w.pause);
}

// The file a fresh editor writes, on disk straight after SaveSettings:
// sections in their order, keys in their order within each.
TEST_F(Settings, DefaultsWriteTheWholeFileInOrder) {
    TestWorld w;
    w.SaveSettings();
    std::string orange = std::to_string(makecol(255, 180, 0));
    std::string pink = std::to_string(makecol(255, 0, 255));
    std::string want = "[File]\ncfile = gfx/qop.pcx\n\n[Lens]\nx = 0\ny = 0\nmag = 16\n\n[Pointer]\n";
    for (int n = 0; n < 10; n++) {
        std::string N = std::to_string(n);
        want += "layer" + N + " = 0\nx" + N + " = 0\ny" + N + " = 0\nbx" + N + " = 0\nby" + N + " = 0\nw" + N +
                " = 0\nh" + N + " = 0\njx" + N + " = 8\njy" + N + " = 8\nc" + N + " = " + orange + "\nwc" + N +
                " = " + pink + "\n";
    }
    want += "\n[Teleport]\non = 0\n";
    for (int n = 0; n < 20; n++) {
        std::string N = std::to_string(n);
        want += "x" + N + " = 0\ny" + N + " = 0\njtx" + N + " = 8\njty" + N + " = 8\n";
    }
    want += "spointer = 0\n\n[Files]\nroot = img\nfilesPos = 0\n\n[TextDraw]\nw = 1\nh = 1\ntext =  \n\n"
            "[Pause]\npause = 0\n\n[Undo]\nmemory = 64\n\n[Status]\nshown = 1\n\n[Export]\nfirst = 0\nlast = -1\n"
            "delay = -1\nloops = 0\ncolumns = -1\npadding = 0\nscale = 1\n\n[Onion]\nmode = 0\nopacity = 35\ntint = 1\n\n"
            "[Mirror]\nmode = 0\n\n[Grid]\nmode = 0\ntile = 16\n";
    want += "\n[Palette]\ncount = 32\n";
    for (size_t n = 0; n < 32; n++)
        want += "c" + std::to_string(n) + " = " + FormatHexColour(Palette::Default()[n]) + "\n";
    want += "shown = 1\n";
    for (int n = 0; n < 10; n++) want += "second" + std::to_string(n) + " = 000000\n";
    std::string got = ReadFile("vell.cfg");
    // Compared line by line so a failure names the first differing line.
    std::istringstream a(want), b(got);
    std::string la, lb;
    int line = 1;
    while (std::getline(a, la)) {
        ASSERT_TRUE(static_cast<bool>(std::getline(b, lb))) << "file ends before line " << line;
        ASSERT_EQ(la, lb) << "line " << line;
        line++;
    }
    EXPECT_FALSE(static_cast<bool>(std::getline(b, lb))) << "extra line " << lb;
}

// Every stored value set to something other than its default.
void ChangeEverything(World& w) {
    w.cfile = "pics/a b.pcx";
    w.lens->mag = 5;
    w.lens->x = 17;
    w.lens->y = -3;
    for (int n = 0; n < 10; n++) {
        Pointer* p = w.pointers[n];
        p->layer = n;  // stays as stored: only the current pointer's is clamped
        p->x = 100 + n;
        p->y = 200 + n;
        p->bx = 10 + n;
        p->by = 20 + n;
        p->w = 30 + n;
        p->h = 40 + n;
        p->jx = 1 + n;
        p->jy = 2 + n;
        p->colour = makecol(0, 0, 255);
        p->second = makecol(n, 2 * n, 250);
    }
    w.palette = Palette({0x123456, 0xabcdef, 0x000001});
    w.paletteShown = false;
    w.teleportMan->on = true;
    for (int n = 0; n < 20; n++) {
        Teleport* t = w.teleportMan->teleports[n];
        *t = Teleport(n, -n, 1000 + n, 2000 - n);
    }
    w.spointer = 0;  // pointer 0 sits on layer 0, the only one there is
    w.files->root = "frames/run";
    w.files->filesPos = 321;
    w.textDraw->w = 3;
    w.textDraw->h = 2;
    w.textDraw->text = "  Hello, world!  ";
    w.pause = 250;
    w.statusShown = false;
    w.exportSettings = ExportSettings{4, 9, 57, 3, 2, 1, 7, "out/walk.gif", "out/walk_sheet.png"};
    w.onion.mode = OnionSkin::Both;
    w.onion.opacity = 60;
    w.onion.tint = false;
    w.mirrorMode = MirrorMode::Both;
    w.mirrorSumX = 41;
    w.mirrorSumY = -6;
}

TEST_F(Settings, SaveThenLoadGivesEveryValueBack) {
    {
        TestWorld w;
        ChangeEverything(w);
        w.SaveSettings();
    }
    TestWorld w;
    EXPECT_EQ("pics/a b.pcx", w.cfile);
    EXPECT_EQ(5, w.lens->mag);
    EXPECT_EQ(17, w.lens->x);
    EXPECT_EQ(-3, w.lens->y);
    for (int n = 0; n < 10; n++) {
        Pointer* p = w.pointers[n];
        EXPECT_EQ(n, p->layer);
        EXPECT_EQ(100 + n, p->x);
        EXPECT_EQ(200 + n, p->y);
        EXPECT_EQ(10 + n, p->bx);
        EXPECT_EQ(20 + n, p->by);
        EXPECT_EQ(30 + n, p->w);
        EXPECT_EQ(40 + n, p->h);
        EXPECT_EQ(1 + n, p->jx);
        EXPECT_EQ(2 + n, p->jy);
        // The pen colour is written but every run starts orange.
        EXPECT_EQ(RgbOf(makecol(255, 180, 0)), RgbOf(p->colour));
    }
    EXPECT_TRUE(w.teleportMan->on);
    for (int n = 0; n < 20; n++) {
        Teleport* t = w.teleportMan->teleports[n];
        EXPECT_EQ(n, t->x);
        EXPECT_EQ(-n, t->y);
        EXPECT_EQ(1000 + n, t->jtx);
        EXPECT_EQ(2000 - n, t->jty);
    }
    EXPECT_EQ("frames/run", w.files->root);
    EXPECT_EQ(321, w.files->filesPos);
    EXPECT_EQ(3, w.textDraw->w);
    EXPECT_EQ(2, w.textDraw->h);
    // Allegro's reader trims values: the outer blanks are lost.
    EXPECT_EQ("Hello, world!", w.textDraw->text);
    EXPECT_EQ(250, w.pause);
    EXPECT_FALSE(w.statusShown);
    const ExportSettings& e = w.exportSettings;
    EXPECT_EQ((std::vector<int>{4, 9, 57, 3, 2, 1, 7}),
              (std::vector<int>{e.first, e.last, e.delay, e.loops, e.columns, e.padding, e.scale}));
    EXPECT_EQ("out/walk.gif", e.gif);
    EXPECT_EQ("out/walk_sheet.png", e.sheet);
    EXPECT_EQ((std::vector<int>{OnionSkin::Both, 60, 0}), (std::vector<int>{w.onion.mode, w.onion.opacity, w.onion.tint}));
    EXPECT_EQ(MirrorMode::Both, w.mirrorMode);
    EXPECT_EQ(std::optional<int64_t>(41), w.mirrorSumX);
    EXPECT_EQ(std::optional<int64_t>(-6), w.mirrorSumY);
    EXPECT_EQ(Palette({0x123456, 0xabcdef, 0x000001}), w.palette);
    EXPECT_FALSE(w.paletteShown);
    for (int n = 0; n < 10; n++) EXPECT_EQ(RgbOf(makecol(n, 2 * n, 250)), RgbOf(w.pointers[n]->second));
    EXPECT_NE(std::string::npos, ReadFile("vell.cfg").find("c0 = " + std::to_string(makecol(0, 0, 255))));
}

// A stored palette that cannot be read whole is not half used.
TEST_F(Settings, ABadStoredPaletteFallsBackToTheDefault) {
    for (const char* palette : {"count = 2\nc0 = 102030\nc1 = 1020zz\n", "count = 0\n", "count = 257\n",
                                "count = 3\nc0 = 102030\nc1 = 405060\n"}) {
        SCOPED_TRACE(palette);
        WriteFile("vell.cfg", std::string("[Palette]\n") + palette);
        testing::internal::CaptureStdout();
        TestWorld w;
        std::string said = testing::internal::GetCapturedStdout();
        EXPECT_EQ(Palette::Default(), w.palette);
        EXPECT_NE(std::string::npos, said.find("the default palette is used"));
    }
}

TEST_F(Settings, CurrentPointerRoundTrips) {
    {
        TestWorld w;
        w.spointer = 7;
        w.pointer = w.pointers[7];
        w.pointers[7]->x = 33;
        w.SaveSettings();
    }
    TestWorld w;
    EXPECT_EQ(7, w.spointer);
    EXPECT_EQ(w.pointers[7], w.pointer);
    EXPECT_EQ(33, w.pointer->x);
}

TEST_F(Settings, TextOfOneSpaceReadsBackAsTheDefault) {
    {
        TestWorld w;
        w.textDraw->text = " ";
        w.SaveSettings();
    }
    EXPECT_NE(std::string::npos, ReadFile("vell.cfg").find("text =  \n"));
    TestWorld w;
    EXPECT_EQ(" ", w.textDraw->text);
}

TEST_F(Settings, LineBreaksInTextsDoNotSplitTheFile) {
    {
        TestWorld w;
        w.textDraw->text = "two\nlines\r";
        w.files->root = "a\nb";
        w.pause = 77;
        w.SaveSettings();
    }
    TestWorld w;
    EXPECT_EQ("two lines", w.textDraw->text);
    EXPECT_EQ("a b", w.files->root);
    EXPECT_EQ(77, w.pause);
}

struct HandEdit {
    const char* name;
    const char* file;
    std::function<void(World&)> check;
};

class SettingsHandEdited : public ::testing::TestWithParam<HandEdit> {
protected:
    TempDir dir;
};

TEST_P(SettingsHandEdited, IsReadSafely) {
    WriteFile("vell.cfg", GetParam().file);
    TestWorld w;
    GetParam().check(w);
}

const HandEdit kHandEdits[] = {
    {"OnFiveIsOn", "[Teleport]\non = 5\n", [](World& w) { EXPECT_TRUE(w.teleportMan->on); }},
    {"OnZeroIsOff", "[Teleport]\non = 0\n", [](World& w) { EXPECT_FALSE(w.teleportMan->on); }},
    {"SpointerTooHighSelectsZero", "[Teleport]\nspointer = 12\n",
     [](World& w) {
         EXPECT_EQ(0, w.spointer);
         EXPECT_EQ(w.pointers[0], w.pointer);
     }},
    {"SpointerNegativeSelectsZero", "[Teleport]\nspointer = -1\n",
     [](World& w) {
         EXPECT_EQ(0, w.spointer);
         EXPECT_EQ(w.pointers[0], w.pointer);
     }},
    {"SpointerInRange", "[Teleport]\nspointer = 9\n", [](World& w) { EXPECT_EQ(w.pointers[9], w.pointer); }},
    {"CurrentPointersLayerIsClamped", "[Pointer]\nlayer0 = 7\n",
     [](World& w) {
         EXPECT_EQ(static_cast<int>(w.layers.size()) - 1, w.slayer);
         EXPECT_EQ(w.layers.back(), w.layer);
         EXPECT_EQ(w.slayer, w.pointer->layer);
     }},
    {"GridOutOfRangeReadsOffAndTile16", "[Grid]\nmode = 3\ntile = 0\n",
     [](World& w) { EXPECT_EQ((std::vector<int>{0, 16}), (std::vector<int>{w.grid.mode, w.grid.tile})); }},
    {"OnionOutOfRangeReadsOffAndOpaque", "[Onion]\nmode = 3\nopacity = 250\n",
     [](World& w) { EXPECT_EQ((std::vector<int>{0, 100}), (std::vector<int>{w.onion.mode, w.onion.opacity})); }},
    {"MagZeroReadsOne", "[Lens]\nmag = 0\n", [](World& w) { EXPECT_EQ(1, w.lens->mag); }},
    {"MagNegativeReadsOne", "[Lens]\nmag = -4\n", [](World& w) { EXPECT_EQ(1, w.lens->mag); }},
    {"SectionsInAnyOrder", "[Pause]\npause = 9\n[Files]\nfilesPos = 1200\nroot = x/y\n",
     [](World& w) {
         EXPECT_EQ(9, w.pause);
         EXPECT_EQ("x/y1200.tga", w.files->Name());
     }},
    {"SameKeyNamesAreIndependent", "[Pointer]\nx0 = 4\n[Teleport]\nx0 = 6\n",
     [](World& w) {
         EXPECT_EQ(4, w.pointers[0]->x);
         EXPECT_EQ(6, w.teleportMan->teleports[0]->x);
     }},
};

INSTANTIATE_TEST_SUITE_P(Cases, SettingsHandEdited, ::testing::ValuesIn(kHandEdits),
                         [](const ::testing::TestParamInfo<HandEdit>& i) { return std::string(i.param.name); });

TEST_F(Settings, KeysKeepTheirPlaceInAnExistingFile) {
    WriteFile("vell.cfg", "# mine\n[Pause]\npause = 3\nextra = kept\n\n[File]\ncfile = a.pcx\n");
    {
        TestWorld w;
        w.pause = 4;
        w.SaveSettings();
    }
    std::string got = ReadFile("vell.cfg");
    EXPECT_EQ(0u, got.find("# mine\n[Pause]\npause = 4\nextra = kept\n")) << got;
    EXPECT_LT(got.find("[Pause]"), got.find("[File]"));
    EXPECT_LT(got.find("[File]"), got.find("[Lens]"));
    EXPECT_NE(std::string::npos, got.find("cfile = a.pcx"));
}

}  // namespace
