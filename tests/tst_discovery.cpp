// Port search and handshakes against simulated adaptors on ptys. A full search costs 1.5 s for
// every port that opens, so only a few tests search; the rest call the handshakes directly.
#include "LinkRig.h"
#include "SimPorts.h"

#include <QSerialPort>
#include <QtTest>

#include <ctime>

namespace {
// True when nothing holds the device: another program can open (and so lock) it.
bool isFree(const QString &path)
{
    QSerialPort probe(path);
    return probe.open(QIODevice::ReadWrite);
}
} // namespace

class DiscoveryTest : public QObject
{
    Q_OBJECT
private slots:
    void openPortResults();
    void checkAdaptor_data();
    void checkAdaptor();
    void checkSensor_data();
    void checkSensor();
    void checkSensorOnClosedPortWritesNothing();
    void findsSensorBehindSecondAdaptor();
    void sensorAnsweringZeroLeavesAdaptorOnly();
    void searchesOnlyUpToLastComPort();
    void searchReusesPortLeftOpen();
    void busyDeviceIsSkippedNotTakenOver();
    void farEndGoneClosesPortQuietly();
};

void DiscoveryTest::openPortResults()
{
    SimPorts sims;
    sims.add(1);
    sims.add(2);
    QStringList paths = sims.devicePaths(4);
    paths[2] = QString(); // COM3: no device configured
    LinkRig rig(paths);

    QCOMPARE(rig.link.OpenPort(3), 0);
    QCOMPARE(rig.link.OpenPort(4), 0); // path that does not exist
    QCOMPARE(rig.link.OpenPort(5), 0); // beyond the list
    QCOMPARE(rig.link.OpenPort(0), 0);
    QCOMPARE(rig.link.OpenPort(1), 1);
    QCOMPARE(rig.link.OpenPort(1), 2);
    // The number cannot change while a port is open; the open one stays as it is.
    QCOMPARE(rig.link.OpenPort(2), 0);
    QVERIFY(rig.link.isOpen());
    QCOMPARE(rig.port.portNumber(), 1);
    QVERIFY(isFree(sims.at(2).path()));

    rig.link.ClosePort();
    QVERIFY(!rig.link.isOpen());
    rig.link.ClosePort(); // closing a closed port is harmless
    QCOMPARE(rig.link.OpenPort(2), 1);
}

void DiscoveryTest::checkAdaptor_data()
{
    QTest::addColumn<SimConfig>("config");
    QTest::addColumn<bool>("expected");
    SimConfig withCr;
    withCr.helloWithCr = true;
    QTest::newRow("adaptor and sensor") << SimConfig() << true;
    QTest::newRow("adaptor only") << adaptorOnly() << true;
    QTest::newRow("Hello and CR") << withCr << false;
    QTest::newRow("silent port") << silentPort() << false;
}

void DiscoveryTest::checkAdaptor()
{
    QFETCH(SimConfig, config);
    QFETCH(bool, expected);
    SimPorts sims;
    SimulatedPort &sim = sims.add(1, config);
    LinkRig rig(sims.devicePaths());
    QCOMPARE(rig.link.OpenPort(1), 1);
    QCOMPARE(rig.link.CheckAdaptor(), expected);
    QCOMPARE(sim.received(), QByteArray("Hello"));
}

void DiscoveryTest::checkSensor_data()
{
    QTest::addColumn<SimConfig>("config");
    QTest::addColumn<bool>("expected");
    SimConfig zero;
    zero.answersZero = true;
    QTest::newRow("sensor") << SimConfig() << true;
    QTest::newRow("level 12 sensor") << [] { SimConfig c; c.level = 12; return c; }() << true;
    QTest::newRow("answers 0") << zero << false;
    QTest::newRow("no sensor") << adaptorOnly() << false;
    QTest::newRow("silent to $0") << SimConfig().withFault(0, 0, SimFault::Silent) << false;
    QTest::newRow("late to $0") << SimConfig().withFault(0, 0, SimFault::Late) << false;
}

void DiscoveryTest::checkSensor()
{
    QFETCH(SimConfig, config);
    QFETCH(bool, expected);
    SimPorts sims;
    SimulatedPort &sim = sims.add(1, config);
    LinkRig rig(sims.devicePaths());
    QCOMPARE(rig.link.OpenPort(1), 1);
    QCOMPARE(rig.link.CheckSensor(), expected);
    QCOMPARE(sim.received(), QByteArray("\r\r$0,0\r"));
    QVERIFY(rig.link.isOpen());
}

void DiscoveryTest::checkSensorOnClosedPortWritesNothing()
{
    SimPorts sims;
    SimulatedPort &sim = sims.add(1);
    LinkRig rig(sims.devicePaths());
    QVERIFY(!rig.link.CheckSensor());
    rig.link.SendText(QStringLiteral("Hello"));
    QCOMPARE(rig.link.ReadReply(5, 20), QString());
    QTest::qWait(20);
    QVERIFY(sim.received().isEmpty());
}

