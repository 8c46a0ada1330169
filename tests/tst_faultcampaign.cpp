// Every fault the simulator injects, on every command of identification, reading and writing at
// both levels, through the real window: what the user is told, and what reaches the sensor.
// Unplugging, and a second instance of the tool, belong to the same campaign.
#include "SimPorts.h"
#include "StatusRecorder.h"
#include "WindowInput.h"
#include "protocol/ParameterTable.h"
#include "ui/Setup.h"

#include <QProcess>
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
const QString shardVariable = QStringLiteral("FAULT_CAMPAIGN_SHARD");
constexpr int shardCount = 6;

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

// An installation of 100 pulses per litre in litres per second, and loop and performance values
// that differ from what the simulated sensor starts with.
void enterSettings(Setup &window)
{
    typeText(window, Control::txtFactor, QStringLiteral("100"));
    typeText(window, Control::txtpipeid, QStringLiteral("150"));
    typeText(window, Control::txt4ma, QStringLiteral("-2.5"));
    typeText(window, Control::txt20ma, QStringLiteral("7.25"));
    typeText(window, Control::txtlowflowcutoff, QStringLiteral("0.125"));
    const std::pair<Control, int> rows[] = {
        {Control::cboutputunit, 3}, {Control::cbtimeunit, 0},    {Control::cbpipeidunit, 0},
        {Control::cb_k_units, 1},   {Control::cbAverging, 4},    {Control::cbSensitivity, 2},
        {Control::cbRejection, 0},
    };
    for (const auto &[list, row] : rows)
        window.setCurrentIndex(list, row);
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

// A window with the settings entered on a simulated sensor at COM1. Connected: the port is open
// and the sensor taken for found, as a search leaves them.
struct Rig
{
    explicit Rig(const SimConfig &config, bool connected = true)
        : sim(sims.add(1, config)), window(sims.devicePaths())
    {
        enterSettings(window);
        if (connected && window.link().OpenPort(1) == 1)
            window.state().linkState = LinkState::Connected;
    }
    SimPorts sims;
    SimulatedPort &sim;
    Setup window;
};

// What a fault-free read shows and a fault-free write stores.
struct Reference
{
    QStringList shown;
    std::map<int, QByteArray> stored;
};

QStringList shownValues(const Setup &window)
{
    QStringList shown;
    for (Control field : shownFields)
        shown << window.text(field);
    return shown;
}

} // namespace

class FaultCampaignTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void campaign_data();
    void campaign();
    void unplug_data();
    void unplug();
    void secondWindowLeavesTheHeldPortAlone();
    void cleanupTestCase();

private:
    const Reference &reference(int level);

    std::map<int, Reference> m_references;
    int m_shard = -1; // -1: every row
    QList<QProcess *> m_shards;
};

// The campaign's clicks spend their time waiting on the line, so a run of the whole suite (as
// CTest starts it, without arguments) deals its rows out to processes that run side by side.
// This one takes the first share and the rest of the suite.
void FaultCampaignTest::initTestCase()
{
    if (qEnvironmentVariableIsSet(qPrintable(shardVariable))) {
        m_shard = qEnvironmentVariableIntValue(qPrintable(shardVariable));
        return;
    }
    if (QCoreApplication::arguments().size() > 1)
        return;
    m_shard = 0;
    for (int other = 1; other < shardCount; ++other) {
        auto *process = new QProcess(this);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(shardVariable, QString::number(other));
        process->setProcessEnvironment(environment);
        process->setProcessChannelMode(QProcess::MergedChannels);
        process->start(QCoreApplication::applicationFilePath(), {QStringLiteral("-silent"), QStringLiteral("campaign")});
        m_shards << process;
    }
}

void FaultCampaignTest::cleanupTestCase()
{
    for (QProcess *process : std::as_const(m_shards)) {
        QVERIFY(process->state() == QProcess::NotRunning || process->waitForFinished(240000));
        const QByteArray output = process->readAll();
        qInfo().noquote() << output.trimmed().split('\n').last();
        QVERIFY2(process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0, output.constData());
    }
}

const Reference &FaultCampaignTest::reference(int level)
{
    if (!m_references.count(level)) {
        Reference &made = m_references[level];
        Rig reader(atLevel(level));
        click(reader.window, Control::cmdReadSensor);
        made.shown = shownValues(reader.window);
        Rig writer(atLevel(level));
        click(writer.window, Control::cmdSaveSensor);
        for (const Parameter &p : TableForLevel(std::int16_t(level)).parameters)
            made.stored[p.number] = writer.sim.sensor().value(p.number);
    }
    return m_references[level];
}

