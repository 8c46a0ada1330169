#include "link/AdaptorLink.h"

#include "link/Waits.h"
#include "platform/SerialPort.h"

namespace {
constexpr QLatin1String adaptorGreeting("Hello");
constexpr int adaptorWakeMs = 1500;   // after a port is opened, before the adaptor is asked
constexpr int replyDelayMs = 110;     // after a handshake is sent, before its reply is read
constexpr int handshakeTimeoutMs = 150;
constexpr int stepGapMs = 10;         // between handshake steps
}

int AdaptorLink::openPort(int port)
{
    if (m_port.portNumber() != port && !m_port.selectPort(port))
        return 0;
    yieldOnce();
    if (m_port.isOpen())
        return 2;
    return m_port.open() ? 1 : 0;
}

void AdaptorLink::closePort()
{
    m_port.close();
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
    // At most count + 1 characters; the time-out counts only while nothing is waiting.
    for (;;) {
        awaitCharacter();
        if (m_port.waiting() > 0) {
            text.append(QLatin1Char(m_port.readOne()));
            if (count > 0)
                --count;
            else
                break;
        } else if (m_waits.timerDone()) {
            break;
        }
    }
    return text;
}

bool AdaptorLink::checkAdaptor()
{
    yieldOnce();
    m_port.clearWaiting();
    sendText(adaptorGreeting);
    yieldOnce();
    m_waits.pause(replyDelayMs);
    return readReply(int(adaptorGreeting.size()), handshakeTimeoutMs) == adaptorGreeting;
}

bool AdaptorLink::checkSensor()
{
    if (!m_port.isOpen())
        return false;
    sendText(QStringLiteral("\r\r"));
    yieldOnce();
    m_waits.pause(replyDelayMs);
    return transact(buildCommand(sensorCheckOp, 0, QStringLiteral("0")), 2, handshakeTimeoutMs).answer
           == QLatin1String("1");
}

LinkState AdaptorLink::findSensor(int lastComPort, const StepProgress &progress)
{
    // Adaptors come and go between searches; the list of the moment decides what each number is.
    m_port.refreshPorts();
    m_skipped.clear();
    LinkState result = LinkState::NoAdaptor;
    for (int port = 1; port <= lastComPort; ++port) {
        if (progress)
            progress(port, lastComPort);
        if (openPort(port) == 0) {
            // Missing, busy, or another port still open: left as it is.
            const OpenFailure reason = m_port.lastFailure();
            if (reason == OpenFailure::Denied || reason == OpenFailure::Busy)
                m_skipped.append({port, m_port.devicePath(port), reason});
            continue;
        }
        m_waits.pause(adaptorWakeMs);
        if (!checkAdaptor()) {
            closePort();
            continue;
        }
        result = LinkState::NoSensor;
        m_waits.pause(stepGapMs);
        if (checkSensor()) {
            m_waits.pause(stepGapMs);
            return LinkState::Connected;
        }
        closePort();
    }
    return result;
}
