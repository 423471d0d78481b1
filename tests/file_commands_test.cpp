// The file commands on a real editor in a temporary directory: forms are
// answered through the editor's Prompt, keys through Allegro's key table.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <deque>

#include "all/display.h"
#include "bmp/bmp.h"
#include "fileio/fileio.h"
#include "learn/key_recorder.h"
#include "learn/layer.h"
#include "learn/overlay.h"
#include "learn/pointer.h"
#include "learn/prompt.h"
#include "test_support.h"

namespace {

class FileWorld : public TestWorld {
public:
    FileWorld() { resizeCanvas(16, 8); }

    // Each form takes the next scripted answer, accepted.
    PromptAnswers Prompt(const std::string& title, const std::vector<std::string>& prompts,
                         const std::vector<std::string>& values, const FieldRanges& = {}) override {
        titles.push_back(title);
        offered.push_back(values);
        if (answers.empty()) return {values, false};
        std::string a = answers.front();
        answers.pop_front();
        return {{a}, true};
    }
    bool SaveDocument(const std::string& name, std::string* = nullptr) override {
        documents.push_back(name);
        return true;
    }
    // The overwrite question: the answer key goes down after a few polls
    // and comes up when the editor waits for its release.
    bool KeyHeld(int k) override {
        if (answerKey && ++polls >= 3) {
            HoldKey(answerKey);
            answerKey = 0;
        }
        return World::KeyHeld(k);
    }
    void WaitKeyRelease(int k) override {
        HoldKey(k, false);
        World::WaitKeyRelease(k);
    }
    void Answer(int k) {
        answerKey = k;
        polls = 0;
    }
    void Fill(int layerIndex, int colour) { clear_to_color(LayerBitmap(layers[layerIndex]), colour); }
    Layer* AddTransparentLayer() {
        layers.push_back(new Layer(this, layer->width, layer->height, 1));
        return layers.back();
    }
    std::string LastLine() { return text->lines.empty() ? "" : text->lines.back(); }

    std::deque<std::string> answers;
    std::vector<std::string> titles;
    std::vector<std::vector<std::string>> offered;
    std::vector<std::string> documents;
    int answerKey = 0;
    int polls = 0;
};

const Rgb kRed{255, 0, 0}, kBlue{0, 0, 255}, kBlack{0, 0, 0};

class FileCommands : public testing::Test {
protected:
    void SetUp() override { ReleaseAllKeys(); }
    void TearDown() override { ReleaseAllKeys(); }
    TempDir dir;
};

}  // namespace

TEST_F(FileCommands, SaveImageFileComposesEveryLayerAndKeepsTheName) {
    FileWorld w;
    w.Fill(0, makecol(255, 0, 0));
    Layer* top = w.AddTransparentLayer();
    putpixel(LayerBitmap(top), 1, 0, makecol(0, 0, 255));
    w.cfile = "offered.bmp";
    w.answers = {"pic.bmp"};
    w.SaveImageFile();
    EXPECT_EQ(w.titles, std::vector<std::string>{"Save Image File"});
    EXPECT_EQ(w.offered[0], std::vector<std::string>{"offered.bmp"});
    EXPECT_EQ(w.cfile, "pic.bmp");
    Bmp saved("pic.bmp");
    ASSERT_TRUE(saved.Loaded());
    EXPECT_EQ(saved.Width(), 16);
    EXPECT_EQ(saved.Height(), 8);
    EXPECT_EQ(PixelAt(saved.GetBitmap(), 0, 0), kRed);
    EXPECT_EQ(PixelAt(saved.GetBitmap(), 1, 0), kBlue);
    EXPECT_TRUE(w.fileIO->Find(".pic.bmp.tmp*").empty());
}

TEST_F(FileCommands, ANameContainingZubSavesTheDocument) {
    FileWorld w;
    w.answers = {"doc.zub", "frame.zub.tga", "zub.tga"};
    w.SaveImageFile();
    w.SaveImageFile();
    w.SaveImageFile();
    EXPECT_EQ(w.documents, (std::vector<std::string>{"doc.zub", "frame.zub.tga"}));
    EXPECT_FALSE(FileExists("frame.zub.tga"));
    EXPECT_TRUE(Bmp("zub.tga").Loaded());
    EXPECT_EQ(w.cfile, "zub.tga");
}

