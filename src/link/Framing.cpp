#include "link/AdaptorLink.h"

#include "link/Waits.h"
#include "platform/SerialPort.h"

namespace {
constexpr char carriageReturn = '\r';
}

QString BuildCommand(int op, int n, const QString &value)
{
    const QString number = QString::number(n);
    const QChar cr = QLatin1Char(carriageReturn);
    switch (op) {
    case 0: return QStringLiteral("$0,") + value + cr;
    case 1: return QStringLiteral("$1,") + number + cr;
    case 2: return QStringLiteral("$2,") + number + u',' + userAccessKey + u',' + value + cr;
    case 3: return QStringLiteral("$3,") + number + u',' + userAccessKey + cr;
    case 4: return QStringLiteral("$4,") + number + cr;
    case 5: return QStringLiteral("$5,") + number + u',' + factoryAccessKey + u',' + value + cr;
    case 6: return QStringLiteral("$6,") + factoryAccessKey + u',' + value + cr;
    case 7: return QStringLiteral("$7,") + number + factoryAccessKey + u',' + value + cr;
    default: return {};
    }
}

Reply AdaptorLink::Transact(const QString &cmd, int count, int timeoutMs)
{
    const int cmdLen = int(cmd.size());
    QByteArray received;
    bool ended = false;

    if (m_port.isOpen()) {
        // The device echoes the command first; its carriage return does not end the answer.
        bool echoPending = cmd.endsWith(QLatin1Char(carriageReturn));
        m_port.clearWaiting();
        m_port.write(cmd.toLatin1());
        if (count != 0) {
            m_waits.StartTimer(timeoutMs);
            int limit = count + cmdLen;
            bool stop = false;
            while (!stop) {
                awaitCharacter();
                if (m_port.waiting() > 0) {
                    const char c = m_port.readOne();
                    received.append(c);
                    if (c == carriageReturn) {
                        if (echoPending) {
                            echoPending = false;
                        } else {
                            stop = true;
                            ended = true;
                        }
                    }
                    if (limit != 0 && !m_waits.timerDone()) {
                        --limit;
                    } else {
                        stop = true;
                        ended = ended || limit == 0;
                    }
                }
                if (m_waits.timerDone())
                    stop = true;
            }
        }
    }

    Reply reply;
    if (!m_port.isOpen()) {
        // Never opened, or lost on the way (the line went away): nothing received counts.
        m_waits.Pause(25);
        return reply;
    }
    reply.echoComplete = cmdLen > 0 && received.size() >= cmdLen;
    reply.answerEnded = ended;
    if (received.size() > cmdLen) {
        // The echo is cut by position; its content is not checked.
        QByteArray answer = received.mid(cmdLen);
        if (answer.endsWith(carriageReturn))
            answer.chop(1);
        reply.answer = QString::fromLatin1(answer);
    }
    m_waits.Pause(25);
    return reply;
}
