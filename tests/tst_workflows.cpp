// The read and write workflows end to end, through the real window, where the fault campaign does not reach.
#include "LocaleGuard.h"
#include "SimPorts.h"
#include "StatusRecorder.h"
#include "WindowInput.h"
#include "protocol/ParameterTable.h"
#include "ui/Setup.h"

#include <QtTest>
#include <QtWidgets>

#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr Control entries[] = {Control::txt4ma, Control::txt20ma, Control::txtlowflowcutoff, Control::txtFactor,
    Control::txtpipeid, Control::cboutputunit, Control::cbtimeunit, Control::cbpipeidunit, Control::cb_k_units,
    Control::cbAverging, Control::cbSensitivity, Control::cbRejection};

QStringList shownEntries(const Setup &window)
{
    QStringList texts;
    for (Control c : entries)
        texts << window.text(c);
    return texts;
}

// What a hurried user does while an action runs: types into every box and list, steps every list on.
void meddle(Setup &window)
{
    for (Control c : entries) {
        c >= Control::cboutputunit ? typeListText(window, c, "777") : typeText(window, c, "777");
        QTest::keyClick(window.control(c), Qt::Key_Down);
    }
}
// While it lives, a pty refuses this process as it would a user outside its group: mode 000, and for
// root, whom modes do not stop, file access as nobody.
struct NoAccess
{
    explicit NoAccess(const QString &pty) : path(pty.toLocal8Bit())
    {
        ::chmod(path.constData(), 0);
        ::setfsuid(::geteuid() == 0 ? 65534 : ::geteuid());
    }
    ~NoAccess()
    {
        ::setfsuid(::geteuid());
        ::chmod(path.constData(), 0620);
    }
    QByteArray path;
};

// A window connected to a simulated sensor at COM1, as a search leaves it, and its status history.
struct Rig
{
    explicit Rig(int level = 20)
        : sim(ports.add(1, [level] { SimConfig c; c.level = level; return c; }())), window(ports.devicePaths()), status(window)
    {
        if (window.link().OpenPort(1) == 1)
            window.state().linkState = LinkState::Connected;
    }

    void click(Control button) { QTest::mouseClick(window.control(button), Qt::LeftButton); }

    // 4 mA, 20 mA, cutoff, K-factor, pipe ID, output unit row (3: litres; a sensor unit is then 1 l/s).
    void enter(const QStringList &texts)
    {
        const int rows[] = {texts[5].toInt(), 0, 0, 1, 4, 2, 1};
        for (int i = 0; i < 5; ++i)
            typeText(window, entries[i], texts[i]);
        for (int i = 5; i < 12; ++i)
            window.setCurrentIndex(entries[i], rows[i - 5]);
    }

    SimPorts ports;
    SimulatedPort &sim;
    Setup window;
    StatusRecorder status;
};

} // namespace

enum class WriteStage { Identifying, FirstValue, Closing, FallsSilent };
Q_DECLARE_METATYPE(WriteStage)
Q_DECLARE_METATYPE(CommandFault)

class WorkflowsTest : public QObject
{
    Q_OBJECT
private slots:
    void level12ReadNeedsAndUsesApplicationSettings();
    void writeThenReadRoundTripsAndExitEndsTheEndPause();
    void exitDuringWrite_data();
    void exitDuringWrite();
    void refusedBeforeSending_data();
    void refusedBeforeSending();
    void volumeUnitsIgnoreThePipe();
    void searchesThePortsOfTheMomentShowingProgress();
    void writeIsReadBack_data();
    void writeIsReadBack();
};

