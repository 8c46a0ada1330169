// Writing the settings to the simulated sensor at both levels, byte for byte on the line.
#include "LocaleGuard.h"
#include "ProtocolRig.h"
#include "protocol/ParameterTable.h"
#include "protocol/ReadSettings.h"
#include "protocol/WriteSettings.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QtTest>

Q_DECLARE_METATYPE(SensorValues)

namespace {

const QString closing = QStringLiteral("$3,0,plomvar\r");

SimConfig level12()
{
    SimConfig config;
    config.level = 12;
    return config;
}

void apply(SetupState &state, const SensorValues &values)
{
    state.settings = values.settings;
    state.sensor4mA = values.sensor4mA;
    state.sensor20mA = values.sensor20mA;
    state.sensorCutoff = values.sensorCutoff;
}

// A full set of values, each chosen to show one rule of its text form.
SensorValues sample()
{
    SensorValues v;
    v.sensor4mA = 0.5f;
    v.sensor20mA = 250.125f;
    v.sensorCutoff = 0.00002f;
    SensorSettings &s = v.settings;
    s.averaging = 10;
    s.sensitivity = -1;
    s.noiseRejection = 1;
    s.setpoint4mA = -2.5f;
    s.setpoint20mA = 1234.567f;
    s.lowFlowCutoff = 0;
    s.pipeId = 101.6f;
    s.kFactor = 65.766712f; // goes out with five decimals
    s.outputUnit = -1;
    s.timeUnit = 3;
    s.pipeIdUnit = 1;
    s.kFactorUnit = 0;
    return v;
}

const QString sampleAt20 = QStringLiteral(
    "$2,8,plomvar,0.5\r$2,9,plomvar,250.125\r$2,10,plomvar,0.00002\r"
    "$2,13,plomvar,10\r$2,14,plomvar,-1\r$2,16,plomvar,1\r"
    "$2,27,plomvar,-2.5\r$2,28,plomvar,1234.567\r$2,36,plomvar,0\r$2,37,plomvar,101.6\r"
    "$2,45,plomvar,65.76671\r$2,35,plomvar,-1\r$2,44,plomvar,3\r$2,53,plomvar,1\r$2,33,plomvar,0\r");

SensorValues withNoiseRejection(std::int16_t row)
{
    SensorValues v = sample();
    v.settings.sensitivity = 9;
    v.settings.noiseRejection = row;
    return v;
}

QString sampleAt12(const char *hertz)
{
    return QStringLiteral("$2,7,plomvar,10\r$2,8,plomvar,9\r$2,9,plomvar,%1\r$2,10,plomvar,0.5\r"
                          "$2,11,plomvar,250.125\r$2,6,plomvar,0.00002\r")
        .arg(QLatin1String(hertz));
}

qint64 timedWrite(const SimConfig &config)
{
    ProtocolRig rig(config);
    apply(rig.state(), sample());
    QElapsedTimer clock;
    clock.start();
    const bool written = WriteSettings(rig.ctx());
    return written && rig.opened ? clock.elapsed() : -1;
}

} // namespace

class WriteSettingsTest : public QObject
{
    Q_OBJECT
private slots:
    void writes_data();
    void writes();
    void writeThenReadRoundTripsAtLevel20();
    void refusalAtParameter13StopsBeforeClosing();
    void closingRefused();
    void echoWithoutAnswerIsAccepted_data();
    void echoWithoutAnswerIsAccepted();
    void silentSensorFails_data();
    void silentSensorFails();
    void failedIdentificationWritesNothing();
    void editsDuringTheWriteDoNotMixIn();
    void closingWaitsLongerAtLevel12();
};

