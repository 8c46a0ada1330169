// The platform port: numbering, refusals and the order of the system's devices.
#include "platform/SerialLine.h"
#include "platform/SerialPort.h"
#include "SimPorts.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class SerialPortTest : public QObject
{
    Q_OBJECT
private slots:
    void orderSystemPorts_data();
    void orderSystemPorts();
    void lineIsSevenBitsAt9600();
    void numberChangeRefusedWhileOpen();
    void unusableDevicesFailToOpen();
    void readsOneCharacterAtATime();
};

void SerialPortTest::orderSystemPorts_data()
{
    QTest::addColumn<QStringList>("paths");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("usb first, natural order")
        << QStringList{"/dev/ttyS10", "/dev/ttyS2", "/dev/ttyACM0", "/dev/ttyUSB1", "/dev/ttyUSB0", "/dev/ttyS0"}
        << QStringList{"/dev/ttyACM0", "/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/ttyS0", "/dev/ttyS2", "/dev/ttyS10"};
    QTest::newRow("names without numbers")
        << QStringList{"/dev/ttyS1", "/dev/rfcomm", "/dev/ttyUSB3"}
        << QStringList{"/dev/ttyUSB3", "/dev/rfcomm", "/dev/ttyS1"};
    QTest::newRow("empty") << QStringList{} << QStringList{};
}

void SerialPortTest::orderSystemPorts()
{
    QFETCH(QStringList, paths);
    QFETCH(QStringList, expected);
    QCOMPARE(::orderSystemPorts(paths), expected);
}

void SerialPortTest::lineIsSevenBitsAt9600()
{
    const SerialLine line = adaptorLine();
    QCOMPARE(line.baud, 9600);
    QCOMPARE(line.dataBits, QSerialPort::Data7);
}

void SerialPortTest::numberChangeRefusedWhileOpen()
{
    SimPorts sims;
    sims.add(1);
    SerialPort port(sims.devicePaths());
    QVERIFY(port.selectPort(1));
    QVERIFY(port.open());
    QVERIFY(!port.selectPort(2));
    QVERIFY(port.selectPort(1));
    QCOMPARE(port.portNumber(), 1);
    port.close();
    QVERIFY(port.selectPort(2));
    QCOMPARE(port.portNumber(), 2);
}

void SerialPortTest::unusableDevicesFailToOpen()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString plainFile = dir.filePath(QStringLiteral("notadevice"));
    QFile file(plainFile);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();

    SerialPort port({missingDevicePath(1), plainFile, QString()});
    for (int number : {1, 2, 3, 4, 0, -1}) {
        QVERIFY(port.selectPort(number));
        QVERIFY2(!port.open(), qPrintable(QString::number(number)));
        QVERIFY(!port.isOpen());
        QVERIFY(!port.write("x"));
        QCOMPARE(port.waiting(), 0);
    }
}

void SerialPortTest::readsOneCharacterAtATime()
{
    SimPorts sims;
    SimulatedPort &sim = sims.add(1, adaptorOnly());
    SerialPort port(sims.devicePaths());
    QVERIFY(port.selectPort(1));
    QVERIFY(port.open());
    QVERIFY(port.write("Hello"));
    QTRY_COMPARE(port.waiting(), 5);
    QCOMPARE(port.readOne(), 'H');
    QCOMPARE(port.waiting(), 4);
    port.clearWaiting();
    QCOMPARE(port.waiting(), 0);
    QCOMPARE(sim.received(), QByteArray("Hello"));
}

QTEST_GUILESS_MAIN(SerialPortTest)
#include "tst_serialport.moc"
