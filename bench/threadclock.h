#pragma once

#include <chrono>
#include <cstdint>
#include <ctime>

// The calling thread's processor time, system calls included: the clock the comparison
// benchmarks measure both sides with, so that other load on the machine does not count.
struct ThreadClock {
    using duration = std::chrono::nanoseconds;
    using time_point = std::chrono::time_point<ThreadClock, duration>;
    static time_point now()
    {
        timespec t {};
        ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return time_point(duration(std::int64_t(t.tv_sec) * 1000000000 + t.tv_nsec));
    }
};
