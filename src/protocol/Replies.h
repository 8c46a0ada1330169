#pragma once
#include "link/AdaptorLink.h"

#include <QString>

// The sensor refuses a command with an answer that begins with "ERR", in capitals.
inline bool IsRefusal(const QString &answer)
{
    return answer.startsWith(QLatin1String("ERR"), Qt::CaseSensitive);
}

// A write counts only when the sensor echoed it in full and did not refuse it. An empty answer
// after a full echo is accepted; a missing echo means nobody heard the command.
inline bool IsAccepted(const Reply &reply)
{
    return reply.echoComplete && !IsRefusal(reply.answer);
}
