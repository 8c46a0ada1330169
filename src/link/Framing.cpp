#include "link/AdaptorLink.h"

#include "link/ReplyAssembler.h"
#include "link/Waits.h"
#include "platform/SerialPort.h"

namespace {
constexpr int transactionGapMs = 25; // after every transaction, before the next command
}

QString buildCommand(int op, int n, const QString &value)
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

Reply AdaptorLink::transact(const QString &cmd, int count, int timeoutMs)
{
    ReplyAssembler assembler(cmd, count);
    if (m_port.isOpen()) {
        m_port.clearWaiting();
        m_port.write(cmd.toLatin1());
        if (!assembler.complete())
            m_waits.startTimer(timeoutMs);
        while (!assembler.complete()) {
            awaitCharacter();
            if (m_port.waiting() > 0)
                assembler.take(m_port.readOne());
            if (m_waits.timerDone())
                assembler.timeOut();
        }
    }
    // Never opened, or lost on the way (the line went away).
    if (!m_port.isOpen())
        assembler.portLost();
    m_waits.pause(transactionGapMs);
    return assembler.reply();
}
