// The read and write workflows end to end, through the real window, where the fault campaign does not go.
#include "LocaleGuard.h"
#include "PaintCount.h"
#include "WindowRig.h"
#include "core/ParameterEntry.h"

#include <QtTest>
#include <QtWidgets>

#include <cerrno>
#include <clocale>
#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// What a hurried user does while an action runs: types into every box and list, steps every list on.
void meddle(Setup &window)
{
    for (Control c : usualEntries.keys()) {
        typeText(window, c, "777");
        QTest::keyClick(window.control(c), Qt::Key_Down);
    }
}

const QString writing = "Writing Settings To Sensor", checking = "Checking The Written Settings",
              finishing = "Finishing The Write - Please Wait", written = "Sensor Settings Written",
              notKeptText = "Sensor Did Not Keep All Of The Settings - Write Again",
              notWritten = "Could Not Write All Of The Settings - Check Power and Wiring";

// The colour a status text shows in: busy while a write runs, good when written, otherwise error.
QColor statusColour(const Setup &window, const QString &text)
{
    return window.colourOf(text == written ? MessageKind::Good
        : QStringList{writing, checking, finishing}.contains(text) ? MessageKind::Busy : MessageKind::Error);
}

using SensorTexts = QList<std::pair<int, QByteArray>>; // parameter and text

struct WriteCase
{
    int level;
    QStringList shown;
    Entries entered;
    QList<CommandFault> faults;
    QList<Control> marked;  // as not kept, or as out of range
    QString shown20mA;      // instead of the entered one: limited to what the sensor takes
    SensorTexts stored;     // what the sensor then holds
    QString exitAt;         // as a command starting so goes out, or as the status line shows this text
    bool closeBox = false;  // instead of Exit
};

// A value the window cannot show, as the sensor answers it, the field left empty, and what a write then says.
struct Unshowable { int level; int param; const char *value; Control field; QString refusal; };
// Each file dialog answers with the same file in a folder of its own.
struct OneFile : FileDialogs
{
    std::optional<QString> openSettingsFile() override { return dir.filePath("keys.bdf"); }
    std::optional<QString> saveSettingsFile() override { return openSettingsFile(); }
    QTemporaryDir dir;
};
using KeySteps = QList<std::pair<Control, QString>>; // Tab to the control, then type these keys

} // namespace

Q_DECLARE_METATYPE(WriteCase)

class WorkflowsTest : public QObject
{
    Q_OBJECT
private slots:
    // A level-12 sensor keeps its loop values in its own unit: without a K-factor nothing is shown.
    void level12ReadNeedsAndUsesApplicationSettings()
    {
        WindowRig rig(12);
        for (const auto &[param, value] : {std::pair(11, "5"), {10, "-1.5"}, {6, "0.25"}})
            rig.sim.sensor().setValue(param, value);
        rig.enter({{Control::txtFactor, ""}});
        rig.click(Control::cmdReadSensor);
        QCOMPARE(rig.status.texts().last(), QStringLiteral("Please Enter A Valid Number For The K Factor"));
        QCOMPARE(rig.window.background(Control::txtFactor), rig.window.colourOf(MessageKind::Error));
        QCOMPARE(rig.window.text(Control::txt20ma), QStringLiteral("7.25"));

        rig.enter({{Control::txt4ma, ""}, {Control::txt20ma, ""}, {Control::txtlowflowcutoff, ""}}); // unused
        const auto watch = onCommand(rig.sim, "$1,7\r", [&] { meddle(rig.window); }); // nothing typed counts
        QColor markWhileReading;
        rig.status.onText(QStringLiteral("Reading The Sensor Settings"),
                          [&] { markWhileReading = rig.window.background(Control::txtFactor); });
        rig.click(Control::cmdReadSensor);
        QCOMPARE(markWhileReading, rig.window.colourOf(MessageKind::Normal)); // cleared before anything else
        for (const auto &[entry, text] : {std::pair(Control::txt4ma, "-1.5"), {Control::txt20ma, "5"},
             {Control::txtlowflowcutoff, "0.25"}, {Control::cbRejection, "50 Hz"}})
            QCOMPARE(rig.window.text(entry), QString::fromLatin1(text));
    }

