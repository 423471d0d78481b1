#pragma once
#include <cstddef>

// When the editor saves on its own. The clock starts at the first key pass
// after the last check, the only place where the document can change: an
// autosave is due once the editor has waited a second with no key down
// since that pass, or at the latest 30 seconds after it even while keys keep
// coming, never during a replay. A failed attempt is tried again a second
// into a later wait, or 30 seconds on.
class AutosaveClock {
public:
    static constexpr long kQuietMs = 1000;
    static constexpr long kLatestMs = 30000;

    // A key pass ran at nowMs.
    void PassRan(long nowMs);
    // quietMs: how long the editor has waited for a key with none down
    // (0 between passes).
    bool Due(long nowMs, long quietMs, bool replaying) const;
    // A check was made at nowMs: it saved or found nothing changed (ok),
    // or its save failed.
    void Tried(long nowMs, bool ok);
    // How long from nowMs until an autosave may fall due, with quietMs of
    // quiet so far; negative while none can.
    long MsUntilDue(long nowMs, long quietMs) const;

private:
    bool running = false;
    long startedMs = 0;
    bool passSinceTry = false;
};

// Tells documents apart without reading their pixels: the undo history's
// document version, which moves with every change the document file stores.
using DocumentVersion = unsigned long;

// Milliseconds of a monotonic clock.
long NowMs();
