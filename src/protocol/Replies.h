#pragma once
#include "link/AdaptorLink.h"

#include <QString>

// The sensor refuses a command with an answer that begins with "ERR", in capitals.
inline bool isRefusal(const QString &answer)
{
    return answer.startsWith(QLatin1String("ERR"), Qt::CaseSensitive);
}

// A read counts only with its whole answer: echoed, then answered up to the carriage return (or
// the answer limit). An answer the time-out cut off may be a longer value, "100" arriving as "10".
inline bool isWholeAnswer(const Reply &reply)
{
    return reply.echoComplete && reply.answerEnded;
}

// A write counts only when the sensor echoed it in full and did not refuse it. An empty answer
// after a full echo is accepted; a missing echo means nobody heard the command, and an answer cut
// off by the time-out may be the start of a refusal.
inline bool isAccepted(const Reply &reply)
{
    return reply.echoComplete && !isRefusal(reply.answer)
           && (reply.answer.isEmpty() || reply.answerEnded);
}
