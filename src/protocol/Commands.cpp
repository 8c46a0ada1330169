#include "protocol/Commands.h"

#include "link/AdaptorLink.h"

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
