#pragma once
#include <cstdint>

// A millisecond interval timer on a monotonic clock, so that a change of the
// system time never makes it fire early or stall.
class Timer {
public:
    Timer();
    explicit Timer(int64_t period);
    virtual ~Timer() = default;

    virtual void SetPeriod(int64_t p);
    virtual int64_t GetPeriod();
    virtual int64_t Elapsed();
    virtual void Restart();
    virtual bool Ready();

    static int64_t NowMs();

private:
    int64_t start = 0;
    int64_t period = -1;
};
