// The serial port, Timer1's waits, transactions and the port search, through real QSerialPorts
// on ptys against the simulated adaptor and sensor. Only two tests search: each open port costs 1.5 s.
#include "LinkRig.h"
#include "SimPorts.h"
#include "platform/SerialLine.h"

#include <QElapsedTimer>
#include <QSerialPort>
#include <QtTest>

#include <ctime>

namespace {

// A simulated port of this level with one fault, answering a Late command after lateMs.
SimConfig sim(int level = 20, int op = 0, int param = -1, SimFault fault = SimFault::None, int lateMs = 300)
{
    SimConfig config = SimConfig().withFault(op, param, fault);
    config.level = level;
    config.lateMs = lateMs;
    return config;
}

double cpuSeconds() { return double(std::clock()) / CLOCKS_PER_SEC; }

// True when nothing holds the device: another program can open (and so lock) it.
bool isFree(const QString &path)
{
    QSerialPort probe(path);
    return probe.open(QIODevice::ReadWrite);
}

// The tool's side with a simulated port on COM1, opened when asked.
struct Rig
{
    explicit Rig(const SimConfig &config = {}) : sim(sims.add(1, config)), rig(sims.devicePaths())
    {
        QVERIFY(rig.link.OpenPort(1) == 1);
    }
    Reply transact(const QString &cmd, int count = 4) { return rig.link.Transact(cmd, count, 150); }
    SimPorts sims;
    SimulatedPort &sim;
    LinkRig rig;
};

} // namespace

class LinkTest : public QObject
{
    Q_OBJECT
private slots:
    void serialPort();
    void waits();
    void buildCommand();
    void transact_data();
    void transact();
    void handshakeFailures();
    void searchSkipsBusyAndSensorlessPorts();
    void searchReusesOpenPortUpToLastNumber();
    void farEndGoneClosesPortQuietly();
};

// Device order, line settings, and which numbers open: missing, unconfigured or beyond the list fail.
void LinkTest::serialPort()
{
    QCOMPARE(::orderSystemPorts({"/dev/ttyS10", "/dev/ttyS2", "/dev/rfcomm", "/dev/ttyUSB1", "/dev/ttyACM0", "/dev/ttyUSB0"}),
             QStringList({"/dev/ttyACM0", "/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/rfcomm", "/dev/ttyS2", "/dev/ttyS10"}));
    QCOMPARE(adaptorLine().baud, 9600);
    QCOMPARE(adaptorLine().dataBits, QSerialPort::Data7);
    SimPorts sims;
    sims.add(1);
    sims.add(2);
    QStringList paths = sims.devicePaths(4);
    paths[2] = QString();
    LinkRig rig(paths);
    for (int failing : {0, -1, 3, 4, 5})
        QVERIFY2(rig.link.OpenPort(failing) == 0 && !rig.link.isOpen(), qPrintable(QString::number(failing)));
    // Nothing goes out on a closed port, and a transaction still ends with its pause.
    QElapsedTimer clock;
    clock.start();
    QVERIFY(!rig.link.CheckAdaptor() && !rig.link.CheckSensor());
    QVERIFY(!rig.link.Transact(QStringLiteral("$1,13\r"), 4, 150).echoComplete);
    QVERIFY(clock.elapsed() >= 110 + 25 && sims.at(1).received().isEmpty());
    QCOMPARE(rig.link.OpenPort(1), 1);
    QCOMPARE(rig.link.OpenPort(1), 2);
    // The number cannot change while a port is open; the open one stays as it is.
    QCOMPARE(rig.link.OpenPort(2), 0);
    QVERIFY(rig.port.portNumber() == 1 && isFree(sims.at(2).path()));
    rig.link.ClosePort();
    QVERIFY(!rig.link.isOpen() && isFree(sims.at(1).path()));
}

