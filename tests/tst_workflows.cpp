// The read and write workflows end to end: the real window, a real serial port on a
// pseudo-terminal, the simulated adaptor and sensor.
#include "SimPorts.h"
#include "StatusRecorder.h"
#include "WindowInput.h"
#include "link/AdaptorLink.h"
#include "ui/Setup.h"

#include <QtTest>

#include <algorithm>
#include <optional>

namespace {

const QString looking = QStringLiteral("Looking For A Sensor");
const QString outOfRange = QStringLiteral("Some settings were out of range - Please Re-Check");

// A window with a simulated sensor on COM1 (no sensor when config is null) and its status history.
struct Rig
{
    explicit Rig(const std::optional<SimConfig> &config = SimConfig())
        : sim(config ? &ports.add(1, *config) : nullptr), window(ports.devicePaths()), status(window) {}

    void click(Control button) { QTest::mouseClick(window.control(button), Qt::LeftButton); }
    QString last() const { return status.texts().last(); }
    ColourValue lastColour() const { return status.entries().last().colour; }
    int writes() const
    {
        const QList<QByteArray> lines = sim->commands();
        return int(std::count_if(lines.begin(), lines.end(), [](const QByteArray &l) { return l.startsWith("$2,"); }));
    }

    // litre per second, K-factor 100 pulses per litre: one sensor unit is one litre per second
    void enter(const QString &at4 = "0", const QString &at20 = "5", const QString &cutoff = "0.05",
               const QString &kFactor = "100", const QString &pipeId = "100", int outputUnit = 3)
    {
        const std::pair<Control, QString> texts[] = {{Control::txtFactor, kFactor}, {Control::txtpipeid, pipeId},
            {Control::txt4ma, at4}, {Control::txt20ma, at20}, {Control::txtlowflowcutoff, cutoff}};
        for (const auto &[box, text] : texts)
            typeText(window, box, text);
        const std::pair<Control, int> rows[] = {{Control::cboutputunit, outputUnit}, {Control::cbtimeunit, 0},
            {Control::cbpipeidunit, 0}, {Control::cb_k_units, 1}, {Control::cbAverging, 4},
            {Control::cbSensitivity, 2}, {Control::cbRejection, 1}};
        for (const auto &[list, row] : rows)
            window.setCurrentIndex(list, row);
    }

    SimPorts ports;
    SimulatedPort *sim;
    Setup window;
    StatusRecorder status;
};

SimConfig level12()
{
    SimConfig config;
    config.level = 12;
    return config;
}

} // namespace

class WorkflowsTest : public QObject
{
    Q_OBJECT
private slots:
    void failedSearch_data();
    void failedSearch();
    void readKeepsTheLinkUntilAReadFails();
    void level12ReadNeedsAndUsesApplicationSettings();
    void writeThenReadRoundTrips();
    void refusedBeforeSending_data();
    void refusedBeforeSending();
    void silentSensorWriteIsAFailure();
    void exitDuringEndPauseEndsAtOnce();
};

void WorkflowsTest::failedSearch_data()
{
    QTest::addColumn<bool>("adaptor");
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("message");
    QTest::addColumn<LinkState>("state");
    QTest::newRow("no adaptor, read") << false << int(Control::cmdReadSensor)
                                      << "Could Not Find A 7-0410 R2W Adaptor" << LinkState::NoAdaptor;
    QTest::newRow("adaptor without sensor, write") << true << int(Control::cmdSaveSensor)
        << "Could Not Talk To Sensor - Check Sensor Type, Power and Wiring" << LinkState::NoSensor;
}

void WorkflowsTest::failedSearch()
{
    QFETCH(bool, adaptor);
    QFETCH(int, button);
    QFETCH(QString, message);
    QFETCH(LinkState, state);
    Rig rig(adaptor ? std::optional(adaptorOnly()) : std::nullopt);
    rig.window.setText(Control::txttype, QStringLiteral("R2W"));
    rig.click(Control(button));

    QCOMPARE(rig.status.texts(), QStringList({looking, message}));
    QCOMPARE(rig.status.entries().first().colour, rig.window.state().busyColor);
    QVERIFY(!rig.status.entries().first().actionButtonsEnabled);
    QCOMPARE(rig.lastColour(), rig.window.state().errorColor);
    QCOMPARE(rig.window.text(Control::txttype), QStringLiteral("Not Read"));
    QCOMPARE(rig.window.text(Control::txtserialnum), QStringLiteral("Not Read"));
    QCOMPARE(rig.window.state().linkState, state);
    QVERIFY(!rig.window.link().isOpen());
    QVERIFY(actionButtonsEnabled(rig.window));
}