// A level-12 sensor keeps its loop values in its own unit: without a K-factor nothing is shown.
void WorkflowsTest::level12ReadNeedsAndUsesApplicationSettings()
{
    Rig rig(12);
    for (const auto &[param, value] : {std::pair(11, "5"), {10, "-2.5"}, {6, "0.25"}})
        rig.sim.sensor().setValue(param, value);
    rig.click(Control::cmdReadSensor);
    QCOMPARE(rig.status.texts().last(), QStringLiteral("Please Enter A Valid Number For The K Factor"));
    QCOMPARE(rig.window.background(Control::txtFactor), rig.window.state().errorColor);
    QCOMPARE(rig.window.text(Control::txt20ma), QString());

    rig.enter({"", "", "", "100", "100", "3"});
    const auto watch = onCommand(rig.sim, "$1,7\r", [&] { meddle(rig.window); }); // nothing typed counts
    ColourValue markWhileReading = 0;
    rig.status.onText(QStringLiteral("Reading The Sensor Settings"),
                      [&] { markWhileReading = rig.window.background(Control::txtFactor); });
    rig.click(Control::cmdReadSensor);
    QCOMPARE(markWhileReading, rig.window.state().normalColor); // cleared before anything else
    QCOMPARE(rig.status.texts().last(),
             QStringLiteral("Sensor Settings Read - Make Sure The Application Settings Match The Installation"));
    for (const auto &[entry, text] : {std::pair(Control::txt4ma, "-2.5"), {Control::txt20ma, "5"},
                                      {Control::txtlowflowcutoff, "0.25"}, {Control::cbRejection, "50 Hz"}})
        QCOMPARE(rig.window.text(entry), QString::fromLatin1(text));
}

void WorkflowsTest::writeThenReadRoundTripsAndExitEndsTheEndPause()
{
    Rig rig;
    rig.enter({"-2.5", "5", "0.25", "100", "100", "3"});
    rig.click(Control::cmdSaveSensor);
    QCOMPARE(rig.status.texts().last(), QStringLiteral("Sensor Settings Written"));
    QCOMPARE(rig.sim.sensor().value(9), QByteArray("5")); // 20 mA in the sensor's unit
    QCOMPARE(rig.sim.sensor().value(27), QByteArray("-2.5"));

    rig.window.link().ClosePort();
    Setup other(rig.ports.devicePaths()); // finds the sensor by a real search
    StatusRecorder status(other);
    status.onText(QStringLiteral("Sensor Settings Read "), [&other] {
        QTimer::singleShot(50, &other, [&other] { QTest::mouseClick(other.control(Control::cmdok), Qt::LeftButton); });
    });
    QTest::mouseClick(other.control(Control::cmdReadSensor), Qt::LeftButton);
    QCOMPARE(status.texts().last(), QStringLiteral("Sensor Settings Read "));
    QCOMPARE(other.text(Control::txttype), QStringLiteral("4-20mA"));
    for (Control c : entries)
        QCOMPARE(other.text(c), rig.window.text(c));
    QVERIFY(actionButtonsDisabled(other)); // nothing ran after Exit
    QVERIFY(!other.link().isOpen());
}

// Exit or the close box while a write runs: before the first value it ends at once and nothing is
// written; after it, the write runs to its closing command and then ends, or ends at its failure
// when the sensor falls silent meanwhile.
void WorkflowsTest::exitDuringWrite_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<WriteStage>("stage");
    QTest::addColumn<bool>("closeBox");
    const char *names[] = {"identifying", "first value", "closing command", "sensor falls silent"};
    for (int level : {12, 20})
        for (WriteStage stage : {WriteStage::Identifying, WriteStage::FirstValue, WriteStage::Closing, WriteStage::FallsSilent})
            for (bool closeBox : {false, true})
                QTest::addRow("%d %s %s", level, names[int(stage)], closeBox ? "close box" : "Exit") << level << stage << closeBox;
}

