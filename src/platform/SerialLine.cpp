#include "platform/SerialLine.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <tuple>

SerialLine adaptorLine()
{
    return {QSerialPort::Baud9600, QSerialPort::Data7, QSerialPort::EvenParity, QSerialPort::OneStop,
            QSerialPort::NoFlowControl};
}

bool applyLine(QSerialPort &port, const SerialLine &line)
{
    bool accepted = port.setBaudRate(line.baud);
    accepted = port.setDataBits(line.dataBits) && accepted;
    accepted = port.setParity(line.parity) && accepted;
    accepted = port.setStopBits(line.stopBits) && accepted;
    accepted = port.setFlowControl(line.flowControl) && accepted;
    return accepted;
}

namespace {

struct PortKey
{
    int group;      // 0 USB adaptors, 1 everything else
    QString stem;   // name without its trailing number
    qlonglong number;
    QString path;

    bool operator<(const PortKey &other) const
    {
        return std::tie(group, stem, number, path)
               < std::tie(other.group, other.stem, other.number, other.path);
    }
};

PortKey keyOf(const SystemPort &port)
{
    static const QRegularExpression trailingNumber(QStringLiteral("^(.*?)(\\d+)$"));
    const QString name = QFileInfo(port.name).fileName();
    PortKey key{1, name, -1, port.name};
    if (port.usb || name.startsWith(QLatin1String("ttyUSB")) || name.startsWith(QLatin1String("ttyACM")))
        key.group = 0;
    const QRegularExpressionMatch match = trailingNumber.match(name);
    if (match.hasMatch()) {
        key.stem = match.captured(1);
        key.number = match.captured(2).toLongLong();
    }
    return key;
}

} // namespace

QStringList orderSystemPorts(QList<SystemPort> ports)
{
    std::stable_sort(ports.begin(), ports.end(),
                     [](const SystemPort &a, const SystemPort &b) { return keyOf(a) < keyOf(b); });
    QStringList names;
    for (const SystemPort &port : ports)
        names << port.name;
    return names;
}
