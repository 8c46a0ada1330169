// The read and write workflows end to end: the real window, a real serial port on a
// pseudo-terminal, the simulated adaptor and sensor.
#include "SimPorts.h"
#include "StatusRecorder.h"
#include "WindowInput.h"
#include "link/AdaptorLink.h"
#include "platform/SerialPort.h"
#include "ui/Setup.h"

#include <QComboBox>
#include <QtTest>

namespace {

const QString lookingForSensor = QStringLiteral("Looking For A Sensor");

// Counts the command lines of one op code the sensor received.
int commandsWithOp(const SimulatedPort &port, char op)
{
    int n = 0;
    for (const QByteArray &line : port.commands())
        if (line.size() > 1 && line.at(1) == op)
            ++n;
    return n;
}

void click(Setup &window, Control button)
{
    QTest::mouseClick(window.control(button), Qt::LeftButton);
}

// A window whose application settings describe a litre-per-second installation with a
// K-factor of 100 pulses per litre.
void enterLitreInstallation(Setup &window)
{
    typeText(window, Control::txtFactor, QStringLiteral("100"));
    typeText(window, Control::txtpipeid, QStringLiteral("100"));
    window.setCurrentIndex(Control::cboutputunit, 3);
    window.setCurrentIndex(Control::cbtimeunit, 0);
    window.setCurrentIndex(Control::cbpipeidunit, 0);
    window.setCurrentIndex(Control::cb_k_units, 1);
}

void enterLoopAndPerformance(Setup &window, const QString &at4, const QString &at20, const QString &cutoff)
{
    typeText(window, Control::txt4ma, at4);
    typeText(window, Control::txt20ma, at20);
    typeText(window, Control::txtlowflowcutoff, cutoff);
    window.setCurrentIndex(Control::cbAverging, 4);
    window.setCurrentIndex(Control::cbSensitivity, 2);
    window.setCurrentIndex(Control::cbRejection, 1);
}

} // namespace

class WorkflowsTest : public QObject
{
    Q_OBJECT
private slots:
    void noAdaptorReportsAndResetsIdentity();
    void adaptorWithoutSensorReportsSensorSilent();
    void level20ReadShowsEverySettingAndKeepsTheLink();
    void failedReadSearchesAgainNextTime();
    void level12ReadNeedsApplicationSettings();
    void level12ReadConvertsIntoUserUnits();
    void writeThenReadRoundTrips();
    void outOfRangeWriteShowsLimitedValuesAndSendsNothing();
    void unusableInstallationSendsNothing_data();
    void unusableInstallationSendsNothing();
    void silentSensorWriteIsAFailure();
    void exitDuringEndPauseEndsAtOnce();
};

void WorkflowsTest::noAdaptorReportsAndResetsIdentity()
{
    Setup window(missingPorts());
    window.setText(Control::txttype, QStringLiteral("R2W"));
    StatusRecorder status(window);
    click(window, Control::cmdReadSensor);

    QCOMPARE(status.texts(), QStringList({lookingForSensor, "Could Not Find A 7-0410 R2W Adaptor"}));
    QCOMPARE(status.entries().first().colour, window.state().busyColor);
    QCOMPARE(status.entries().last().colour, window.state().errorColor);
    QVERIFY(!status.entries().first().actionButtonsEnabled);
    QCOMPARE(window.text(Control::txtserialnum), QStringLiteral("Not Read"));
    QCOMPARE(window.text(Control::txttype), QStringLiteral("Not Read"));
    QCOMPARE(window.state().linkState, LinkState::NoAdaptor);
    QVERIFY(actionButtonsEnabled(window));
}