    void unshowableReads_data()
    {
        QTest::addColumn<Unshowable>("c");
        const QString number = "Enter A Valid Number For The ", averaging = "Select An Averaging Value";
        const Unshowable cases[] = {{20, 45, "0", Control::txtFactor, number + "K Factor"},
            {20, 27, "1e39", Control::txt4ma, number + "4mA Setting"},
            {12, 10, "-1e39", Control::txt4ma, number + "4mA Setting"},
            {20, 13, "11", Control::cbAverging, averaging}, {12, 7, "11", Control::cbAverging, averaging},
            {12, 8, "10", Control::cbSensitivity, "Select A Sensitivity Value"},
            {20, 16, "2", Control::cbRejection, "Select A Noise Rejection Value"}};
        for (const Unshowable &c : cases)
            QTest::addRow("%d: $1,%d answers %s", c.level, c.param, c.value) << c;
    }

    // A read the window cannot show leaves its field empty and marked, never an earlier entry or a stand-in
    // row to be written, and ends red; the sensor stays connected, and a write stops at that field.
    void unshowableReads()
    {
        QFETCH(Unshowable, c);
        WindowRig rig(c.level);
        rig.sim.sensor().setValue(c.param, c.value);
        rig.click(Control::cmdReadSensor);
        QCOMPARE(rig.status.texts().last(), c.level == 20
                     ? "Some Settings Are Incorrect - Try Agian or Manually Edit"
                     : "Some Settings Could Not Be Read Properly - Try Agian");
        const QColor red = rig.window.colourOf(MessageKind::Error);
        QVERIFY(rig.status.entries().last().colour == red && rig.window.background(c.field) == red);
        QVERIFY(rig.window.text(c.field).isEmpty());
        rig.status.clear();
        rig.click(Control::cmdSaveSensor);
        QCOMPARE(rig.status.texts(), QStringList({writing, "Please " + c.refusal}));
        QCOMPARE(rig.window.background(c.field) == red, c.field < Control::cbAverging);
        QVERIFY(!rig.sim.received().contains("$2"));
    }

    // Each search asks for the ports anew: a missing one, one the user may not open (under German system
    // messages), the same permitted, then, unplugged while connected, another, which a second instance finds
    // busy. Progress rises step by step, hidden when done.
    void searchesThePortsOfTheMomentShowingProgress()
    {
        QStringList now = {"COM7"}; // as Windows names a port: shown by that name alone
        SimPorts sims;
        Setup window([&now] { return now; });
        StatusRecorder status(window);
        QList<std::pair<QString, int>> steps; // each value the bar took, with its text
        QProgressBar *bar = window.progressBar();
        connect(bar, &QProgressBar::valueChanged, [&](int value) {
            steps.append({bar->format(), value});
            QVERIFY(window.cursor().shape() == Qt::BusyCursor);
            QCOMPARE(window.control(Control::cmdok)->cursor().shape(), Qt::ArrowCursor); // Exit stays at hand
        });
        const auto read = [&](const QString &message, const QString &skipped = {}) {
            steps.clear();
            QTest::mouseClick(window.control(Control::cmdReadSensor), Qt::LeftButton);
            QCOMPARE(status.texts().last(), message);
            const QLabel *label = window.skippedPortsLabel();
            QCOMPARE(label->isVisible() ? label->text() : QString(), skipped);
            QVERIFY(!bar->isVisible() && window.cursor().shape() == Qt::ArrowCursor);
        };
        window.show();
        read(QStringLiteral("Could Not Find A 7-0410 R2W Adaptor"));
        QCOMPARE(steps.size(), 8);
        QCOMPARE(steps.first(), std::pair(QStringLiteral("COM7 (port 1 of 8)"), 1));
        for (int port = 2; port <= 8; ++port)
            QCOMPARE(steps[port - 1], std::pair(QStringLiteral("COM%1 of 8").arg(port), port));

        now = {sims.add(1).path()};
        {
            // The pty refuses this process as it would a user outside its group: mode 000, and for root,
            // whom modes do not stop, running as nobody. The system's messages are German, Qt's are not.
            const QByteArray pty = now[0].toLocal8Bit(), language = qgetenv("LANGUAGE"),
                             messages = ::setlocale(LC_MESSAGES, nullptr);
            const bool root = ::geteuid() == 0;
            const auto restore = qScopeGuard([&] {
                QVERIFY(!root || ::setresuid(0, 0, 0) == 0);
                ::chmod(pty.constData(), 0620);
                ::setlocale(LC_MESSAGES, messages.constData());
                qputenv("LANGUAGE", language);
            });
            ::chmod(pty.constData(), 0);
            qputenv("LANGUAGE", "de"); // which C.UTF-8 follows where de_DE is not generated
            QVERIFY(::setlocale(LC_MESSAGES, "de_DE.UTF-8") || ::setlocale(LC_MESSAGES, "C.UTF-8"));
            QVERIFY2(QString(std::strerror(EACCES)) != "Permission denied", "no German messages: libc-l10n");
            QVERIFY(!root || ::setresuid(65534, 65534, 0) == 0);
            const QString group = QFileInfo(now[0]).group();
            read(QStringLiteral("Could Not Find A 7-0410 R2W Adaptor"),
                 QString("COM1 (%1): permission denied - add your user to the '%2' group, then log in again")
                     .arg(now[0], group == "root" ? "dialout" : group));
        }
        PaintCount barPaints(*bar); // each step once; a bar animated while the tool waits paints far more
        read(QStringLiteral("Sensor Settings Read "));
        QVERIFY2(barPaints.count <= 13 + 2, qPrintable(QString::number(barPaints.count)));
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

        Setup second([&now] { return now; }); // a second instance of the tool skips the port held busy
        StatusRecorder secondStatus(second);
        QTest::mouseClick(second.control(Control::cmdReadSensor), Qt::LeftButton);
        QCOMPARE(secondStatus.texts().last(), QStringLiteral("Could Not Find A 7-0410 R2W Adaptor"));
        QCOMPARE(second.skippedPortsLabel()->text(), "COM1 (" + now[0] + "): in use by another program");
        read(QStringLiteral("Sensor Settings Read ")); // and the first keeps working
    }

