#pragma once
#include <QByteArray>
#include <QObject>
#include <QStringList>

class QSerialPort;

// The window's one serial port. Port numbers count from 1 (COM1) and map to the device paths the
// window was constructed with: number n is devicePaths[n - 1].
class SerialPort : public QObject
{
    Q_OBJECT
public:
    explicit SerialPort(const QStringList &devicePaths, QObject *parent = nullptr);
    ~SerialPort() override;

    // The platform's own list: "COMn" on Windows; elsewhere the system's serial ports, USB adaptors first.
    static QStringList systemPorts();

    bool selectPort(int number); // refused (false) while a port is open on another number
    int portNumber() const;
    bool isOpen() const;
    bool open();                 // false for a missing, busy or forbidden device
    void close();
    bool write(const QByteArray &text); // in one piece
    int waiting() const;         // characters received and not yet read
    void clearWaiting();
    char readOne();              // the next waiting character; call only when waiting() > 0

private:
    QStringList m_devicePaths;
    QSerialPort *m_port;
    int m_number = 0;
};
