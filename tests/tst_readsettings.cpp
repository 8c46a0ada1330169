// Reading the settings from the simulated sensor at both levels, byte for byte on the line.
#include "LocaleGuard.h"
#include "ProtocolRig.h"
#include "link/Waits.h"
#include "protocol/ReadSettings.h"
#include "protocol/WriteSettings.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QtTest>

namespace {

// Values no sensor of these tests holds, so every field a read touches shows.
SensorSettings untouched()
{
    SensorSettings s;
    s.outputUnit = 7;
    s.timeUnit = 3;
    s.pipeId = 11;
    s.pipeIdUnit = 1;
    s.kFactor = 22;
    s.kFactorUnit = 0;
    s.setpoint4mA = 33;
    s.setpoint20mA = 44;
    s.lowFlowCutoff = 55;
    s.averaging = 9;
    s.sensitivity = 8;
    s.noiseRejection = -1;
    return s;
}

void preset(SetupState &state)
{
    state.settings = untouched();
    state.sensor4mA = 66;
    state.sensor20mA = 77;
    state.sensorCutoff = 88;
}

void setValues(SimulatedPort &sim, const QList<QPair<int, QByteArray>> &values)
{
    for (const auto &[param, text] : values)
        sim.sensor().setValue(param, text);
}

SimConfig level12()
{
    SimConfig config;
    config.level = 12;
    return config;
}

const QString level12Reads = QStringLiteral("$1,7\r$1,8\r$1,9\r$1,10\r$1,11\r$1,6\r");
const QString closing = QStringLiteral("$3,0,plomvar\r");
const QString level20Reads = QStringLiteral(
    "$1,13\r$1,14\r$1,16\r$1,27\r$1,28\r$1,36\r$1,37\r$1,45\r$1,35\r$1,44\r$1,53\r$1,33\r");

} // namespace

class ReadSettingsTest : public QObject
{
    Q_OBJECT
private slots:
    void readsLevel12();
    void readsLevel20();
    void refusalAtFourthLevel20ParameterKeepsWhatWasRead();
    void level12Frequency_data();
    void level12Frequency();
    void lowerCaseErrIsNoNumber();
    void silenceAfterIdentificationFails();
    void failedIdentificationReadsNothing();
    void decimalsUnderGermanLocale();
    void exitEndsReadAndWriteAtOnce();
};

void ReadSettingsTest::readsLevel12()
{
    ProtocolRig rig(level12());
    QVERIFY(rig.opened);
    setValues(rig.sim, {{7, "4"}, {8, "7"}, {9, "60"}, {10, "1.25"}, {11, "80.5"}, {6, "0.125"}});
    preset(rig.state());

    QElapsedTimer clock;
    clock.start();
    QVERIFY(ReadSettings(rig.ctx()));
    const qint64 elapsed = clock.elapsed();

    // Only the performance settings and the loop values in the sensor's unit are read.
    SensorSettings expected = untouched();
    expected.averaging = 4;
    expected.sensitivity = 7;
    expected.noiseRejection = 0;
    QCOMPARE(rig.state().settings, expected);
    QCOMPARE(rig.state().sensor4mA, 1.25f);
    QCOMPARE(rig.state().sensor20mA, 80.5f);
    QCOMPARE(rig.state().sensorCutoff, 0.125f);
    QCOMPARE(rig.traffic(), identification(12) + level12Reads);
    // 50 ms after the probe, 100 ms after identification, 25 ms after every transaction.
    QVERIFY2(elapsed >= 50 + 100 + 9 * 25, qPrintable(QString::number(elapsed)));
    qInfo("level-12 read took %lld ms", elapsed);
}

void ReadSettingsTest::readsLevel20()
{
    ProtocolRig rig;
    QVERIFY(rig.opened);
    setValues(rig.sim, {{13, "5"}, {14, "6"}, {16, "0"}, {27, "-2.5"}, {28, "150.75"}, {36, "0.5"},
                        {37, "101.6"}, {45, "65.7667"}, {35, "3"}, {44, "2"}, {53, "0"}, {33, "-1"}});
    preset(rig.state());

    QElapsedTimer clock;
    clock.start();
    QVERIFY(ReadSettings(rig.ctx()));
    const qint64 elapsed = clock.elapsed();

    SensorSettings expected;
    expected.averaging = 5;
    expected.sensitivity = 6;
    expected.noiseRejection = 0;
    expected.setpoint4mA = -2.5f;
    expected.setpoint20mA = 150.75f;
    expected.lowFlowCutoff = 0.5f;
    expected.pipeId = 101.6f;
    expected.kFactor = 65.7667f;
    expected.outputUnit = 3;
    expected.timeUnit = 2;
    expected.pipeIdUnit = 0;
    expected.kFactorUnit = -1;
    QCOMPARE(rig.state().settings, expected);
    // Parameters 8, 9 and 10 are never read at this level.
    QCOMPARE(rig.state().sensor4mA, 66.0f);
    QCOMPARE(rig.state().sensor20mA, 77.0f);
    QCOMPARE(rig.state().sensorCutoff, 88.0f);
    QCOMPARE(rig.traffic(), identification(20) + level20Reads);
    QVERIFY2(elapsed >= 50 + 100 + 15 * 25, qPrintable(QString::number(elapsed)));
    qInfo("level-20 read took %lld ms", elapsed);
}

void ReadSettingsTest::refusalAtFourthLevel20ParameterKeepsWhatWasRead()
{
    ProtocolRig rig(SimConfig().withFault(1, 27, SimFault::Refuse));
    QVERIFY(rig.opened);
    setValues(rig.sim, {{13, "5"}, {14, "6"}, {16, "0"}});
    preset(rig.state());

    QVERIFY(!ReadSettings(rig.ctx()));
    SensorSettings expected = untouched();
    expected.averaging = 5;
    expected.sensitivity = 6;
    expected.noiseRejection = 0;
    QCOMPARE(rig.state().settings, expected);
    QCOMPARE(rig.state().sensor4mA, 66.0f);
    QCOMPARE(rig.traffic(), identification(20) + "$1,13\r$1,14\r$1,16\r$1,27\r");
}