void WorkflowsTest::exitDuringWrite()
{
    QFETCH(int, level);
    QFETCH(WriteStage, stage);
    QFETCH(bool, closeBox);
    const std::vector<Parameter> &parameters = TableForLevel(std::int16_t(level)).parameters;
    Rig rig(level);
    if (stage == WriteStage::FallsSilent)
        rig.sim.config().withFault(2, parameters.back().number, SimFault::Silent);
    rig.window.show();
    rig.enter({"-2.5", "5", "0.25", "100", "100", "3"});
    const QStringList entered = shownEntries(rig.window);
    rig.status.clear();
    const QByteArray at = stage == WriteStage::Identifying ? QByteArray("$1,25\r")
        : stage == WriteStage::Closing ? QByteArray("$3,0,") : "$2," + QByteArray::number(parameters.front().number) + ',';
    QElapsedTimer sinceExit;
    const auto watch = onCommand(rig.sim, at, [&] {
        meddle(rig.window);
        sinceExit.start();
        closeBox ? void(rig.window.close()) : rig.click(Control::cmdok);
    });
    rig.click(Control::cmdSaveSensor);
    const qint64 took = sinceExit.elapsed();

    QVERIFY(!rig.window.isVisible() && rig.window.link().waits().programEnded() && !rig.window.link().isOpen());
    QCOMPARE(shownEntries(rig.window), entered); // what was written: nothing typed meanwhile counts
    const bool finished = stage != WriteStage::Identifying, failed = stage == WriteStage::FallsSilent;
    QCOMPARE(rig.sim.received().count("$2,"), finished ? qsizetype(parameters.size()) : 0);
    QCOMPARE(rig.sim.received().contains("$3,0,"), finished && !failed);
    // A finished write ends without its check, so nothing calls it written.
    const QStringList shown = {"Writing Settings To Sensor", "Finishing The Write - Please Wait",
                               "Could Not Write All Of The Settings - Check Power and Wiring"};
    QCOMPARE(rig.status.texts(), shown.first(finished ? 2 + failed : 1));
    QVERIFY(!finished || rig.status.entries()[1].colour == rig.window.state().busyColor);
    QVERIFY2(took < (finished ? 2000 : 250), qPrintable(QString::number(took)));
}

// Entries the sensor cannot take are refused before anything goes out; one beyond it is shown limited.
void WorkflowsTest::refusedBeforeSending_data()
{
    QTest::addColumn<QStringList>("texts"); // as Rig::enter takes them
    QTest::addColumn<Control>("marked");
    QTest::addColumn<QString>("shown20mA");
    QTest::newRow("20 mA beyond the sensor") << QStringList{"0", "20", "0.05", "100", "100", "3"} << Control::txt20ma << "10";
    QTest::newRow("K-factor rounded onto its bound") << QStringList{"0", "1", "0", "0.0001", "100", "3"} << Control::txtFactor << "1";
    QTest::newRow("velocity, pipe ID zero") << QStringList{"0", "1", "0", "100", "0", "0"} << Control::txtpipeid << "1";
    QTest::newRow("velocity, pipe ID 5000") << QStringList{"0", "1", "0", "100", "5000", "1"} << Control::txtpipeid << "1";
}

// A volume unit does not use the pipe: no diameter, not even 0, stops its write.
void WorkflowsTest::volumeUnitsIgnoreThePipe()
{
    for (const auto &[unit, set20mA] : {std::pair("2", "0.01"), {"3", "1"}}) { // cubic metres, litres
        Rig rig;
        rig.enter({"0", set20mA, "0", "100", "0", unit});
        rig.click(Control::cmdSaveSensor);
        QCOMPARE(rig.status.texts().last(), QStringLiteral("Sensor Settings Written"));
    }
}

void WorkflowsTest::refusedBeforeSending()
{
    QFETCH(QStringList, texts);
    QFETCH(Control, marked);
    QFETCH(QString, shown20mA);
    Rig rig;
    rig.enter(texts);
    rig.click(Control::cmdSaveSensor);
    QCOMPARE(rig.status.texts().last(), QStringLiteral("Some settings were out of range - Please Re-Check"));
    QCOMPARE(rig.status.entries().last().colour, rig.window.state().errorColor);
    QCOMPARE(rig.window.background(marked), rig.window.state().errorColor);
    QCOMPARE(rig.window.text(Control::txt20ma), shown20mA);
    QVERIFY(rig.sim.received().isEmpty()); // nothing sent
    QVERIFY(actionButtonsEnabled(rig.window));
}

