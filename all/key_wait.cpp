#include "key_wait.h"

#include <allegro.h>

#include <atomic>

#include "../varshim/varshim.h"
#include "stop_request.h"

namespace {

// Polls every 5 ms: a stop is noticed within 10 ms, and 200 wake-ups a
// second cost next to nothing.
constexpr int kPollMs = 5;

// The modifiers that select a key group, as bits of a press's record.
const int kGroupModifiers[] = {KEY_LCONTROL, KEY_LSHIFT, KEY_ALT};

// Written by Allegro's keyboard thread, read by the main flow.
std::atomic<unsigned char> modifiersAtPress[KEY_MAX];

// The main flow's latch for the coming key pass.
int latchedKey = -1;
unsigned char latchedModifiers = 0;

bool HaveKeyboard() { return keyboard_driver != nullptr; }

void NoteKeyEvent(int scancode) {
    if (scancode & 0x80) return;
    unsigned char mods = 0;
    for (int i = 0; i < 3; i++)
        if (get_key(kGroupModifiers[i])) mods |= 1u << i;
    modifiersAtPress[scancode & 0x7f] = mods;
}

// A key already up when its press is read ran and ended while the editor
// was busy: the pass that follows still sees it, with its modifiers.
void Latch(int keycode) {
    int scancode = (keycode >> 8) & 0x7f;
    ClearPassLatch();
    if (scancode == 0 || get_key(scancode)) return;
    latchedKey = scancode;
    latchedModifiers = modifiersAtPress[scancode];
}

}  // namespace

int WaitForKey(const std::function<void(long)>& idle) {
    if (!HaveKeyboard()) return readkey();
    long waited = 0;
    while (!StopRequested()) {
        if (keypressed()) {
            int k = readkey();
            Latch(k);
            return k;
        }
        if (idle) idle(waited);
        rest(kPollMs);
        waited += kPollMs;
    }
    return 0;
}

// Compares held states rather than counting events: the auto-repeat of a
// held mode key sends presses that change nothing.
void WaitForKeyChange() {
    if (!HaveKeyboard()) return;
    bool before[KEY_MAX];
    for (int k = 0; k < KEY_MAX; k++) before[k] = get_key(k) != 0;
    auto changed = [&]() {
        for (int k = 0; k < KEY_MAX; k++)
            if ((get_key(k) != 0) != before[k]) return true;
        return false;
    };
    while (!changed() && !StopRequested()) rest(kPollMs);
}

bool AnyKeyHeld() {
    for (int k = 0; k < KEY_MAX; k++)
        if (get_key(k)) return true;
    return false;
}

void WatchKeyPresses() { keyboard_lowlevel_callback = NoteKeyEvent; }

bool LatchedForPass(int k) {
    if (k == latchedKey) return true;
    for (int i = 0; i < 3; i++)
        if (k == kGroupModifiers[i] && latchedKey >= 0 && (latchedModifiers & (1u << i))) return true;
    return false;
}

void ClearPassLatch() {
    latchedKey = -1;
    latchedModifiers = 0;
}
