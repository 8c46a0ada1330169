// The simulator's faults on the commands of identification, reading, writing and reading back at both levels,
// through the real window: what the user is told, and what reaches the sensor.
#include "SimPorts.h"
#include "StatusRecorder.h"
#include "WindowInput.h"
#include "protocol/ParameterTable.h"
#include "ui/Setup.h"

#include <QLabel>
#include <QtTest>

#include <algorithm>
#include <map>

namespace {

enum class Stage { Identify, Read, Write, Check }; // Check: reading back after a write

struct Scenario { int level; Stage stage; int op; int param; SimFault fault; }; // "$1,9": op 1, parameter 9

const QString looking = QStringLiteral("Looking For A Sensor");

// In the sensor before a write: no value the window sends.
QByteArray untouched(const Parameter &p) { return p.form == TextForm::Frequency ? "50" : "-9"; }

constexpr std::pair<SimFault, const char *> faults[] = {
    {SimFault::Refuse, "Refuse"},   {SimFault::Silent, "Silent"},       {SimFault::NoAnswer, "NoAnswer"},
    {SimFault::Garbage, "Garbage"}, {SimFault::Truncated, "Truncated"}, {SimFault::Extra, "Extra"},
    {SimFault::Late, "Late"},       {SimFault::HangUp, "HangUp"},
};

bool readable(const Scenario &s)
{
    const std::vector<Parameter> &table = TableForLevel(std::int16_t(s.level)).parameters;
    return std::any_of(table.begin(), table.end(), [&s](const Parameter &p) { return p.number == s.param && p.readLimit; });
}

// What a sound tool tells after the fault. A write needs its echo and no refusal (an answer cut off
// may be the start of one), then every value read back whole and as sent: a write left unanswered
// here is also not stored. A read needs every answer whole; the level probe only asks whether the
// sensor refuses it.
QString outcome(const Scenario &s)
{
    const SimFault f = s.fault;
    const QString written = "Sensor Settings Written", failed = "Could Not Write All Of The Settings - Check Power and Wiring";
    if (s.stage == Stage::Check)
        return f == SimFault::Extra ? written : failed;
    if (s.stage == Stage::Write && f == SimFault::NoAnswer && s.op == 2 && readable(s))
        return QStringLiteral("Sensor Did Not Keep All Of The Settings - Write Again");
    if (s.stage == Stage::Write)
        return f == SimFault::NoAnswer || f == SimFault::Garbage || f == SimFault::Extra || f == SimFault::Late ? written : failed;
    const bool whole = s.param != levelProbeParameter ? f == SimFault::Extra
        : s.level == 12 ? f == SimFault::Refuse || f == SimFault::Extra : f != SimFault::Refuse && f != SimFault::HangUp;
    if (!whole)
        return QStringLiteral("Could Not Read All Of The Settings - Check Wiring");
    return s.level == 20 ? "Sensor Settings Read "
                         : "Sensor Settings Read - Make Sure The Application Settings Match The Installation";
}

// The start of a command on the line: "$1,9\r"; a write's "$2,9," goes on with the key and value.
QByteArray commandStart(int op, int param)
{
    return QStringLiteral("$%1,%2%3").arg(op).arg(param).arg(op < 2 ? '\r' : ',').toLatin1();
}

void click(Setup &window, Control button)
{
    QTest::mouseClick(window.control(button), Qt::LeftButton);
}

// A window on a simulated sensor at COM1, its entries unlike the sensor's values; connected as a search leaves it.
struct Rig
{
    explicit Rig(int level, CommandFault fault = {}, bool connected = true)
        : sim(sims.add(1, config(level, fault))), window(sims.devicePaths())
    {
        const std::pair<Control, QString> texts[] = {{Control::txtFactor, "100"}, {Control::txtpipeid, "150"},
            {Control::txt4ma, "-2.5"}, {Control::txt20ma, "7.25"}, {Control::txtlowflowcutoff, "0.125"}};
        const std::pair<Control, int> rows[] = {{Control::cboutputunit, 3}, {Control::cbtimeunit, 0}, {Control::cbpipeidunit, 0},
            {Control::cb_k_units, 1}, {Control::cbAverging, 4}, {Control::cbSensitivity, 2}, {Control::cbRejection, 0}};
        for (const auto &[box, text] : texts)
            typeText(window, box, text);
        for (const auto &[list, row] : rows)
            window.setCurrentIndex(list, row);
        if (connected && window.link().OpenPort(1) == 1)
            window.state().linkState = LinkState::Connected;
        if (fault.fault != SimFault::HangUp)
            return;
        // Unplugged while the answer is awaited, after the whole echo: the simulator's own HangUp cuts
        // the echo short, which fails on the echo alone.
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("lost:")));
        sim.config().faults = {{fault.op, fault.param, SimFault::NoAnswer}};
        watch = onCommand(sim, commandStart(fault.op, fault.param),
                          [this] { QTimer::singleShot(30, &sim, &SimulatedPort::hangUp); });
    }
    static SimConfig config(int level, CommandFault fault)
    {
        SimConfig config;
        config.level = level;
        config.charMs = 0.1; // the line's speed is not what this campaign is about
        config.latencyMs = 1;
        config.lateMs = 160; // past the time-out, in the pause after it: the next command clears it
        config.faults = {fault};
        return config;
    }
    SimPorts sims;
    SimulatedPort &sim;
    Setup window;
    std::unique_ptr<QTimer> watch; // the line, for the command to unplug after
};