void WorkflowsTest::adaptorWithoutSensorReportsSensorSilent()
{
    SimPorts ports;
    ports.add(1, adaptorOnly());
    Setup window(ports.devicePaths());
    StatusRecorder status(window);
    click(window, Control::cmdSaveSensor);

    QCOMPARE(status.texts().last(), QStringLiteral("Could Not Talk To Sensor - Check Sensor Type, Power and Wiring"));
    QCOMPARE(status.entries().last().colour, window.state().errorColor);
    QCOMPARE(window.state().linkState, LinkState::NoSensor);
    QCOMPARE(commandsWithOp(ports.at(1), '2'), 0);
    QVERIFY(!window.link().isOpen());
    QVERIFY(actionButtonsEnabled(window));
}

void WorkflowsTest::level20ReadShowsEverySettingAndKeepsTheLink()
{
    SimPorts ports;
    SimulatedPort &sim = ports.add(1);
    sim.sensor().setValue(28, "12.5");
    Setup window(ports.devicePaths());
    StatusRecorder status(window);

    click(window, Control::cmdReadSensor);
    QCOMPARE(status.texts().last(), QStringLiteral("Sensor Settings Read "));
    QCOMPARE(status.entries().last().colour, window.state().goodColor);
    for (const StatusEntry &entry : status.entries().mid(0, status.entries().size()))
        QVERIFY2(!entry.actionButtonsEnabled, qPrintable(entry.text));
    QVERIFY(actionButtonsEnabled(window));
    QCOMPARE(window.state().linkState, LinkState::Connected);
    QCOMPARE(window.text(Control::txttype), QStringLiteral("4-20mA"));
    QCOMPARE(window.text(Control::txtserialnum), QStringLiteral("DV12345678"));
    QCOMPARE(window.text(Control::txt20ma), QStringLiteral("12.5"));
    QCOMPARE(window.text(Control::txtFactor), QStringLiteral("1"));
    QCOMPARE(window.text(Control::cboutputunit), QStringLiteral("meter"));
    QCOMPARE(window.text(Control::cbtimeunit), QStringLiteral("min"));
    QCOMPARE(window.text(Control::cbAverging), QStringLiteral(" 1/2   second"));
    QCOMPARE(window.text(Control::cbRejection), QStringLiteral("50 Hz"));
    QCOMPARE(window.text(Control::lbunit1), QStringLiteral("m/min"));

    // The sensor stays connected: the second read goes straight to it.
    status.clear();
    sim.clearLog();
    click(window, Control::cmdReadSensor);
    QVERIFY(!status.showed(lookingForSensor));
    QVERIFY(!sim.received().contains("Hello"));
    QCOMPARE(status.texts().last(), QStringLiteral("Sensor Settings Read "));
}

void WorkflowsTest::failedReadSearchesAgainNextTime()
{
    SimPorts ports;
    SimulatedPort &sim = ports.add(1, SimConfig().withFault(1, 27, SimFault::Refuse));
    Setup window(ports.devicePaths());
    StatusRecorder status(window);

    click(window, Control::cmdReadSensor);
    QCOMPARE(status.texts().last(), QStringLiteral("Could Not Read All Of The Settings - Check Wiring"));
    QCOMPARE(status.entries().last().colour, window.state().errorColor);
    QCOMPARE(window.state().linkState, LinkState::NoAdaptor);
    QCOMPARE(window.text(Control::txtserialnum), QStringLiteral("Not Read"));

    sim.config().faults.clear();
    status.clear();
    click(window, Control::cmdReadSensor);
    QCOMPARE(status.texts().first(), lookingForSensor);
    QCOMPARE(status.texts().last(), QStringLiteral("Sensor Settings Read "));
}