    // Tasks by keys alone (Return or Space: one handler for every button). Focus goes back to where the
    // action started, and a slip of a second Space or Return while it runs starts and ends nothing.
    void keyboardOnly_data()
    {
        QTest::addColumn<KeySteps>("steps");
        QTest::addColumn<QString>("shown"); // at the end, or nothing when the program has ended
        QTest::addColumn<QString>("slipAt");
        const QString read = "Sensor Settings Read ";
        QTest::newRow("read") << KeySteps{{Control::cmdReadSensor, "\r"}} << read << "";
        QTest::newRow("read, keys again")
            << KeySteps{{Control::cmdReadSensor, " "}} << read << "Reading The Sensor Settings";
        QTest::newRow("edit") << KeySteps{{Control::cboutputunit, "feet"}, {Control::txtpipeid, "12"}}
                              << "Application Settings Changed - Check Setpoints and Low Flow Cutoff" << "";
        QTest::newRow("write") << KeySteps{{Control::cmdSaveSensor, "\r"}} << written << writing;
        QTest::newRow("load") << KeySteps{{Control::Save_settings, "\r"}, {Control::Read_file, "\r"}}
                              << "Settings Read From File" << "";
        QTest::newRow("exit") << KeySteps{{Control::cmdok, " "}} << "" << "";
    }

    void keyboardOnly()
    {
        QFETCH(KeySteps, steps);
        QFETCH(QString, shown);
        QFETCH(QString, slipAt);
        WindowRig rig;
        OneFile dialogs;
        rig.window.setFileDialogs(dialogs);
        rig.window.show();
        QVERIFY(QTest::qWaitForWindowActive(&rig.window));
        QWidget *parked = nullptr;
        rig.status.onText(slipAt, [&] {
            parked = QApplication::focusWidget();
            QTest::keyClicks(parked, " \r");
        });
        for (const auto &[control, keys] : steps) {
            QWidget *target = rig.window.control(control);
            for (int tabs = 0; QApplication::focusWidget() != target && tabs < controlCount; ++tabs)
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QTest::keyClicks(target, keys);
            QVERIFY(shown.isEmpty() || QApplication::focusWidget() == target);
        }
        QVERIFY(slipAt.isEmpty() || parked == rig.window.control(Control::txtmsg));
        QCOMPARE(rig.window.link().waits().programEnded(), shown.isEmpty());
        QVERIFY(shown.isEmpty() || rig.status.texts().value(rig.status.texts().size() - 1).startsWith(shown));
    }

