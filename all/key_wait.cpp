#include "key_wait.h"

#include <allegro.h>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>

#include "../varshim/varshim.h"
#include "stop_request.h"

namespace {

// Allegro calls the keyboard callback before it adds the key to its buffer:
// a wake-up by a key event looks again this soon, in case the key was not
// there yet.
constexpr int kSettleMs = 2;

// The modifiers that select a key group, as bits of a press's record.
const int kGroupModifiers[] = {KEY_LCONTROL, KEY_LSHIFT, KEY_ALT};

// Written by Allegro's keyboard thread, read by the main flow.
std::atomic<unsigned char> modifiersAtPress[KEY_MAX];

// The wake-up pipe: a byte written wakes the waits.
int wakeRead = -1, wakeWrite = -1;

// The main flow's latch for the coming key pass.
int latchedKey = -1;
unsigned char latchedModifiers = 0;

bool HaveKeyboard() { return keyboard_driver != nullptr; }

long Now() {
    using namespace std::chrono;
    return static_cast<long>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

// Empties the pipe; true when anything had woken it.
bool Drain() {
    char buf[64];
    bool woken = false;
    while (wakeRead >= 0 && read(wakeRead, buf, sizeof buf) > 0) woken = true;
    return woken;
}

// Sleeps until woken or ms pass (negative: until woken).
void Sleep(long ms) {
    if (wakeRead < 0) {
        rest(static_cast<unsigned>(ms < 0 || ms > 10 ? 10 : ms));
        return;
    }
    pollfd p = {wakeRead, POLLIN, 0};
    poll(&p, 1, ms < 0 ? -1 : static_cast<int>(ms));
}

void NoteKeyEvent(int scancode) {
    if (!(scancode & 0x80)) {
        unsigned char mods = 0;
        for (int i = 0; i < 3; i++)
            if (get_key(kGroupModifiers[i])) mods |= 1u << i;
        modifiersAtPress[scancode & 0x7f] = mods;
    }
    WakeKeyWaits();
}

// A key already up when its press is read went down and up while the editor
// was busy: the pass that follows still sees it, with its modifiers.
void Latch(int keycode) {
    int scancode = (keycode >> 8) & 0x7f;
    ClearPassLatch();
    if (scancode == 0 || get_key(scancode)) return;
    latchedKey = scancode;
    latchedModifiers = modifiersAtPress[scancode];
}

}  // namespace

int WaitForKey(const std::function<long(long)>& idle) {
    if (!HaveKeyboard()) return readkey();
    long quietFrom = Now();
    for (;;) {
        bool woken = Drain();
        if (StopRequested()) return 0;
        if (keypressed()) {
            int k = readkey();
            Latch(k);
            return k;
        }
        if (AnyKeyHeld()) quietFrom = Now();
        long sleep = idle ? idle(Now() - quietFrom) : -1;
        if (woken && (sleep < 0 || sleep > kSettleMs)) sleep = kSettleMs;
        Sleep(sleep);
    }
}

// Compares held states rather than counting events: the auto-repeat of a
// held mode key sends presses that change nothing. The states are compared
// with those seen when the last such wait returned, close to when its caller
// read the keys: a key that went down while the caller drew its frame is
// then not missed.
void WaitForKeyChange() {
    if (!HaveKeyboard()) return;
    static bool seen[KEY_MAX];
    auto changed = [&]() {
        bool any = false;
        for (int k = 0; k < KEY_MAX; k++) {
            bool down = get_key(k) != 0;
            any = any || down != seen[k];
            seen[k] = down;
        }
        return any;
    };
    for (;;) {
        Drain();
        if (StopRequested() || changed()) return;
        Sleep(-1);
    }
}

void RestUnlessStopped(int ms) {
    long end = Now() + ms;
    for (long left = ms; left > 0 && !StopRequested(); left = end - Now()) {
        Drain();
        Sleep(left);
    }
}

int WaitForKeyFor(long ms) {
    long end = Now() + ms;
    for (;;) {
        Drain();
        if (StopRequested()) return 0;
        if (keypressed()) return readkey();
        long left = end - Now();
        if (left <= 0) return 0;
        Sleep(left);
    }
}

void WakeKeyWaits() {
    if (wakeWrite < 0) return;
    int saved = errno;
    char b = 1;
    // A full pipe already wakes the waits.
    if (write(wakeWrite, &b, 1) < 0) {
    }
    errno = saved;
}

bool AnyKeyHeld() {
    for (int k = 0; k < KEY_MAX; k++)
        if (get_key(k)) return true;
    return false;
}

void WatchKeyPresses() {
    int fds[2];
    if (wakeRead < 0 && pipe2(fds, O_NONBLOCK | O_CLOEXEC) == 0) wakeRead = fds[0], wakeWrite = fds[1];
    keyboard_lowlevel_callback = NoteKeyEvent;
}

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
