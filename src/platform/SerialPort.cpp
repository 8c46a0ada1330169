// Placeholder bodies until the link is built; the link work replaces this file.
#include "platform/SerialPort.h"

#include <QSerialPort>

SerialPort::SerialPort(const QStringList &devicePaths, QObject *parent)
    : QObject(parent), m_devicePaths(devicePaths), m_port(new QSerialPort(this)) {}
SerialPort::~SerialPort() = default;
QStringList SerialPort::systemPorts() { return {}; }
bool SerialPort::selectPort(int) { return false; }
int SerialPort::portNumber() const { return m_number; }
bool SerialPort::isOpen() const { return false; }
bool SerialPort::open() { return false; }
void SerialPort::close() {}
bool SerialPort::write(const QByteArray &) { return false; }
int SerialPort::waiting() const { return 0; }
void SerialPort::clearWaiting() {}
char SerialPort::readOne() { return 0; }
