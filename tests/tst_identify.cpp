// Sensor identification against the simulated sensor, through the real window's fields.
#include "ProtocolRig.h"
#include "protocol/Identify.h"

#include <QElapsedTimer>
#include <QtTest>

class IdentifyTest : public QObject
{
    Q_OBJECT
private slots:
    void identify_data();
    void identify();
    void failureResetsAnEarlierIdentification();
};

void IdentifyTest::identify_data()
{
    QTest::addColumn<SimConfig>("config");
    QTest::addColumn<bool>("result");
    QTest::addColumn<int>("level");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("serial");
    QTest::addColumn<QString>("traffic"); // after the identification commands: what was left out

    SimConfig loop20;
    loop20.serial = "BA0123456789"; // sent as 9876543210AB
    QTest::newRow("20: 4-20mA, twelve characters") << loop20 << true << 20 << "4-20mA" << "0123456789"
                                                   << identification(20);
    SimConfig r2w12;
    r2w12.level = 12;
    r2w12.loopOutput = false;
    r2w12.serial = "JIHGFEDCBA"; // sent as ABCDEFGHIJ
    QTest::newRow("12: R2W") << r2w12 << true << 12 << "R2W" << "JIHGFEDCBA" << identification(12);
    SimConfig loop12 = r2w12;
    loop12.loopOutput = true;
    QTest::newRow("12: 4-20mA") << loop12 << true << 12 << "4-20mA" << "JIHGFEDCBA"
                                << identification(12);
    SimConfig r2w20;
    r2w20.loopOutput = false;
    r2w20.typeAnswer = " 0 ";
    QTest::newRow("20: R2W, blanks around the type") << r2w20 << true << 20 << "R2W" << "DV12345678"
                                                     << identification(20);

    SimConfig type2;
    type2.typeAnswer = "2";
    QTest::newRow("20: type 2") << type2 << false << 0 << "" << "" << "$1,25\r$1,5\r";
    SimConfig typeRefused;
    typeRefused.withFault(1, 5, SimFault::Refuse);
    QTest::newRow("20: type refused") << typeRefused << false << 0 << "" << "" << "$1,25\r$1,5\r";
    SimConfig nine;
    nine.serial = "123456789";
    QTest::newRow("20: nine-character serial") << nine << false << 0 << "" << "" << identification(20);
    SimConfig refused12 = r2w12;
    refused12.withFault(1, 12, SimFault::Refuse);
    QTest::newRow("12: type refused") << refused12 << false << 0 << "" << "" << "$1,25\r$1,12\r";
    SimConfig capital = r2w12;
    capital.typeAnswer = "M1";
    QTest::newRow("12: capital M is no type") << capital << false << 0 << "" << "" << "$1,25\r$1,12\r";
    SimConfig lower = r2w12;
    lower.typeAnswer = "s1";
    QTest::newRow("12: lower-case s is no type") << lower << false << 0 << "" << "" << "$1,25\r$1,12\r";
    SimConfig nineAt12 = r2w12;
    nineAt12.serial = "IHGFEDCBA";
    QTest::newRow("12: nine-character serial") << nineAt12 << false << 0 << "" << "" << identification(12);
    SimConfig lowerProbe;
    lowerProbe.withFault(1, 25, SimFault::Garbage);
    QTest::newRow("20: any probe answer but ERR") << lowerProbe << true << 20 << "4-20mA" << "DV12345678"
                                                  << identification(20);
    QTest::newRow("no sensor: taken for 20, fails on the type")
        << adaptorOnly() << false << 0 << "" << "" << "$1,25\r$1,5\r";
}

void IdentifyTest::identify()
{
    QFETCH(SimConfig, config);
    QFETCH(bool, result);
    QFETCH(int, level);
    QFETCH(QString, type);
    QFETCH(QString, serial);
    QFETCH(QString, traffic);

    ProtocolRig rig(config);
    QVERIFY(rig.opened);
    rig.state().hasLoopOutput = !result; // must be rewritten either way
    rig.window.setText(Control::txttype, QStringLiteral("Not Read"));
    rig.window.setText(Control::txtserialnum, QStringLiteral("Not Read"));

    QElapsedTimer clock;
    clock.start();
    QCOMPARE(IdentifySensor(rig.ctx()), result);
    const qint64 elapsed = clock.elapsed();

    QCOMPARE(int(rig.state().sensorLevel), level);
    QCOMPARE(rig.window.text(Control::txttype), type);
    QCOMPARE(rig.window.text(Control::txtserialnum), serial);
    QCOMPARE(rig.state().hasLoopOutput, type != QLatin1String("R2W"));
    QCOMPARE(rig.traffic(), traffic);
    // The 50 ms pause after the probe and the 25 ms that end every transaction.
    const int transactions = int(traffic.count(QLatin1Char('\r')));
    QVERIFY2(elapsed >= 50 + 25 * transactions, qPrintable(QString::number(elapsed)));
    if (result)
        qInfo("identification took %lld ms", elapsed);
}

// A second identification that fails clears what the first one found.
void IdentifyTest::failureResetsAnEarlierIdentification()
{
    SimConfig config;
    config.loopOutput = false;
    ProtocolRig rig(config);
    QVERIFY(rig.opened);
    QVERIFY(IdentifySensor(rig.ctx()));
    QCOMPARE(rig.window.text(Control::txttype), QStringLiteral("R2W"));
    QVERIFY(!rig.state().hasLoopOutput);

    rig.sim.config().serial = QStringLiteral("SHORT");
    QVERIFY(!IdentifySensor(rig.ctx()));
    QCOMPARE(int(rig.state().sensorLevel), 0);
    QVERIFY(rig.state().hasLoopOutput);
    QCOMPARE(rig.window.text(Control::txttype), QString());
    QCOMPARE(rig.window.text(Control::txtserialnum), QString());
}

QTEST_MAIN(IdentifyTest)
#include "tst_identify.moc"
