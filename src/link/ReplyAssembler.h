#pragma once
#include "link/AdaptorLink.h"

#include <QByteArray>
#include <QString>

// One transaction's reply, put together a character at a time: first the echo of the command, then
// the answer up to its carriage return, at most count + length of the command + 1 characters. It
// knows nothing of ports or time: the transaction feeds it what arrives and tells it of the time-out
// and of a lost port.
class ReplyAssembler
{
public:
    // Nothing is read for a count of 0: such a reply is complete from the start.
    ReplyAssembler(const QString &cmd, int count);

    void take(char c);   // one received character; call only while not complete
    void timeOut();      // whatever has arrived is the reply
    void portLost();     // the line went away: nothing received counts
    bool complete() const { return m_complete; }
    Reply reply() const;

private:
    int m_cmdLen;
    int m_limit;
    // The device echoes the command first; its carriage return does not end the answer.
    bool m_echoPending;
    bool m_ended = false;
    bool m_complete;
    bool m_lost = false;
    QByteArray m_received;
};
