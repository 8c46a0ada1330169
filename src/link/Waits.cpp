#include "link/Waits.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QTimer>

Waits::Waits(QObject *parent) : QObject(parent), m_timer1(new QTimer(this))
{
    // Coarse timers may fire up to 5 % early; a protocol pause must never be short.
    m_timer1->setTimerType(Qt::PreciseTimer);
    m_timer1->setSingleShot(true);
    connect(m_timer1, &QTimer::timeout, this, &Waits::Timer1_Timer);
}

void Waits::StartTimer(int ms)
{
    m_timer1->stop();
    m_timer1->setInterval(ms);
    m_timerDone = false;
    m_timer1->start();
}

void Waits::Pause(int ms)
{
    StartTimer(ms);
    while (!m_timerDone)
        WaitForEvent();
}

void Waits::WaitForEvent()
{
    if (m_ended)
        throw ProgramEnded{};
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    if (m_ended)
        throw ProgramEnded{};
}

bool Waits::EndProgram()
{
    m_endRequested = true;
    if (m_deferrals > 0)
        return false;
    m_ended = true;
    m_timer1->stop();
    // Exit may arrive from outside a wait's event turn; make sure a blocked wait returns.
    if (QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance())
        dispatcher->wakeUp();
    return true;
}

Waits::EndDeferral::~EndDeferral()
{
    if (--m_waits.m_deferrals == 0 && m_waits.m_endRequested)
        m_waits.EndProgram(); // the next wait throws
}

void Waits::Timer1_Timer()
{
    m_timerDone = true;
    m_timer1->stop();
}
