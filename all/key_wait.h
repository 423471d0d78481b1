#pragma once
#include <functional>

// Every wait for keys polls Allegro's key buffer and the stop request with
// short rests instead of blocking in readkey, so an ending request is noticed
// within 10 ms and an idle editor costs no more than Allegro's own thread.
// Without a keyboard driver (the unit tests, which set key[] themselves)
// nothing waits: readkey answers at once there.

// Waits for the next key press and returns it as readkey does; 0 when the
// wait ended on a stop request. `idle` runs between polls and is given the
// milliseconds waited so far.
int WaitForKey(const std::function<void(long waitedMs)>& idle = {});

// Waits until a key goes down or up or a stop is requested: the pace of a
// held-key mode with nothing moving.
void WaitForKeyChange();

// True while any key is held.
bool AnyKeyHeld();

// Starts noting, for every key press, the left-hand modifiers down with it.
// Call after install_keyboard.
void WatchKeyPresses();

// The key pass sees a key whose press arrived while the editor was busy even
// when it was released before the pass read it: WaitForKey latches such a
// key, with the modifiers that were down at its press, for the pass that
// follows. LatchedForPass tells whether k is latched; ClearPassLatch ends it.
bool LatchedForPass(int k);
void ClearPassLatch();
