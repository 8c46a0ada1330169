// Port, waits, transactions and search on ptys against the simulator; each searched port costs 1.5 s.
#include "LinkRig.h"
#include "SimPorts.h"
#include "link/ReplyAssembler.h"
#include "platform/SerialLine.h"

#include <QSerialPort>
#include <QtTest>

#include <ctime>
#include <dlfcn.h>
#include <termios.h>

namespace {

double cpuSeconds() { return double(std::clock()) / CLOCKS_PER_SEC; }

// True when nothing holds the device: another program can open (and so lock) it.
bool isFree(const QString &path) { return QSerialPort(path).open(QIODevice::ReadWrite); }

// A link whose COM1 is the given simulated port, already open as a search would leave it.
struct OpenRig
{
    explicit OpenRig(const SimConfig &config = {})
        : sim(sims.add(1, config)), rig(fixedPorts(sims.devicePaths()))
    {
        QVERIFY(rig.link.openPort(1) == PortOpening::Opened);
    }
    Reply transact(const QString &cmd, int count = 4) { return rig.link.transact(cmd, count, 150); }

    SimPorts sims;
    SimulatedPort &sim;
    LinkRig rig;
};

// The size and parity of every line QSerialPort sets, in order: a pty forces 8 bits without parity, so
// only this shows them. The open sets them first, then the speed over what the pty kept.
QList<tcflag_t> framesAsked;
extern "C" int tcsetattr(int fd, int actions, const termios *line)
{
    framesAsked << (line->c_cflag & (CSIZE | PARENB | PARODD));
    using Call = int (*)(int, int, const termios *);
    static const auto system = reinterpret_cast<Call>(dlsym(RTLD_NEXT, "tcsetattr"));
    return system(fd, actions, line);
}

// The line of the port just opened, "9600 7E1" without flow control; speed, stop bits and flow control as the
// far end reads them.
QString lineOf(const SimulatedPort &sim)
{
    termios kept{};
    const tcflag_t frame = framesAsked.value(0);
    return tcgetattr(sim.masterFd(), &kept) != 0 ? "no line" : QStringLiteral("%1 %2%3%4%5%6")
        .arg(cfgetospeed(&kept) == B9600 ? "9600" : "not 9600").arg((frame & CSIZE) == CS7 ? 7 : 8)
        .arg(frame & PARENB ? frame & PARODD ? 'O' : 'E' : 'N').arg(kept.c_cflag & CSTOPB ? 2 : 1)
        .arg(kept.c_cflag & CRTSCTS ? " RTS/CTS" : "").arg(kept.c_iflag & (IXON | IXOFF) ? " XON/XOFF" : "");
}

} // namespace

class LinkTest : public QObject
{
    Q_OBJECT
private slots:
    // Device order on both platforms, the line as opened and reopened, which numbers open (missing,
    // unconfigured or beyond the list fail), and an open port's number and device kept through re-read lists.
    void serialPort()
    {
        // Made-up lists of both platforms, given and ordered; "*": the system says the port hangs on USB.
        const char *lists[][2] = {
            {"/dev/ttyS10 /dev/ttyS2 /dev/rfcomm /dev/ttyUSB1 /dev/ttyACM0 /dev/ttyUSB0",
             "/dev/ttyACM0 /dev/ttyUSB0 /dev/ttyUSB1 /dev/rfcomm /dev/ttyS2 /dev/ttyS10"},
            {"COM1 COM12* COM3 COM2* COM10", "COM2 COM12 COM1 COM3 COM10"}};
        for (const auto &[given, expected] : lists) {
            QList<SystemPort> ports;
            for (const QString &name : QString::fromLatin1(given).split(' '))
                ports.append({QString(name).remove('*'), name.endsWith('*')});
            QCOMPARE(::orderSystemPorts(ports).join(' '), QString::fromLatin1(expected));
        }
        SimPorts sims;
        const QString com1 = sims.add(1).path(), com2 = sims.add(2).path();
        QStringList now = {com1, com2, QString(), missingDevicePath(4)};
        LinkRig rig([&now] { return now; });
        for (int failing : {0, -1, 3, 4, 5})
            QCOMPARE(rig.link.openPort(failing), PortOpening::Failed);
        QVERIFY(!rig.link.isOpen() && !adaptorAnswers(rig.link) && !sensorAnswers(rig.link)); // no answer
        for (int opening = 0; opening < 2; ++opening) {
            rig.link.closePort();
            framesAsked.clear();
            QCOMPARE(rig.link.openPort(2), PortOpening::Opened);
            QCOMPARE(lineOf(sims.at(2)), "9600 7E1");
        }
        QCOMPARE(rig.link.openPort(2), PortOpening::AlreadyOpen);
        // The number cannot change while a port is open; the open one stays as it is.
        QCOMPARE(rig.link.openPort(1), PortOpening::Failed);
        QVERIFY(rig.port.portNumber() == 2 && isFree(com1));
        now = {com2, com1}; // a port comes before the open one
        rig.port.refreshPorts();
        QVERIFY(rig.port.devicePath(1) == com1 && rig.port.devicePath(2) == com2);
        now.clear(); // gone from the list while open
        rig.port.refreshPorts();
        QVERIFY(rig.link.isOpen() && rig.port.devicePath(1).isEmpty() && rig.port.devicePath(2) == com2);
    }

