// Command lines and transactions through a real QSerialPort on a pty against the simulated sensor.
#include "LinkRig.h"
#include "SimPorts.h"

#include <QElapsedTimer>
#include <QtTest>

Q_DECLARE_METATYPE(CommandFault)

class TransactTest : public QObject
{
    Q_OBJECT

private:
    // A rig whose COM1 is a simulated sensor, already open (no search).
    struct OpenRig
    {
        explicit OpenRig(const SimConfig &config = {})
            : sim(sims.add(1, config)), rig(sims.devicePaths())
        {
        }
        SimPorts sims;
        SimulatedPort &sim;
        LinkRig rig;
    };

private slots:
    void buildCommand_data();
    void buildCommand();
    void answers_data();
    void answers();
    void silentSensorGivesEmptyAnswerAfterTimeout();
    void countZeroWritesAndReadsNothing();
    void commandWithoutCrEndsAtFirstCr();
    void extraCharactersAreClearedByNextTransact();
    void lateAnswerIsEmptyAndDoesNotSpoilNext();
    void closedPortWritesNothingAndStillPauses();
};

void TransactTest::buildCommand_data()
{
    QTest::addColumn<int>("op");
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("op0") << 0 << 99 << "0" << "$0,0\r";
    QTest::newRow("op1") << 1 << 25 << "ignored" << "$1,25\r";
    QTest::newRow("op2") << 2 << 7 << "1.5" << "$2,7,plomvar,1.5\r";
    QTest::newRow("op3") << 3 << 0 << "ignored" << "$3,0,plomvar\r";
    QTest::newRow("op4") << 4 << 12 << "ignored" << "$4,12\r";
    QTest::newRow("op5") << 5 << 3 << "7" << "$5,3,trexil,7\r";
    QTest::newRow("op6") << 6 << 99 << "0" << "$6,trexil,0\r";
    QTest::newRow("op7") << 7 << 4 << "2" << "$7,4trexil,2\r";
    QTest::newRow("op8") << 8 << 1 << "1" << "";
    QTest::newRow("op9") << 9 << 1 << "1" << "";
    QTest::newRow("negative op") << -1 << 1 << "1" << "";
}

// The text, and the bytes that reach the device when it is sent, are exactly the command line.
void TransactTest::buildCommand()
{
    QFETCH(int, op);
    QFETCH(int, n);
    QFETCH(QString, value);
    QFETCH(QString, expected);
    const QString cmd = BuildCommand(op, n, value);
    QCOMPARE(cmd, expected);
    if (cmd.isEmpty())
        return;

    OpenRig r;
    QCOMPARE(r.rig.link.OpenPort(1), 1);
    r.rig.link.Transact(cmd, 4, 150);
    QCOMPARE(r.sim.received(), expected.toLatin1());
}

void TransactTest::answers_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<QString>("cmd");
    QTest::addColumn<int>("count");
    QTest::addColumn<CommandFault>("fault");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("echoComplete");

    const CommandFault none{};
    QTest::newRow("refusal passed through") << 12 << "$1,25\r" << 10 << none << "ERR" << true;
    QTest::newRow("integer") << 20 << "$1,13\r" << 4 << none << "2" << true;
    QTest::newRow("decimal") << 20 << "$1,28\r" << 10 << none << "100" << true;
    QTest::newRow("sensor check") << 20 << "$0,0\r" << 2 << none << "1" << true;
    QTest::newRow("write accepted") << 20 << "$2,13,plomvar,4\r" << 4 << none << "OK" << true;
    QTest::newRow("write wrong key") << 20 << "$2,13,plomvax,4\r" << 4 << none << "ERR" << true;
    QTest::newRow("closing command") << 12 << "$3,0,plomvar\r" << 4 << none << "OK" << true;
    QTest::newRow("refused read") << 20 << "$1,27\r" << 10 << CommandFault{1, 27, SimFault::Refuse}
                                  << "ERR" << true;
    QTest::newRow("echo, no answer") << 20 << "$1,13\r" << 4 << CommandFault{1, 13, SimFault::NoAnswer}
                                     << "" << true;
    QTest::newRow("truncated: no final CR") << 20 << "$1,3\r" << 12
                                            << CommandFault{1, 3, SimFault::Truncated} << "87654321V"
                                            << true;
    // count + cmdLen + 1 characters at most: five of the serial's ten come through.
    QTest::newRow("answer beyond count") << 20 << "$1,3\r" << 4 << none << "87654" << true;
    QTest::newRow("garbage") << 20 << "$1,13\r" << 10 << CommandFault{1, 13, SimFault::Garbage}
                             << "#~\x7f?x!" << true;
}

