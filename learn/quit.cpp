// Shift+ESC: the quit that asks nobody, unless the save fails. Then the
// editor stays open and says why, so the work is not left in a fallback
// file the user may never find; a second Shift+ESC soon after quits anyway.
#include <allegro.h>

#include <cstdio>
#include <string>

#include "../fileio/elsewhere_note.h"
#include "autosave.h"
#include "world.h"

namespace {

// A second Shift+ESC within this long after a refused quit quits anyway.
constexpr long kQuitAnywayMs = 3000;

}  // namespace

bool World::QuitChordPressed() {
    if (!QuitRequested()) {
        quitKeysLetGo = true;
        return false;
    }
    bool fresh = quitKeysLetGo;
    quitKeysLetGo = false;
    return fresh;
}

bool World::QuitNow() {
    if (quitRefusedAtMs >= 0 && NowMs() - quitRefusedAtMs <= kQuitAnywayMs) return true;
    SaveSettings();
    std::string why = "the unreadable file could not be moved aside";
    quitSaved = mayWriteDocument && SaveDocument(kStartDocument, &why);
    if (quitSaved) return true;
    Message("Not saved: " + why +
            ". Free some space or Alt+S elsewhere, then Shift+Esc again; Shift+Esc twice within 3 s "
            "quits anyway.");
    Render();
    // The second Shift+ESC must be a new press: ESC still held from this
    // one does not count.
    WaitKeyRelease(KEY_ESC);
    quitKeysLetGo = true;
    quitRefusedAtMs = NowMs();
    return false;
}

void World::TellWhereWorkWent() {
    std::string elsewhere = WorkElsewhere();
    if (elsewhere.empty()) return;
    cfile = elsewhere;
    Message("The last session's work was saved to '" + elsewhere + "': Alt+L loads it");
}