void WriteSettingsTest::writes_data()
{
    QTest::addColumn<SimConfig>("config");
    QTest::addColumn<SensorValues>("values");
    QTest::addColumn<bool>("german");
    QTest::addColumn<QString>("writes");

    QTest::newRow("20") << SimConfig() << sample() << false << sampleAt20;
    QTest::newRow("20, German locale") << SimConfig() << sample() << true << sampleAt20;
    QTest::newRow("12, 50 Hz") << level12() << withNoiseRejection(1) << false << sampleAt12("50");
    QTest::newRow("12, 60 Hz, German locale") << level12() << withNoiseRejection(0) << true
                                              << sampleAt12("60");
    QTest::newRow("12, no selection is 60 Hz") << level12() << withNoiseRejection(-1) << false
                                               << sampleAt12("60");
}

void WriteSettingsTest::writes()
{
    QFETCH(SimConfig, config);
    QFETCH(SensorValues, values);
    QFETCH(bool, german);
    QFETCH(QString, writes);

    LocaleGuard locale(german ? LocaleGuard::german() : LocaleGuard::english());
    ProtocolRig rig(config);
    QVERIFY(rig.opened);
    QCOMPARE(rig.state().decimalSep, german ? QStringLiteral(",") : QStringLiteral("."));
    apply(rig.state(), values);

    QElapsedTimer clock;
    clock.start();
    QVERIFY(WriteSettings(rig.ctx()));
    const qint64 elapsed = clock.elapsed();

    QCOMPARE(rig.traffic(), identification(config.level) + writes + closing);
    // Writing changes none of the values it sends.
    QCOMPARE(rig.state().settings, values.settings);
    QCOMPARE(rig.state().sensor4mA, values.sensor4mA);
    // 50 ms after the probe, 25 ms after every transaction, 100 ms before the closing command.
    const int transactions = int(rig.traffic().count(QLatin1Char('\r')));
    QVERIFY2(elapsed >= 50 + 100 + 25 * transactions, qPrintable(QString::number(elapsed)));
    qInfo("level-%d write took %lld ms", config.level, elapsed);
}

void WriteSettingsTest::writeThenReadRoundTripsAtLevel20()
{
    ProtocolRig rig;
    QVERIFY(rig.opened);
    SensorValues written = sample();
    written.settings.kFactor = 65.76671f; // five decimals survive the trip
    apply(rig.state(), written);
    QVERIFY(WriteSettings(rig.ctx()));

    rig.state().settings = SensorSettings();
    QVERIFY(ReadSettings(rig.ctx()));
    QCOMPARE(rig.state().settings, written.settings);
    QCOMPARE(rig.sim.sensor().value(8), QByteArray("0.5"));
    QCOMPARE(rig.sim.sensor().value(10), QByteArray("0.00002"));
}

void WriteSettingsTest::refusalAtParameter13StopsBeforeClosing()
{
    ProtocolRig rig(SimConfig().withFault(2, 13, SimFault::Refuse));
    QVERIFY(rig.opened);
    apply(rig.state(), sample());

    QVERIFY(!WriteSettings(rig.ctx()));
    QCOMPARE(rig.traffic(), identification(20)
                                + "$2,8,plomvar,0.5\r$2,9,plomvar,250.125\r$2,10,plomvar,0.00002\r"
                                  "$2,13,plomvar,10\r");
    QCOMPARE(rig.sim.sensor().value(10), QByteArray("0.00002"));
}

void WriteSettingsTest::closingRefused()
{
    ProtocolRig rig(level12().withFault(3, 0, SimFault::Refuse));
    QVERIFY(rig.opened);
    apply(rig.state(), withNoiseRejection(1));

    QVERIFY(!WriteSettings(rig.ctx()));
    QCOMPARE(rig.traffic(), identification(12) + sampleAt12("50") + closing);
}

void WriteSettingsTest::echoWithoutAnswerIsAccepted_data()
{
    QTest::addColumn<SimConfig>("config");
    QTest::newRow("20: a write") << SimConfig().withFault(2, 27, SimFault::NoAnswer);
    QTest::newRow("12: the closing command") << level12().withFault(3, 0, SimFault::NoAnswer);
}

void WriteSettingsTest::echoWithoutAnswerIsAccepted()
{
    QFETCH(SimConfig, config);
    ProtocolRig rig(config);
    QVERIFY(rig.opened);
    apply(rig.state(), withNoiseRejection(1));
    QVERIFY(WriteSettings(rig.ctx()));
    QVERIFY(rig.traffic().endsWith(closing));
}