void WorkflowsTest::readKeepsTheLinkUntilAReadFails()
{
    Rig rig;
    rig.sim->sensor().setValue(28, "12.5");
    rig.click(Control::cmdReadSensor);
    QCOMPARE(rig.last(), QStringLiteral("Sensor Settings Read "));
    QCOMPARE(rig.lastColour(), rig.window.state().goodColor);
    for (const StatusEntry &entry : rig.status.entries())
        QVERIFY2(!entry.actionButtonsEnabled, qPrintable(entry.text));
    QVERIFY(actionButtonsEnabled(rig.window));
    const QStringList shown = {rig.window.text(Control::txttype), rig.window.text(Control::txtserialnum),
        rig.window.text(Control::txt20ma), rig.window.text(Control::cbAverging), rig.window.text(Control::lbunit1)};
    QCOMPARE(shown, QStringList({"4-20mA", "DV12345678", "12.5", " 1/2   second", "m/min"}));

    // Connected: the next read goes straight to the sensor.
    rig.status.clear();
    rig.sim->clearLog();
    rig.sim->config().withFault(1, 27, SimFault::Refuse);
    rig.click(Control::cmdReadSensor);
    QVERIFY(!rig.status.showed(looking));
    QVERIFY(!rig.sim->received().contains("Hello"));
    QCOMPARE(rig.last(), QStringLiteral("Could Not Read All Of The Settings - Check Wiring"));
    QCOMPARE(rig.lastColour(), rig.window.state().errorColor);
    QCOMPARE(rig.window.state().linkState, LinkState::NoAdaptor);
    QCOMPARE(rig.window.text(Control::txtserialnum), QStringLiteral("Not Read"));

    // A failed read makes the next click search again.
    rig.sim->config().faults.clear();
    rig.status.clear();
    rig.click(Control::cmdReadSensor);
    QCOMPARE(rig.status.texts().first(), looking);
    QCOMPARE(rig.last(), QStringLiteral("Sensor Settings Read "));
}

void WorkflowsTest::level12ReadNeedsAndUsesApplicationSettings()
{
    Rig rig(level12());
    for (const auto &[param, value] : {std::pair(11, "5"), {10, "-2.5"}, {6, "0.25"}})
        rig.sim->sensor().setValue(param, value);
    rig.click(Control::cmdReadSensor);
    QCOMPARE(rig.last(), QStringLiteral("Please Enter A Valid Number For The K Factor"));
    QCOMPARE(rig.window.background(Control::txtFactor), rig.window.state().errorColor);
    QCOMPARE(rig.window.text(Control::txt20ma), QString()); // nothing read is shown

    rig.enter("", "", "", "100");
    ColourValue markWhileReading = 0;
    rig.status.onText(QStringLiteral("Reading The Sensor Settings"),
                      [&] { markWhileReading = rig.window.background(Control::txtFactor); });
    rig.click(Control::cmdReadSensor);
    QCOMPARE(markWhileReading, rig.window.state().normalColor); // cleared before anything else
    QCOMPARE(rig.last(), QStringLiteral("Sensor Settings Read - Make Sure The Application Settings Match The Installation"));
    QCOMPARE(rig.lastColour(), rig.window.state().goodColor);
    const QStringList loop = {rig.window.text(Control::txt4ma), rig.window.text(Control::txt20ma),
                              rig.window.text(Control::txtlowflowcutoff), rig.window.text(Control::cbRejection)};
    QCOMPARE(loop, QStringList({"-2.5", "5", "0.25", "50 Hz"}));
}

