#pragma once
#include <functional>

// Every wait for keys sleeps until something happens instead of blocking in
// readkey: a key going down or up, a stop request (both wake it at once
// through a pipe), or a time the caller asks for. An ending request is thus
// noticed at once, and an idle editor costs no more than Allegro's own
// thread. Without a keyboard driver (the unit tests, which set key[]
// themselves) nothing waits: readkey answers at once there.

// Waits for the next key press and returns it as readkey does; 0 when the
// wait ended on a stop request. `idle` runs whenever the wait wakes without
// a key press, with how long no key has been held; it answers how long the
// wait may sleep before it is to be asked again (negative: until woken).
int WaitForKey(const std::function<long(long quietMs)>& idle = {});

// Waits until a key goes down or up or a stop is requested: the pace of a
// held-key mode with nothing moving, and of the questions.
void WaitForKeyChange();

// Rests ms milliseconds, returning early on a stop request.
void RestUnlessStopped(int ms);

// Waits up to ms milliseconds for a key press and returns it as readkey
// does; 0 when the time passed first or a stop was requested: the pace of
// a mode that moves on by itself until a key ends it.
int WaitForKeyFor(long ms);

// Wakes every key wait; safe in a signal handler.
void WakeKeyWaits();

// True while any key is held.
bool AnyKeyHeld();

// Starts watching the keyboard's events: they wake the waits, and every key
// press notes the left-hand modifiers down with it. Call after
// install_keyboard.
void WatchKeyPresses();

// The key pass sees a key whose press arrived while the editor was busy even
// when it was released before the pass read it: WaitForKey latches such a
// key, with the modifiers that were down at its press, for the pass that
// follows. LatchedForPass tells whether k is latched; ClearPassLatch ends it.
bool LatchedForPass(int k);
void ClearPassLatch();
