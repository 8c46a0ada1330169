#pragma once
#include <QCoreApplication>
#include <QTimer>

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

// What waking alone costs on this machine: the CPU share of an event loop that only a timer wakes,
// every `intervalMs`, `wakes` times. A virtual machine charges more for a wake the longer it slept,
// so that no workflow's share can fall below what its own waits cost here.
inline double timerWakePercent(int intervalMs, int wakes)
{
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    int woken = 0;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++woken; });
    const double before = cpuSeconds();
    timer.start(intervalMs);
    while (woken < wakes)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return 100.0 * (cpuSeconds() - before) / (intervalMs / 1000.0 * wakes);
}
