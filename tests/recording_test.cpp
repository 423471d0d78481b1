// Recording and replay through the real key pass: keys are held in Allegro's
// key table for one pass at a time, forms are answered through Prompt.
#include <gtest/gtest.h>

#include <deque>

#include "bmp/bmp.h"
#include "learn/key_recorder.h"
#include "learn/layer.h"
#include "learn/overlay.h"
#include "learn/pointer.h"
#include "learn/prompt.h"
#include "test_support.h"

namespace {

class RecWorld : public TestWorld {
public:
    RecWorld() {
        resizeCanvas(32, 16);
        pointer->Setup(this, 0, 5, 5, 0, 0, 4, 4, 3, 3, 0, 0, 0);
    }
    PromptAnswers Prompt(const std::string& title, const std::vector<std::string>& prompts,
                         const std::vector<std::string>& values, const FieldRanges& = {}) override {
        titles.push_back(title);
        if (answers.empty()) return {values, false};
        std::string a = answers.front();
        answers.pop_front();
        return {{a}, true};
    }
    // The user lets go of the key the command waits for.
    void WaitKeyRelease(int k) override {
        HoldKey(k, false);
        World::WaitKeyRelease(k);
    }
    // One key pass with exactly these keys held.
    void Pass(std::initializer_list<int> keys) {
        ReleaseAllKeys();
        for (int k : keys) HoldKey(k);
        DoKeys();
        ReleaseAllKeys();
    }
    // Key passes until the replay ends; the number of passes it took.
    int ReplayToEnd(int limit = 100) {
        int passes = 0;
        while (keyMan->mode == KeyMan::Replaying && passes < limit) {
            DoKeys();
            passes++;
            if (keyMan->mode == KeyMan::Replaying) cursorHiddenThroughout &= !pointer->showCursor;
        }
        return passes;
    }
    std::string Line() { return text->lines.empty() ? "" : text->lines[0]; }

    std::deque<std::string> answers;
    std::vector<std::string> titles;
    bool cursorHiddenThroughout = true;
};

struct Event {
    int akey, nkey;
    bool operator==(const Event& o) const { return akey == o.akey && nkey == o.nkey; }
};

std::vector<Event> Events(KeyMan* k) {
    std::vector<Event> out;
    for (Key* e : k->events) out.push_back({e->akey, e->nkey});
    return out;
}

class Recording : public testing::Test {
protected:
    void SetUp() override { ReleaseAllKeys(); }
    void TearDown() override { ReleaseAllKeys(); }
    TempDir dir;
};

// Alt+R, RIGHT three times, SPACE, Alt+R.
void RecordFiveEvents(RecWorld& w) {
    w.Pass({KEY_ALT, KEY_R});
    for (int i = 0; i < 3; i++) w.Pass({KEY_RIGHT});
    w.Pass({KEY_SPACE});
    w.Pass({KEY_ALT, KEY_R});
}

}  // namespace

TEST_F(Recording, FiveEventsRecordedAndReplayedOneMovePerPass) {
    RecWorld w;
    w.Pass({KEY_ALT, KEY_R});
    EXPECT_EQ(w.keyMan->mode, KeyMan::Recording);
    EXPECT_EQ(w.Line(), "Recording");
    for (int i = 0; i < 3; i++) w.Pass({KEY_RIGHT});
    w.Pass({KEY_SPACE});
    w.Pass({KEY_ALT, KEY_R});
    EXPECT_EQ(w.keyMan->mode, KeyMan::Live);
    EXPECT_EQ(w.Line(), "Finihed Recording");
    EXPECT_EQ(Events(w.keyMan), (std::vector<Event>{{-1, KEY_RIGHT}, {-1, KEY_RIGHT}, {-1, KEY_RIGHT},
                                                    {-1, KEY_SPACE}, {-8, KEY_R}}));
    int x = w.pointer->x;
    EXPECT_EQ(x, 8);

    w.Pass({KEY_ALT, KEY_P});
    EXPECT_EQ(w.keyMan->mode, KeyMan::Replaying);
    EXPECT_FALSE(w.pointer->showCursor);
    // The first Alt+P pass consumed nothing; RIGHT, RIGHT, RIGHT then SPACE.
    EXPECT_EQ(w.ReplayToEnd(), 4);
    EXPECT_TRUE(w.cursorHiddenThroughout);
    EXPECT_EQ(w.keyMan->mode, KeyMan::Live);
    EXPECT_TRUE(w.pointer->showCursor);
    EXPECT_EQ(w.pointer->x, x + 3);
}

TEST_F(Recording, ModifiersAreNeverRecorded) {
    RecWorld w;
    w.Pass({KEY_ALT, KEY_R});
    w.Pass({KEY_LSHIFT, KEY_E});
    w.Pass({KEY_LCONTROL, KEY_RIGHT});
    w.Pass({KEY_ALT, KEY_R});
    EXPECT_EQ(Events(w.keyMan), (std::vector<Event>{{-9, KEY_E}, {-10, KEY_RIGHT}, {-8, KEY_R}}));
}

