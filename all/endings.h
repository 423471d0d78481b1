#pragma once
#include <functional>
#include <string>

// The ways a session ends besides Shift+ESC. SIGTERM, SIGHUP, SIGINT,
// SIGQUIT and the window's close button only record a stop request (see
// stop_request.h); the main flow saves. Losing the X connection cannot wait
// long for the main flow: its handler makes sure the document is saved
// exactly once, never while the main flow may be changing it, and ends the
// process.

// Notes which of the ending signals are ignored now (under nohup, or in a
// background job): they stay ignored. Call before allegro_init, which puts
// handlers of its own on several of them.
void NoteIgnoredSignals();

// Installs the signal handlers, the close button callback and the X I/O
// error handler. Call on the main flow's thread after the graphics mode is
// set.
void InstallEndingHandlers();

// The document is consistent except while the main flow runs a key pass:
// the pass holds it from LockPass to UnlockPass. Another thread saves it
// only when it is consistent. LockPass never returns once the X handler has
// taken the document over (it ends the process).
void LockPass();
void UnlockPass();

// Marks a save of the document, which only reads it: the X handler waits
// for the save to finish rather than write beside it.
class DocumentSaving {
public:
    DocumentSaving();
    ~DocumentSaving();
    DocumentSaving(const DocumentSaving&) = delete;
    DocumentSaving& operator=(const DocumentSaving&) = delete;

private:
    int before;
};

// Marks a stretch where the main flow draws on the screen (a frame, a form,
// a question, the help) and changes no layer: its X traffic. When the
// connection drops meanwhile, the main flow may never come back from X, so
// the X handler saves the document as it stands at once; should the main
// flow come back anyway, it stops at the stretch's end until the handler
// has ended the process.
class ScreenTraffic {
public:
    ScreenTraffic();
    ~ScreenTraffic();
    ScreenTraffic(const ScreenTraffic&) = delete;
    ScreenTraffic& operator=(const ScreenTraffic&) = delete;
};

// The save the X I/O error handler runs (the settings and the document,
// with fallbacks); it returns the name of the document file written, or ""
// for none.
void SetConnectionLostSave(std::function<std::string()> save);

// Called by the main flow between two changes of the document: when the X
// connection has been lost, saves here and ends the process.
void EndHereIfConnectionLost();

// The main flow takes the ending save on itself: the X handler, should the
// connection drop now, waits for it instead of saving.
void BeginEnding();
// The main flow's last word: names what was saved when a stop request ended
// the session, and when the X connection is gone ends the process at once,
// since nothing of X may be touched any more.
void ReportEnding(const std::string& saved);