void WorkflowsTest::writeThenReadRoundTrips()
{
    Rig rig;
    rig.enter("-2.5", "5", "0.25");
    rig.click(Control::cmdSaveSensor);
    QCOMPARE(rig.last(), QStringLiteral("Sensor Settings Written"));
    QCOMPARE(rig.lastColour(), rig.window.state().goodColor);
    QCOMPARE(rig.sim->sensor().value(9), QByteArray("5")); // 20 mA in the sensor's unit
    QCOMPARE(rig.sim->sensor().value(27), QByteArray("-2.5"));

    Setup other(rig.ports.devicePaths());
    rig.window.link().ClosePort();
    QTest::mouseClick(other.control(Control::cmdReadSensor), Qt::LeftButton);
    for (Control c : {Control::txtFactor, Control::txtpipeid, Control::txt4ma, Control::txt20ma,
                      Control::txtlowflowcutoff, Control::cboutputunit, Control::cbtimeunit, Control::cbpipeidunit,
                      Control::cb_k_units, Control::cbAverging, Control::cbSensitivity, Control::cbRejection})
        QCOMPARE(other.text(c), rig.window.text(c));
}

void WorkflowsTest::refusedBeforeSending_data()
{
    QTest::addColumn<QStringList>("entries"); // 4 mA, 20 mA, cutoff, K-factor, pipe ID
    QTest::addColumn<int>("outputUnit");
    QTest::addColumn<int>("marked");
    QTest::addColumn<QString>("shown20mA");
    QTest::newRow("20 mA beyond the sensor, shown limited")
        << QStringList{"0", "20", "0.05", "100", "100"} << 3 << int(Control::txt20ma) << "10";
    QTest::newRow("K-factor zero") << QStringList{"0", "1", "0", "0", "100"} << 3 << int(Control::txtFactor) << "1";
    QTest::newRow("K-factor at its bound") << QStringList{"0", "1", "0", "0.0001", "100"} << 3 << int(Control::txtFactor) << "1";
    QTest::newRow("velocity, pipe ID zero") << QStringList{"0", "1", "0", "100", "0"} << 0 << int(Control::txtpipeid) << "1";
    QTest::newRow("velocity, pipe ID 5000") << QStringList{"0", "1", "0", "100", "5000"} << 1 << int(Control::txtpipeid) << "1";
}

void WorkflowsTest::refusedBeforeSending()
{
    QFETCH(QStringList, entries);
    QFETCH(int, outputUnit);
    QFETCH(int, marked);
    QFETCH(QString, shown20mA);
    Rig rig;
    rig.enter(entries[0], entries[1], entries[2], entries[3], entries[4], outputUnit);
    rig.click(Control::cmdSaveSensor);
    QCOMPARE(rig.last(), outOfRange);
    QCOMPARE(rig.lastColour(), rig.window.state().errorColor);
    QCOMPARE(rig.window.background(Control(marked)), rig.window.state().errorColor);
    QCOMPARE(rig.window.text(Control::txt20ma), shown20mA);
    QCOMPARE(rig.writes(), 0);
    QVERIFY(actionButtonsEnabled(rig.window));
}

void WorkflowsTest::silentSensorWriteIsAFailure()
{
    Rig rig;
    rig.enter();
    rig.click(Control::cmdReadSensor); // connects, and shows what the sensor holds
    rig.enter();
    rig.sim->config().silentAfterIdentification = true;
    rig.click(Control::cmdSaveSensor);
    QCOMPARE(rig.last(), QStringLiteral("Could Not Write All Of The Settings - Check Power and Wiring"));
    QCOMPARE(rig.lastColour(), rig.window.state().errorColor);
    QCOMPARE(rig.window.state().linkState, LinkState::NoAdaptor);
}

void WorkflowsTest::exitDuringEndPauseEndsAtOnce()
{
    Rig rig;
    rig.window.show();
    rig.status.onText(QStringLiteral("Sensor Settings Read "), [&rig] {
        QTimer::singleShot(50, &rig.window, [&rig] { rig.click(Control::cmdok); });
    });
    rig.click(Control::cmdReadSensor);
    QCOMPARE(rig.last(), QStringLiteral("Sensor Settings Read "));
    QVERIFY(actionButtonsDisabled(rig.window)); // nothing ran after Exit
    QVERIFY(!rig.window.link().isOpen());
    QVERIFY(!rig.window.isVisible());
}

QTEST_MAIN(WorkflowsTest)
#include "tst_workflows.moc"