TEST_F(FileCommands, OverwriteQuestionNoKeepsTheFileYesReplacesIt) {
    FileWorld w;
    WriteFile("pic.bmp", "old contents");
    w.answers = {"pic.bmp"};
    clear_to_color(display::screen, 0);
    w.Answer(KEY_N);
    w.SaveImageFile();
    EXPECT_EQ(ReadFile("pic.bmp"), "old contents");
    EXPECT_EQ(w.cfile, "pic.bmp");
    EXPECT_GE(w.polls, 3);
    // The question was drawn at the top left of the visible screen.
    bool drawn = false;
    for (int y = 0; y < 20 && !drawn; y++)
        for (int x = 0; x < 200 && !drawn; x++) drawn = getpixel(display::screen, x, y) == makecol(255, 180, 0);
    EXPECT_TRUE(drawn);

    w.answers = {"pic.bmp"};
    w.Answer(KEY_Y);
    w.SaveImageFile();
    Bmp saved("pic.bmp");
    EXPECT_TRUE(saved.Loaded());
    EXPECT_EQ(saved.Width(), 16);
}

TEST_F(FileCommands, ConfirmOverwriteWithBothKeysHeldAnswersNo) {
    FileWorld w;
    HoldKey(KEY_Y);
    HoldKey(KEY_N);
    EXPECT_FALSE(w.ConfirmOverwrite("x.bmp"));
}