void FaultCampaignTest::campaign_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<Stage>("stage");
    QTest::addColumn<int>("op");
    QTest::addColumn<int>("param");
    QTest::addColumn<SimFault>("fault");

    const char *stageNames[] = {"identify", "read", "write"};
    int row = 0;
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
        commands.append({Stage::Write, 3, 0}); // the closing command
        for (const auto &[stage, op, param] : commands)
            for (const auto &[fault, name] : faults)
                // Six shards for eight faults: each shard gets every fault in turn.
                if (int index = row++; m_shard < 0 || index % shardCount == m_shard)
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
    const Reference &faultFree = reference(level);

    Rig rig(atLevel(level).withFault(op, param, fault));
    QCOMPARE(rig.window.state().linkState, LinkState::Connected);
    if (writing)
        for (const auto &[number, text] : faultFree.stored)
            rig.sim.sensor().setValue(number, untouched);
    if (fault == SimFault::HangUp)
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("lost:")));
    StatusRecorder status(rig.window);
    click(rig.window, writing ? Control::cmdSaveSensor : Control::cmdReadSensor);

    const SetupState &state = rig.window.state();
    QCOMPARE(status.texts().last(), done ? (writing ? written : readDone(level)) : (writing ? writeFailed : readFailed));
    QCOMPARE(status.entries().last().colour, done ? state.goodColor : state.errorColor);
    QVERIFY(actionButtonsEnabled(rig.window));
    QCOMPARE(state.linkState, done ? LinkState::Connected : LinkState::NoAdaptor);
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
            const QByteArray want = beforeFault || done ? faultFree.stored.at(p.number) : untouched;
            QVERIFY2(p.number == param || rig.sim.sensor().value(p.number) == want, qPrintable(QString::number(p.number)));
        }
    } else if (done) {
        QCOMPARE(shownValues(rig.window), faultFree.shown);
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

void FaultCampaignTest::unplug_data()
{
    QTest::addColumn<SimConfig>("config");
    QTest::addColumn<bool>("connected");
    QTest::addColumn<QByteArray>("seen"); // the adaptor is unplugged 30 ms after the line carried this
    QTest::addColumn<Control>("button");
    QTest::addColumn<QString>("message");

    const QString noSensor = QStringLiteral("Could Not Talk To Sensor - Check Sensor Type, Power and Wiring");
    QTest::newRow("search: adaptor check") << atLevel(20) << false << QByteArray("Hello") << Control::cmdReadSensor << noAdaptor;
    QTest::newRow("search: sensor check") << atLevel(20) << false << QByteArray("\r\r") << Control::cmdSaveSensor << noSensor;
    QTest::newRow("read: awaiting an answer") << atLevel(12).withFault(1, 10, SimFault::NoAnswer) << true
                                              << QByteArray("$1,10\r") << Control::cmdReadSensor << readFailed;
    // The echo came, so an empty answer would pass; the lost port must not.
    QTest::newRow("write: awaiting the closing answer") << atLevel(20).withFault(3, 0, SimFault::NoAnswer) << true
                                                        << QByteArray("$3,0,plomvar\r") << Control::cmdSaveSensor << writeFailed;
}

void FaultCampaignTest::unplug()
{
    QFETCH(SimConfig, config);
    QFETCH(bool, connected);
    QFETCH(QByteArray, seen);
    QFETCH(Control, button);
    QFETCH(QString, message);
    Rig rig(config, connected);
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

    QCOMPARE(status.texts().last(), message);
    QCOMPARE(status.entries().last().colour, rig.window.state().errorColor);
    QVERIFY(rig.window.state().linkState != LinkState::Connected);
    QVERIFY(actionButtonsEnabled(rig.window));
    QVERIFY(!rig.window.link().isOpen());
}

// A second instance of the tool finds the port the first one holds busy and skips it.
void FaultCampaignTest::secondWindowLeavesTheHeldPortAlone()
{
    Rig first(atLevel(20), false);
    click(first.window, Control::cmdReadSensor); // a real search
    QCOMPARE(first.window.state().linkState, LinkState::Connected);
    Setup second(first.sims.devicePaths());

    first.sim.clearLog();
    StatusRecorder status(second);
    click(second, Control::cmdReadSensor);
    QCOMPARE(status.texts(), QStringList({looking, noAdaptor}));
    QVERIFY(actionButtonsEnabled(second));
    QVERIFY(first.sim.received().isEmpty());

    StatusRecorder firstStatus(first.window);
    click(first.window, Control::cmdReadSensor);
    QCOMPARE(firstStatus.texts().last(), readDone(20));
    QVERIFY(!firstStatus.showed(looking));
}

QTEST_MAIN(FaultCampaignTest)
#include "tst_faultcampaign.moc"