// A restarted Timer1 abandons the earlier time-out; pauses are never early and burn no CPU; after
// Exit every wait throws at once.
void LinkTest::waits()
{
    Waits waits;
    QSignalSpy fired(waits.findChild<QTimer *>(), &QTimer::timeout);
    waits.StartTimer(150);
    QTest::qWait(100);
    QVERIFY(!waits.timerDone());
    QElapsedTimer clock;
    clock.start();
    waits.StartTimer(25);
    while (!waits.timerDone())
        waits.WaitForEvent();
    const double restartedMs = clock.nsecsElapsed() / 1e6;
    QVERIFY2(restartedMs >= 25.0 && restartedMs < 35.0, qPrintable(QString::number(restartedMs)));
    QTest::qWait(80); // past the first interval
    QCOMPARE(fired.count(), 1);

    const double cpuBefore = cpuSeconds();
    for (int ms : {10, 10, 10, 10, 10, 1, 0, 400}) {
        clock.restart();
        waits.Pause(ms);
        QVERIFY2(clock.nsecsElapsed() >= qint64(ms) * 1000000, qPrintable(QString::number(ms)));
    }
    QVERIFY2(cpuSeconds() - cpuBefore < 0.02, qPrintable(QString::number(cpuSeconds() - cpuBefore)));

    QTimer::singleShot(20, &waits, [&waits] { waits.EndProgram(); });
    clock.restart();
    QVERIFY_THROWS_EXCEPTION(ProgramEnded, waits.Pause(2000));
    QVERIFY_THROWS_EXCEPTION(ProgramEnded, waits.WaitForEvent());
    QVERIFY(clock.elapsed() < 200);
}

// Parameter 4 and value "2" throughout: each op code takes what it needs of them.
void LinkTest::buildCommand()
{
    const QStringList expected{"$0,2\r", "$1,4\r", "$2,4,plomvar,2\r", "$3,4,plomvar\r", "$4,4\r",
                               "$5,4,trexil,2\r", "$6,trexil,2\r", "$7,4trexil,2\r"};
    for (int op = -1; op <= 8; ++op)
        QCOMPARE(BuildCommand(op, 4, QStringLiteral("2")), expected.value(op));
}

void LinkTest::transact_data()
{
    QTest::addColumn<SimConfig>("config");
    QTest::addColumn<QString>("cmd");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("echo");
    QTest::addColumn<int>("ms"); // the least it takes, with the 25 ms that end every transaction
    // Echo and answer of "$1,28" are ten characters at 1.04 ms, after 3 ms of latency.
    QTest::newRow("decimal, paced") << sim() << "$1,28\r" << 10 << "100" << true << 38;
    QTest::newRow("echo, no answer") << sim(20, 1, 13, SimFault::NoAnswer) << "$1,13\r" << 4 << "" << true << 175;
    QTest::newRow("silence") << sim(20, 1, 13, SimFault::Silent) << "$1,13\r" << 4 << "" << false << 175;
    QTest::newRow("no final CR") << sim(20, 1, 3, SimFault::Truncated) << "$1,3\r" << 12 << "87654321V" << true << 175;
    // count + cmdLen + 1 characters at most: five of the serial's ten come through.
    QTest::newRow("beyond count") << sim() << "$1,3\r" << 4 << "87654" << true << 25;
    QTest::newRow("count 0") << sim() << "$1,13\r" << 0 << "" << false << 25;
    // Without a trailing CR nothing marks an echo, so the first CR received ends the read.
    QTest::newRow("no CR in command") << sim() << "\r$1,13" << 4 << "" << false << 25;
    QTest::newRow("extra after answer") << sim(20, 1, 13, SimFault::Extra) << "$1,13\r" << 4 << "2" << true << 25;
    QTest::newRow("late answer") << sim(20, 1, 13, SimFault::Late, 250) << "$1,13\r" << 4 << "" << true << 175;
}

void LinkTest::transact()
{
    QFETCH(SimConfig, config);
    QFETCH(QString, cmd);
    QFETCH(int, count);
    QFETCH(QString, answer);
    QFETCH(bool, echo);
    QFETCH(int, ms);
    Rig r(config);
    QElapsedTimer clock;
    clock.start();
    const Reply reply = r.transact(cmd, count);
    const qint64 elapsed = clock.elapsed();
    QCOMPARE(reply.answer, answer);
    QCOMPARE(reply.echoComplete, echo);
    QVERIFY2(elapsed >= ms && elapsed < ms + 55, qPrintable(QString::number(elapsed)));
    QCOMPARE(r.sim.received(), cmd.toLatin1());
    // Whatever is left on the line, or comes late, is cleared before the next commands.
    for (int i = 0; i < 2 && cmd.endsWith('\r'); ++i)
        QCOMPARE(r.transact(QStringLiteral("$1,14\r")).answer, QStringLiteral("3"));
}

