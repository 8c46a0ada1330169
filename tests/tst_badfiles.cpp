// Damaged and hostile .bdf files loaded through the real window: the right message, nothing saved
// that a later load would read differently, nothing written to a sensor.
#include "FileRoundTrip.h"
#include "SimPorts.h"
#include "StatusRecorder.h"
#include "WindowInput.h"
#include "files/SettingsRecord.h"
#include "ui/Setup.h"

#include <QRandomGenerator>
#include <QtTest>

#include <cmath>
#include <limits>

namespace {

const QString notRead = QStringLiteral("Sorry, Could Not Read File, please manually enter settings");
const QString someNotRead = QStringLiteral("Some Settings Were Not Read Correctly - Recheck All Settings");
const QString readFine = QStringLiteral("Settings Read From File");
constexpr float notANumber = std::numeric_limits<float>::quiet_NaN();
constexpr float infinite = std::numeric_limits<float>::infinity();

SensorSettings goodRecord()
{
    SensorSettings s;
    s.outputUnit = 3; s.timeUnit = 0; s.pipeId = 100; s.pipeIdUnit = 0; s.kFactor = 100;
    s.kFactorUnit = 1; s.setpoint4mA = 0; s.setpoint20mA = 5; s.lowFlowCutoff = 0.05f;
    s.averaging = 4; s.sensitivity = 2; s.noiseRejection = 1;
    return s;
}

QByteArray recordWith(void (*edit)(SensorSettings &))
{
    SensorSettings s = goodRecord();
    edit(s);
    return EncodeSettingsRecord(s);
}

// What a load must report, worked out apart from the tool: a record shows only with a K-factor
// and pipe ID inside their bounds once rounded as shown, finite loop values, list rows in range.
QString expectedMessage(const SensorSettings &s)
{
    const auto shown = [](float v) { return float(std::nearbyint(double(v) * 1e4) / 1e4); };
    const auto row = [](int r, int count) { return r >= 0 && r < count; };
    const bool good = shown(s.kFactor) > 0.0001f && shown(s.kFactor) < 999999.1f
        && shown(s.pipeId) > 0.01f && shown(s.pipeId) < 5000.0f && std::isfinite(shown(s.setpoint4mA))
        && std::isfinite(shown(s.setpoint20mA)) && std::isfinite(shown(s.lowFlowCutoff))
        && row(s.outputUnit, 8) && row(s.timeUnit, 4) && row(s.pipeIdUnit, 2) && row(s.kFactorUnit, 2)
        && row(s.sensitivity, 10) && row(s.noiseRejection, 2);
    return good ? readFine : someNotRead;
}

QString writeFile(const QTemporaryDir &dir, const QByteArray &bytes)
{
    static int serial = 0;
    const QString path = dir.filePath(QStringLiteral("f%1.bdf").arg(++serial));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
    return path;
}

// A window whose every entry holds a valid value other than the file's.
void fillEntries(Setup &window)
{
    typeText(window, Control::txtFactor, QStringLiteral("12.5"));
    typeText(window, Control::txtpipeid, QStringLiteral("25"));
    typeText(window, Control::txt4ma, QStringLiteral("1"));
    typeText(window, Control::txt20ma, QStringLiteral("2"));
    typeText(window, Control::txtlowflowcutoff, QStringLiteral("0.5"));
    for (Control list : {Control::cboutputunit, Control::cbtimeunit, Control::cbpipeidunit,
                         Control::cb_k_units, Control::cbAverging, Control::cbSensitivity, Control::cbRejection})
        window.setCurrentIndex(list, 1);
}

} // namespace

class BadFilesTest : public QObject
{
    Q_OBJECT
private slots:
    void shortFilesChangeNothing();
    void damagedRecords_data();
    void damagedRecords();
    void writeAfterBadFileSendsNothing_data();
    void writeAfterBadFileSendsNothing();
    void unshowableSensorValueEmptiesItsEntry();
};

void BadFilesTest::shortFilesChangeNothing()
{
    QTemporaryDir dir;
    FakeDialogs dialogs;
    Setup window(missingPorts());
    window.setFileDialogs(dialogs);
    fillEntries(window);
    const SensorSettings before = window.state().settings;
    QRandomGenerator random(34);
    for (int size = 0; size < settingsRecordSize; ++size) {
        QByteArray bytes(size, '\0');
        for (char &b : bytes)
            b = char(random.bounded(256));
        QCOMPARE(loadThroughWindow(window, dialogs, writeFile(dir, bytes)), notRead);
        QVERIFY(window.state().settings == before);
        QCOMPARE(window.text(Control::txtFactor), QStringLiteral("12.5"));
    }
    QVERIFY(actionButtonsEnabled(window));
}

