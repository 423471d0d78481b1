// The record and replay commands: Alt+R, Alt+P and Shift+Alt+P.
#include "key_recorder.h"
#include "prompt.h"
#include "world.h"

void World::ToggleRecording() {
    if (keyMan->mode == KeyMan::Live) {
        keyMan->StartRecording();
        Message("Recording");
    } else if (keyMan->mode == KeyMan::Recording) {
        keyMan->StopRecording();
        Message("Finihed Recording");
    }
}

void World::TogglePlayback() {
    if (keyMan->mode == KeyMan::Live)
        keyMan->StartReplay();
    else if (keyMan->mode == KeyMan::Replaying)
        keyMan->StopReplay();
}

// The count is kept only when a replay really started: a recording too short
// to play, or a command given while recording, leaves it alone.
void World::PlayTimes() {
    const FieldRanges ranges = {{0, "replay count", 1, 100000}};
    PromptAnswers a = Prompt("Replay", {"Replay Play times:"}, {" "}, ranges);
    if (!AcceptedInRange(a, 1, ranges)) return;
    int n = NumberFrom(a.texts[0]);
    TogglePlayback();
    if (keyMan->mode == KeyMan::Replaying) keyMan->repeats = n - 1;
}
