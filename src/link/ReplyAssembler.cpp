#include "link/ReplyAssembler.h"

ReplyAssembler::ReplyAssembler(const QString &cmd, int count)
    : m_cmdLen(int(cmd.size())), m_limit(count + m_cmdLen),
      m_echoPending(cmd.endsWith(QLatin1Char(carriageReturn))), m_complete(count == 0)
{
}

void ReplyAssembler::take(char c)
{
    m_received.append(c);
    if (c == carriageReturn) {
        if (m_echoPending) {
            m_echoPending = false;
        } else {
            m_complete = true;
            m_ended = true;
        }
    }
    // The character after the limit is the last one read.
    if (m_limit != 0) {
        --m_limit;
    } else {
        m_complete = true;
        m_ended = true;
    }
}

void ReplyAssembler::timeOut()
{
    m_complete = true;
}

void ReplyAssembler::portLost()
{
    m_lost = true;
    m_complete = true;
}

Reply ReplyAssembler::reply() const
{
    Reply reply;
    if (m_lost)
        return reply;
    reply.echoComplete = m_cmdLen > 0 && m_received.size() >= m_cmdLen;
    reply.answerEnded = m_ended;
    if (m_received.size() > m_cmdLen) {
        // The echo is cut by position; its content is not checked.
        QByteArray answer = m_received.mid(m_cmdLen);
        if (answer.endsWith(carriageReturn))
            answer.chop(1);
        reply.answer = QString::fromLatin1(answer);
    }
    return reply;
}