void BadFilesTest::damagedRecords_data()
{
    QTest::addColumn<QByteArray>("bytes");
    using Edit = void (*)(SensorSettings &);
    const std::pair<const char *, Edit> edits[] = {
        {"K NaN", [](SensorSettings &s) { s.kFactor = notANumber; }},
        {"K infinite", [](SensorSettings &s) { s.kFactor = infinite; }},
        {"K negative", [](SensorSettings &s) { s.kFactor = -100; }},
        {"K rounds onto its bound", [](SensorSettings &s) { s.kFactor = 0.00011f; }},
        {"pipe NaN", [](SensorSettings &s) { s.pipeId = notANumber; }},
        {"pipe negative", [](SensorSettings &s) { s.pipeId = -4; }},
        {"pipe rounds onto its bound", [](SensorSettings &s) { s.pipeId = 0.01004f; }},
        {"4 mA NaN", [](SensorSettings &s) { s.setpoint4mA = notANumber; }},
        {"20 mA minus infinity", [](SensorSettings &s) { s.setpoint20mA = -infinite; }},
        {"cutoff largest float", [](SensorSettings &s) { s.lowFlowCutoff = std::numeric_limits<float>::max(); }},
        {"4 mA smallest subnormal", [](SensorSettings &s) { s.setpoint4mA = std::numeric_limits<float>::denorm_min(); }},
        {"output unit past the list", [](SensorSettings &s) { s.outputUnit = 8; }},
        {"no time unit", [](SensorSettings &s) { s.timeUnit = -1; }},
        {"pipe unit negative", [](SensorSettings &s) { s.pipeIdUnit = -32768; }},
        {"K unit past the list", [](SensorSettings &s) { s.kFactorUnit = 32767; }},
        {"averaging past the list", [](SensorSettings &s) { s.averaging = 11; }},
        {"sensitivity negative", [](SensorSettings &s) { s.sensitivity = -2; }},
        {"noise rejection past the list", [](SensorSettings &s) { s.noiseRejection = 2; }},
    };
    for (const auto &[name, edit] : edits)
        QTest::newRow(name) << recordWith(edit);
    QTest::newRow("longer file, good record first") << EncodeSettingsRecord(goodRecord()) + QByteArray(30, '\xff');
    QRandomGenerator random(6610);
    for (int n = 0; n < 24; ++n) {
        QByteArray bytes(settingsRecordSize + random.bounded(31), '\0');
        for (char &b : bytes)
            b = char(random.bounded(256));
        if (n % 2) // half of them with every list row in range, so the numbers decide
            for (int at : {0, 2, 8, 14, 28, 30, 32})
                bytes[at] = char(random.bounded(2)), bytes[at + 1] = 0;
        QTest::newRow(qPrintable(QStringLiteral("random %1").arg(n))) << bytes;
    }
}

void BadFilesTest::damagedRecords()
{
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    FakeDialogs dialogs;
    Setup window(missingPorts());
    window.setFileDialogs(dialogs);
    fillEntries(window);

    const SensorSettings record = *DecodeSettingsRecord(bytes);
    QCOMPARE(loadThroughWindow(window, dialogs, writeFile(dir, bytes)), expectedMessage(record));
    QVERIFY(actionButtonsEnabled(window));
    saveMustRoundTrip(window, dialogs, dir.filePath(QStringLiteral("saved.bdf")));
}

void BadFilesTest::writeAfterBadFileSendsNothing_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("K-factor zero, an earlier one in its box") << recordWith([](SensorSettings &s) { s.kFactor = 0; });
    QTest::newRow("no output unit, meter would stand in")
        << recordWith([](SensorSettings &s) { s.outputUnit = -1, s.pipeId = 10; });
    QTest::newRow("sensitivity past the list") << recordWith([](SensorSettings &s) { s.sensitivity = 99; });
    QTest::newRow("20 mA NaN") << recordWith([](SensorSettings &s) { s.setpoint20mA = notANumber; });
}

void BadFilesTest::writeAfterBadFileSendsNothing()
{
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    FakeDialogs dialogs;
    SimPorts ports;
    SimulatedPort &sim = ports.add(1);
    Setup window(ports.devicePaths());
    window.setFileDialogs(dialogs);
    fillEntries(window);
    QCOMPARE(loadThroughWindow(window, dialogs, writeFile(dir, bytes)), someNotRead);

    StatusRecorder status(window);
    QTest::mouseClick(window.control(Control::cmdSaveSensor), Qt::LeftButton);
    QVERIFY(!sim.received().contains("$2"));
    QCOMPARE(status.entries().last().colour, window.state().errorColor);
}

// A sensor's record is shown like a file's: a K-factor the window cannot hold leaves no earlier
// K-factor behind for the next write.
void BadFilesTest::unshowableSensorValueEmptiesItsEntry()
{
    SimPorts ports;
    SimulatedPort &sim = ports.add(1);
    sim.sensor().setValue(45, "0");
    Setup window(ports.devicePaths());
    fillEntries(window);
    StatusRecorder status(window);
    QTest::mouseClick(window.control(Control::cmdReadSensor), Qt::LeftButton);
    QCOMPARE(status.texts().last(), QStringLiteral("Some Settings Are Incorrect - Try Agian or Manually Edit"));
    QCOMPARE(window.text(Control::txtFactor), QString());

    QTest::mouseClick(window.control(Control::cmdSaveSensor), Qt::LeftButton);
    QCOMPARE(status.texts().last(), QStringLiteral("Please Enter A Valid Number For The K Factor"));
    QVERIFY(!sim.received().contains("$2"));
}

QTEST_MAIN(BadFilesTest)
#include "tst_badfiles.moc"
