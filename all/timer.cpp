#include "timer.h"

#include <chrono>

int64_t Timer::NowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

Timer::Timer() : Timer(-1) {}

Timer::Timer(int64_t p) {
    Restart();
    SetPeriod(p);
}

void Timer::SetPeriod(int64_t p) { period = p >= 0 ? p : -1; }

int64_t Timer::GetPeriod() { return period; }

int64_t Timer::Elapsed() { return NowMs() - start; }

void Timer::Restart() { start = NowMs(); }

bool Timer::Ready() {
    if (period < 0) return false;
    if (Elapsed() > period) {
        Restart();
        return true;
    }
    return false;
}