void WriteSettingsTest::silentSensorFails_data()
{
    QTest::addColumn<SimConfig>("config");
    QTest::addColumn<QString>("traffic"); // after identification

    SimConfig mute;
    mute.silentAfterIdentification = true;
    QTest::newRow("20: silent after identification") << mute << "$2,8,plomvar,0.5\r";
    SimConfig mute12 = level12();
    mute12.silentAfterIdentification = true;
    QTest::newRow("12: silent after identification") << mute12 << "$2,7,plomvar,10\r";
    QTest::newRow("20: one write unheard")
        << SimConfig().withFault(2, 9, SimFault::Silent) << "$2,8,plomvar,0.5\r$2,9,plomvar,250.125\r";
    QTest::newRow("12: closing command unheard")
        << level12().withFault(3, 0, SimFault::Silent) << sampleAt12("60") + closing;
    QTest::newRow("20: line gone after the echo")
        << SimConfig().withFault(2, 8, SimFault::HangUp) << "$2,8,plomvar,0.5\r";
}

// Nobody answering is no success: the write fails where the echo stayed away, and stops there.
void WriteSettingsTest::silentSensorFails()
{
    QFETCH(SimConfig, config);
    QFETCH(QString, traffic);
    ProtocolRig rig(config);
    QVERIFY(rig.opened);
    apply(rig.state(), withNoiseRejection(0));

    QVERIFY(!WriteSettings(rig.ctx()));
    QCOMPARE(rig.traffic(), identification(config.level) + traffic);
}

void WriteSettingsTest::failedIdentificationWritesNothing()
{
    SimConfig config;
    config.typeAnswer = "2";
    ProtocolRig rig(config);
    QVERIFY(rig.opened);
    apply(rig.state(), sample());
    QVERIFY(!WriteSettings(rig.ctx()));
    QCOMPARE(rig.traffic(), QStringLiteral("$1,25\r$1,5\r"));
}

// The window keeps running while the write waits; whatever changes meanwhile waits for the next write.
void WriteSettingsTest::editsDuringTheWriteDoNotMixIn()
{
    ProtocolRig rig;
    QVERIFY(rig.opened);
    apply(rig.state(), sample());
    SensorValues edited = sample();
    edited.settings.kFactor = 99;
    edited.settings.averaging = 3;
    edited.settings.outputUnit = 4;
    edited.sensor20mA = 7;
    edited.sensorCutoff = 8;
    // One edit while identification runs, another half-way through the writes.
    QTimer::singleShot(0, &rig.window, [&] { rig.state().settings.kFactor = 99; });
    QTimer::singleShot(400, &rig.window, [&] { apply(rig.state(), edited); });

    QVERIFY(WriteSettings(rig.ctx()));
    QCOMPARE(rig.traffic(), identification(20) + sampleAt20 + closing);
    QCOMPARE(rig.state().settings, edited.settings); // the edits themselves are kept
}

// The closing command is given 400 ms after level 12 and 150 ms after level 20: an answer 350 ms
// late is awaited at level 12 only.
void WriteSettingsTest::closingWaitsLongerAtLevel12()
{
    SimConfig late12 = level12().withFault(3, 0, SimFault::Late);
    late12.lateMs = 350;
    SimConfig late20 = SimConfig().withFault(3, 0, SimFault::Late);
    late20.lateMs = 350;

    const qint64 extra12 = timedWrite(late12) - timedWrite(level12());
    const qint64 extra20 = timedWrite(late20) - timedWrite(SimConfig());
    qInfo("a late closing answer adds %lld ms at level 12, %lld ms at level 20", extra12, extra20);
    QVERIFY2(extra12 > 270, qPrintable(QString::number(extra12)));
    QVERIFY2(extra20 < 200, qPrintable(QString::number(extra20)));
}

QTEST_MAIN(WriteSettingsTest)
#include "tst_writesettings.moc"