// Each search asks for the ports anew: none at first, then one the user may not open, then the same
// permitted, then, unplugged while connected, a new one under another name. Progress rises step by
// step, search and read each to their end, and is hidden when done.
void WorkflowsTest::searchesThePortsOfTheMomentShowingProgress()
{
    QStringList now;
    SimPorts sims;
    Setup window([&now] { return now; });
    StatusRecorder status(window);
    QList<std::pair<QString, int>> steps; // each value the bar took, with its text
    QProgressBar *bar = window.progressBar();
    connect(bar, &QProgressBar::valueChanged, [&](int value) {
        steps.append({bar->format(), value});
        QVERIFY(window.cursor().shape() == Qt::BusyCursor && window.control(Control::cmdok)->cursor().shape() == Qt::ArrowCursor);
    });
    const auto read = [&](const QString &message, const QString &skipped = {}) {
        steps.clear();
        QTest::mouseClick(window.control(Control::cmdReadSensor), Qt::LeftButton);
        QCOMPARE(status.texts().last(), message);
        QCOMPARE(window.skippedPortsLabel()->isVisible() ? window.skippedPortsLabel()->text() : QString(), skipped);
        QVERIFY(!bar->isVisible() && window.cursor().shape() == Qt::ArrowCursor);
    };
    window.show();
    read(QStringLiteral("Could Not Find A 7-0410 R2W Adaptor"));
    QCOMPARE(steps.size(), 8);
    for (int port = 1; port <= 8; ++port)
        QCOMPARE(steps[port - 1], std::pair(QStringLiteral("COM%1 of 8").arg(port), port));

    now = {sims.add(1).path()};
    {
        NoAccess denied(now[0]);
        const QString group = QFileInfo(now[0]).group();
        read(QStringLiteral("Could Not Find A 7-0410 R2W Adaptor"),
             QStringLiteral("COM1 (%1): permission denied - add your user to the '%2' group, then log in again")
                 .arg(now[0], group == "root" ? "dialout" : group));
    }
    read(QStringLiteral("Sensor Settings Read "));
    QCOMPARE(steps.first(), std::pair(QStringLiteral("COM1 of 8 (%1)").arg(now[0]), 1));
    QCOMPARE(steps.size(), 13);
    for (int i = 1; i <= 12; ++i)
        QCOMPARE(steps[i], std::pair(QStringLiteral("Parameter %1 of 12").arg(i), i));

    now = {sims.add(2).path()};
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("lost:")));
    sims.at(1).hangUp();
    QTRY_VERIFY(!window.link().isOpen());
    read(QStringLiteral("Sensor Settings Read "));
    QCOMPARE(window.link().port().devicePath(1), now[0]);
}

// A write counts as written only when the sensor gives back what was sent.
void WorkflowsTest::writeIsReadBack_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<QList<CommandFault>>("faults");
    QTest::addColumn<QString>("answers"); // under German: texts the sensor gives back instead, "n=text;..."
    QTest::addColumn<int>("marked");      // the one control marked, -1 none
    QTest::addColumn<int>("exitAfterMs"); // Exit this long into the check, -1 never
    const QString otherForms[] = {"10=-2.50000;11=5.0;6=0.250000", "27=-2.500;28=5.00000;36=0.2500000;37=100.00000;45=100.0"};
    for (int level : {12, 20}) {
        QList<CommandFault> unanswered;
        for (const Parameter &p : TableForLevel(std::int16_t(level)).parameters) {
            unanswered.append({2, p.number, SimFault::KeptUnanswered});
            if (p.readLimit > 0)
                QTest::addRow("%d: $2,%d accepted, not kept", level, p.number)
                    << level << QList{CommandFault{2, p.number, SimFault::NotKept}} << QString() << int(p.entry) << -1;
        }
        QTest::addRow("%d: every write kept, unanswered", level) << level << unanswered << QString() << -1 << -1;
        QTest::addRow("%d: decimals given back in another form", level) << level << QList<CommandFault>() << otherForms[level / 20] << -1 << -1;
    }
    QTest::newRow("20: Exit during the check") << 20 << QList<CommandFault>() << QString() << -1 << 60;
}

