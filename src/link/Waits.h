#pragma once
#include <QObject>

class QTimer;

// Thrown out of a wait once Exit was clicked, so that the running workflow ends at once (a write
// that has sent values first finishes, see EndDeferral).
// Caught only where the window hands an event to a handler; nothing else may catch it.
struct ProgramEnded
{
};

// The window's one timer and every wait built on it. A wait blocks in the event loop
// until an event arrives, so the window stays responsive and no CPU is burnt.
class Waits : public QObject
{
    Q_OBJECT
public:
    explicit Waits(QObject *parent = nullptr);

    // Begins a time-out of ms milliseconds and returns at once; an earlier wait is abandoned.
    void startTimer(int ms);
    // Returns after ms milliseconds, having kept the window's events flowing.
    void pause(int ms);
    // Blocks until at least one event (timer, serial data, user input) has been processed.
    void waitForEvent();
    bool timerDone() const { return m_timerDone; }

    // Exit: every wait from now on, and the one running, throws ProgramEnded. While an
    // EndDeferral lives, the end is only noted and comes when the last one goes. True when the
    // program ended now.
    bool endProgram();
    bool programEnded() const { return m_ended; }
    // Forgets an Exit that an EndDeferral held back: what it waited for did not end well, so the
    // window stays open to say so. A further Exit ends the program as usual.
    void dropEndRequest()
    {
        if (!m_ended)
            m_endRequested = false;
    }

    // Held across a write once its first value has gone out: cut short there, the sensor would
    // keep half old and half new settings, so Exit lets the write run to its closing command (and
    // the check after it, when the caller holds the deferral on).
    class EndDeferral
    {
    public:
        explicit EndDeferral(Waits &waits) : m_waits(waits) { ++m_waits.m_deferrals; }
        ~EndDeferral();
        EndDeferral(const EndDeferral &) = delete;
        EndDeferral &operator=(const EndDeferral &) = delete;

    private:
        Waits &m_waits;
    };

private:
    void timeUp();

    QTimer *m_timer;
    bool m_timerDone = false;
    bool m_ended = false;
    bool m_endRequested = false;
    int m_deferrals = 0;
};