TEST_F(Recording, PlayTimesPlaysTheRecordingThatManyTimes) {
    RecWorld w;
    RecordFiveEvents(w);
    int x = w.pointer->x;
    w.answers = {" 3"};
    w.PlayTimes();
    EXPECT_EQ(w.titles.back(), "Replay");
    EXPECT_EQ(w.keyMan->mode, KeyMan::Replaying);
    EXPECT_EQ(w.keyMan->repeats, 2);
    w.ReplayToEnd();
    EXPECT_EQ(w.pointer->x, x + 9);
    EXPECT_EQ(w.keyMan->mode, KeyMan::Live);
}

TEST_F(Recording, PlayTimesWithZeroBlankOrNegativeDoesNothing) {
    RecWorld w;
    RecordFiveEvents(w);
    for (const char* answer : {"0", " ", "-2", "abc"}) {
        w.answers = {answer};
        w.PlayTimes();
        EXPECT_EQ(w.keyMan->mode, KeyMan::Live) << answer;
        EXPECT_EQ(w.keyMan->repeats, 0) << answer;
    }
    // Cancelled: the offered blank is no count either.
    w.PlayTimes();
    EXPECT_EQ(w.keyMan->mode, KeyMan::Live);
}

TEST_F(Recording, PlayTimesKeepsNoCountWhenNoReplayStarts) {
    RecWorld w;
    w.Pass({KEY_ALT, KEY_R});
    w.Pass({KEY_ALT, KEY_R});  // a recording of the closing Alt+R alone
    ASSERT_EQ(w.keyMan->events.size(), 1u);
    w.answers = {"5"};
    w.PlayTimes();
    EXPECT_EQ(w.keyMan->mode, KeyMan::Live);
    EXPECT_EQ(w.keyMan->repeats, 0);

    w.Pass({KEY_ALT, KEY_R});  // while recording
    w.answers = {"5"};
    w.PlayTimes();
    EXPECT_EQ(w.keyMan->mode, KeyMan::Recording);
    EXPECT_EQ(w.keyMan->repeats, 0);
}

TEST_F(Recording, AltRAndAltPDuringTheirOppositeModes) {
    RecWorld w;
    RecordFiveEvents(w);
    w.TogglePlayback();
    ASSERT_EQ(w.keyMan->mode, KeyMan::Replaying);
    w.ToggleRecording();
    EXPECT_EQ(w.keyMan->mode, KeyMan::Replaying);
    EXPECT_EQ(w.keyMan->events.size(), 5u);
    w.TogglePlayback();
    EXPECT_EQ(w.keyMan->mode, KeyMan::Live);

    w.ToggleRecording();
    w.TogglePlayback();
    EXPECT_EQ(w.keyMan->mode, KeyMan::Recording);
}

// Alt+S stores the name it saved to after its key event; the replay saves to
// it without asking.
// The second Alt+S is cancelled with Esc: recorded as an empty name, its
// replay saves nothing and the replay goes on.
TEST_F(Recording, AReplayedSaveTakesItsNameFromTheRecording) {
    RecWorld w;
    w.Pass({KEY_ALT, KEY_R});
    w.answers = {"shot.bmp"};
    w.Pass({KEY_ALT, KEY_S});
    w.Pass({KEY_ALT, KEY_S});
    w.Pass({KEY_RIGHT});
    w.Pass({KEY_ALT, KEY_R});
    ASSERT_EQ(w.keyMan->events.size(), 6u);
    EXPECT_EQ(w.keyMan->events[1]->akey, -1);
    EXPECT_EQ(w.keyMan->events[1]->nkey, -1);
    EXPECT_EQ(w.keyMan->events[1]->c, "shot.bmp");
    EXPECT_EQ(w.keyMan->events[3]->nkey, -1);
    EXPECT_EQ(w.keyMan->events[3]->c, "");
    ASSERT_EQ(std::remove("shot.bmp"), 0);
    int x = w.pointer->x;

    w.cfile = "other.bmp";
    size_t asked = w.titles.size();
    w.TogglePlayback();
    w.ReplayToEnd();
    EXPECT_EQ(w.titles.size(), asked);
    EXPECT_TRUE(Bmp("shot.bmp").Loaded());
    EXPECT_EQ(w.cfile, "shot.bmp");
    EXPECT_EQ(w.pointer->x, x + 1);
    EXPECT_EQ(w.keyMan->mode, KeyMan::Live);
}

// When the overwrite question was answered N while recording, no name was
// stored: the replayed Alt+S saves nothing and does not move on.
TEST_F(Recording, AReplayedSaveWithoutAStoredNameSavesNothing) {
    RecWorld w;
    w.Pass({KEY_ALT, KEY_R});
    w.keyMan->Record(-8, KEY_S, "");
    w.Pass({KEY_RIGHT});
    w.Pass({KEY_ALT, KEY_R});
    ASSERT_EQ(w.keyMan->events.size(), 3u);
    w.cfile = "kept.bmp";
    w.TogglePlayback();
    w.SaveImageFile();
    EXPECT_EQ(w.keyMan->pos, 0);
    EXPECT_EQ(w.cfile, "kept.bmp");
    EXPECT_FALSE(Bmp("kept.bmp").Loaded());
}
