// The key recorder: live answers, recording, replay with repeats, and the
// console lines of recorded events.
#include "learn/key_recorder.h"

#include <gtest/gtest.h>

#include <string>

#include "learn/pointer.h"
#include "test_support.h"

namespace {

class KeyRecorder : public testing::Test {
protected:
    void SetUp() override { ReleaseAllKeys(); }
    void TearDown() override { ReleaseAllKeys(); }

    // Records the given events through Check, as a key pass would.
    void RecordKeys(KeyMan& km, std::initializer_list<std::pair<int, int>> keys) {
        km.StartRecording();
        for (auto [group, k] : keys) {
            HoldKey(k);
            EXPECT_TRUE(km.Check(group, k, ""));
            HoldKey(k, false);
        }
        km.StopRecording();
    }

    // RecordKeys without the console lines the recorder writes.
    void RecordQuietly(KeyMan& km, std::initializer_list<std::pair<int, int>> keys) {
        testing::internal::CaptureStdout();
        RecordKeys(km, keys);
        testing::internal::GetCapturedStdout();
    }

    // Replays one play of the recording, asking for every event in order,
    // until the replay ends or starts over; answers how many were taken.
    int PlayThrough(KeyMan& km) {
        int taken = 0;
        while (km.mode == KeyMan::Replaying) {
            int group = km.CurrentGroup(), k = km.CurrentKey();
            if (!km.Check(group, k, "")) break;
            taken++;
            if (km.pos == 0) break;
        }
        return taken;
    }
};

}  // namespace

TEST_F(KeyRecorder, LiveAnswersWhetherTheKeyIsDownWhateverTheGroup) {
    KeyMan km(nullptr);
    EXPECT_EQ(km.mode, KeyMan::Live);
    EXPECT_FALSE(km.Check(-1, KEY_A, ""));
    EXPECT_FALSE(km.Check(-9, KEY_A, ""));
    HoldKey(KEY_A);
    EXPECT_TRUE(km.Check(-1, KEY_A, ""));
    EXPECT_TRUE(km.Check(-9, KEY_A, ""));
    EXPECT_FALSE(km.Check(-1, KEY_B, ""));
    EXPECT_TRUE(km.events.empty());
}

TEST_F(KeyRecorder, RecordingAppendsEveryKeyReportedDownWithALine) {
    KeyMan km(nullptr);
    km.StartRecording();
    EXPECT_EQ(km.mode, KeyMan::Recording);
    HoldKey(KEY_UP);
    testing::internal::CaptureStdout();
    for (int pass = 0; pass < 3; pass++) EXPECT_TRUE(km.Check(-1, KEY_UP, ""));
    EXPECT_FALSE(km.Check(-1, KEY_DOWN, ""));
    std::string out = testing::internal::GetCapturedStdout();
    std::string line = "Key Obj created: akey=-1 nkey=" + std::to_string(KEY_UP) + " c=\"\"\n";
    EXPECT_EQ(out, line + line + line);
    ASSERT_EQ(km.events.size(), 3u);
    for (Key* k : km.events) {
        EXPECT_EQ(k->akey, -1);
        EXPECT_EQ(k->nkey, KEY_UP);
        EXPECT_EQ(k->c, "");
    }
    km.StopRecording();
    EXPECT_EQ(km.mode, KeyMan::Live);
    EXPECT_EQ(km.events.size(), 3u);
}

TEST_F(KeyRecorder, RecordStoresOnlyWhileRecording) {
    KeyMan km(nullptr);
    km.Record(-1, -1, "live.bmp");
    EXPECT_TRUE(km.events.empty());
    km.StartRecording();
    testing::internal::CaptureStdout();
    km.Record(-1, -1, "pic.bmp");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Key Obj created: akey=-1 nkey=-1 c=\"pic.bmp\"\n");
    ASSERT_EQ(km.events.size(), 1u);
    EXPECT_EQ(km.events[0]->c, "pic.bmp");
}

TEST_F(KeyRecorder, StartingARecordingDestroysTheOldEvents) {
    KeyMan km(nullptr);
    RecordQuietly(km, {{-9, KEY_E}, {KEY_L, KEY_A}});
    testing::internal::CaptureStdout();
    km.StartRecording();
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "Key Obj destroyed, akey=-9 nkey=" + std::to_string(KEY_E) + " c=\"\"\n" +
                       "Key Obj destroyed, akey=" + std::to_string(KEY_L) + " nkey=" +
                       std::to_string(KEY_A) + " c=\"\"\n");
    EXPECT_TRUE(km.events.empty());
    EXPECT_EQ(km.mode, KeyMan::Recording);

    testing::internal::CaptureStdout();
    RecordKeys(km, {{-1, KEY_X}});
    km.Clear();
    EXPECT_NE(testing::internal::GetCapturedStdout().find("Key Obj destroyed, akey=-1"), std::string::npos);
    EXPECT_EQ(km.mode, KeyMan::Live);
}

