#include "endings.h"

#include <X11/Xlib.h>
#include <allegro.h>
#include <pthread.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <mutex>

#include "stop_request.h"

namespace {

const int kEndingSignals[] = {SIGTERM, SIGHUP, SIGINT, SIGQUIT};
bool ignoredAtStart[sizeof kEndingSignals / sizeof kEndingSignals[0]];

// How long the X handler waits for the main flow: a save running, or a key
// pass reaching its next key wait or paint-gate call.
constexpr auto kMostWaitForMainFlow = std::chrono::seconds(60);

enum DocState { kConsistent, kChanging, kSaving };

// Everything below is guarded by docMutex; docChanged wakes whoever waits
// for one of them.
std::mutex docMutex;
std::condition_variable docChanged;
int docState = kConsistent;
// The X handler saves: the main flow must not change the document again.
bool handlerOwnsDocument = false;
// Nested screen drawing of the main flow.
int screenTrafficDepth = 0;
// The main flow runs the ending save itself.
bool mainFlowEnds = false;
bool endingReported = false;

std::function<std::string()> connectionLostSave;
std::atomic<bool> connectionLost{false};
std::atomic<bool> handlerEntered{false};
pthread_t mainThread;
std::atomic<bool> mainThreadKnown{false};

bool OnMainThread() { return mainThreadKnown && pthread_equal(pthread_self(), mainThread); }

// Someone else ends the process.
[[noreturn]] void WaitForever() {
    for (;;) pause();
}

// Only records: saving in the handler could meet the main flow half-way
// through changing the document.
void OnEndingSignal(int signal) { RequestStop(signal); }

void OnCloseButton() { RequestStop(kWindowClosed); }

void PrintSaved(const std::string& saved) {
    const char* reason = StopReasonName(StopReason());
    if (saved.empty())
        std::printf("%s: nothing could be saved\n", reason);
    else
        std::printf("%s: saved '%s'\n", reason, saved.c_str());
    std::fflush(stdout);
}

[[noreturn]] void SaveAndExit() {
    PrintSaved(connectionLostSave ? connectionLostSave() : std::string());
    _exit(1);
}

// Takes the document over from the main flow and saves it.
[[noreturn]] void TakeOverAndSave(std::unique_lock<std::mutex>& lock) {
    handlerOwnsDocument = true;
    lock.unlock();
    SaveAndExit();
}

// On a thread other than the main flow's: waits until the document may be
// read, asking the main flow to stop if it runs a key pass.
[[noreturn]] void SaveBesideMainFlow() {
    std::unique_lock<std::mutex> lock(docMutex);
    auto deadline = std::chrono::steady_clock::now() + kMostWaitForMainFlow;
    for (;;) {
        if (endingReported) _exit(0);
        if (!mainFlowEnds && docState != kSaving && (docState == kConsistent || screenTrafficDepth > 0))
            TakeOverAndSave(lock);
        if (docChanged.wait_until(lock, deadline) == std::cv_status::timeout) break;
    }
    if (mainFlowEnds) {
        std::printf("The X connection was lost: the save did not finish within 60 s\n");
        std::fflush(stdout);
        _exit(1);
    }
    // A main flow silent for a minute is stuck outside the document.
    std::printf("The X connection was lost: the editor did not answer within 60 s\n");
    TakeOverAndSave(lock);
}

// Xlib's default handler calls exit(), usually on Allegro's X thread, while
// the main flow runs on: that ends the process with nothing saved. This one
// never returns. Saving touches memory bitmaps and files only, no X call.
int OnConnectionLost(Display*) {
    connectionLost = true;
    bool onMain = OnMainThread();
    if (handlerEntered.exchange(true)) {
        // The first thread in here ends the process; the main flow met the
        // dead connection in its own drawing, so it will not change the
        // document again.
        if (onMain) {
            std::lock_guard<std::mutex> lock(docMutex);
            screenTrafficDepth++;
            docChanged.notify_all();
        }
        WaitForever();
    }
    RequestStop(kConnectionLost);
    if (!onMain) SaveBesideMainFlow();
    // The main flow is inside its own drawing (a frame, a form, the help):
    // a pass half done changed pixels through the history only, so the
    // document is saved as it stands.
    std::unique_lock<std::mutex> lock(docMutex);
    if (endingReported) _exit(0);
    TakeOverAndSave(lock);
}

}  // namespace

void NoteIgnoredSignals() {
    for (size_t i = 0; i < sizeof kEndingSignals / sizeof kEndingSignals[0]; i++) {
        struct sigaction now;
        ignoredAtStart[i] = sigaction(kEndingSignals[i], nullptr, &now) == 0 && now.sa_handler == SIG_IGN;
    }
}

void InstallEndingHandlers() {
    mainThread = pthread_self();
    mainThreadKnown = true;
    struct sigaction act = {};
    sigemptyset(&act.sa_mask);
    // Reads and writes of a save in progress go on after the handler.
    act.sa_flags = SA_RESTART;
    for (size_t i = 0; i < sizeof kEndingSignals / sizeof kEndingSignals[0]; i++) {
        act.sa_handler = ignoredAtStart[i] ? SIG_IGN : OnEndingSignal;
        sigaction(kEndingSignals[i], &act, nullptr);
    }
    set_close_button_callback(OnCloseButton);
    XSetIOErrorHandler(OnConnectionLost);
}

void LockPass() {
    std::unique_lock<std::mutex> lock(docMutex);
    docChanged.wait(lock, [] { return !handlerOwnsDocument; });
    if (docState == kConsistent) docState = kChanging;
    docChanged.notify_all();
}

void UnlockPass() {
    std::lock_guard<std::mutex> lock(docMutex);
    if (docState == kChanging) docState = kConsistent;
    docChanged.notify_all();
}

DocumentSaving::DocumentSaving() {
    std::lock_guard<std::mutex> lock(docMutex);
    before = docState;
    docState = kSaving;
}

DocumentSaving::~DocumentSaving() {
    std::lock_guard<std::mutex> lock(docMutex);
    docState = before;
    docChanged.notify_all();
}

ScreenTraffic::ScreenTraffic() {
    std::lock_guard<std::mutex> lock(docMutex);
    screenTrafficDepth++;
    docChanged.notify_all();
}

ScreenTraffic::~ScreenTraffic() {
    std::unique_lock<std::mutex> lock(docMutex);
    docChanged.wait(lock, [] { return !handlerOwnsDocument; });
    screenTrafficDepth--;
}

void SetConnectionLostSave(std::function<std::string()> save) { connectionLostSave = std::move(save); }

void EndHereIfConnectionLost() {
    if (!connectionLost || !OnMainThread()) return;
    BeginEnding();
    ReportEnding(connectionLostSave ? connectionLostSave() : std::string());
}

void BeginEnding() {
    std::unique_lock<std::mutex> lock(docMutex);
    docChanged.wait(lock, [] { return !handlerOwnsDocument; });
    mainFlowEnds = true;
}

void ReportEnding(const std::string& saved) {
    if (StopRequested()) PrintSaved(saved);
    {
        std::lock_guard<std::mutex> lock(docMutex);
        endingReported = true;
        docChanged.notify_all();
    }
    if (connectionLost) _exit(1);
}
