#include "autosave.h"

#include <chrono>
#include <cstdio>

#include "key_recorder.h"
#include "world.h"

void AutosaveClock::PassRan(long nowMs) {
    if (!running) startedMs = nowMs;
    running = true;
    passSinceTry = true;
}

bool AutosaveClock::Due(long nowMs, long quietMs, bool replaying) const {
    if (!running || replaying) return false;
    return (passSinceTry && quietMs >= kQuietMs) || nowMs - startedMs >= kLatestMs;
}

long AutosaveClock::MsUntilDue(long nowMs, long quietMs) const {
    if (!running) return -1;
    long until = startedMs + kLatestMs - nowMs;
    if (passSinceTry && kQuietMs - quietMs < until) until = kQuietMs - quietMs;
    return until < 1 ? 1 : until;
}

void AutosaveClock::Tried(long nowMs, bool ok) {
    running = !ok;
    startedMs = nowMs;
    passSinceTry = false;
}

long NowMs() {
    using namespace std::chrono;
    return static_cast<long>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

// Only the document decides: settings alone (a pointer moved) are not worth
// a write, and a quiet editor never touches the disk. No fallback file: the
// next attempt, or the save at the end, takes care of the work.
void World::AutosaveIfDue(long quietMs) {
    if (!autosaveClock.Due(NowMs(), quietMs, keyMan->mode == KeyMan::Replaying)) return;
    DocumentVersion version = CurrentDocumentVersion();
    if (version == savedVersion) {
        autosaveClock.Tried(NowMs(), true);
        return;
    }
    std::string why = "the unreadable file could not be moved aside";
    SaveSettings();
    bool ok = mayWriteDocument && SaveDocument(kStartDocument, &why);
    if (ok) {
        savedVersion = version;
        std::printf("Saved '%s'\n", kStartDocument);
    } else if (!autosaveFailing) {
        std::printf("Autosave: '%s' was not saved: %s\n", kStartDocument, why.c_str());
    }
    autosaveFailing = !ok;
    autosaveClock.Tried(NowMs(), ok);
}
