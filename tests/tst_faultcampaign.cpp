// Every simulated fault on every command of both levels, through the window: what is told, what stored.
#include "WindowRig.h"
#include "protocol/ParameterTable.h"

#include <QtTest>

namespace {

enum class Stage { Identify, Read, Write, Check }; // Check: reading back after a write

// "$1,9": op 1, parameter 9; readBack: a write whose value is read back afterwards.
struct Scenario { int level; Stage stage; CommandFault command; bool readBack; };

const QString looking = QStringLiteral("Looking For A Sensor");

// In the sensor before a write: no value the window sends.
QByteArray untouched(const Parameter &p) { return p.form == TextForm::Frequency ? "50" : "-9"; }

// What a sound tool tells after the fault. A write needs its echo and no refusal (a cut-off answer may
// start one), then every value read back whole and as sent; a write left unanswered here is not stored.
// A read needs every answer whole; the level probe only asks whether the sensor refuses it.
QString outcome(const Scenario &s)
{
    const SimFault f = s.command.fault;
    if (s.stage == Stage::Write && f == SimFault::NoAnswer && s.readBack)
        return QStringLiteral("Sensor Did Not Keep All Of The Settings - Write Again");
    if (s.stage >= Stage::Write) {
        const bool passes = s.stage == Stage::Check ? f == SimFault::Extra
            : f == SimFault::NoAnswer || f == SimFault::Garbage || f == SimFault::Extra
                || f == SimFault::Late;
        return passes ? "Sensor Settings Written"
                      : "Could Not Write All Of The Settings - Check Power and Wiring";
    }
    const bool whole = s.command.param != levelProbeParameter ? f == SimFault::Extra
        : s.level == 12 ? f == SimFault::Refuse || f == SimFault::Extra
                        : f != SimFault::Refuse && f != SimFault::HangUp;
    if (!whole)
        return QStringLiteral("Could Not Read All Of The Settings - Check Wiring");
    return s.level == 20 ? "Sensor Settings Read "
                         : "Sensor Settings Read - Make Sure The Application Settings Match The Installation";
}

// The start of a command on the line: "$1,9\r"; a write's "$2,9," goes on with the key and value.
QByteArray commandStart(const CommandFault &c)
{
    return QStringLiteral("$%1,%2%3").arg(c.op).arg(c.param).arg(c.op < 2 ? '\r' : ',').toLatin1();
}

// The usual rig, quick on the line: the line's speed is not what this campaign is about.
struct Rig : WindowRig
{
    explicit Rig(int level, CommandFault fault = {}, bool connected = true) : WindowRig(level, connected)
    {
        sim.config().charMs = 0.1;
        sim.config().latencyMs = 1;
        sim.config().lateMs = 160; // past the time-out, in the pause after it: the next command clears it
        sim.config().faults = {fault};
        if (fault.fault != SimFault::HangUp)
            return;
        // Unplugged while the answer is awaited, after the whole echo: the simulator's own HangUp cuts
        // the echo short, which fails on the echo alone.
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("lost:")));
        sim.config().faults = {{fault.op, fault.param, SimFault::NoAnswer}};
        const auto hangUp = [this] { QTimer::singleShot(30, &sim, &SimulatedPort::hangUp); };
        watch = onCommand(sim, commandStart(fault), hangUp);
    }
    std::unique_ptr<QTimer> watch; // the line, for the command to unplug after

    // What every click ending in a message shows: busy with the buttons off until then.
    void checkEnd(const QString &message, bool good)
    {
        QCOMPARE(status.texts().last(), message);
        QCOMPARE(status.entries().last().colour,
                 window.colourOf(good ? MessageKind::Good : MessageKind::Error));
        QCOMPARE(status.entries().first().colour, window.colourOf(MessageKind::Busy));
        for (const StatusEntry &entry : status.entries())
            QVERIFY2(entry.buttonsLocked, qPrintable(entry.text));
    }
};

} // namespace

Q_DECLARE_METATYPE(Scenario)