void WorkflowsTest::level12ReadNeedsApplicationSettings()
{
    SimConfig config;
    config.level = 12;
    SimPorts ports;
    ports.add(1, config);
    Setup window(ports.devicePaths());
    StatusRecorder status(window);

    click(window, Control::cmdReadSensor);
    QCOMPARE(status.texts().last(), QStringLiteral("Please Enter A Valid Number For The K Factor"));
    QCOMPARE(window.background(Control::txtFactor), window.state().errorColor);
    QCOMPARE(window.text(Control::txt20ma), QString()); // nothing read is shown
    QCOMPARE(window.text(Control::cbAverging), QString());
    QVERIFY(actionButtonsEnabled(window));

    // The next click clears the mark before anything else.
    ColourValue markWhileReading = 0;
    status.onText(QStringLiteral("Reading The Sensor Settings"), [&] {
        markWhileReading = window.background(Control::txtFactor);
    });
    click(window, Control::cmdReadSensor);
    QCOMPARE(markWhileReading, window.state().normalColor);
    QCOMPARE(window.background(Control::txtFactor), window.state().errorColor);
}

void WorkflowsTest::level12ReadConvertsIntoUserUnits()
{
    SimConfig config;
    config.level = 12;
    SimPorts ports;
    SimulatedPort &sim = ports.add(1, config);
    sim.sensor().setValue(11, "5");
    sim.sensor().setValue(10, "-2.5");
    sim.sensor().setValue(6, "0.25");
    Setup window(ports.devicePaths());
    enterLitreInstallation(window);
    StatusRecorder status(window);

    click(window, Control::cmdReadSensor);
    QCOMPARE(status.texts().last(),
             QStringLiteral("Sensor Settings Read - Make Sure The Application Settings Match The Installation"));
    QCOMPARE(status.entries().last().colour, window.state().goodColor);
    // litre/sec at 100 pulses per litre: one sensor unit is one litre per second
    QCOMPARE(window.text(Control::txt20ma), QStringLiteral("5"));
    QCOMPARE(window.text(Control::txt4ma), QStringLiteral("-2.5"));
    QCOMPARE(window.text(Control::txtlowflowcutoff), QStringLiteral("0.25"));
    QCOMPARE(window.text(Control::txttype), QStringLiteral("4-20mA"));
    QCOMPARE(window.text(Control::cbRejection), QStringLiteral("50 Hz"));
}

void WorkflowsTest::writeThenReadRoundTrips()
{
    SimPorts ports;
    SimulatedPort &sim = ports.add(1);
    Setup window(ports.devicePaths());
    enterLitreInstallation(window);
    enterLoopAndPerformance(window, "-2.5", "5", "0.25");
    StatusRecorder status(window);

    click(window, Control::cmdSaveSensor);
    QCOMPARE(status.texts().last(), QStringLiteral("Sensor Settings Written"));
    QCOMPARE(status.entries().last().colour, window.state().goodColor);
    QCOMPARE(sim.sensor().value(9), QByteArray("5"));    // 20 mA in the sensor's unit
    QCOMPARE(sim.sensor().value(27), QByteArray("-2.5")); // 4 mA in the user's unit
    QCOMPARE(sim.sensor().value(35), QByteArray("3"));
    QVERIFY(actionButtonsEnabled(window));

    // A fresh window reads back what was written.
    Setup other(ports.devicePaths());
    window.link().ClosePort();
    click(other, Control::cmdReadSensor);
    for (Control c : {Control::txtFactor, Control::txtpipeid, Control::txt4ma, Control::txt20ma,
                      Control::txtlowflowcutoff, Control::cboutputunit, Control::cbtimeunit,
                      Control::cbpipeidunit, Control::cb_k_units, Control::cbAverging,
                      Control::cbSensitivity, Control::cbRejection})
        QCOMPARE(other.text(c), window.text(c));
}

void WorkflowsTest::outOfRangeWriteShowsLimitedValuesAndSendsNothing()
{
    SimPorts ports;
    SimulatedPort &sim = ports.add(1);
    Setup window(ports.devicePaths());
    enterLitreInstallation(window);
    enterLoopAndPerformance(window, "0", "20", "0.05");
    StatusRecorder status(window);

    click(window, Control::cmdSaveSensor);
    QCOMPARE(status.texts().last(), QStringLiteral("Some settings were out of range - Please Re-Check"));
    QCOMPARE(status.entries().last().colour, window.state().errorColor);
    QCOMPARE(window.text(Control::txt20ma), QStringLiteral("10")); // limited, shown back in litres/sec
    QCOMPARE(window.background(Control::txt20ma), window.state().errorColor);
    QCOMPARE(commandsWithOp(sim, '2'), 0);
    QCOMPARE(commandsWithOp(sim, '3'), 0);
    QVERIFY(actionButtonsEnabled(window));
}

