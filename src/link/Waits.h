#pragma once
#include <QObject>

class QTimer;

// Thrown out of a wait once Exit was clicked, so that the running workflow ends at once.
// Caught only where the window hands an event to a handler; nothing else may catch it.
struct ProgramEnded
{
};

// The window's one timer (Timer1) and every wait built on it. A wait blocks in the event loop
// until an event arrives, so the window stays responsive and no CPU is burnt.
class Waits : public QObject
{
    Q_OBJECT
public:
    explicit Waits(QObject *parent = nullptr);

    // Begins a time-out of ms milliseconds and returns at once; an earlier wait is abandoned.
    void StartTimer(int ms);
    // Returns after ms milliseconds, having kept the window's events flowing.
    void Pause(int ms);
    // Blocks until at least one event (timer, serial data, user input) has been processed.
    void WaitForEvent();
    bool timerDone() const { return m_timerDone; }

    // Exit: every wait from now on, and the one running, throws ProgramEnded.
    void EndProgram();
    bool programEnded() const { return m_ended; }

private:
    void Timer1_Timer();

    QTimer *m_timer1;
    bool m_timerDone = false;
    bool m_ended = false;
};