class FaultCampaignTest : public QObject
{
    Q_OBJECT
    QMap<int, QMap<Control, QString>> m_shown; // per level, by a fault-free read
    QMap<int, QMap<int, QByteArray>> m_stored; // per level, by a fault-free write

private slots:
    // Every command of identification, reading, writing and reading back, at both levels, meets every fault.
    void campaign_data()
    {
        QTest::addColumn<Scenario>("scenario");
        const char *stages[] = {"identify", "read", "write", "check"};
        const char *faults[] = {"Refuse", "Silent", "NoAnswer", "Garbage", "Truncated", "Extra", "Late",
                                "HangUp"};
        for (int level : {12, 20}) {
            const auto add = [&, level](Stage stage, int op, int param, bool readBack) {
                for (int f = int(SimFault::Refuse); f <= int(SimFault::HangUp); ++f)
                    QTest::addRow("%d %s $%d,%d %s", level, stages[int(stage)], op, param, faults[f - 1])
                        << Scenario{level, stage, {op, param, SimFault(f)}, readBack};
            };
            const LevelTable &table = tableForLevel(std::int16_t(level));
            for (int param : {levelProbeParameter, table.typeParameter, table.serialParameter})
                add(Stage::Identify, 1, param, false);
            for (Stage stage : {Stage::Read, Stage::Write, Stage::Check})
                for (const Parameter &p : table.parameters)
                    if (stage == Stage::Write || p.readLimit > 0)
                        add(stage, stage == Stage::Write ? 2 : 1, p.number, p.readLimit > 0);
            add(Stage::Write, 3, 0, false);
        }
    }

    void campaign()
    {
        QFETCH(Scenario, scenario);
        const QString message = outcome(scenario);
        const bool done = !message.startsWith("Could Not"), good = done && !message.startsWith("Sensor Did");
        const bool writing = scenario.stage >= Stage::Write;
        const int level = scenario.level;
        const std::vector<Parameter> &parameters = tableForLevel(std::int16_t(level)).parameters;
        if (!m_shown.contains(level)) {
            Rig reader(level), writer(level);
            reader.click(Control::cmdReadSensor);
            m_shown[level] = shownTexts(reader.window);
            writer.click(Control::cmdSaveSensor);
            for (const Parameter &p : parameters)
                m_stored[level][p.number] = writer.sim.sensor().value(p.number);
        }

        Rig rig(level, scenario.command);
        for (const Parameter &p : parameters)
            if (writing)
                rig.sim.sensor().setValue(p.number, untouched(p));
        // Exit in the end pause ends it at once; the buttons' return and the next search: see failedSearches.
        rig.status.onText(message, [&] { rig.click(Control::cmdok); });
        rig.click(writing ? Control::cmdSaveSensor : Control::cmdReadSensor);

        rig.checkEnd(message, good);
        QVERIFY(!rig.status.texts().contains(looking));
        QCOMPARE(rig.window.state().linkState, done ? LinkState::Connected : LinkState::NoAdaptor);
        // Nothing goes out after the command that failed (a probe answered wrongly fails on the next).
        if (!done && scenario.command.param != levelProbeParameter)
            QVERIFY(rig.sim.commands().last().startsWith(commandStart(scenario.command)));
        // The writes before the fault (all when done) stored their values, none after it was sent.
        bool beforeFault = true;
        for (const Parameter &p : parameters) {
            // What the faulted write stored is the simulator's business.
            const bool faulted = scenario.stage == Stage::Write && p.number == scenario.command.param;
            beforeFault = beforeFault && !faulted;
            if (writing && !faulted)
                QCOMPARE(rig.sim.sensor().value(p.number),
                         beforeFault || done ? m_stored[level][p.number] : untouched(p));
        }
        if (!writing && done)
            QCOMPARE(shownTexts(rig.window), m_shown[level]);
        else if (!writing)
            QCOMPARE(rig.window.text(Control::txtserialnum), QStringLiteral("Not Read"));
    }

    // A search cut off by unplugging: the buttons come back, the identity found is gone, a click searches.
    void failedSearches()
    {
        Rig rig(20, {0, 0, SimFault::HangUp}, false);
        rig.window.setText(Control::txttype, QStringLiteral("R2W"));
        rig.click(Control::cmdSaveSensor);
        rig.checkEnd("Could Not Talk To Sensor - Check Sensor Type, Power and Wiring", false);
        QVERIFY(actionButtonsEnabled(rig.window) && !rig.window.link().isOpen());
        QCOMPARE(rig.window.state().linkState, LinkState::NoSensor);
        QCOMPARE(rig.window.text(Control::txttype), QStringLiteral("Not Read"));
        rig.status.clear();
        rig.status.onText(looking, [&] { rig.click(Control::cmdok); }); // Exit ends the search at once
        rig.click(Control::cmdReadSensor);
        QCOMPARE(rig.status.texts(), QStringList(looking));
    }
};

QTEST_MAIN(FaultCampaignTest)
#include "tst_faultcampaign.moc"