// "Hello" must come back alone, and the sensor's "1" within the time-out.
void LinkTest::handshakeFailures()
{
    SimConfig helloCr;
    helloCr.helloWithCr = true;
    Rig adaptor(helloCr), sensor(sim(20, 0, 0, SimFault::Late));
    QVERIFY(!adaptor.rig.link.CheckAdaptor());
    QVERIFY(!sensor.rig.link.CheckSensor());
    QVERIFY(adaptor.rig.link.isOpen() && sensor.rig.link.isOpen()); // the search closes, not the check
}

// COM1 is held by another program, COM2 has no sensor: found on COM5, COM2 closed again.
void LinkTest::searchSkipsBusyAndSensorlessPorts()
{
    SimPorts sims;
    SimulatedPort &com1 = sims.add(1);
    SimulatedPort &com2 = sims.add(2, adaptorOnly());
    SimulatedPort &com5 = sims.add(5);
    QSerialPort otherProgram(com1.path());
    QVERIFY(otherProgram.open(QIODevice::ReadWrite));
    LinkRig rig(sims.devicePaths());

    QCOMPARE(rig.link.FindSensor(8), LinkState::Connected);
    QCOMPARE(rig.port.portNumber(), 5);
    QVERIFY(otherProgram.isOpen());
    QVERIFY(com1.received().isEmpty());
    QCOMPARE(com2.received(), QByteArray("Hello\r\r$0,0\r"));
    QVERIFY(isFree(com2.path()));
    QVERIFY(!isFree(com5.path()));
    // The open port carries the next command without a new search.
    QCOMPARE(rig.link.Transact(BuildCommand(1, 5, QString()), 4, 150).answer, QStringLiteral("1"));
    QCOMPARE(com5.commands(), (QList<QByteArray>{"$0,0\r", "$1,5\r"}));
}

// A port still open on COM4 after a failed exchange keeps COM3 shut and is checked as it is; its
// sensor answers "0"; COM9 lies beyond the last port searched.
void LinkTest::searchReusesOpenPortUpToLastNumber()
{
    SimConfig zero;
    zero.answersZero = true;
    SimPorts sims;
    SimulatedPort &com3 = sims.add(3);
    SimulatedPort &com4 = sims.add(4, zero);
    SimulatedPort &com9 = sims.add(9);
    LinkRig rig(sims.devicePaths(9));
    QCOMPARE(rig.link.OpenPort(4), 1);

    QCOMPARE(rig.link.FindSensor(8), LinkState::NoSensor);
    QVERIFY(!rig.link.isOpen());
    QCOMPARE(com4.received(), QByteArray("Hello\r\r$0,0\r"));
    QVERIFY(isFree(com4.path()) && isFree(com3.path()));
    QTest::qWait(10);
    QVERIFY(com3.received().isEmpty() && com9.received().isEmpty());
}

void LinkTest::farEndGoneClosesPortQuietly()
{
    Rig r(sim(20, 1, 13, SimFault::HangUp));
    QSignalSpy errors(r.rig.port.findChild<QSerialPort *>(), &QSerialPort::errorOccurred);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("lost:")));
    QVERIFY(r.transact(QStringLiteral("$1,13\r")).answer.isEmpty());
    QVERIFY(!r.rig.link.isOpen());

    const double cpuBefore = cpuSeconds();
    r.rig.link.Pause(200);
    QVERIFY2(cpuSeconds() - cpuBefore < 0.02, "the lost line keeps the CPU busy");
    int failures = 0;
    for (const QList<QVariant> &emission : errors)
        failures += emission.at(0).value<QSerialPort::SerialPortError>() != QSerialPort::NoError;
    QCOMPARE(failures, 1);
    // Later exchanges see a closed port.
    QVERIFY(!r.transact(QStringLiteral("$1,14\r")).echoComplete);
}

QTEST_GUILESS_MAIN(LinkTest)
#include "tst_link.moc"