    // Written only when the sensor gives back what was sent. Entries it cannot take are refused before
    // anything goes out. Exit after the first value lets the write and its check run, and ends only when
    // the sensor kept every value; otherwise the window stays open. Before it, or in the end pause, at once.
    void writes_data()
    {
        QTest::addColumn<WriteCase>("write");
        // Refused: the entries marked, 20 mA shown limited. Written (a volume unit does not use the pipe,
        // so no diameter, not even 0, stops it): what the sensor then holds, in its unit.
        const Control pipe = Control::txtpipeid, unit = Control::cboutputunit;
        const Control at20 = Control::txt20ma, cut = Control::txtlowflowcutoff;
        const std::tuple<const char *, Entries, QList<Control>, const char *, SensorTexts> checked[] = {
            {"20 mA beyond the sensor", {{at20, "20"}, {cut, "0.05"}}, {at20}, "10", {}},
            {"velocity, no pipe", {{pipe, "0"}, {unit, 1}}, {pipe}, "", {}},
            {"cubic metres, no pipe", {{at20, "0.01"}, {pipe, "0"}, {unit, 2}}, {}, "",
             {{9, "10"}, {27, "0"}, {28, "0.01"}, {37, "0"}}}};
        const QString outOfRange = "Some settings were out of range - Please Re-Check";
        for (const auto &[name, changes, marked, shown20mA, stored] : checked) {
            Entries entered = {{Control::txt4ma, "0"}, {at20, "1"}, {cut, "0"}};
            entered.insert(changes);
            const QStringList shown = marked.isEmpty() ? QStringList{writing, checking, written}
                                                       : QStringList{writing, outOfRange};
            QTest::newRow(name) << WriteCase{20, shown, entered, {}, marked, shown20mA, stored};
        }
        for (int level : {12, 20}) {
            const std::vector<Parameter> &parameters = tableForLevel(std::int16_t(level)).parameters;
            for (const Parameter &p : parameters)
                if (p.readLimit > 0)
                    QTest::addRow("%d: $2,%d accepted, not kept", level, p.number) << WriteCase{level,
                        {writing, checking, notKeptText}, {}, {{2, p.number, SimFault::NotKept}},
                        {entryOf(p.field)}};
            const QString first = QStringLiteral("$2,%1,").arg(parameters.front().number);
            const Parameter &read =
                *std::find_if(parameters.begin(), parameters.end(), [](auto &p) { return p.readLimit > 0; });
            const QString check = QStringLiteral("$1,%1\r").arg(read.number);
            const QList<CommandFault> silent = {{2, parameters.back().number, SimFault::Silent}};
            const QList<CommandFault> notKept = {{2, read.number, SimFault::NotKept}};
            const QStringList exited = {writing, finishing, checking, written};
            const std::tuple<const char *, QString, QStringList, QList<CommandFault>> exits[] = {
                {"identifying", "$1,25\r", {writing}, {}}, {"first value", first, exited, {}},
                {"closing command", "$3,0,", exited, {}},
                {"first value, sensor falls silent", first, {writing, finishing, notWritten}, silent},
                {"first value, not kept", first, {writing, finishing, checking, notKeptText}, notKept},
                {"checking", check, {writing, checking, finishing, written}, {}},
                {"end pause", written, {writing, checking, written}, {}}};
            for (const auto &[name, at, shown, faults] : exits) {
                const auto marked =
                    shown.last() == notKeptText ? QList{entryOf(read.field)} : QList<Control>();
                for (bool closeBox : {false, true})
                    QTest::addRow("%d: %s at %s", level, closeBox ? "close box" : "Exit", name)
                        << WriteCase{level, shown, {}, faults, marked, {}, {}, at, closeBox};
            }
        }
    }