void ReadSettingsTest::level12Frequency_data()
{
    QTest::addColumn<SimConfig>("config");
    QTest::addColumn<QByteArray>("reply"); // parameter 9's value in the sensor
    QTest::addColumn<bool>("result");
    QTest::addColumn<int>("noiseRejection");

    QTest::newRow("50 Hz: first two characters decide") << level12() << QByteArray("50 Hz") << true << 1;
    QTest::newRow("60") << level12() << QByteArray("60") << true << 0;
    QTest::newRow("refused") << level12().withFault(1, 9, SimFault::Refuse) << QByteArray("50") << false
                             << -1;
    QTest::newRow("neither 50 nor 60") << level12() << QByteArray("55") << false << -1;
    QTest::newRow("silent") << level12().withFault(1, 9, SimFault::Silent) << QByteArray("50") << false
                            << -1;
}

void ReadSettingsTest::level12Frequency()
{
    QFETCH(SimConfig, config);
    QFETCH(QByteArray, reply);
    QFETCH(bool, result);
    QFETCH(int, noiseRejection);

    ProtocolRig rig(config);
    QVERIFY(rig.opened);
    setValues(rig.sim, {{7, "4"}, {8, "7"}, {9, reply}});
    preset(rig.state());

    QCOMPARE(ReadSettings(rig.ctx()), result);
    // Averaging and sensitivity come before the frequency and stay stored either way.
    QCOMPARE(int(rig.state().settings.averaging), 4);
    QCOMPARE(int(rig.state().settings.sensitivity), 7);
    QCOMPARE(int(rig.state().settings.noiseRejection), noiseRejection);
    if (!result) {
        QCOMPARE(rig.state().sensor4mA, 66.0f);
        QCOMPARE(rig.traffic(), identification(12) + "$1,7\r$1,8\r$1,9\r");
    }
}

void ReadSettingsTest::lowerCaseErrIsNoNumber()
{
    ProtocolRig rig;
    QVERIFY(rig.opened);
    rig.sim.sensor().setValue(13, "err");
    preset(rig.state());

    QVERIFY(!ReadSettings(rig.ctx()));
    QCOMPARE(rig.state().settings, untouched());
    QCOMPARE(rig.traffic(), identification(20) + "$1,13\r");
}

void ReadSettingsTest::silenceAfterIdentificationFails()
{
    SimConfig config;
    config.silentAfterIdentification = true;
    ProtocolRig rig(config);
    QVERIFY(rig.opened);
    preset(rig.state());

    QVERIFY(!ReadSettings(rig.ctx()));
    QCOMPARE(rig.state().settings, untouched());
    QCOMPARE(int(rig.state().sensorLevel), 20);
    QCOMPARE(rig.traffic(), identification(20) + "$1,13\r");
}

void ReadSettingsTest::failedIdentificationReadsNothing()
{
    SimConfig config;
    config.serial = QStringLiteral("123456789");
    ProtocolRig rig(config);
    QVERIFY(rig.opened);
    preset(rig.state());

    QVERIFY(!ReadSettings(rig.ctx()));
    QCOMPARE(rig.state().settings, untouched());
    QCOMPARE(rig.traffic(), identification(20));
}

void ReadSettingsTest::decimalsUnderGermanLocale()
{
    LocaleGuard german(LocaleGuard::german());
    ProtocolRig level20;
    ProtocolRig level12rig(level12());
    QCOMPARE(level20.state().decimalSep, QStringLiteral(","));
    QVERIFY(level20.opened && level12rig.opened);
    setValues(level20.sim, {{45, "12.5"}, {37, "1500.25"}, {35, "2"}});
    setValues(level12rig.sim, {{10, "0.5"}, {11, "1234.5"}});

    QVERIFY(ReadSettings(level20.ctx()));
    QCOMPARE(level20.state().settings.kFactor, 12.5f);
    QCOMPARE(level20.state().settings.pipeId, 1500.25f);
    QCOMPARE(int(level20.state().settings.outputUnit), 2);
    QVERIFY(ReadSettings(level12rig.ctx()));
    QCOMPARE(level12rig.state().sensor4mA, 0.5f);
    QCOMPARE(level12rig.state().sensor20mA, 1234.5f);
}

// Exit during a transaction ends the procedure there: nothing in it swallows the end of the program.
void ReadSettingsTest::exitEndsReadAndWriteAtOnce()
{
    for (bool writing : {false, true}) {
        ProtocolRig rig;
        QVERIFY(rig.opened);
        preset(rig.state());
        Waits &waits = rig.window.link().waits();
        QTimer::singleShot(300, &rig.window, [&waits] { waits.EndProgram(); });
        if (writing)
            QVERIFY_THROWS_EXCEPTION(ProgramEnded, WriteSettings(rig.ctx()));
        else
            QVERIFY_THROWS_EXCEPTION(ProgramEnded, ReadSettings(rig.ctx()));
        const QString sent = rig.traffic();
        QVERIFY2(sent.startsWith(identification(20)), qPrintable(sent));
        const QString last = writing ? closing : QStringLiteral("$1,33\r");
        QVERIFY2(!sent.endsWith(last), qPrintable(sent));
        QTest::qWait(200);
        QCOMPARE(rig.traffic(), sent); // nothing goes out after Exit
    }
}

QTEST_MAIN(ReadSettingsTest)
#include "tst_readsettings.moc"
