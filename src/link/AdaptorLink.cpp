#include "link/AdaptorLink.h"

#include "link/ReplyAssembler.h"
#include "link/Waits.h"
#include "platform/SerialPort.h"

#include <QCoreApplication>

namespace {
constexpr int transactionGapMs = 25; // after every transaction, before the next command
}

AdaptorLink::AdaptorLink(SerialPort &port, Waits &waits) : m_port(port), m_waits(waits) {}

PortOpening AdaptorLink::openPort(int port)
{
    if (m_port.portNumber() != port && !m_port.selectPort(port))
        return PortOpening::Failed;
    yieldOnce();
    if (m_port.isOpen())
        return PortOpening::AlreadyOpen;
    return m_port.open() ? PortOpening::Opened : PortOpening::Failed;
}

void AdaptorLink::closePort()
{
    m_port.close();
}

bool AdaptorLink::isOpen() const
{
    return m_port.isOpen();
}

void AdaptorLink::sendText(const QString &text)
{
    if (!m_port.isOpen())
        return;
    yieldOnce();
    m_port.write(text.toLatin1());
}

QString AdaptorLink::readReply(int count, int timeoutMs)
{
    QString text;
    if (!m_port.isOpen())
        return text;
    m_waits.startTimer(timeoutMs);
    const std::function<void(char)> take = [&text](char c) { text.append(QLatin1Char(c)); };
    while (text.size() <= count && replyPass(take)) {
    }
    return text;
}

Reply AdaptorLink::transact(const QString &cmd, int count, int timeoutMs)
{
    ReplyAssembler assembler(cmd, count);
    if (m_port.isOpen()) {
        m_port.clearWaiting();
        m_port.write(cmd.toLatin1());
        if (!assembler.complete())
            m_waits.startTimer(timeoutMs);
        const std::function<void(char)> take = [&assembler](char c) { assembler.take(c); };
        while (!assembler.complete()) {
            if (!replyPass(take))
                assembler.timeOut();
        }
    }
    // Never opened, or lost on the way (the line went away).
    if (!m_port.isOpen())
        assembler.portLost();
    m_waits.pause(transactionGapMs);
    return assembler.reply();
}

void AdaptorLink::pause(int ms)
{
    m_waits.pause(ms);
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

bool AdaptorLink::replyPass(const std::function<void(char)> &take)
{
    awaitCharacter();
    if (m_port.waiting() > 0)
        take(m_port.readOne());
    return !m_waits.timerDone();
}