// What every click ending in a message shows: busy with the buttons off until then.
void checkEnd(const StatusRecorder &status, Setup &window, const QString &message, bool good)
{
    QCOMPARE(status.texts().last(), message);
    QCOMPARE(status.entries().last().colour, good ? window.state().goodColor : window.state().errorColor);
    QCOMPARE(status.entries().first().colour, window.state().busyColor);
    for (const StatusEntry &entry : status.entries())
        QVERIFY2(!entry.actionButtonsEnabled, qPrintable(entry.text));
}

} // namespace

Q_DECLARE_METATYPE(Scenario)

class FaultCampaignTest : public QObject
{
    Q_OBJECT
private slots:
    void campaign_data();
    void campaign();
    void failedSearches();

private:
    std::map<int, QStringList> m_shown; // per level, by a fault-free read
    std::map<int, std::map<int, QByteArray>> m_stored; // per level, by a fault-free write
};

// Every command of identification, reading, writing and reading back, at both levels, meets every fault.
void FaultCampaignTest::campaign_data()
{
    QTest::addColumn<Scenario>("scenario");
    const char *stageNames[] = {"identify", "read", "write", "check"};
    for (std::int16_t level : {12, 20}) {
        const LevelTable &table = TableForLevel(level);
        QList<std::tuple<Stage, int, int>> commands;
        for (int param : {levelProbeParameter, table.typeParameter, table.serialParameter})
            commands.append({Stage::Identify, 1, param});
        for (const Parameter &p : table.parameters)
            if (p.readLimit > 0)
                commands.append({Stage::Read, 1, p.number});
        for (const Parameter &p : table.parameters)
            commands.append({Stage::Write, 2, p.number});
        commands.append({Stage::Write, 3, 0});
        for (const Parameter &p : table.parameters)
            if (p.readLimit > 0)
                commands.append({Stage::Check, 1, p.number});
        for (const auto &[stage, op, param] : commands)
            for (const auto &[fault, name] : faults)
                QTest::addRow("%d %s $%d,%d %s", int(level), stageNames[int(stage)], op, param, name)
                        << Scenario{level, stage, op, param, fault};
    }
}