void DiscoveryTest::findsSensorBehindSecondAdaptor()
{
    SimPorts sims;
    SimulatedPort &com2 = sims.add(2, adaptorOnly());
    SimulatedPort &com5 = sims.add(5);
    LinkRig rig(sims.devicePaths());

    QCOMPARE(rig.link.FindSensor(8), LinkState::Connected);
    QVERIFY(rig.link.isOpen());
    QCOMPARE(rig.port.portNumber(), 5);
    QCOMPARE(com2.received(), QByteArray("Hello\r\r$0,0\r"));
    QVERIFY(isFree(com2.path()));
    QCOMPARE(com5.received(), QByteArray("Hello\r\r$0,0\r"));
    QVERIFY(!isFree(com5.path()));

    // The open port carries the next command without a new search.
    QCOMPARE(rig.link.Transact(BuildCommand(1, 5, QString()), 4, 150).answer, QStringLiteral("1"));
}

void DiscoveryTest::sensorAnsweringZeroLeavesAdaptorOnly()
{
    SimPorts sims;
    SimConfig zero;
    zero.answersZero = true;
    SimulatedPort &com3 = sims.add(3, zero);
    LinkRig rig(sims.devicePaths());
    QCOMPARE(rig.link.FindSensor(8), LinkState::NoSensor);
    QVERIFY(!rig.link.isOpen());
    QVERIFY(isFree(com3.path()));
}

void DiscoveryTest::searchesOnlyUpToLastComPort()
{
    SimPorts sims;
    SimulatedPort &com9 = sims.add(9);
    LinkRig rig(sims.devicePaths(9));
    QCOMPARE(rig.link.FindSensor(8), LinkState::NoAdaptor);
    QVERIFY(!rig.link.isOpen());
    QTest::qWait(20);
    QVERIFY(com9.received().isEmpty());
}

// After a failed exchange the port may still be open on COM4: the numbers below it cannot be
// opened and stay untouched, COM4 is checked again as it is.
void DiscoveryTest::searchReusesPortLeftOpen()
{
    SimPorts sims;
    for (int n = 1; n <= 4; ++n)
        sims.add(n);
    LinkRig rig(sims.devicePaths());
    QCOMPARE(rig.link.OpenPort(4), 1);

    QCOMPARE(rig.link.FindSensor(8), LinkState::Connected);
    QCOMPARE(rig.port.portNumber(), 4);
    for (int n = 1; n <= 3; ++n) {
        QVERIFY(sims.at(n).received().isEmpty());
        QVERIFY(isFree(sims.at(n).path()));
    }
    QCOMPARE(sims.at(4).received(), QByteArray("Hello\r\r$0,0\r"));
}

void DiscoveryTest::busyDeviceIsSkippedNotTakenOver()
{
    SimPorts sims;
    SimulatedPort &com1 = sims.add(1);
    sims.add(2);
    QSerialPort otherProgram(com1.path());
    QVERIFY(otherProgram.open(QIODevice::ReadWrite));

    LinkRig rig(sims.devicePaths());
    QCOMPARE(rig.link.OpenPort(1), 0);
    QCOMPARE(rig.link.FindSensor(8), LinkState::Connected);
    QCOMPARE(rig.port.portNumber(), 2);
    QVERIFY(otherProgram.isOpen());
    QVERIFY(com1.received().isEmpty());
}

void DiscoveryTest::farEndGoneClosesPortQuietly()
{
    SimPorts sims;
    SimulatedPort &sim = sims.add(1, SimConfig().withFault(1, 13, SimFault::HangUp));
    LinkRig rig(sims.devicePaths());
    QSerialPort *device = rig.port.findChild<QSerialPort *>();
    QVERIFY(device);
    QSignalSpy errors(device, &QSerialPort::errorOccurred);
    QCOMPARE(rig.link.OpenPort(1), 1);

    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("lost:")));
    const Reply cut = rig.link.Transact(QStringLiteral("$1,13\r"), 4, 150);
    QVERIFY(cut.answer.isEmpty());
    QVERIFY(!rig.link.isOpen());

    const std::clock_t cpuBefore = std::clock();
    rig.link.Pause(200);
    const double cpu = double(std::clock() - cpuBefore) / CLOCKS_PER_SEC;
    QVERIFY2(cpu < 0.02, qPrintable(QStringLiteral("%1 CPU s after the line went").arg(cpu)));
    int failures = 0;
    for (const QList<QVariant> &emission : errors)
        failures += emission.at(0).value<QSerialPort::SerialPortError>() != QSerialPort::NoError;
    QCOMPARE(failures, 1);

    // Later exchanges see a closed port: nothing echoed, nothing answered.
    const Reply after = rig.link.Transact(QStringLiteral("$1,14\r"), 4, 150);
    QVERIFY(after.answer.isEmpty());
    QVERIFY(!after.echoComplete);
    QVERIFY(!sim.isValid());
}

QTEST_GUILESS_MAIN(DiscoveryTest)
#include "tst_discovery.moc"
