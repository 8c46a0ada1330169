// Port, waits, transactions and search on ptys against the simulator; each searched port costs 1.5 s.
#include "LinkRig.h"
#include "link/ReplyAssembler.h"
#include "platform/SerialLine.h"

#include <QElapsedTimer>
#include <QSerialPort>
#include <QtTest>

#include <algorithm>
#include <ctime>

namespace {

double cpuSeconds() { return double(std::clock()) / CLOCKS_PER_SEC; }

// True when nothing holds the device: another program can open (and so lock) it.
bool isFree(const QString &path)
{
    QSerialPort probe(path);
    return probe.open(QIODevice::ReadWrite);
}

} // namespace

class LinkTest : public QObject
{
    Q_OBJECT
private slots:
    void serialPort();
    void waits();
    void buildCommand();
    void replyAssembler();
    void transact();
    void searchSkipsBusyAndSensorlessPorts();
    void searchReusesOpenPortUpToLastNumber();
    void farEndGoneClosesPortQuietly();
};

// Device order on both platforms, line settings, which numbers open (missing, unconfigured or beyond
// the list fail), and an open port's number and device kept through re-read lists.
void LinkTest::serialPort()
{
    // Made-up lists of both platforms; "*": the system says the port hangs on USB.
    for (const auto &[given, expected] : {std::pair("/dev/ttyS10 /dev/ttyS2 /dev/rfcomm /dev/ttyUSB1 /dev/ttyACM0 /dev/ttyUSB0",
                                                    "/dev/ttyACM0 /dev/ttyUSB0 /dev/ttyUSB1 /dev/rfcomm /dev/ttyS2 /dev/ttyS10"),
                                          std::pair("COM1 COM12* COM3 COM2* COM10", "COM2 COM12 COM1 COM3 COM10")}) {
        QList<SystemPort> ports;
        for (const QString &name : QString::fromLatin1(given).split(' '))
            ports.append({QString(name).remove('*'), name.endsWith('*')});
        QCOMPARE(::orderSystemPorts(ports).join(' '), QString::fromLatin1(expected));
    }
    QVERIFY(adaptorLine().baud == 9600 && adaptorLine().dataBits == QSerialPort::Data7);
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

    QStringList now = {sims.at(1).path()};
    LinkRig live([&now] { return now; });
    QCOMPARE(live.link.OpenPort(1), 1);
    now = {sims.at(2).path(), sims.at(1).path()}; // a port comes before the open one
    live.port.refreshPorts();
    QVERIFY(live.port.devicePath(1) == sims.at(1).path() && live.port.devicePath(2) == sims.at(2).path());
    now.clear(); // gone from the list while open
    live.port.refreshPorts();
    QVERIFY(live.link.isOpen() && live.port.devicePath(1) == sims.at(1).path());
    live.link.ClosePort();
    live.port.refreshPorts();
    QVERIFY(live.port.devicePath(1).isEmpty());
}

