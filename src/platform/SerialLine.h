#pragma once
#include <QSerialPort>
#include <QStringList>

// The adaptor's line: fixed before the port is opened and never changed while it is open.
struct SerialLine
{
    qint32 baud;
    QSerialPort::DataBits dataBits;
    QSerialPort::Parity parity;
    QSerialPort::StopBits stopBits;
    QSerialPort::FlowControl flowControl;
};

// 9600 baud, 7 data bits, even parity, one stop bit, no flow control.
SerialLine adaptorLine();

// Sets every part of the line on a closed port. False when the port refused a part
// (pseudo-terminals refuse 7 bits once open and ignore them before); the open may still work.
bool applyLine(QSerialPort &port, const SerialLine &line);

// A serial device as the system lists it: the name it is opened by, and whether it hangs on USB.
struct SystemPort
{
    QString name;
    bool usb = false;
};

// Device names in the order a search tries them: USB adaptors (flagged so, or named ttyUSB* or
// ttyACM*) first, then the rest, each group in natural order (ttyS2 before ttyS10, COM2 before COM10).
QStringList orderSystemPorts(QList<SystemPort> ports);
