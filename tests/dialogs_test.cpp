// The setting dialogs through their real code, with the form answered by
// overriding the editor's Prompt.
#include <gtest/gtest.h>

#include <deque>

#include "bmp/bmp.h"
#include "learn/frames.h"
#include "learn/key_recorder.h"
#include "learn/layer.h"
#include "learn/overlay.h"
#include "learn/pointer.h"
#include "learn/prompt.h"
#include "learn/teleport.h"
#include "test_support.h"
#include "txt/txt.h"

namespace {

class DialogWorld : public TestWorld {
public:
    DialogWorld() {
        resizeCanvas(16, 8);
        pointer->Setup(this, 0, 1, 1, 0, 0, 2, 2, 3, 3, 0, 0, 0);
        if (!files) files = new Files(this, "img", 0);
        if (!textDraw) textDraw = new TextDraw(1, 1, " ");
        if (!teleportMan) teleportMan = new TeleportMan(this, {}, false);
    }
    // Each form takes the next scripted answer; without one it is cancelled
    // and returns the offered values, as Esc does.
    PromptAnswers Prompt(const std::string& title, const std::vector<std::string>& prompts,
                         const std::vector<std::string>& values, const FieldRanges& = {}) override {
        titles.push_back(title);
        asked.push_back(prompts);
        offered.push_back(values);
        if (answers.empty()) return {values, false};
        PromptAnswers a{answers.front(), true};
        answers.pop_front();
        return a;
    }
    std::string Line() { return text->lines.empty() ? "" : text->lines.back(); }
    bool AskYesNo(const std::string& question) override { return questions.push_back(question), false; }
    std::vector<std::string> questions;

    std::deque<std::vector<std::string>> answers;
    std::vector<std::string> titles;
    std::vector<std::vector<std::string>> asked, offered;
};

class Dialogs : public testing::Test {
protected:
    void SetUp() override { ReleaseAllKeys(); }
    TempDir dir;
};

}  // namespace

// The answers bypass the form's range check: the dialogs' own must hold.
TEST_F(Dialogs, PauseReadsNumbersAndRefusesNegatives) {
    DialogWorld w;
    w.pause = 40;
    w.answers = {{"abc"}, {"-5"}, {"  12ms"}};
    w.pauseDialog();
    EXPECT_EQ(w.pause, 0);
    w.pauseDialog();
    EXPECT_EQ(w.pause, 0);
    w.pauseDialog();
    EXPECT_EQ(w.offered[2], std::vector<std::string>{"0"});
    EXPECT_EQ(w.pause, 12);
    EXPECT_EQ(w.titles[0], "Time Gap");
    EXPECT_EQ(w.asked[0], std::vector<std::string>{"Pause:"});
}

TEST_F(Dialogs, TeleportSwitchShowsZeroOrOne) {
    DialogWorld w;
    w.answers = {{"1"}, {"x"}};
    w.teleportDialog();
    EXPECT_TRUE(w.teleportMan->on);
    w.teleportDialog();
    EXPECT_EQ(w.offered[1], std::vector<std::string>{"1"});
    EXPECT_FALSE(w.teleportMan->on);
    EXPECT_EQ(w.titles[0], "Teleportion");
}

TEST_F(Dialogs, FilesStoresPositionAndRootAsText) {
    DialogWorld w;
    w.answers = {{"999", "frames/run"}};
    w.filesDialog();
    EXPECT_EQ(w.files->filesPos, 999);
    EXPECT_EQ(w.files->root, "frames/run");
    EXPECT_EQ(w.asked[0], (std::vector<std::string>{"Files Pos:", "Files root:"}));
    EXPECT_EQ(w.offered[0], (std::vector<std::string>{"0", "img"}));
}

TEST_F(Dialogs, JumpStepsUpToTheCanvasSize) {
    DialogWorld w;
    w.answers = {{"16", "8"}, {"0", "4"}, {"1", "9"}};
    for (int i = 0; i < 3; i++) w.jumpDialog();
    EXPECT_EQ(w.pointer->jx, 16);
    EXPECT_EQ(w.pointer->jy, 8);
    EXPECT_EQ(w.offered[0], (std::vector<std::string>{"3", "3"}));
}