TEST_F(KeyRecorder, ReplayAnswersFromTheRecordingInOrder) {
    KeyMan km(nullptr);
    RecordQuietly(km, {{-1, KEY_RIGHT}, {-10, KEY_Z}, {-1, KEY_D}, {-8, KEY_R}});
    km.StartReplay();
    EXPECT_EQ(km.mode, KeyMan::Replaying);
    EXPECT_EQ(km.pos, 0);
    EXPECT_EQ(km.CurrentGroup(), -1);
    EXPECT_EQ(km.CurrentKey(), KEY_RIGHT);

    // The keyboard plays no part: a held key is not an answer.
    HoldKey(KEY_D);
    EXPECT_FALSE(km.Check(-1, KEY_D, ""));
    // Right key, wrong group; right group, wrong key: refused, no move.
    EXPECT_FALSE(km.Check(-9, KEY_RIGHT, ""));
    EXPECT_FALSE(km.Check(-1, KEY_LEFT, ""));
    EXPECT_EQ(km.pos, 0);

    EXPECT_TRUE(km.Check(-1, KEY_RIGHT, ""));
    EXPECT_EQ(km.pos, 1);
    EXPECT_FALSE(km.Check(-1, KEY_D, ""));  // out of order
    EXPECT_EQ(km.pos, 1);
    EXPECT_TRUE(km.Check(-10, KEY_Z, ""));
    EXPECT_TRUE(km.Check(-1, KEY_D, ""));
    // The last event (the key that ended the recording) is never replayed.
    EXPECT_EQ(km.mode, KeyMan::Live);
    EXPECT_EQ(km.pos, 3);
    EXPECT_EQ(km.CurrentGroup(), -1);
    EXPECT_EQ(km.CurrentKey(), -1);
}

TEST_F(KeyRecorder, RepeatsPlayTheRecordingAgain) {
    TempDir dir;
    TestWorld world;
    KeyMan& km = *world.keyMan;
    RecordQuietly(km, {{-1, KEY_UP}, {-1, KEY_LEFT}, {-9, KEY_E}, {-8, KEY_R}});
    km.repeats = 2;
    km.StartReplay();
    EXPECT_FALSE(world.pointer->showCursor);
    int plays = 0;
    while (km.mode == KeyMan::Replaying && plays < 10) {
        EXPECT_EQ(PlayThrough(km), 3);
        plays++;
    }
    EXPECT_EQ(plays, 3);
    EXPECT_EQ(km.repeats, 0);
    EXPECT_EQ(km.mode, KeyMan::Live);
    EXPECT_TRUE(world.pointer->showCursor);
    EXPECT_EQ(km.events.size(), 4u);
}

TEST_F(KeyRecorder, GroupAndKeyAreAbsentOutsideReplay) {
    KeyMan km(nullptr);
    EXPECT_EQ(km.CurrentGroup(), -1);
    EXPECT_EQ(km.CurrentKey(), -1);
    RecordQuietly(km, {{-10, KEY_Z}, {-8, KEY_R}});
    EXPECT_EQ(km.CurrentGroup(), -1);
    EXPECT_EQ(km.CurrentKey(), -1);
    km.StartRecording();
    EXPECT_EQ(km.CurrentGroup(), -1);
}

TEST_F(KeyRecorder, DataEventsAreTakenOnlyByAdvance) {
    KeyMan km(nullptr);
    testing::internal::CaptureStdout();
    km.StartRecording();
    km.Record(-8, KEY_S, "");
    km.Record(-1, -1, "saved.bmp");
    km.Record(-1, KEY_UP, "");
    km.Record(-8, KEY_R, "");
    km.StopRecording();
    testing::internal::GetCapturedStdout();

    km.StartReplay();
    EXPECT_TRUE(km.Check(-8, KEY_S, ""));
    EXPECT_EQ(km.CurrentLabel(), "saved.bmp");
    for (int group : {-1, -9, -10, -8, -7, -5})
        for (int k = 0; k <= 114; k++) ASSERT_FALSE(km.Check(group, k, "")) << group << " " << k;
    EXPECT_EQ(km.pos, 1);
    km.Advance();
    EXPECT_EQ(km.pos, 2);
    EXPECT_EQ(km.CurrentLabel(), "");
    EXPECT_TRUE(km.Check(-1, KEY_UP, ""));
    EXPECT_EQ(km.mode, KeyMan::Live);
}

TEST_F(KeyRecorder, AdvanceMovesOnlyWhileReplaying) {
    KeyMan km(nullptr);
    RecordQuietly(km, {{-1, KEY_UP}, {-1, KEY_UP}, {-8, KEY_R}});
    km.Advance();
    EXPECT_EQ(km.pos, 0);
    EXPECT_EQ(km.mode, KeyMan::Live);
}

TEST_F(KeyRecorder, TooShortRecordingsReturnToLiveAtOnce) {
    TempDir dir;
    TestWorld world;
    KeyMan& km = *world.keyMan;
    km.repeats = 5;
    km.StartReplay();
    EXPECT_EQ(km.mode, KeyMan::Live);
    EXPECT_EQ(km.repeats, 0);
    EXPECT_TRUE(world.pointer->showCursor);

    RecordQuietly(km, {{-8, KEY_R}});
    km.repeats = 3;
    km.StartReplay();
    EXPECT_EQ(km.mode, KeyMan::Live);
    EXPECT_EQ(km.repeats, 0);
    EXPECT_TRUE(world.pointer->showCursor);

    // Two events are enough: one is played.
    RecordQuietly(km, {{-1, KEY_UP}, {-8, KEY_R}});
    km.StartReplay();
    EXPECT_EQ(km.mode, KeyMan::Replaying);
    EXPECT_EQ(PlayThrough(km), 1);
    EXPECT_EQ(km.mode, KeyMan::Live);
}

TEST_F(KeyRecorder, StopReplayReturnsToLiveWithTheCursorShown) {
    TempDir dir;
    TestWorld world;
    KeyMan& km = *world.keyMan;
    RecordQuietly(km, {{-1, KEY_UP}, {-1, KEY_UP}, {-8, KEY_R}});
    km.StartReplay();
    EXPECT_TRUE(km.Check(-1, KEY_UP, ""));
    km.StopReplay();
    EXPECT_EQ(km.mode, KeyMan::Live);
    EXPECT_TRUE(world.pointer->showCursor);
    EXPECT_EQ(km.events.size(), 3u);
}
