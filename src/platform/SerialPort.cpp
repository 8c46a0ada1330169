#include "platform/SerialPort.h"

#include "platform/SerialLine.h"

#include <QMetaEnum>
#include <QSerialPort>
#include <QSerialPortInfo>
#include <QtDebug>


SerialPort::SerialPort(const QStringList &devicePaths, QObject *parent)
    : QObject(parent), m_devicePaths(devicePaths), m_port(new QSerialPort(this))
{
    // A vanished far end makes Qt report ReadError continuously while the port stays open;
    // closing here stops that at the first report, and later transactions see a closed port.
    connect(m_port, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError error) {
        if (error != QSerialPort::ReadError && error != QSerialPort::ResourceError)
            return;
        qWarning().noquote() << "Serial port" << m_port->portName() << "lost:"
                             << QMetaEnum::fromType<QSerialPort::SerialPortError>().valueToKey(error)
                             << m_port->errorString();
        m_port->close();
    });
}

SerialPort::~SerialPort() = default;

QStringList SerialPort::systemPorts()
{
#ifdef Q_OS_WIN
    QStringList names;
    for (int n = 1; n <= 8; ++n)
        names << QStringLiteral("COM%1").arg(n);
    return names;
#else
    QStringList paths;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
        paths << info.systemLocation();
    return orderSystemPorts(paths);
#endif
}

bool SerialPort::selectPort(int number)
{
    if (m_port->isOpen() && number != m_number)
        return false;
    m_number = number;
    return true;
}

int SerialPort::portNumber() const
{
    return m_number;
}

bool SerialPort::isOpen() const
{
    return m_port->isOpen();
}

bool SerialPort::open()
{
    if (m_port->isOpen())
        return true;
    if (m_number < 1 || m_number > m_devicePaths.size())
        return false;
    const QString path = m_devicePaths.at(m_number - 1);
    if (path.isEmpty())
        return false;

    m_port->setPortName(path);
    if (!applyLine(*m_port, adaptorLine()))
        qWarning().noquote() << "Serial port" << path << "refused part of the line settings";
    m_port->clearError();
    if (!m_port->open(QIODevice::ReadWrite)) {
        m_port->clearError();
        return false;
    }
    return true;
}

void SerialPort::close()
{
    if (m_port->isOpen())
        m_port->close();
}

bool SerialPort::write(const QByteArray &text)
{
    if (!m_port->isOpen())
        return false;
    if (m_port->write(text) != text.size())
        return false;
    // Hand the bytes to the device now rather than at the next event-loop turn, so the
    // line time of a command starts when it is written.
    m_port->flush();
    return true;
}

int SerialPort::waiting() const
{
    return m_port->isOpen() ? int(m_port->bytesAvailable()) : 0;
}

void SerialPort::clearWaiting()
{
    if (!m_port->isOpen())
        return;
    m_port->readAll();
    m_port->clear(QSerialPort::Input);
}

char SerialPort::readOne()
{
    char c = 0;
    m_port->getChar(&c);
    return c;
}
