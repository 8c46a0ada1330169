#include "link/AdaptorLink.h"

#include "link/Waits.h"
#include "platform/SerialPort.h"

#include <QCoreApplication>

AdaptorLink::AdaptorLink(SerialPort &port, Waits &waits) : m_port(port), m_waits(waits) {}

void AdaptorLink::pause(int ms)
{
    m_waits.pause(ms);
}

bool AdaptorLink::isOpen() const
{
    return m_port.isOpen();
}

void AdaptorLink::yieldOnce()
{
    QCoreApplication::processEvents();
    if (m_waits.programEnded())
        throw ProgramEnded{};
}

void AdaptorLink::awaitCharacter()
{
    if (m_port.waiting() == 0 && !m_waits.timerDone())
        m_waits.waitForEvent();
}
