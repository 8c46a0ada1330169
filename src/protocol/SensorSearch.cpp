#include "protocol/SensorSearch.h"

#include "protocol/Commands.h"

namespace {
constexpr QLatin1String adaptorGreeting("Hello");
constexpr int adaptorWakeMs = 1500;   // after a port is opened, before the adaptor is asked
constexpr int replyDelayMs = 110;     // after a handshake is sent, before its reply is read
constexpr int handshakeTimeoutMs = 150;
constexpr int stepGapMs = 10;         // between handshake steps
}

bool adaptorAnswers(AdaptorLink &link)
{
    link.yieldOnce();
    link.port().clearWaiting();
    link.sendText(adaptorGreeting);
    link.yieldOnce();
    link.pause(replyDelayMs);
    return link.readReply(int(adaptorGreeting.size()), handshakeTimeoutMs) == adaptorGreeting;
}

bool sensorAnswers(AdaptorLink &link)
{
    if (!link.isOpen())
        return false;
    link.sendText(QStringLiteral("\r\r"));
    link.yieldOnce();
    link.pause(replyDelayMs);
    return link.transact(buildCommand(sensorCheckOp, 0, QStringLiteral("0")), 2, handshakeTimeoutMs).answer
           == QLatin1String("1");
}

SearchResult findSensor(AdaptorLink &link, int lastComPort, const StepProgress &progress)
{
    SerialPort &port = link.port();
    // Adaptors come and go between searches; the list of the moment decides what each number is.
    port.refreshPorts();
    SearchResult result;
    for (int number = 1; number <= lastComPort; ++number) {
        if (progress)
            progress(number, lastComPort);
        if (link.openPort(number) == PortOpening::Failed) {
            // Missing, busy, or another port still open: left as it is.
            const OpenFailure reason = port.lastFailure();
            if (reason == OpenFailure::Denied || reason == OpenFailure::Busy)
                result.skippedPorts.append({number, port.devicePath(number), reason});
            continue;
        }
        link.pause(adaptorWakeMs);
        if (!adaptorAnswers(link)) {
            link.closePort();
            continue;
        }
        result.linkState = LinkState::NoSensor;
        link.pause(stepGapMs);
        if (sensorAnswers(link)) {
            link.pause(stepGapMs);
            result.linkState = LinkState::Connected;
            return result;
        }
        link.closePort();
    }
    return result;
}