    // Pauses are never early and burn no CPU; the first restarts the timer, abandoning the 150 ms time-out.
    void waits()
    {
        Waits waits;
        QSignalSpy fired(waits.findChild<QTimer *>(), &QTimer::timeout);
        waits.startTimer(150);
        const double cpuBefore = cpuSeconds();
        QElapsedTimer clock;
        for (int ms : {25, 10, 10, 10, 10, 10, 1, 0, 400}) {
            clock.start();
            waits.pause(ms);
            const double took = clock.nsecsElapsed() / 1e6;
            QVERIFY2(took >= ms && took < ms + 20, qPrintable(QString("pause(%1): %2 ms").arg(ms).arg(took)));
        }
        QCOMPARE(fired.count(), 9);
        QVERIFY2(cpuSeconds() - cpuBefore < 0.02, qPrintable(QString::number(cpuSeconds() - cpuBefore)));
    }

    // The reply loop's logic without a port: what arrives, one character at a time, "|" the time-out
    // and "#" the line lost; `left` counts the characters not taken, which the next transaction clears.
    void replyAssembler()
    {
        struct Case { const char *cmd; int count; const char *arrives, *answer; bool echo, ended; int left; };
        const Case cases[] = {
            {"$1,13\r", 4, "$1,13\r2\rXY", "2", true, true, 2},         // extra characters stay
            {"$1,13\r", 4, "$1,13\r|2\r", "", true, false, 2},          // echo only; a late answer stays
            {"$1,13\r", 4, "$1,|", "", false, false, 0},                // half an echo
            {"$1,3\r", 4, "$1,3\r87654321V\r", "87654", true, true, 5}, // count + cmdLen + 1 at most
            {"$1,13\r", 0, "$1,13\r2\r", "", false, false, 8},          // count 0 reads nothing
            {"$1,13", 4, "$1,132\r3\r", "2", true, true, 2},            // no echo's CR: the first one ends
            {"$1,13\r", 4, "$1,13\r2\r#", "", false, false, 0},         // a lost line voids any answer
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
                         && reply.answerEnded == c.ended && left == c.left, c.arrives);
        }
    }

    // What only a real port shows: a reply ends as soon as its CR is in ("$1,28" and its answer: ten
    // characters at 1.04 ms, 3 ms latency), a late one costs the time-out, 25 ms end each; waits burn no
    // CPU, even on a lost line (which closes the port); what is left or late is cleared before the next.
    void transact()
    {
        const struct { SimFault fault; int param; const char *answer; int ms; } cases[] = {
            {SimFault::None, 28, "100", 38}, {SimFault::Extra, 13, "2", 25}, {SimFault::Late, 13, "", 175},
            {SimFault::HangUp, 13, "", 175}};
        for (const auto &c : cases) {
            const bool lost = c.fault == SimFault::HangUp;
            OpenRig r(SimConfig().withFault(1, c.param, c.fault));
            if (lost)
                QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("lost:")));
            const QString cmd = QStringLiteral("$1,%1\r").arg(c.param);
            QElapsedTimer clock;
            clock.start();
            const double cpuBefore = cpuSeconds();
            const Reply reply = r.transact(cmd, 10);
            const qint64 elapsed = clock.elapsed();
            QVERIFY2(reply.answer == c.answer && reply.echoComplete != lost,
                     qPrintable(QString("%1: %2 ms").arg(cmd.trimmed()).arg(elapsed)));
            QVERIFY2(elapsed >= c.ms && elapsed < c.ms + 55, qPrintable(QString::number(elapsed)));
            QCOMPARE(r.rig.link.isOpen(), !lost);
            for (int i = 0; i < 2; ++i)
                QCOMPARE(r.transact("$1,14\r").answer, lost ? QString() : QStringLiteral("3"));
            QVERIFY2(cpuSeconds() - cpuBefore < 0.02, "a wait spins");
        }
    }

    // COM2, still open after a failed exchange, is checked as it is; its adaptor has no sensor behind it.
    // COM3's sensor answers "0", COM4 answers "Hello" with a CR, COM5 after the time-out; COM6 answers after
    // the 110 ms pause, within the time-out that follows it, but has no sensor. Each is closed: none found.
    void search()
    {
        SimConfig ports[] = {adaptorOnly(), {}, {}, {}, adaptorOnly()};
        ports[1].answersZero = true;
        ports[2].helloWithCr = true;
        ports[3].helloLatencyMs = 330;
        ports[4].helloLatencyMs = 190;
        SimPorts sims;
        for (int n = 2; n <= 6; ++n)
            sims.add(n, ports[n - 2]);
        LinkRig rig(fixedPorts(sims.devicePaths()));
        QCOMPARE(rig.link.openPort(2), PortOpening::Opened);
        QCOMPARE(findSensor(rig.link, 8).linkState, LinkState::NoSensor);
        const QByteArray handshake = "Hello\r\r$0,0\r";
        const QByteArray received[] = {handshake, handshake, "Hello", "Hello", handshake};
        for (int n = 2; n <= 6; ++n)
            QVERIFY2(sims.at(n).received() == received[n - 2] && isFree(sims.at(n).path()),
                     qPrintable(sims.at(n).received()));
    }
};

QTEST_GUILESS_MAIN(LinkTest)
#include "tst_link.moc"
