#include "stop_request.h"

#include <atomic>
#include <csignal>

#include "key_wait.h"

namespace {

// Lock-free, so the signal handler may write it.
std::atomic<int> reasonOfStop{0};
static_assert(std::atomic<int>::is_always_lock_free, "a signal handler writes the stop request");

}  // namespace

void RequestStop(int reason) {
    int none = 0;
    reasonOfStop.compare_exchange_strong(none, reason);
    WakeKeyWaits();
}

bool StopRequested() { return reasonOfStop.load() != 0; }

int StopReason() { return reasonOfStop.load(); }

const char* StopReasonName(int reason) {
    switch (reason) {
        case SIGTERM: return "SIGTERM";
        case SIGHUP: return "SIGHUP";
        case SIGINT: return "SIGINT";
        case SIGQUIT: return "SIGQUIT";
        case kWindowClosed: return "Window closed";
        case kConnectionLost: return "The X connection was lost";
        default: return "Stop";
    }
}

void ClearStopRequest() { reasonOfStop.store(0); }
