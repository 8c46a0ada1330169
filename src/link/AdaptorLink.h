#pragma once
#include "platform/SerialPort.h"
#include "state/LinkState.h"

#include <QList>
#include <QString>

#include <functional>

class Waits;

// The user key carried by every write, and the factory key no operation of the tool sends.
inline const QString userAccessKey = QStringLiteral("plomvar");
inline const QString factoryAccessKey = QStringLiteral("trexil");

// The operation digits of the commands the tool sends.
constexpr int sensorCheckOp = 0; // is a sensor behind the adaptor
constexpr int readOp = 1;        // one parameter's value
constexpr int writeOp = 2;       // one parameter's new value, with the user key
constexpr int closeOp = 3;       // ends a write: the sensor keeps what it was sent

// A command line for op codes 0 to 7; any other op code gives an empty text (Framing.cpp).
QString buildCommand(int op, int n, const QString &value);

// The bare answer of one transaction, and whether the whole echo of the command came back
// (a live sensor always echoes; a missing echo means nobody answered). A port lost during the
// exchange leaves neither: whatever came is no answer.
struct Reply
{
    QString answer;
    bool echoComplete = false;
    // The answer ended with its carriage return or filled its limit; false when the time-out cut
    // it off, so that it may be the start of a longer text.
    bool answerEnded = false;
};

// How far a long exchange has come: step `step` of `total` is under way (1 is the first).
using StepProgress = std::function<void(int step, int total)>;

// A port a search could not open, for a reason the user can mend.
struct SkippedPort
{
    int number;
    QString device;
    OpenFailure reason; // Denied or Busy
};

// The serial adaptor link: port search and handshakes, transactions, waits.
class AdaptorLink
{
public:
    AdaptorLink(SerialPort &port, Waits &waits);

    // Discovery.cpp: ports, handshakes and the search.
    int openPort(int port);          // 0 failed, 1 opened now, 2 was open already
    void closePort();
    void sendText(const QString &text);
    QString readReply(int count, int timeoutMs);
    bool checkAdaptor();
    bool checkSensor();
    // Asks the system for its ports first, then tries numbers 1 to lastComPort, each announced
    // to `progress` before it is tried.
    LinkState findSensor(int lastComPort, const StepProgress &progress = {});
    const QList<SkippedPort> &skippedPorts() const { return m_skipped; } // by the last search

    // Framing.cpp, with buildCommand: one command and its reply.
    Reply transact(const QString &cmd, int count, int timeoutMs);

    // AdaptorLink.cpp: waits and the state of the port.
    void pause(int ms);
    bool isOpen() const;

    SerialPort &port() { return m_port; }
    Waits &waits() { return m_waits; }

private:
    // AdaptorLink.cpp: the waits inside an exchange.
    // A non-blocking turn of the event loop, where the exchange awaits nothing in particular.
    void yieldOnce();
    // Inside a reply loop: blocks until a character or the time-out arrives, unless one of them is here.
    void awaitCharacter();

    SerialPort &m_port;
    Waits &m_waits;
    QList<SkippedPort> m_skipped;
};
