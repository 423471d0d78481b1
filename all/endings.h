#pragma once
#include <functional>
#include <string>

// The ways a session ends besides Shift+ESC. SIGTERM, SIGHUP, SIGINT,
// SIGQUIT and the window's close button only record a stop request (see
// stop_request.h); the main flow saves. Losing the X connection cannot wait
// for the main flow: its handler saves at once, when that is safe, and ends
// the process.

// Notes which of the ending signals are ignored now (under nohup, or in a
// background job): they stay ignored. Call before allegro_init, which puts
// handlers of its own on several of them.
void NoteIgnoredSignals();

// Installs the signal handlers, the close button callback and the X I/O
// error handler. Call after the graphics mode is set.
void InstallEndingHandlers();

// The main flow holds the pass lock except while it waits for a key; only
// then is the document whole in memory and safe to save from another
// thread.
void LockPass();
void UnlockPass();

// The save the X I/O error handler runs while the main flow waits for a key;
// it returns the name of the document file written, or "" for none.
void SetConnectionLostSave(std::function<std::string()> save);
