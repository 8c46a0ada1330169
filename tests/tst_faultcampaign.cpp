// Every fault the simulator injects, on every command of identification, reading and writing at
// both levels, through the real window: what the user is told, and what reaches the sensor.
#include "SimPorts.h"
#include "StatusRecorder.h"
#include "WindowInput.h"
#include "protocol/ParameterTable.h"
#include "ui/Setup.h"

#include <QtTest>

#include <map>

namespace {

enum class Stage { Identify, Read, Write };

const QString looking = QStringLiteral("Looking For A Sensor");
const QString readFailed = QStringLiteral("Could Not Read All Of The Settings - Check Wiring");
const QString writeFailed = QStringLiteral("Could Not Write All Of The Settings - Check Power and Wiring");
const QString written = QStringLiteral("Sensor Settings Written");
const QByteArray untouched = "-9"; // in the sensor before a write: no value the window sends

constexpr std::pair<SimFault, const char *> faults[] = {
    {SimFault::Refuse, "Refuse"},   {SimFault::Silent, "Silent"},       {SimFault::NoAnswer, "NoAnswer"},
    {SimFault::Garbage, "Garbage"}, {SimFault::Truncated, "Truncated"}, {SimFault::Extra, "Extra"},
    {SimFault::Late, "Late"},       {SimFault::HangUp, "HangUp"},
};
constexpr Control shownFields[] = {
    Control::txtFactor, Control::txtpipeid, Control::txt4ma, Control::txt20ma, Control::txtlowflowcutoff,
    Control::cboutputunit, Control::cbtimeunit, Control::cbpipeidunit, Control::cb_k_units,
    Control::cbAverging, Control::cbSensitivity, Control::cbRejection, Control::txttype, Control::txtserialnum,
};

QString readDone(int level)
{
    return level == 12
        ? QStringLiteral("Sensor Settings Read - Make Sure The Application Settings Match The Installation")
        : QStringLiteral("Sensor Settings Read ");
}

// Whether a sound tool completes the action despite the fault: the answer it needs still came
// whole, or (for a write) the sensor heard the command and did not refuse it.
bool survives(int level, Stage stage, int param, SimFault fault)
{
    if (stage == Stage::Write)
        return fault == SimFault::NoAnswer || fault == SimFault::Garbage || fault == SimFault::Extra
               || fault == SimFault::Late;
    if (param != levelProbeParameter)
        return fault == SimFault::Extra;
    // The probe only asks whether the sensor refuses it: level 12 does, level 20 does anything else.
    if (level == 12)
        return fault == SimFault::Refuse || fault == SimFault::Extra;
    return fault != SimFault::Refuse && fault != SimFault::HangUp;
}

QByteArray commandPrefix(int op, int param)
{
    return op == 3 ? QByteArrayLiteral("$3,0,") : QStringLiteral("$%1,%2").arg(op).arg(param).toLatin1();
}

// An installation of 100 pulses per litre in litres per second, and loop and performance values
// that differ from everything the simulated sensor starts with.
void enterSettings(Setup &window)
{
    typeText(window, Control::txtFactor, QStringLiteral("100"));
    typeText(window, Control::txtpipeid, QStringLiteral("150"));
    window.setCurrentIndex(Control::cboutputunit, 3);
    window.setCurrentIndex(Control::cbtimeunit, 0);
    window.setCurrentIndex(Control::cbpipeidunit, 0);
    window.setCurrentIndex(Control::cb_k_units, 1);
    typeText(window, Control::txt4ma, QStringLiteral("-2.5"));
    typeText(window, Control::txt20ma, QStringLiteral("7.25"));
    typeText(window, Control::txtlowflowcutoff, QStringLiteral("0.125"));
    window.setCurrentIndex(Control::cbAverging, 4);
    window.setCurrentIndex(Control::cbSensitivity, 2);
    window.setCurrentIndex(Control::cbRejection, 0);
}

void click(Setup &window, Control button)
{
    QTest::mouseClick(window.control(button), Qt::LeftButton);
}

// A window on a simulated sensor at COM1 whose port is open and taken for connected, as a search
// leaves it, with the settings entered.
struct Rig
{
    explicit Rig(const SimConfig &config) : sim(sims.add(1, config)), window(sims.devicePaths())
    {
        enterSettings(window);
        opened = window.link().OpenPort(1) == 1;
        window.state().linkState = LinkState::Connected;
    }
    SimPorts sims;
    SimulatedPort &sim;
    Setup window;
    bool opened = false;
};

SimConfig atLevel(int level)
{
    SimConfig config;
    config.level = level;
    config.charMs = 0.1; // the line's speed is not what this campaign is about
    config.latencyMs = 1;
    return config;
}

} // namespace

