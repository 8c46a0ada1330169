// The read and write workflows end to end where the fault campaign does not reach: the real
// window, a real serial port on a pseudo-terminal, the simulated adaptor and sensor.
#include "SimPorts.h"
#include "StatusRecorder.h"
#include "WindowInput.h"
#include "ui/Setup.h"

#include <QtTest>

namespace {

// A window connected to a simulated sensor at COM1, as a search leaves it, and its status history.
struct Rig
{
    explicit Rig(int level = 20) : sim(ports.add(1, config(level))), window(ports.devicePaths()), status(window)
    {
        if (window.link().OpenPort(1) == 1)
            window.state().linkState = LinkState::Connected;
    }
    static SimConfig config(int level)
    {
        SimConfig config;
        config.level = level;
        config.charMs = 0.1;
        return config;
    }

    void click(Control button) { QTest::mouseClick(window.control(button), Qt::LeftButton); }
    QString last() const { return status.texts().last(); }
    ColourValue lastColour() const { return status.entries().last().colour; }

    // 4 mA, 20 mA, cutoff, K-factor, pipe ID; litre per second, K-factor 100 pulses per litre: one
    // sensor unit is one litre per second.
    void enter(const QStringList &texts, int outputUnit = 3)
    {
        const Control boxes[] = {Control::txt4ma, Control::txt20ma, Control::txtlowflowcutoff, Control::txtFactor,
                                 Control::txtpipeid};
        for (int i = 0; i < texts.size(); ++i)
            typeText(window, boxes[i], texts[i]);
        const std::pair<Control, int> rows[] = {{Control::cboutputunit, outputUnit}, {Control::cbtimeunit, 0},
            {Control::cbpipeidunit, 0}, {Control::cb_k_units, 1}, {Control::cbAverging, 4},
            {Control::cbSensitivity, 2}, {Control::cbRejection, 1}};
        for (const auto &[list, row] : rows)
            window.setCurrentIndex(list, row);
    }

    SimPorts ports;
    SimulatedPort &sim;
    Setup window;
    StatusRecorder status;
};

} // namespace

class WorkflowsTest : public QObject
{
    Q_OBJECT
private slots:
    void level12ReadNeedsAndUsesApplicationSettings();
    void writeThenReadRoundTrips();
    void refusedBeforeSending_data();
    void refusedBeforeSending();
    void exitDuringEndPauseEndsAtOnce();
};

// A level-12 sensor keeps its loop values in its own unit: without a K-factor nothing is shown.
void WorkflowsTest::level12ReadNeedsAndUsesApplicationSettings()
{
    Rig rig(12);
    for (const auto &[param, value] : {std::pair(11, "5"), {10, "-2.5"}, {6, "0.25"}})
        rig.sim.sensor().setValue(param, value);
    rig.click(Control::cmdReadSensor);
    QCOMPARE(rig.last(), QStringLiteral("Please Enter A Valid Number For The K Factor"));
    QCOMPARE(rig.window.background(Control::txtFactor), rig.window.state().errorColor);
    QCOMPARE(rig.window.text(Control::txt20ma), QString());

    rig.enter({"", "", "", "100", "100"});
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
    rig.enter({"-2.5", "5", "0.25", "100", "100"});
    rig.click(Control::cmdSaveSensor);
    QCOMPARE(rig.last(), QStringLiteral("Sensor Settings Written"));
    QCOMPARE(rig.lastColour(), rig.window.state().goodColor);
    QCOMPARE(rig.sim.sensor().value(9), QByteArray("5")); // 20 mA in the sensor's unit
    QCOMPARE(rig.sim.sensor().value(27), QByteArray("-2.5"));

    rig.window.link().ClosePort();
    Setup other(rig.ports.devicePaths());
    QTest::mouseClick(other.control(Control::cmdReadSensor), Qt::LeftButton); // a real search
    QCOMPARE(other.text(Control::txtserialnum), QStringLiteral("DV12345678"));
    QCOMPARE(other.text(Control::txttype), QStringLiteral("4-20mA"));
    for (Control c : {Control::txtFactor, Control::txtpipeid, Control::txt4ma, Control::txt20ma,
                      Control::txtlowflowcutoff, Control::cboutputunit, Control::cbtimeunit, Control::cbpipeidunit,
                      Control::cb_k_units, Control::cbAverging, Control::cbSensitivity, Control::cbRejection})
        QCOMPARE(other.text(c), rig.window.text(c));
}

// Entries the sensor cannot take are refused before anything goes out; a value beyond the sensor
// is shown as limited.
void WorkflowsTest::refusedBeforeSending_data()
{
    QTest::addColumn<QStringList>("entries"); // 4 mA, 20 mA, cutoff, K-factor, pipe ID
    QTest::addColumn<int>("outputUnit");
    QTest::addColumn<Control>("marked");
    QTest::addColumn<QString>("shown20mA");
    QTest::newRow("20 mA beyond the sensor") << QStringList{"0", "20", "0.05", "100", "100"} << 3 << Control::txt20ma << "10";
    QTest::newRow("K-factor rounded onto its bound") << QStringList{"0", "1", "0", "0.0001", "100"} << 3 << Control::txtFactor << "1";
    QTest::newRow("velocity, pipe ID zero") << QStringList{"0", "1", "0", "100", "0"} << 0 << Control::txtpipeid << "1";
    QTest::newRow("velocity, pipe ID 5000") << QStringList{"0", "1", "0", "100", "5000"} << 1 << Control::txtpipeid << "1";
}

void WorkflowsTest::refusedBeforeSending()
{
    QFETCH(QStringList, entries);
    QFETCH(int, outputUnit);
    QFETCH(Control, marked);
    QFETCH(QString, shown20mA);
    Rig rig;
    rig.enter(entries, outputUnit);
    rig.click(Control::cmdSaveSensor);
    QCOMPARE(rig.last(), QStringLiteral("Some settings were out of range - Please Re-Check"));
    QCOMPARE(rig.lastColour(), rig.window.state().errorColor);
    QCOMPARE(rig.window.background(marked), rig.window.state().errorColor);
    QCOMPARE(rig.window.text(Control::txt20ma), shown20mA);
    QVERIFY(rig.sim.received().isEmpty());
    QVERIFY(actionButtonsEnabled(rig.window));
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