void WorkflowsTest::writeIsReadBack()
{
    QFETCH(int, level);
    QFETCH(QList<CommandFault>, faults);
    QFETCH(QString, answers);
    QFETCH(int, marked);
    QFETCH(int, exitAfterMs);
    const bool german = !answers.isEmpty();
    LocaleGuard locale(german ? LocaleGuard::german() : LocaleGuard::english());
    Rig rig(level);
    rig.sim.config().faults = faults;
    rig.sim.config().charMs = 0.1; // the line's speed is not what this is about
    for (const CommandFault &f : faults) // a value unlike the one written, so that one not kept shows
        rig.sim.sensor().setValue(f.param, f.param == 9 && level == 12 ? "60" : "-9");
    rig.enter(QStringList{"-2.5", "5", "0.25", "100", "100", "3"}.replaceInStrings(".", german ? "," : "."));
    QStringList entered;
    for (Control c : entries)
        entered << rig.window.text(c);
    const QString checking = QStringLiteral("Checking The Written Settings");
    rig.status.onText(checking, [&] {
        for (const QString &answer : answers.split(';', Qt::SkipEmptyParts))
            rig.sim.sensor().setValue(answer.section('=', 0, 0).toInt(), answer.section('=', 1).toLatin1());
        if (exitAfterMs >= 0)
            QTimer::singleShot(exitAfterMs, &rig.window, [&] { rig.click(Control::cmdok); });
    });
    rig.click(Control::cmdSaveSensor);

    QString reads; // the level's reads, nothing else, follow the closing command
    for (const Parameter &p : TableForLevel(std::int16_t(level)).parameters)
        reads += p.readLimit > 0 ? QStringLiteral("$1,%1\r").arg(p.number) : QString();
    const QString afterClosing = QString::fromLatin1(rig.sim.received()).section(QStringLiteral("$3,0,plomvar\r"), 1);
    if (exitAfterMs >= 0) { // ends at once, nothing sent afterwards
        QVERIFY(rig.window.link().waits().programEnded() && !rig.window.link().isOpen() && actionButtonsDisabled(rig.window));
        QCOMPARE(rig.status.texts().last(), checking);
        QVERIFY2(!afterClosing.isEmpty() && afterClosing.size() < reads.size() && reads.startsWith(afterClosing), qPrintable(afterClosing));
        return;
    }
    QCOMPARE(afterClosing, reads);
    QCOMPARE(rig.status.texts().last(),
             QString::fromLatin1(marked < 0 ? "Sensor Settings Written" : "Sensor Did Not Keep All Of The Settings - Write Again"));
    QCOMPARE(rig.status.entries().last().colour, marked < 0 ? rig.window.state().goodColor : rig.window.state().errorColor);
    QCOMPARE(rig.window.state().linkState, LinkState::Connected);
    for (Control c : entries) {
        QCOMPARE(rig.window.text(c), entered.takeFirst());
        QCOMPARE(rig.window.background(c) == rig.window.state().errorColor, int(c) == marked);
    }
    if (marked < 0 || level == 20) // one level's retries show it; level 12's are the quicker
        return;
    rig.sim.config().faults.clear(); // a second click writes the entries again
    rig.click(Control::cmdSaveSensor);
    QCOMPARE(rig.status.texts().last(), QStringLiteral("Sensor Settings Written"));
    QCOMPARE(rig.window.background(Control(marked)), rig.window.state().normalColor);
}

QTEST_MAIN(WorkflowsTest)
#include "tst_workflows.moc"
