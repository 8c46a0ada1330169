#include "platform/SerialPort.h"

#include "platform/SerialLine.h"

#include <QMetaEnum>
#include <QSerialPort>
#include <QSerialPortInfo>
#include <QtDebug>

#include <cerrno>
#include <cstring>

namespace {

OpenFailure failureOf(const QSerialPort &port)
{
    switch (port.error()) {
    case QSerialPort::DeviceNotFoundError:
        return OpenFailure::Missing;
    case QSerialPort::PermissionError:
        // Qt reports a device it may not open and one locked or held by another program alike;
        // only the first carries the system's own "permission denied" text.
        return port.errorString() == QString::fromLocal8Bit(std::strerror(EACCES)) ? OpenFailure::Denied
                                                                                  : OpenFailure::Busy;
    default:
        return OpenFailure::Other;
    }
}

} // namespace

PortList fixedPorts(const QStringList &devicePaths)
{
    return [devicePaths] { return devicePaths; };
}

SerialPort::SerialPort(PortList ports, QObject *parent)
    : QObject(parent), m_ports(std::move(ports)), m_port(new QSerialPort(this))
{
    refreshPorts();
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
    QList<SystemPort> ports;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
        // Windows names its ports "COMn"; elsewhere the device path is the name users know.
#ifdef Q_OS_WIN
        const QString name = info.portName();
#else
        const QString name = info.systemLocation();
#endif
        ports.append({name, info.hasVendorIdentifier()});
    }
    return orderSystemPorts(ports);
}

void SerialPort::refreshPorts()
{
    QStringList paths = m_ports();
    if (m_port->isOpen()) {
        paths.removeAll(m_openPath);
        while (paths.size() < m_number - 1)
            paths.append(QString());
        paths.insert(m_number - 1, m_openPath);
    }
    m_devicePaths = paths;
}

QString SerialPort::devicePath(int number) const
{
    return m_devicePaths.value(number - 1);
}

bool SerialPort::selectPort(int number)
{
    m_failure = OpenFailure::None;
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
    const QString path = devicePath(m_number);
    m_failure = OpenFailure::Missing;
    if (path.isEmpty())
        return false;

    m_port->setPortName(path);
    if (!applyLine(*m_port, adaptorLine()))
        qWarning().noquote() << "Serial port" << path << "refused part of the line settings";
    m_port->clearError();
    if (!m_port->open(QIODevice::ReadWrite)) {
        m_failure = failureOf(*m_port);
        m_port->clearError();
        return false;
    }
    m_failure = OpenFailure::None;
    m_openPath = path;
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
