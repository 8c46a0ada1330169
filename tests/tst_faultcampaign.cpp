// The simulator's faults on the commands of identification, reading and writing at both levels,
// through the real window: what the user is told, and what reaches the sensor. Unplugging, and a
// second instance of the tool, belong to the same campaign.
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
const QString noAdaptor = QStringLiteral("Could Not Find A 7-0410 R2W Adaptor");
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

// Whether a sound tool completes the action despite the fault. A read needs every answer whole
// (extra characters after it are cleared by the next command); the level probe only asks whether
// the sensor refuses it. A write needs its echo and no refusal: no answer, a late one, noise and
// extra characters are no refusal, while an answer cut off may be the start of one.
bool survives(int level, Stage stage, int param, SimFault fault)
{
    if (stage == Stage::Write)
        return fault == SimFault::NoAnswer || fault == SimFault::Garbage || fault == SimFault::Extra
               || fault == SimFault::Late;
    if (param != levelProbeParameter)
        return fault == SimFault::Extra;
    if (level == 12)
        return fault == SimFault::Refuse || fault == SimFault::Extra;
    return fault != SimFault::Refuse && fault != SimFault::HangUp;
}

void click(Setup &window, Control button)
{
    QTest::mouseClick(window.control(button), Qt::LeftButton);
}

SimConfig atLevel(int level)
{
    SimConfig config;
    config.level = level;
    config.charMs = 0.1; // the line's speed is not what this campaign is about
    config.latencyMs = 1;
    return config;
}

// A window on a simulated sensor at COM1 with an installation of 100 pulses per litre in litres
// per second, and loop and performance values unlike the sensor's own. Connected: the port is
// open and the sensor taken for found, as a search leaves them.
struct Rig
{
    explicit Rig(const SimConfig &config, bool connected = true)
        : sim(sims.add(1, config)), window(sims.devicePaths())
    {
        const std::pair<Control, const char *> texts[] = {{Control::txtFactor, "100"}, {Control::txtpipeid, "150"},
            {Control::txt4ma, "-2.5"}, {Control::txt20ma, "7.25"}, {Control::txtlowflowcutoff, "0.125"}};
        for (const auto &[box, text] : texts)
            typeText(window, box, QString::fromLatin1(text));
        const std::pair<Control, int> rows[] = {{Control::cboutputunit, 3}, {Control::cbtimeunit, 0},
            {Control::cbpipeidunit, 0}, {Control::cb_k_units, 1}, {Control::cbAverging, 4},
            {Control::cbSensitivity, 2}, {Control::cbRejection, 0}};
        for (const auto &[list, row] : rows)
            window.setCurrentIndex(list, row);
        if (connected && window.link().OpenPort(1) == 1)
            window.state().linkState = LinkState::Connected;
    }
    SimPorts sims;
    SimulatedPort &sim;
    Setup window;
};

QStringList shownValues(const Setup &window)
{
    QStringList shown;
    for (Control field : shownFields)
        shown << window.text(field);
    return shown;
}

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

class FaultCampaignTest : public QObject
{
    Q_OBJECT
private slots:
    void campaign_data();
    void campaign();
    void unplug_data();
    void unplug();
    void secondWindowLeavesTheHeldPortAlone();

private:
    // What a fault-free read shows and a fault-free write stores, per level.
    std::map<int, QStringList> m_shown;
    std::map<int, std::map<int, QByteArray>> m_stored;
};

// Within a stage every command meets one fault, the next command the next fault, so the faults
// meet every stage at both levels. The level probe and the closing command meet them all, as their
// outcomes differ by fault, and so does every decimal read with an answer cut off, which may still
// be a number ("-2.5" arriving as "-2.").
void FaultCampaignTest::campaign_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<Stage>("stage");
    QTest::addColumn<int>("op");
    QTest::addColumn<int>("param");
    QTest::addColumn<SimFault>("fault");
    const char *stageNames[] = {"identify", "read", "write"};
    int turns[3] = {}; // per stage
    for (std::int16_t level : {12, 20}) {
        const LevelTable &table = TableForLevel(level);
        QList<std::tuple<Stage, int, int, bool>> commands; // the last: a decimal read
        for (int param : {levelProbeParameter, table.typeParameter, table.serialParameter})
            commands.append({Stage::Identify, 1, param, false});
        for (const Parameter &p : table.parameters)
            if (p.readLimit > 0)
                commands.append({Stage::Read, 1, p.number, p.form == TextForm::Decimal});
        for (const Parameter &p : table.parameters)
            commands.append({Stage::Write, 2, p.number, false});
        commands.append({Stage::Write, 3, 0, false}); // the closing command
        for (const auto &[stage, op, param, decimal] : commands) {
            const SimFault turn = faults[turns[int(stage)]++ % std::size(faults)].first;
            for (const auto &[fault, name] : faults)
                if (fault == turn || param == levelProbeParameter || op == 3 || (decimal && fault == SimFault::Truncated))
                    QTest::addRow("%d %s $%d,%d %s", int(level), stageNames[int(stage)], op, param, name)
                        << int(level) << stage << op << param << fault;
        }
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
    if (!m_shown.count(level)) {
        Rig reader(atLevel(level));
        click(reader.window, Control::cmdReadSensor);
        m_shown[level] = shownValues(reader.window);
        Rig writer(atLevel(level));
        click(writer.window, Control::cmdSaveSensor);
        for (const Parameter &p : TableForLevel(std::int16_t(level)).parameters)
            m_stored[level][p.number] = writer.sim.sensor().value(p.number);
    }

    Rig rig(atLevel(level).withFault(op, param, fault));
    QCOMPARE(rig.window.state().linkState, LinkState::Connected);
    if (writing)
        for (const auto &[number, text] : m_stored[level])
            rig.sim.sensor().setValue(number, untouched);
    if (fault == SimFault::HangUp)
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("lost:")));
    StatusRecorder status(rig.window);
    // Exit during the end pause ends it at once. The buttons coming back after the pause, and the
    // next click searching again after a failure, are the unplug rows' business.
    const QString message = done ? (writing ? written : readDone(level)) : (writing ? writeFailed : readFailed);
    status.onText(message, [&] { click(rig.window, Control::cmdok); });
    click(rig.window, writing ? Control::cmdSaveSensor : Control::cmdReadSensor);

    checkEnd(status, rig.window, message, done);
    QVERIFY(!status.showed(looking));
    QCOMPARE(rig.window.state().linkState, done ? LinkState::Connected : LinkState::NoAdaptor);
    // Nothing goes out after the command that failed (a probe answered wrongly fails on the next).
    const QString faulted = QStringLiteral("$%1,%2%3").arg(op).arg(param).arg(op == 1 ? "\r" : ",");
    if (!done && param != levelProbeParameter)
        QVERIFY2(rig.sim.commands().last().startsWith(faulted.toLatin1()), rig.sim.commands().last().constData());
    if (writing) {
        // The writes before the fault (all of them when the write is done) stored their fault-free
        // values; none after a failure was sent. The faulted one is the simulator's own business.
        bool beforeFault = true;
        for (const Parameter &p : TableForLevel(std::int16_t(level)).parameters) {
            beforeFault = beforeFault && p.number != param;
            const QByteArray want = beforeFault || done ? m_stored[level].at(p.number) : untouched;
            QVERIFY2(p.number == param || rig.sim.sensor().value(p.number) == want, qPrintable(QString::number(p.number)));
        }
    } else if (done) {
        QCOMPARE(shownValues(rig.window), m_shown[level]);
    } else {
        QCOMPARE(rig.window.text(Control::txtserialnum), QStringLiteral("Not Read"));
    }
}

