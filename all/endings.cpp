#include "endings.h"

#include <X11/Xlib.h>
#include <allegro.h>
#include <pthread.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>

#include "stop_request.h"

namespace {

const int kEndingSignals[] = {SIGTERM, SIGHUP, SIGINT, SIGQUIT};
bool ignoredAtStart[sizeof kEndingSignals / sizeof kEndingSignals[0]];

// Error-checking: the key wait lets go of it also when a test runs a key
// pass outside Run, where it is not held.
pthread_mutex_t passLock = PTHREAD_ERRORCHECK_MUTEX_INITIALIZER_NP;
std::function<std::string()> connectionLostSave;

// Only records: saving in the handler could meet the main flow half-way
// through changing the document.
void OnEndingSignal(int signal) { RequestStop(signal); }

void OnCloseButton() { RequestStop(kWindowClosed); }

// Xlib's default handler calls exit(), usually on Allegro's X thread, while
// the main flow runs on: that ends the process with nothing saved. This one
// never returns. Saving touches memory bitmaps and files only, no X call.
int OnConnectionLost(Display*) {
    if (pthread_mutex_trylock(&passLock) != 0) {
        std::printf("The X connection was lost during a key pass: nothing saved\n");
    } else if (connectionLostSave) {
        std::string saved = connectionLostSave();
        if (saved.empty())
            std::printf("The X connection was lost: nothing could be saved\n");
        else
            std::printf("The X connection was lost: saved '%s'\n", saved.c_str());
    }
    std::fflush(stdout);
    _exit(1);
}

}  // namespace

void NoteIgnoredSignals() {
    for (size_t i = 0; i < sizeof kEndingSignals / sizeof kEndingSignals[0]; i++) {
        struct sigaction now;
        ignoredAtStart[i] = sigaction(kEndingSignals[i], nullptr, &now) == 0 && now.sa_handler == SIG_IGN;
    }
}

void InstallEndingHandlers() {
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

void LockPass() { pthread_mutex_lock(&passLock); }

void UnlockPass() { pthread_mutex_unlock(&passLock); }

void SetConnectionLostSave(std::function<std::string()> save) { connectionLostSave = std::move(save); }