void FaultCampaignTest::campaign()
{
    QFETCH(Scenario, scenario);
    const QString message = outcome(scenario);
    const bool done = !message.startsWith("Could Not"), good = done && !message.startsWith("Sensor Did Not");
    const bool writing = scenario.stage >= Stage::Write, faultedWrite = scenario.stage == Stage::Write;
    const int level = scenario.level;
    const auto shownValues = [](const Setup &window) { // every box, list and label
        QStringList shown;
        for (Control control : allControls())
            if (control <= Control::lbunit3)
                shown << window.text(control);
        return shown;
    };
    if (!m_shown.count(level)) {
        Rig reader(level);
        click(reader.window, Control::cmdReadSensor);
        m_shown[level] = shownValues(reader.window);
        Rig writer(level);
        click(writer.window, Control::cmdSaveSensor);
        for (const Parameter &p : TableForLevel(std::int16_t(level)).parameters)
            m_stored[level][p.number] = writer.sim.sensor().value(p.number);
    }

    Rig rig(level, {scenario.op, scenario.param, scenario.fault});
    if (writing)
        for (const Parameter &p : TableForLevel(std::int16_t(level)).parameters)
            rig.sim.sensor().setValue(p.number, untouched(p));
    StatusRecorder status(rig.window);
    // Exit in the end pause ends it at once; the buttons' return and the next search: see failedSearches.
    status.onText(message, [&] { click(rig.window, Control::cmdok); });
    click(rig.window, writing ? Control::cmdSaveSensor : Control::cmdReadSensor);

    checkEnd(status, rig.window, message, good);
    QVERIFY(!status.showed(looking));
    QCOMPARE(rig.window.state().linkState, done ? LinkState::Connected : LinkState::NoAdaptor);
    // Nothing goes out after the command that failed (a probe answered wrongly fails on the next).
    if (!done && scenario.param != levelProbeParameter)
        QVERIFY(rig.sim.commands().last().startsWith(commandStart(scenario.op, scenario.param)));
    if (writing) {
        // The writes before the fault (all when done) stored their values, none after it was sent.
        bool beforeFault = true;
        for (const Parameter &p : TableForLevel(std::int16_t(level)).parameters) {
            const bool faulted = faultedWrite && p.number == scenario.param; // the simulator's business
            beforeFault = beforeFault && !faulted;
            if (!faulted)
                QCOMPARE(rig.sim.sensor().value(p.number), beforeFault || done ? m_stored[level][p.number] : untouched(p));
        }
    } else if (done) {
        QCOMPARE(shownValues(rig.window), m_shown[level]);
    } else {
        QCOMPARE(rig.window.text(Control::txtserialnum), QStringLiteral("Not Read"));
    }
}

// A search cut off by unplugging while it awaits the sensor's answer: the buttons come back, the
// identity of a sensor found before is gone, and the next click searches again. A second instance
// of the tool finds the port the first one holds busy and skips it.
void FaultCampaignTest::failedSearches()
{
    Rig rig(20, {0, 0, SimFault::HangUp}, false);
    rig.window.setText(Control::txttype, QStringLiteral("R2W"));
    StatusRecorder status(rig.window);
    click(rig.window, Control::cmdSaveSensor);
    checkEnd(status, rig.window, "Could Not Talk To Sensor - Check Sensor Type, Power and Wiring", false);
    QVERIFY(actionButtonsEnabled(rig.window) && !rig.window.link().isOpen());
    QCOMPARE(rig.window.state().linkState, LinkState::NoSensor);
    QCOMPARE(rig.window.text(Control::txttype), QStringLiteral("Not Read"));
    status.clear();
    status.onText(looking, [&] { click(rig.window, Control::cmdok); }); // Exit ends the search at once
    click(rig.window, Control::cmdReadSensor);
    QCOMPARE(status.texts(), QStringList(looking));

    Rig first(20);
    Setup second(first.sims.devicePaths());
    StatusRecorder secondStatus(second);
    click(second, Control::cmdReadSensor);
    QCOMPARE(secondStatus.texts(), QStringList({looking, QStringLiteral("Could Not Find A 7-0410 R2W Adaptor")}));
    QCOMPARE(second.skippedPortsLabel()->text(), QStringLiteral("COM1 (%1): in use by another program").arg(first.sim.path()));
    QVERIFY(first.sim.received().isEmpty());
    click(first.window, Control::cmdReadSensor); // and the first keeps working
    QCOMPARE(first.window.text(Control::txttype) + ' ' + first.window.text(Control::txtserialnum), QStringLiteral("4-20mA DV12345678"));
}

QTEST_MAIN(FaultCampaignTest)
#include "tst_faultcampaign.moc"