void WorkflowsTest::unusableInstallationSendsNothing_data()
{
    QTest::addColumn<QString>("kFactor");
    QTest::addColumn<QString>("pipeId");
    QTest::addColumn<int>("outputUnit");
    QTest::addColumn<int>("marked"); // Control

    QTest::newRow("K-factor zero") << "0" << "100" << 3 << int(Control::txtFactor);
    QTest::newRow("K-factor at the lower bound") << "0.0001" << "100" << 3 << int(Control::txtFactor);
    QTest::newRow("velocity with pipe ID zero") << "100" << "0" << 0 << int(Control::txtpipeid);
    QTest::newRow("velocity with pipe ID 5000") << "100" << "5000" << 1 << int(Control::txtpipeid);
}

void WorkflowsTest::unusableInstallationSendsNothing()
{
    QFETCH(QString, kFactor);
    QFETCH(QString, pipeId);
    QFETCH(int, outputUnit);
    QFETCH(int, marked);
    SimPorts ports;
    SimulatedPort &sim = ports.add(1);
    Setup window(ports.devicePaths());
    enterLitreInstallation(window);
    typeText(window, Control::txtFactor, kFactor);
    typeText(window, Control::txtpipeid, pipeId);
    window.setCurrentIndex(Control::cboutputunit, outputUnit);
    enterLoopAndPerformance(window, "0", "1", "0");
    StatusRecorder status(window);

    click(window, Control::cmdSaveSensor);
    QCOMPARE(status.texts().last(), QStringLiteral("Some settings were out of range - Please Re-Check"));
    QCOMPARE(window.background(Control(marked)), window.state().errorColor);
    QCOMPARE(commandsWithOp(sim, '2'), 0);
    QVERIFY(actionButtonsEnabled(window));
}

void WorkflowsTest::silentSensorWriteIsAFailure()
{
    SimPorts ports;
    SimulatedPort &sim = ports.add(1);
    Setup window(ports.devicePaths());
    enterLitreInstallation(window);
    enterLoopAndPerformance(window, "0", "5", "0.05");
    click(window, Control::cmdReadSensor); // connects
    QCOMPARE(window.state().linkState, LinkState::Connected);
    enterLitreInstallation(window);
    enterLoopAndPerformance(window, "0", "5", "0.05");

    sim.config().silentAfterIdentification = true;
    StatusRecorder status(window);
    click(window, Control::cmdSaveSensor);
    QCOMPARE(status.texts().last(), QStringLiteral("Could Not Write All Of The Settings - Check Power and Wiring"));
    QCOMPARE(status.entries().last().colour, window.state().errorColor);
    QCOMPARE(window.state().linkState, LinkState::NoAdaptor);
}

void WorkflowsTest::exitDuringEndPauseEndsAtOnce()
{
    SimPorts ports;
    ports.add(1);
    Setup window(ports.devicePaths());
    window.show();
    StatusRecorder status(window);
    // Exit is clicked inside the 250 ms pause that follows the final message.
    status.onText(QStringLiteral("Sensor Settings Read "), [&window] {
        QTimer::singleShot(50, &window, [&window] { click(window, Control::cmdok); });
    });
    click(window, Control::cmdReadSensor);

    QCOMPARE(status.texts().last(), QStringLiteral("Sensor Settings Read "));
    QVERIFY(actionButtonsDisabled(window)); // nothing ran after Exit
    QVERIFY(!window.link().isOpen());
    QVERIFY(!window.isVisible());
}

QTEST_MAIN(WorkflowsTest)
#include "tst_workflows.moc"
