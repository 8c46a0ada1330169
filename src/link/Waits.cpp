#include "link/Waits.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QTimer>

Waits::Waits(QObject *parent) : QObject(parent), m_timer(new QTimer(this))
{
    // Coarse timers may fire up to 5 % early; a protocol pause must never be short.
    m_timer->setTimerType(Qt::PreciseTimer);
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, &Waits::timeUp);
}

void Waits::startTimer(int ms)
{
    m_timer->stop();
    m_timer->setInterval(ms);
    m_timerDone = false;
    m_timer->start();
}

void Waits::pause(int ms)
{
    startTimer(ms);
    while (!m_timerDone)
        waitForEvent();
}

void Waits::waitForEvent()
{
    if (m_ended)
        throw ProgramEnded{};
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    if (m_ended)
        throw ProgramEnded{};
}

bool Waits::endProgram()
{
    m_endRequested = true;
    if (m_deferrals > 0)
        return false;
    m_ended = true;
    m_timer->stop();
    // Exit may arrive from outside a wait's event turn; make sure a blocked wait returns.
    if (QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance())
        dispatcher->wakeUp();
    return true;
}

Waits::EndDeferral::~EndDeferral()
{
    if (--m_waits.m_deferrals == 0 && m_waits.m_endRequested)
        m_waits.endProgram(); // the next wait throws
}

void Waits::timeUp()
{
    m_timerDone = true;
    m_timer->stop();
}