void TransactTest::answers()
{
    QFETCH(int, level);
    QFETCH(QString, cmd);
    QFETCH(int, count);
    QFETCH(CommandFault, fault);
    QFETCH(QString, answer);
    QFETCH(bool, echoComplete);

    SimConfig config;
    config.level = level;
    config.faults << fault;
    OpenRig r(config);
    QCOMPARE(r.rig.link.OpenPort(1), 1);
    const Reply reply = r.rig.link.Transact(cmd, count, 150);
    QCOMPARE(reply.answer, answer);
    QCOMPARE(reply.echoComplete, echoComplete);
    QCOMPARE(r.sim.received(), cmd.toLatin1());
}

void TransactTest::silentSensorGivesEmptyAnswerAfterTimeout()
{
    OpenRig r(SimConfig().withFault(1, 13, SimFault::Silent));
    QCOMPARE(r.rig.link.OpenPort(1), 1);
    QElapsedTimer clock;
    clock.start();
    const Reply reply = r.rig.link.Transact(QStringLiteral("$1,13\r"), 4, 150);
    const qint64 ms = clock.elapsed();
    QVERIFY(reply.answer.isEmpty());
    QVERIFY(!reply.echoComplete);
    QVERIFY2(ms >= 175 && ms < 230, qPrintable(QString::number(ms)));
}

void TransactTest::countZeroWritesAndReadsNothing()
{
    OpenRig r;
    QCOMPARE(r.rig.link.OpenPort(1), 1);
    QElapsedTimer clock;
    clock.start();
    const Reply reply = r.rig.link.Transact(QStringLiteral("$1,13\r"), 0, 150);
    QVERIFY(clock.elapsed() < 100);
    QVERIFY(reply.answer.isEmpty());
    QVERIFY(!reply.echoComplete);
    QCOMPARE(r.sim.received(), QByteArray("$1,13\r"));
    // The echo and answer were not consumed; they wait for the next transaction to clear them.
    QTRY_VERIFY(r.rig.port.waiting() > 0);
}

// Without a trailing CR nothing marks an echo, so the first CR received ends the read.
void TransactTest::commandWithoutCrEndsAtFirstCr()
{
    OpenRig r;
    QCOMPARE(r.rig.link.OpenPort(1), 1);
    QElapsedTimer clock;
    clock.start();
    const Reply reply = r.rig.link.Transact(QStringLiteral("\r$1,13"), 4, 150);
    QVERIFY2(clock.elapsed() < 100, "the read waited for the time-out");
    QVERIFY(reply.answer.isEmpty());
}

void TransactTest::extraCharactersAreClearedByNextTransact()
{
    OpenRig r(SimConfig().withFault(1, 13, SimFault::Extra));
    QCOMPARE(r.rig.link.OpenPort(1), 1);
    QCOMPARE(r.rig.link.Transact(QStringLiteral("$1,13\r"), 4, 150).answer, QStringLiteral("2"));
    QVERIFY(r.rig.port.waiting() > 0);
    QCOMPARE(r.rig.link.Transact(QStringLiteral("$1,14\r"), 4, 150).answer, QStringLiteral("3"));
}

void TransactTest::lateAnswerIsEmptyAndDoesNotSpoilNext()
{
    SimConfig config = SimConfig().withFault(1, 13, SimFault::Late);
    config.lateMs = 250;
    OpenRig r(config);
    QCOMPARE(r.rig.link.OpenPort(1), 1);
    const Reply late = r.rig.link.Transact(QStringLiteral("$1,13\r"), 4, 150);
    QVERIFY(late.answer.isEmpty());
    QVERIFY(late.echoComplete);
    QCOMPARE(r.rig.link.Transact(QStringLiteral("$1,14\r"), 4, 150).answer, QStringLiteral("3"));
    QCOMPARE(r.rig.link.Transact(QStringLiteral("$1,16\r"), 4, 150).answer, QStringLiteral("1"));
}

void TransactTest::closedPortWritesNothingAndStillPauses()
{
    OpenRig r;
    QElapsedTimer clock;
    clock.start();
    const Reply reply = r.rig.link.Transact(QStringLiteral("$1,13\r"), 4, 150);
    const qint64 ms = clock.elapsed();
    QVERIFY(reply.answer.isEmpty());
    QVERIFY(!reply.echoComplete);
    QVERIFY2(ms >= 25 && ms < 60, qPrintable(QString::number(ms)));
    QTest::qWait(20);
    QVERIFY(r.sim.received().isEmpty());
}

QTEST_GUILESS_MAIN(TransactTest)
#include "tst_transact.moc"