class FaultCampaignTest : public QObject
{
    Q_OBJECT
private slots:
    void campaign_data();
    void campaign();

private:
    // What a fault-free read shows and a fault-free write stores, per level.
    const QStringList &referenceRead(int level);
    const std::map<int, QByteArray> &referenceWrite(int level);

    std::map<int, QStringList> m_shown;
    std::map<int, std::map<int, QByteArray>> m_stored;
};

const QStringList &FaultCampaignTest::referenceRead(int level)
{
    if (!m_shown.count(level)) {
        Rig rig(atLevel(level));
        click(rig.window, Control::cmdReadSensor);
        for (Control field : shownFields)
            m_shown[level] << rig.window.text(field);
    }
    return m_shown[level];
}

const std::map<int, QByteArray> &FaultCampaignTest::referenceWrite(int level)
{
    if (!m_stored.count(level)) {
        Rig rig(atLevel(level));
        click(rig.window, Control::cmdSaveSensor);
        for (const Parameter &p : TableForLevel(std::int16_t(level)).parameters)
            m_stored[level][p.number] = rig.sim.sensor().value(p.number);
    }
    return m_stored[level];
}

void FaultCampaignTest::campaign_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<Stage>("stage");
    QTest::addColumn<int>("op");
    QTest::addColumn<int>("param");
    QTest::addColumn<SimFault>("fault");

    const char *stageNames[] = {"identify", "read", "write"};
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
        for (const auto &[stage, op, param] : commands)
            for (const auto &[fault, name] : faults)
                QTest::addRow("%d %s $%d,%d %s", int(level), stageNames[int(stage)], op, param, name)
                    << int(level) << stage << op << param << fault;
    }
}

void FaultCampaignTest::campaign()
{
    QFETCH(int, level);
    QFETCH(Stage, stage);
    QFETCH(int, op);
    QFETCH(int, param);
    QFETCH(SimFault, fault);
    const bool done = survives(level, stage, param, fault);
    const bool writing = stage == Stage::Write;
    const QStringList shownBefore = referenceRead(level);
    const std::map<int, QByteArray> stored = referenceWrite(level);

    Rig rig(atLevel(level).withFault(op, param, fault));
    QVERIFY(rig.opened);
    if (writing)
        for (const auto &[number, text] : stored)
            rig.sim.sensor().setValue(number, untouched);
    if (fault == SimFault::HangUp)
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("lost:")));
    StatusRecorder status(rig.window);
    click(rig.window, writing ? Control::cmdSaveSensor : Control::cmdReadSensor);

    const SetupState &state = rig.window.state();
    const QString expected = done ? (writing ? written : readDone(level)) : (writing ? writeFailed : readFailed);
    QCOMPARE(status.texts().last(), expected);
    QCOMPARE(status.entries().last().colour, done ? state.goodColor : state.errorColor);
    QVERIFY(actionButtonsEnabled(rig.window));
    QCOMPARE(state.linkState, done ? LinkState::Connected : LinkState::NoAdaptor);

    // Nothing goes out after the command that failed.
    const QList<QByteArray> sent = rig.sim.commands();
    if (!done && param != levelProbeParameter)
        QVERIFY2(sent.last().startsWith(commandPrefix(op, param)), sent.last().constData());

    if (writing) {
        // Every write before the fault, or all of them when the write is done, stored the fault-free
        // value; none after a failure was sent.
        bool beforeFault = true;
        for (const Parameter &p : TableForLevel(std::int16_t(level)).parameters) {
            if (p.number == param) {
                beforeFault = false;
                continue;
            }
            const QByteArray want = beforeFault || done ? stored.at(p.number) : untouched;
            QVERIFY2(rig.sim.sensor().value(p.number) == want, qPrintable(QString::number(p.number)));
        }
    } else if (done) {
        QStringList shown;
        for (Control field : shownFields)
            shown << rig.window.text(field);
        QCOMPARE(shown, shownBefore);
    } else {
        QCOMPARE(rig.window.text(Control::txtserialnum), QStringLiteral("Not Read"));
    }

    if (!done) {
        // The next click searches again; Exit ends that search at once.
        status.onText(looking, [&] { click(rig.window, Control::cmdok); });
        click(rig.window, Control::cmdReadSensor);
        QVERIFY(status.showed(looking));
    }
}

QTEST_MAIN(FaultCampaignTest)
#include "tst_faultcampaign.moc"
