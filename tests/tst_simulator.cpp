// The simulated sensor as the protocol work relies on it, exercised through the real link.
#include "LinkRig.h"
#include "SimPorts.h"

#include <QElapsedTimer>
#include <QtTest>

class SimulatorTest : public QObject
{
    Q_OBJECT
private slots:
    void identificationAnswers_data();
    void identificationAnswers();
    void writtenValuesReadBack_data();
    void writtenValuesReadBack();
    void mutedAfterIdentification();
    void logsCommandLines();
    void pacedLikeA9600BaudLine();
};

void SimulatorTest::identificationAnswers_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<bool>("loop");
    QTest::addColumn<QStringList>("answers"); // to "$1,25", the type and the serial parameter
    QTest::newRow("12 R2W") << 12 << false << QStringList{"ERR", "S1", "87654321VD"};
    QTest::newRow("12 mA") << 12 << true << QStringList{"ERR", "mA", "87654321VD"};
    QTest::newRow("20 R2W") << 20 << false << QStringList{"20", "0", "87654321VD"};
    QTest::newRow("20 mA") << 20 << true << QStringList{"20", "1", "87654321VD"};
}

void SimulatorTest::identificationAnswers()
{
    QFETCH(int, level);
    QFETCH(bool, loop);
    QFETCH(QStringList, answers);
    SimConfig config;
    config.level = level;
    config.loopOutput = loop;
    SimPorts sims;
    sims.add(1, config);
    LinkRig rig(sims.devicePaths());
    QCOMPARE(rig.link.OpenPort(1), 1);
    const int typeParam = level == 12 ? 12 : 5;
    const int serialParam = level == 12 ? 1 : 3;
    QCOMPARE(rig.link.Transact(BuildCommand(1, 25, {}), 10, 150).answer, answers[0]);
    QCOMPARE(rig.link.Transact(BuildCommand(1, typeParam, {}), 4, 150).answer, answers[1]);
    QCOMPARE(rig.link.Transact(BuildCommand(1, serialParam, {}), 12, 150).answer, answers[2]);
}

void SimulatorTest::writtenValuesReadBack_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("param");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("writeAnswer");
    QTest::addColumn<QString>("readBack");
    QTest::newRow("12 frequency 60") << 12 << 9 << "60" << "OK" << "60";
    QTest::newRow("12 frequency 55 refused") << 12 << 9 << "55" << "ERR" << "50";
    QTest::newRow("12 loop value") << 12 << 10 << "12.34567" << "OK" << "12.34567";
    QTest::newRow("20 K-factor") << 20 << 45 << "1.5" << "OK" << "1.5";
    QTest::newRow("20 unit -1") << 20 << 35 << "-1" << "OK" << "-1";
    QTest::newRow("20 unknown parameter") << 20 << 99 << "1" << "ERR" << "ERR";
    QTest::newRow("20 level-12 parameter") << 20 << 7 << "1" << "ERR" << "ERR";
}

void SimulatorTest::writtenValuesReadBack()
{
    QFETCH(int, level);
    QFETCH(int, param);
    QFETCH(QString, value);
    QFETCH(QString, writeAnswer);
    QFETCH(QString, readBack);
    SimConfig config;
    config.level = level;
    SimPorts sims;
    sims.add(1, config);
    LinkRig rig(sims.devicePaths());
    QCOMPARE(rig.link.OpenPort(1), 1);
    QCOMPARE(rig.link.Transact(BuildCommand(2, param, value), 4, 150).answer, writeAnswer);
    QCOMPARE(rig.link.Transact(BuildCommand(1, param, {}), 10, 150).answer, readBack);
}

void SimulatorTest::mutedAfterIdentification()
{
    SimConfig config;
    config.silentAfterIdentification = true;
    SimPorts sims;
    sims.add(1, config);
    LinkRig rig(sims.devicePaths());
    QCOMPARE(rig.link.OpenPort(1), 1);
    QCOMPARE(rig.link.Transact(BuildCommand(1, 3, {}), 12, 150).answer, QStringLiteral("87654321VD"));
    const Reply after = rig.link.Transact(BuildCommand(1, 13, {}), 4, 150);
    QVERIFY(after.answer.isEmpty());
    QVERIFY(!after.echoComplete);
}

void SimulatorTest::logsCommandLines()
{
    SimPorts sims;
    SimulatedPort &sim = sims.add(1);
    LinkRig rig(sims.devicePaths());
    QCOMPARE(rig.link.OpenPort(1), 1);
    QVERIFY(rig.link.CheckSensor());
    rig.link.Transact(BuildCommand(2, 13, QStringLiteral("4")), 4, 150);
    rig.link.Transact(BuildCommand(3, 0, {}), 4, 400);
    QCOMPARE(sim.commands(), (QList<QByteArray>{"$0,0\r", "$2,13,plomvar,4\r", "$3,0,plomvar\r"}));
}

// Echo and answer of "$1,28" are 10 characters: about 10.4 ms of line time plus the latency.
void SimulatorTest::pacedLikeA9600BaudLine()
{
    SimConfig config;
    config.latencyMs = 5;
    SimPorts sims;
    sims.add(1, config);
    LinkRig rig(sims.devicePaths());
    QCOMPARE(rig.link.OpenPort(1), 1);
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(rig.link.Transact(BuildCommand(1, 28, {}), 10, 150).answer, QStringLiteral("100"));
    const double exchangeMs = clock.nsecsElapsed() / 1e6 - 25.0;
    QVERIFY2(exchangeMs >= 6 * 1.04 + 5 + 4 * 1.04 && exchangeMs < 40, qPrintable(QString::number(exchangeMs)));
}

QTEST_GUILESS_MAIN(SimulatorTest)
#include "tst_simulator.moc"
