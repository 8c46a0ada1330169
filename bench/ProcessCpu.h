#pragma once
#include <sys/resource.h>

// CPU seconds this process has used so far, all its threads, user and system.
inline double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec
           + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Times any thread of this process went to sleep waiting for something (voluntary context
// switches): each is a wake-up later, the cost of waiting that does not depend on load.
inline long sleepsSoFar()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_nvcsw;
}