TEST_F(FileCommands, AFailedSaveKeepsTheOldFileAndSaysSo) {
    FileWorld w;
    WriteFile("old.xyz", "old");
    w.answers = {"old.xyz"};
    w.Answer(KEY_Y);
    w.SaveImageFile();
    EXPECT_EQ(ReadFile("old.xyz"), "old");
    EXPECT_NE(w.LastLine().find("Nothing saved"), std::string::npos);

    // The temporary file is written, but renaming it over a directory fails.
    ASSERT_EQ(mkdir("dir.bmp", 0755), 0);
    w.pointer->w = w.pointer->h = 4;
    w.text->ClearLines();
    w.SaveSelection("dir.bmp");
    struct stat st;
    ASSERT_EQ(stat("dir.bmp", &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_TRUE(w.fileIO->Find(".dir.bmp.tmp*").empty());
    EXPECT_EQ(w.LastLine(), "Nothing saved: 'dir.bmp': Is a directory");

    w.SaveSelection("nowhere/x.bmp");
    EXPECT_EQ(w.LastLine(), "Nothing saved: 'nowhere/x.bmp': folder 'nowhere' does not exist");

    w.text->ClearLines();
    w.answers = {" "};
    w.SaveImageFile();
    EXPECT_NE(w.LastLine().find("no file name"), std::string::npos);

    WriteFile("box.bmp", "old box");
    for (int size : {0, -3}) {
        w.pointer->w = size;
        w.text->ClearLines();
        w.SaveSelection("box.bmp");
        EXPECT_EQ(ReadFile("box.bmp"), "old box");
        EXPECT_NE(w.LastLine().find("box is empty"), std::string::npos);
    }
}

TEST_F(FileCommands, SaveSelectionIsBlackWhereNoLayerCoversTheBox) {
    FileWorld w;
    w.Fill(0, makecol(255, 0, 0));
    Layer* top = w.AddTransparentLayer();
    putpixel(LayerBitmap(top), 1, 7, makecol(0, 0, 255));
    w.pointer->bx = -2;
    w.pointer->by = 6;
    w.pointer->w = 4;
    w.pointer->h = 4;
    w.SaveSelection("sel.tga");
    Bmp saved("sel.tga");
    ASSERT_TRUE(saved.Loaded());
    ASSERT_EQ(saved.Width(), 4);
    ASSERT_EQ(saved.Height(), 4);
    EXPECT_EQ(PixelAt(saved.GetBitmap(), 0, 0), kBlack);  // left of the picture
    EXPECT_EQ(PixelAt(saved.GetBitmap(), 2, 0), kRed);    // picture (0, 6)
    EXPECT_EQ(PixelAt(saved.GetBitmap(), 3, 1), kBlue);   // the top layer at (1, 7)
    EXPECT_EQ(PixelAt(saved.GetBitmap(), 2, 2), kBlack);  // below the picture
}

TEST_F(FileCommands, SaveFrameOverwritesWithoutAsking) {
    FileWorld w;
    WriteFile("img007.tga", "old frame");
    w.pointer->w = 3;
    w.pointer->h = 2;
    w.SaveFrame("img007.tga");
    EXPECT_TRUE(w.titles.empty());
    EXPECT_EQ(w.polls, 0);
    Bmp saved("img007.tga");
    EXPECT_EQ(saved.Width(), 3);
}

TEST_F(FileCommands, LoadImageFileTakesThePictureSizeAndAFailureChangesNothing) {
    FileWorld w;
    w.AddTransparentLayer();
    ASSERT_EQ(std::system("convert -size 20x10 xc:blue PNG24:blue.png"), 0);
    w.answers = {"blue.png"};
    w.LoadImageFile();
    EXPECT_EQ(w.cfile, "blue.png");
    EXPECT_EQ(w.LastLine(), "Loaded 'blue.png' (20 x 10)");
    for (Layer* l : w.layers) {
        EXPECT_EQ(l->width, 20);
        EXPECT_EQ(l->height, 10);
    }
    EXPECT_EQ(PixelAt(LayerBitmap(w.layer), 19, 9), kBlue);

    WriteFile("bad.png", "not a picture");
    w.answers = {"bad.png"};
    w.LoadImageFile();
    EXPECT_EQ(w.layer->width, 20);
    EXPECT_EQ(PixelAt(LayerBitmap(w.layer), 0, 0), kBlue);
    EXPECT_EQ(w.LastLine().rfind("Nothing loaded: 'bad.png': ", 0), 0u) << w.LastLine();

    w.answers = {"missing.png"};
    w.LoadImageFile();
    EXPECT_EQ(w.cfile, "missing.png");
    EXPECT_EQ(w.layer->width, 20);
    EXPECT_EQ(w.LastLine(), "Nothing loaded: 'missing.png': does not exist");
}

TEST_F(FileCommands, LoadFrameAndSelectLoadStampAtThePointer) {
    FileWorld w;
    w.Fill(0, makecol(255, 0, 0));
    ASSERT_EQ(std::system("convert -size 2x2 xc:blue PNG24:f.png"), 0);
    w.pointer->x = 3;
    w.pointer->y = 2;
    w.LoadFrame("f.png");
    BITMAP* b = LayerBitmap(w.layer);
    EXPECT_EQ(PixelAt(b, 3, 2), kBlue);
    EXPECT_EQ(PixelAt(b, 4, 3), kBlue);
    EXPECT_EQ(PixelAt(b, 5, 2), kRed);
    EXPECT_EQ(w.layer->width, 16);

    w.pointer->x = 10;
    w.answers = {"f.png"};
    w.SelectLoadImageFile();
    EXPECT_EQ(w.titles.back(), "Select Load Image File");
    EXPECT_EQ(PixelAt(b, 11, 3), kBlue);

    // Unreadable pictures and document names stamp nothing.
    WriteFile("bad.tga", "junk");
    WriteFile("doc.zub", "junk");
    w.Fill(0, makecol(255, 0, 0));
    w.pointer->x = 0;
    w.LoadFrame("bad.tga");
    EXPECT_EQ(w.LastLine().rfind("Nothing loaded: 'bad.tga': ", 0), 0u) << w.LastLine();
    w.answers = {"doc.zub"};
    w.SelectLoadImageFile();
    for (int x = 0; x < 16; x++) ASSERT_EQ(PixelAt(b, x, 2), kRed) << x;
}
