#pragma once
#include "platform/SerialPort.h"

#include <QString>

#include <functional>

class Waits;

// Ends every command line and every answer.
inline constexpr char carriageReturn = '\r';

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

// What asking for a port to be opened did.
enum class PortOpening {
    Failed,      // missing, busy, forbidden, or another port is still open
    Opened,      // opened now
    AlreadyOpen, // was open already, and is left as it is
};

// The serial adaptor link: opens the port and moves text over it, one command line and its reply
// at a time, waiting in the event loop. What the lines say is the protocol's business.
class AdaptorLink
{
public:
    AdaptorLink(SerialPort &port, Waits &waits);

    PortOpening openPort(int port);
    void closePort();
    bool isOpen() const;

    // Writes text as it is, after a turn of the event loop; nothing on a closed port.
    void sendText(const QString &text);
    // The characters as they arrive, at most count + 1, until the time-out.
    QString readReply(int count, int timeoutMs);
    // Writes a command line and returns its reply (echo, then answer up to its carriage return, at
    // most count + length of the command + 1 characters, until the time-out); then pauses
    // transactionGapMs, so that every transaction, even on a closed port, is spaced from the next.
    Reply transact(const QString &cmd, int count, int timeoutMs);

    void pause(int ms);
    // A non-blocking turn of the event loop, where an exchange awaits nothing in particular.
    void yieldOnce();

    SerialPort &port() { return m_port; }
    Waits &waits() { return m_waits; }

private:
    // Inside a reply loop: blocks until a character or the time-out arrives, unless one of them is here.
    void awaitCharacter();
    // One pass of a reply loop, under the one time-out rule both loops keep: awaits a character,
    // hands `take` at most one waiting character and says whether the reply goes on. The pass
    // that finds the time-out passed is the last, even with characters still waiting.
    bool replyPass(const std::function<void(char)> &take);

    SerialPort &m_port;
    Waits &m_waits;
};
