#include "stop_request.h"

#include <allegro.h>

#include <atomic>
#include <csignal>

namespace {

// Lock-free, so the signal handler may write it.
std::atomic<int> reasonOfStop{0};
static_assert(std::atomic<int>::is_always_lock_free, "a signal handler writes the stop request");

// Short enough that a wait notices a request within 10 ms.
constexpr int kSliceMs = 5;

}  // namespace

void RequestStop(int reason) {
    int none = 0;
    reasonOfStop.compare_exchange_strong(none, reason);
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
        default: return "Stop";
    }
}

void ClearStopRequest() { reasonOfStop.store(0); }

void RestUnlessStopped(int ms) {
    while (ms > 0 && !StopRequested()) {
        int slice = ms < kSliceMs ? ms : kSliceMs;
        rest(static_cast<unsigned>(slice));
        ms -= slice;
    }
}