void FaultCampaignTest::unplug_data()
{
    QTest::addColumn<SimConfig>("config");
    QTest::addColumn<bool>("connected");
    QTest::addColumn<QByteArray>("seen"); // the adaptor is unplugged 30 ms after the line carried this
    QTest::addColumn<Control>("button");
    QTest::addColumn<QString>("message");
    QTest::addColumn<LinkState>("state");
    const QString noSensor = QStringLiteral("Could Not Talk To Sensor - Check Sensor Type, Power and Wiring");
    QTest::newRow("search: adaptor check")
        << atLevel(20) << false << QByteArray("Hello") << Control::cmdReadSensor << noAdaptor << LinkState::NoAdaptor;
    QTest::newRow("search: sensor check")
        << atLevel(20) << false << QByteArray("\r\r") << Control::cmdSaveSensor << noSensor << LinkState::NoSensor;
    QTest::newRow("read: awaiting an answer") << atLevel(12).withFault(1, 10, SimFault::NoAnswer) << true
        << QByteArray("$1,10\r") << Control::cmdReadSensor << readFailed << LinkState::NoAdaptor;
    // The echo came, so an empty answer would pass; the lost port must not.
    QTest::newRow("write: awaiting the closing answer") << atLevel(20).withFault(3, 0, SimFault::NoAnswer) << true
        << QByteArray("$3,0,plomvar\r") << Control::cmdSaveSensor << writeFailed << LinkState::NoAdaptor;
}

void FaultCampaignTest::unplug()
{
    QFETCH(SimConfig, config);
    QFETCH(bool, connected);
    QFETCH(QByteArray, seen);
    QFETCH(Control, button);
    QFETCH(QString, message);
    QFETCH(LinkState, state);
    Rig rig(config, connected);
    rig.window.setText(Control::txttype, QStringLiteral("R2W")); // as a sensor found before left it
    QTimer watch; // the line, watched for the text
    watch.setInterval(2);
    connect(&watch, &QTimer::timeout, &rig.sim, [&] {
        if (rig.sim.received().endsWith(seen)) {
            watch.stop();
            QTimer::singleShot(30, &rig.sim, &SimulatedPort::hangUp);
        }
    });
    watch.start();
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("lost:")));
    StatusRecorder status(rig.window);
    click(rig.window, button);

    checkEnd(status, rig.window, message, false);
    QVERIFY(actionButtonsEnabled(rig.window));
    QCOMPARE(rig.window.state().linkState, state);
    QVERIFY(!rig.window.link().isOpen());
    if (!connected)
        QCOMPARE(rig.window.text(Control::txttype), QStringLiteral("Not Read"));
    // The next click searches again; Exit ends that search at once.
    status.clear();
    status.onText(looking, [&] { click(rig.window, Control::cmdok); });
    click(rig.window, Control::cmdReadSensor);
    QCOMPARE(status.texts(), QStringList(looking));
}

// A second instance of the tool finds the port the first one holds busy and skips it.
void FaultCampaignTest::secondWindowLeavesTheHeldPortAlone()
{
    Rig first(atLevel(20));
    Setup second(first.sims.devicePaths());
    StatusRecorder status(second);
    click(second, Control::cmdReadSensor);
    QCOMPARE(status.texts(), QStringList({looking, noAdaptor}));
    QVERIFY(actionButtonsEnabled(second));
    QVERIFY(first.sim.received().isEmpty());

    StatusRecorder firstStatus(first.window);
    click(first.window, Control::cmdReadSensor);
    QCOMPARE(firstStatus.texts().last(), readDone(20));
}

QTEST_MAIN(FaultCampaignTest)
#include "tst_faultcampaign.moc"