    void writes()
    {
        QFETCH(WriteCase, write);
        const std::vector<Parameter> &parameters = tableForLevel(std::int16_t(write.level)).parameters;
        const bool exits = !write.exitAt.isEmpty(), refused = write.shown.last().startsWith("Some");
        const bool wrote = write.shown.size() > 1 && !refused, failed = write.shown.last() == notWritten;
        const bool ends = exits && (write.shown.last() == written || !wrote);
        LocaleGuard locale(LocaleGuard::english());
        WindowRig rig(write.level);
        rig.sim.config().faults = write.faults;
        if (!exits) // the line's speed is not what this is about, but Exit is timed by it
            rig.sim.config().charMs = 0.1;
        for (const CommandFault &f : write.faults) // unlike the value written, so that one not kept shows
            rig.sim.sensor().setValue(f.param, f.param == 9 && write.level == 12 ? "50" : "-9");
        rig.window.show();
        rig.enter(write.entered);
        QMap<Control, QString> shown = shownTexts(rig.window, Control::cbRejection);
        if (!write.shown20mA.isEmpty())
            shown[Control::txt20ma] = write.shown20mA;
        rig.status.clear();
        QElapsedTimer sinceExit;
        const auto exit = [&] {
            meddle(rig.window); // nothing typed meanwhile counts
            sinceExit.start();
            write.closeBox ? void(rig.window.close()) : rig.click(Control::cmdok);
        };
        const auto watch = exits ? onCommand(rig.sim, write.exitAt.toLatin1(), exit) : nullptr;
        if (exits)
            rig.status.onText(write.exitAt, exit);
        const auto save = [&] { rig.click(Control::cmdSaveSensor); };
        const int status = ends ? endStatus(save) : (save(), 0);
        const qint64 took = sinceExit.elapsed();

        QCOMPARE(rig.status.texts(), write.shown);
        for (const StatusEntry &entry : rig.status.entries())
            QCOMPARE(entry.colour, statusColour(rig.window, entry.text));
        QCOMPARE(shownTexts(rig.window, Control::cbRejection), shown);
        for (Control c : usualEntries.keys())
            QCOMPARE(rig.window.background(c) == QColor(Qt::red), write.marked.contains(c));
        QCOMPARE(rig.sim.received().count("$2,"), wrote ? qsizetype(parameters.size()) : 0);
        QCOMPARE(rig.sim.received().contains("$3,0,"), wrote && !failed);
        QString reads; // the level's reads, nothing else, follow the closing command
        for (const Parameter &p : parameters)
            reads += p.readLimit > 0 ? QStringLiteral("$1,%1\r").arg(p.number) : QString();
        const QString checked = write.shown.contains(checking) ? reads : QString();
        QCOMPARE(rig.traffic().section("$3,0,plomvar\r", 1), checked);
        if (ends) {
            QVERIFY(status == 0 && !rig.window.isVisible() && rig.window.link().waits().programEnded());
            QVERIFY(!rig.window.link().isOpen() && actionButtonsDisabled(rig.window)); // nothing ran since
            QVERIFY2(took < (write.shown.contains(finishing) ? 4000 : 250), std::to_string(took).c_str());
            return;
        }
        QVERIFY(actionButtonsEnabled(rig.window));
        QCOMPARE(rig.window.state().linkState, failed ? LinkState::NoAdaptor : LinkState::Connected);
        if (exits) { // the end dropped, the failure shown; a further Exit ends as usual
            QVERIFY(rig.window.isVisible() && !rig.window.link().waits().programEnded());
            rig.click(Control::cmdok);
            QVERIFY(!rig.window.isVisible() && rig.window.link().waits().programEnded());
            return;
        }
        QCOMPARE(rig.sim.received().isEmpty(), refused); // nothing sent
        for (const auto &[param, text] : write.stored)
            QCOMPARE(rig.sim.sensor().value(param), text);
        if (write.marked.isEmpty() && write.entered.isEmpty()) { // and reads back as entered
            rig.click(Control::cmdReadSensor);
            QCOMPARE(shownTexts(rig.window, Control::cbRejection), shown);
        }
        if (write.marked.isEmpty() || refused || write.level == 20) // level 12's retries are the quicker
            return;
        rig.sim.config().faults.clear(); // a second click writes the entries again
        rig.click(Control::cmdSaveSensor);
        QCOMPARE(rig.status.texts().last(), written);
        QCOMPARE(rig.window.background(write.marked.first()), rig.window.colourOf(MessageKind::Normal));
    }
};

QTEST_MAIN(WorkflowsTest)
#include "tst_workflows.moc"