TEST_F(Dialogs, ColourPartsOutOfRangeChangeNothing) {
    DialogWorld w;
    w.pointer->colour = makecol(10, 20, 30);
    w.answers = {{"300", "0", "7"}};
    w.colourDialog();
    EXPECT_EQ(w.offered[0], (std::vector<std::string>{"10", "20", "30"}));
    EXPECT_EQ(w.asked[0], (std::vector<std::string>{"Red   0-255:", "Green 0-255:", "Blue  0-255:"}));
    EXPECT_EQ(RgbOf(w.pointer->colour), (Rgb{10, 20, 30}));
    Rgb before = RgbOf(w.pointer->colour);
    w.colourDialog();
    EXPECT_EQ(RgbOf(w.pointer->colour), before);
}

TEST_F(Dialogs, TextStampMadeInThePenColourAtItsMagnification) {
    DialogWorld w;
    w.pointer->colour = makecol(0, 0, 255);
    w.answers = {{"2", "3", "Hi"}};
    w.textDialog();
    EXPECT_EQ(w.textDraw->w, 2);
    EXPECT_EQ(w.textDraw->h, 3);
    EXPECT_EQ(w.textDraw->text, "Hi");
    ASSERT_NE(w.pointer->brush, nullptr);
    // Two characters: (8 * 2 + 2) x 10 magnified 2 x 3.
    EXPECT_EQ(w.pointer->brush->Width(), 36);
    EXPECT_EQ(w.pointer->brush->Height(), 30);
    bool blue = false;
    BITMAP* b = w.pointer->brush->GetBitmap();
    for (int y = 0; y < b->h; y++)
        for (int x = 0; x < b->w; x++) blue |= getpixel(b, x, y) == makecol(0, 0, 255);
    EXPECT_TRUE(blue);
}

TEST_F(Dialogs, TextStampRefusalsAndEscChangeNothing) {
    DialogWorld w;
    w.textDraw->w = 1;
    w.textDraw->h = 1;
    w.textDraw->text = "ok";
    Bmp* grabbed = new Bmp(5, 4, "_bmp");
    w.pointer->SetBrush(grabbed);
    w.answers = {{"0", "3", "new"}, {"2", "abc", "new"}, {"100000", "100000", "new"}};
    for (int i = 0; i < 3; i++) {
        w.text->ClearLines();
        w.textDialog();
        EXPECT_EQ(w.pointer->brush, grabbed) << i;
        EXPECT_EQ(w.textDraw->w, 1) << i;
        EXPECT_EQ(w.textDraw->text, "ok") << i;
        EXPECT_FALSE(w.Line().empty()) << i;
    }
    w.textDialog();  // Esc
    EXPECT_EQ(w.pointer->brush, grabbed);

    w.keyMan->events.push_back(new Key(&w, -1, KEY_A, ""));
    w.keyMan->events.push_back(new Key(&w, -8, KEY_R, ""));
    w.keyMan->StartReplay();
    ASSERT_EQ(w.keyMan->mode, KeyMan::Replaying);
    size_t asked = w.titles.size();
    w.textDialog();
    w.resizeDialog();
    w.colourDialog();
    EXPECT_EQ(w.titles.size(), asked);
}

TEST_F(Dialogs, CanvasSizeChangesEveryLayerOrNothing) {
    DialogWorld w;
    w.layers.push_back(new Layer(&w, 16, 8, 1));
    putpixel(LayerBitmap(w.layer), 2, 2, makecol(255, 0, 0));
    w.answers = {{"20", "30"}};
    w.resizeDialog();
    EXPECT_EQ(w.offered[0], (std::vector<std::string>{"16", "8"}));
    for (Layer* l : w.layers) {
        EXPECT_EQ(l->width, 20);
        EXPECT_EQ(l->height, 30);
    }
    EXPECT_EQ(PixelAt(LayerBitmap(w.layer), 2, 2), (Rgb{255, 0, 0}));

    // Out of 1 to 16384; 2 layers of 275 MiB answered N; Esc.
    w.answers = {{"0", "30"}, {"-5", "10"}, {"16385", "10"}, {"9000", "8000"}};
    for (int i = 0; i < 5; i++) {
        w.resizeDialog();
        EXPECT_EQ(w.layer->width, 20) << i;
        EXPECT_EQ(w.layer->height, 30) << i;
    }
    EXPECT_EQ(w.questions, std::vector<std::string>{"Resize to 9000 x 8000 (550 MiB)? Y/N"});
    EXPECT_EQ(w.layer->width, 20);
    EXPECT_EQ(PixelAt(LayerBitmap(w.layer), 2, 2), (Rgb{255, 0, 0}));
}
