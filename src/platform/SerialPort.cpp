#include "platform/SerialPort.h"

#include "platform/SerialLine.h"

#include <QFileInfo>
#include <QMetaEnum>
#include <QSerialPort>
#include <QSerialPortInfo>
#include <QtDebug>

#ifdef Q_OS_WIN
#include <QHash>

#include <iterator>

#include <windows.h>
#include <setupapi.h>
#endif

namespace {

#ifdef Q_OS_WIN
// Each serial port's device instance ID by the port's name ("COM7" -> "PCI\VEN_8086&DEV_A13D&..."),
// from the system's Ports device class.
QHash<QString, QString> instanceIds()
{
    QHash<QString, QString> ids;
    static const GUID portsClass = {0x4d36e978, 0xe325, 0x11ce,
                                    {0xbf, 0xc1, 0x08, 0x00, 0x2b, 0xe1, 0x03, 0x18}};
    const HDEVINFO devices = SetupDiGetClassDevsW(&portsClass, nullptr, nullptr, DIGCF_PRESENT);
    if (devices == INVALID_HANDLE_VALUE)
        return ids;
    SP_DEVINFO_DATA device = {};
    device.cbSize = sizeof device;
    for (DWORD i = 0; SetupDiEnumDeviceInfo(devices, i, &device); ++i) {
        const HKEY key =
            SetupDiOpenDevRegKey(devices, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_QUERY_VALUE);
        if (key == INVALID_HANDLE_VALUE)
            continue;
        wchar_t name[64] = {}; // the last stays 0: the registry need not end the text
        DWORD size = sizeof name - sizeof name[0];
        const bool named = RegQueryValueExW(key, L"PortName", nullptr, nullptr,
                                            reinterpret_cast<LPBYTE>(name), &size) == ERROR_SUCCESS;
        RegCloseKey(key);
        wchar_t id[200] = {}; // the longest device instance ID
        if (named && SetupDiGetDeviceInstanceIdW(devices, &device, id, DWORD(std::size(id)), nullptr))
            ids.insert(QString::fromWCharArray(name), QString::fromWCharArray(id));
    }
    SetupDiDestroyDeviceInfoList(devices);
    return ids;
}
#endif

OpenFailure failureOf(const QSerialPort &port, const QString &path)
{
    switch (port.error()) {
    case QSerialPort::DeviceNotFoundError:
        return OpenFailure::Missing;
    case QSerialPort::PermissionError: {
        // Qt reports a device this user may not open and one locked or held by another program alike
        // (its texts say which, but may be translated). Windows has no device permissions for a user
        // to mend: a port refused there is held by another program.
#ifdef Q_OS_WIN
        Q_UNUSED(path)
        return OpenFailure::Busy;
#else
        const QFileInfo device(path);
        return device.isReadable() && device.isWritable() ? OpenFailure::Busy : OpenFailure::Denied;
#endif
    }
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
#ifdef Q_OS_WIN
    const QHash<QString, QString> ids = instanceIds();
#endif
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
        // Windows names its ports "COMn"; elsewhere the device path is the name users know. Built-in
        // PCI ports (remote-management consoles among them) carry a vendor ID on Windows too, from
        // "VEN_" where a USB device has "VID_": only a USB one is an adaptor to try first.
#ifdef Q_OS_WIN
        const QString name = info.portName();
        const bool usb = info.hasVendorIdentifier() && !ids.value(name).contains(QLatin1String("VEN_"));
#else
        const QString name = info.systemLocation();
        const bool usb = info.hasVendorIdentifier();
#endif
        ports.append({name, usb});
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
        m_failure = failureOf(*m_port, path);
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
