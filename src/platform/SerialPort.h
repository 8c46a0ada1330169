#pragma once
#include <QByteArray>
#include <QObject>
#include <QStringList>

#include <functional>

class QSerialPort;

// The serial devices the system has now, in the order port numbers take them: COM1 first. An
// empty name stands for a number with no device.
using PortList = std::function<QStringList()>;

// A list that never changes, for a window wired to devices of its own.
PortList fixedPorts(const QStringList &devicePaths);

// Why the last open failed. Only the last two are the user's to mend.
enum class OpenFailure {
    None,
    Missing,  // no device under that name (any more)
    Other,
    Denied,   // the user may not open the device
    Busy,     // another program holds it
};

// The window's one serial port. Port numbers count from 1 (COM1) and map to the devices the
// port list gave when it was last asked: number n is the list's entry n - 1.
class SerialPort : public QObject
{
    Q_OBJECT
public:
    explicit SerialPort(PortList ports, QObject *parent = nullptr);
    ~SerialPort() override;

    // The system's serial devices through QSerialPortInfo, USB adaptors first (orderSystemPorts).
    static QStringList systemPorts();

    // Asks the port list again. A port that is open keeps its number and device; the others take
    // the remaining numbers in the list's order.
    void refreshPorts();
    QString devicePath(int number) const; // empty where the number has no device

    bool selectPort(int number); // refused (false) while a port is open on another number
    int portNumber() const;
    bool isOpen() const;
    bool open();                 // false for a missing, busy or forbidden device
    OpenFailure lastFailure() const { return m_failure; } // of the last open on the selected number
    void close();
    bool write(const QByteArray &text); // in one piece
    int waiting() const;         // characters received and not yet read
    void clearWaiting();
    char readOne();              // the next waiting character; call only when waiting() > 0

private:
    PortList m_ports;
    QStringList m_devicePaths;
    QString m_openPath;
    QSerialPort *m_port;
    int m_number = 0;
    OpenFailure m_failure = OpenFailure::None;
};