// Pauses are never early and burn no CPU; the first restarts Timer1 and so abandons the 150 ms
// time-out before it. After Exit every wait throws at once.
void LinkTest::waits()
{
    Waits waits;
    QSignalSpy fired(waits.findChild<QTimer *>(), &QTimer::timeout);
    waits.StartTimer(150);
    QTest::qWait(100);
    QVERIFY(!waits.timerDone());
    const double cpuBefore = cpuSeconds();
    QElapsedTimer clock;
    for (int ms : {25, 10, 10, 10, 10, 10, 1, 0, 400}) {
        clock.start();
        waits.Pause(ms);
        const double took = clock.nsecsElapsed() / 1e6;
        QVERIFY2(took >= ms && took < ms + 20, qPrintable(QStringLiteral("Pause(%1): %2 ms").arg(ms).arg(took)));
    }
    QCOMPARE(fired.count(), 9);
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

// The reply loop's logic without a port: what arrives, one character at a time, "|" the time-out
// and "#" the line lost; `left` counts the characters not taken, which the next transaction clears.
void LinkTest::replyAssembler()
{
    struct Case { const char *cmd; int count; const char *arrives; const char *answer; bool echo, ended; int left; };
    const Case cases[] = {
        {"$1,25\r", 10, "$1,25\rERR\r", "ERR", true, true, 0},
        {"$1,13\r", 4, "$1,13\r2\rXY", "2", true, true, 2},                // extra characters stay
        {"$1,13\r", 4, "$1,13\r|2\r", "", true, false, 2},                 // echo only; a late answer stays
        {"$1,13\r", 4, "$1,|", "", false, false, 0},                       // half an echo
        {"$1,3\r", 12, "$1,3\r87654321V|", "87654321V", true, false, 0},   // cut off before its carriage return
        {"$1,3\r", 4, "$1,3\r87654321V\r", "87654", true, true, 5},        // count + cmdLen + 1 characters at most
        {"$1,13\r", 0, "$1,13\r2\r", "", false, false, 8},                 // count 0 reads nothing
        {"$1,13", 4, "$1,132\r3\r", "2", true, true, 2},                   // no echo's CR: the first one ends
        {"$1,13\r", 4, "$1,13\r2\r#", "", false, false, 0},                // a lost line voids even a whole answer
    };
    for (const Case &c : cases) {
        ReplyAssembler assembler(QString::fromLatin1(c.cmd), c.count);
        int left = 0;
        for (const char *a = c.arrives; *a; ++a) {
            switch (*a) {
            case '|': assembler.timeOut(); break;
            case '#': assembler.portLost(); break;
            default: assembler.complete() ? void(++left) : assembler.take(*a);
            }
        }
        const Reply reply = assembler.reply();
        QVERIFY2(assembler.complete() && reply.answer == c.answer && reply.echoComplete == c.echo
                     && reply.answerEnded == c.ended && left == c.left, qPrintable(QString::number(&c - cases)));
    }
}

// What only a real port shows: a reply ends as soon as its carriage return is in (echo and answer of
// "$1,28" are ten characters at 1.04 ms, after 3 ms of latency), silence and a late answer cost the
// time-out, count 0 reads nothing; 25 ms end every transaction, the wait burns no CPU, and what is
// left on the line or comes late is cleared before the next commands.
void LinkTest::transact()
{
    const struct { SimFault fault; int param, count; const char *answer; bool echo; int ms; } cases[] = {
        {SimFault::None, 28, 10, "100", true, 38}, {SimFault::Silent, 13, 4, "", false, 175},
        {SimFault::None, 13, 0, "", false, 25}, {SimFault::Extra, 13, 4, "2", true, 25},
        {SimFault::Late, 13, 4, "", true, 175}};
    for (const auto &c : cases) {
        OpenRig r(SimConfig().withFault(1, c.param, c.fault));
        const QString cmd = BuildCommand(1, c.param, {});
        QElapsedTimer clock;
        clock.start();
        const double cpuBefore = cpuSeconds();
        const Reply reply = r.transact(cmd, c.count);
        const qint64 elapsed = clock.elapsed();
        QVERIFY2(cpuSeconds() - cpuBefore < 0.02, "the reply loop spins");
        QVERIFY2(reply.answer == c.answer && reply.echoComplete == c.echo && elapsed >= c.ms && elapsed < c.ms + 55,
                 qPrintable(QStringLiteral("%1: %2 ms").arg(cmd.trimmed()).arg(elapsed)));
        QCOMPARE(r.sim.received(), cmd.toLatin1());
        for (int i = 0; i < 2; ++i)
            QCOMPARE(r.transact(QStringLiteral("$1,14\r")).answer, QStringLiteral("3"));
    }
}

// COM1 is held by another program, COM2 has no sensor: found on COM5, COM2 closed again. COM5's
// adaptor answers "Hello" after the 110 ms pause, within the time-out that follows it.
void LinkTest::searchSkipsBusyAndSensorlessPorts()
{
    SimConfig slow;
    slow.helloLatencyMs = 190;
    SimPorts sims;
    SimulatedPort &com1 = sims.add(1);
    SimulatedPort &com2 = sims.add(2, adaptorOnly());
    SimulatedPort &com5 = sims.add(5, slow);
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
// sensor answers "0"; COM5 answers "Hello" with a CR, COM6 after the time-out; COM9 lies beyond the
// last port searched.
void LinkTest::searchReusesOpenPortUpToLastNumber()
{
    SimConfig zero, helloCr, tooSlow;
    zero.answersZero = true;
    helloCr.helloWithCr = true;
    tooSlow.helloLatencyMs = 330;
    SimPorts sims;
    SimulatedPort &com3 = sims.add(3);
    SimulatedPort &com4 = sims.add(4, zero);
    SimulatedPort &com5 = sims.add(5, helloCr);
    SimulatedPort &com6 = sims.add(6, tooSlow);
    SimulatedPort &com9 = sims.add(9);
    LinkRig rig(sims.devicePaths(9));
    QCOMPARE(rig.link.OpenPort(4), 1);

    QCOMPARE(rig.link.FindSensor(8), LinkState::NoSensor);
    QVERIFY(!rig.link.isOpen());
    QCOMPARE(com4.received(), QByteArray("Hello\r\r$0,0\r"));
    QVERIFY(com5.received() == "Hello" && com6.received() == "Hello");
    QVERIFY(isFree(com3.path()) && isFree(com4.path()) && isFree(com5.path()) && isFree(com6.path()));
    QTest::qWait(10);
    QVERIFY(com3.received().isEmpty() && com9.received().isEmpty());
}

void LinkTest::farEndGoneClosesPortQuietly()
{
    OpenRig r(SimConfig().withFault(1, 13, SimFault::HangUp));
    QSignalSpy errors(r.rig.port.findChild<QSerialPort *>(), &QSerialPort::errorOccurred);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("lost:")));
    QVERIFY(r.transact(QStringLiteral("$1,13\r")).answer.isEmpty());
    QVERIFY(!r.rig.link.isOpen());

    const double cpuBefore = cpuSeconds();
    r.rig.link.Pause(200);
    QVERIFY2(cpuSeconds() - cpuBefore < 0.02, "the lost line keeps the CPU busy");
    QCOMPARE(std::count_if(errors.begin(), errors.end(), [](const QList<QVariant> &emission) {
                 return emission.at(0).value<QSerialPort::SerialPortError>() != QSerialPort::NoError; }), 1);
}

QTEST_GUILESS_MAIN(LinkTest)
#include "tst_link.moc"
