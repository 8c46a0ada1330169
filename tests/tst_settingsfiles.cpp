// Settings files and factory defaults through the real window, its file dialogs scripted; the
// command line that names a file, and how the program ends on it.
#include "LocaleGuard.h"
#include "WindowRig.h"
#include "files/SettingsRecord.h"
#include "ui/CommandLine.h"

#include <QtTest>

#include <sys/resource.h>

#include <csignal>

namespace {

const QString notRead = QStringLiteral("Some Settings Were Not Read Correctly - Recheck All Settings");
const QString readFine = QStringLiteral("Settings Read From File");
const QString outsideRange = QStringLiteral("Some Settings Are Out Of Range - Please Check");
const QByteArray old(100, 'x');

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

const SensorSettings goodRecord{3, 0, 100, 0, 100, 1, 0, 5, 0.05f, 4, 2, 1}; // l/s, 100 mm, 100 pulses/l

struct Rig : FileDialogs
{
    Rig() : window(SimPorts().devicePaths()), status(window) { window.setFileDialogs(*this); }
    std::optional<QString> openSettingsFile() override { return answer; }
    std::optional<QString> saveSettingsFile() override { return beforeDialog = status.texts(), answer; }
    void click(Control button) { QTest::mouseClick(window.control(button), Qt::LeftButton); }
    QString last() const { return status.texts().value(status.texts().size() - 1); }
    QStringList shown() const // every entry and unit label
    {
        QMap<Control, QString> texts = shownTexts(window);
        texts.removeIf([](auto t) { return t.key() >= Control::txtserialnum && t.key() <= Control::txtmsg; });
        return texts.values();
    }
    QString load(const QByteArray &bytes)
    {
        writeAll(*(answer = dir.filePath("in.bdf")), bytes);
        click(Control::Read_file);
        return last();
    }
    void fill() { QCOMPARE(load(encodeSettingsRecord(goodRecord)), readFine); } // away from the defaults

    QTemporaryDir dir;
    std::optional<QString> answer; // the dialogs' choice; none: the user cancels
    QStringList beforeDialog; // the status line's texts by the time a save asked for its file
    Setup window;
    StatusRecorder status;
};

struct Click // one click of a file button
{
    Control button;
    QString name; // of the file chosen; none: the dialog is cancelled
    QByteArray content; // written there first
    QString message; // the click's last; "%1": the path
    bool saves = true; // the entries, saved afterwards
    QString kFactor = {}; // typed once the entries are filled
    QLocale locale = {};
};

} // namespace

class SettingsFilesTest : public QObject
{
    Q_OBJECT
private slots:
    void recordIsPackedLittleEndian()
    {
        const SensorSettings s{-1, 2, 101.6f, 1, 65.7667f, -3, -2.5f, 7.25f, 0.125f, 9, 4, 32767};
        QCOMPARE(encodeSettingsRecord(s), QByteArray::fromHex("ffff 0200 3333cb42 0100 8d888342 fdff 000020c0"
                                                              " 0000e840 0000003e 0900 0400 ff7f"));
    }
    void fileButtons_data();
    void fileButtons();
    void defaults();
    void readmeListsEveryMessage();
    void exitStatus_data();
    void exitStatus();
};

void SettingsFilesTest::fileButtons_data()
{
    QTest::addColumn<Click>("click");
    const Control load = Control::Read_file, save = Control::Save_settings;
    const QByteArray good = encodeSettingsRecord(goodRecord);
    const auto patched = [](int offset, auto value) { // goodRecord with the field at `offset` replaced
        QByteArray bytes = encodeSettingsRecord(goodRecord);
        qToLittleEndian(value, bytes.data() + offset);
        return bytes;
    };
    for (const QLocale &locale : {LocaleGuard::english(), LocaleGuard::german()}) {
        const auto add = [&locale](const QString &name, Click click) {
            click.locale = locale;
            click.kFactor.replace('.', locale.decimalPoint());
            QTest::addRow("%s %s", qPrintable(locale.name()), qPrintable(name)) << click;
        };
        add("load cancelled, K-factor with 5 decimals", {load, {}, {}, "Read Cancelled", true, "1.23456"});
        add("save cancelled", {save, {}, {}, "Save Cancelled"});
        add("load .txt", {load, "a.txt", old, "Sorry, Wrong type of file, please select again !"});
        add("save .txt", {save, "a.txt", old, "Sorry, Extension must be .bdf, please save again ! %1"});
        add("load missing", {load, "missing.BdF", {}, "Sorry, Could Not Open File"});
        add("save to missing folder",
            {save, "missing/a.bdf", {}, "Sorry, Could Not Open File, try again with at writable location"});
        add("save fails", {save, "A.BDF", old, "Sorry, could Not Write File, try a different folder"});
        add("load short file",
            {load, "a.bdf", good.chopped(1), "Sorry, Could Not Read File, please manually enter settings"});
        add("load longer file", {load, "a.bdf", good + QByteArray(30, '\xff'), readFine});
        for (int at : {4, 10, 16, 20, 24}) // five numbers; loop values (16 on) load, unless past the sensor
            for (float v : {NAN, INFINITY, -100.0f, std::numeric_limits<float>::max()})
                add(QString("float at %1: %2").arg(at).arg(v),
                    {load, "a.bdf", patched(at, v), at >= 16 && qIsFinite(v) ? readFine : notRead, false});
        for (int at : {0, 2, 8, 14, 28, 30, 32}) // the seven list rows, each left unchosen
            for (qint16 v : {-1, 11})
                add(QString("row at %1: %2").arg(at).arg(v), {load, "a.bdf", patched(at, v), notRead, false});
        add("pipe ID on its bound", {load, "a.bdf", patched(4, 0.01f), notRead, false});
        add("K-factor rounds onto its bound", {save, "a.bdf", old, outsideRange, false, "0.00011"});
    }
}

// A refusal changes no file, nor any entry but for the rounding a save shows; a file value the window
// cannot show leaves its entry refusing, not an earlier one to be saved.
void SettingsFilesTest::fileButtons()
{
    QFETCH(Click, click);
    LocaleGuard guard(click.locale);
    Rig rig;
    rig.fill();
    if (!click.kFactor.isEmpty())
        typeText(rig.window, Control::txtFactor, click.kFactor);
    const QString path = rig.dir.filePath(click.name);
    rig.answer = click.name.isEmpty() ? std::nullopt : std::optional(path);
    if (!click.content.isEmpty())
        writeAll(path, click.content);
    const QStringList before = rig.shown();
    rig.status.clear();
    std::signal(SIGXFSZ, SIG_IGN); // files limited to 20 bytes through the click: a save fails writing
    rlimit previous;
    getrlimit(RLIMIT_FSIZE, &previous);
    const rlimit small{20, previous.rlim_max};
    QVERIFY(setrlimit(RLIMIT_FSIZE, &small) == 0);
    rig.click(click.button);
    setrlimit(RLIMIT_FSIZE, &previous);

    const SetupState &state = rig.window.state();
    for (const StatusEntry &entry : rig.status.entries()) // the buttons off while the click runs, on after
        QVERIFY2(entry.buttonsLocked, qPrintable(entry.text));
    QVERIFY(actionButtonsEnabled(rig.window));
    QCOMPARE(rig.last(), QString(click.message).replace("%1", path));
    const MessageKind kind = click.name.isEmpty() ? MessageKind::Busy
                             : click.message == readFine ? MessageKind::Good : MessageKind::Error;
    QCOMPARE(rig.status.entries().last().colour, rig.window.colourOf(kind));
    if (click.button == Control::Read_file && !click.name.isEmpty()) {
        QCOMPARE(rig.status.texts().mid(0, 2), QStringList({"The File Name Is:", path}));
        Rig given; // `dravometer-setup FILE`, FILE relative: as the button, and the button's own dialog after
        given.fill();
        given.status.clear();
        const CommandLine line({"dravometer-setup", QDir().relativeFilePath(path)});
        given.window.loadSettingsFile(line.settingsFile());
        QCOMPARE(given.status.entries(), rig.status.entries());
        QCOMPARE(given.shown(), rig.shown());
        given.answer.reset();
        given.click(Control::Read_file);
        QCOMPARE(given.last(), "Read Cancelled");
    }
    if (!QStringList{readFine, notRead, outsideRange}.contains(click.message))
        QCOMPARE(rig.shown(), before);
    QCOMPARE(readAll(path), click.content);

    // Then saved over an earlier file, clickable only with the buttons back on: refused, or a round trip.
    writeAll(*(rig.answer = rig.dir.filePath("saved.bdf")), old);
    rig.status.clear();
    rig.click(Control::Save_settings);
    QCOMPARE(rig.beforeDialog, QStringList()); // showing the entries again changed nothing to check
    const QByteArray saved = readAll(*rig.answer);
    QCOMPARE(saved != old, click.saves);
    QCOMPARE(rig.status.entries().last().colour,
             rig.window.colourOf(click.saves ? MessageKind::Good : MessageKind::Error));
    if (!click.saves)
        return;
    QCOMPARE(rig.last(), "Settings Saved To File" + *rig.answer);
    QCOMPARE(saved, encodeSettingsRecord(state.settings));
    Rig fresh;
    QCOMPARE(fresh.load(saved), readFine);
    QVERIFY(fresh.window.state().settings == state.settings);
    QCOMPARE(fresh.shown(), rig.shown());
}

// Shown for a blank installation in either locale, buttons off through the closing pause; a partial one kept.
void SettingsFilesTest::defaults()
{
    const QStringList shown = {"65.7667", "44", "0", "5", "0.05", "meter", "sec", "mm", "pulses/liter",
                               "  14  seconds", "  25 % ", "60 Hz", "m/sec", "m/sec", "m/sec"};
    for (const QString kFactor : {"", "12"})
        for (const QLocale &locale : {LocaleGuard::english(), LocaleGuard::german()}) {
            LocaleGuard guard(locale);
            Rig rig;
            typeText(rig.window, Control::txtFactor, kFactor);
            QStringList expected = kFactor.isEmpty() ? shown : rig.shown();
            if (kFactor.isEmpty())
                expected.replaceInStrings(".", locale.decimalPoint());
            bool offDuringPause = false;
            QTimer::singleShot(200, &rig.window, [&] { offDuringPause = actionButtonsDisabled(rig.window); });
            rig.click(Control::default_);
            QVERIFY(offDuringPause && actionButtonsEnabled(rig.window));
            QCOMPARE(rig.last(), kFactor.isEmpty()
                         ? "Defaults Shown - Click 'Write Settings To Sensor' To Save"
                         : "Please Enter A Valid Number For The PipeID");
            QCOMPARE(rig.shown(), expected);
        }
}

// README's message table lists every message of the catalogue, its variable part left empty, with the colour
// of its kind (in the order of MessageKind), and no other; a message that is only its variable part has none.
void SettingsFilesTest::readmeListsEveryMessage()
{
    const QString colours[] = {"background", "yellow", "green", "red", "below the status line"};
    QSet<QString> program, readme;
    for (Message message : allMessages())
        if (!messageText(message).isEmpty())
            program << messageText(message) + " | " + colours[int(messageKind(message))];
    const QString readmeText = readAll(QFINDTESTDATA("../README.md"));
    const QString table = readmeText.section("| message | colour |", 1).section("\n\n", 0, 0);
    for (QString row : table.split('\n').mid(2)) // "COMn (device): " and "'dialout'" stand for what the line names
        readme << row.section(" | ", 0, 1).mid(2).replace("␣", " ").replace("'dialout'", "''")
                      .remove(QRegularExpression("COMn \\(device\\): |, then the( file's)? path(?= \\|)"));
    QVERIFY2(program == readme,
             qPrintable(QStringList((program - readme).values() + (readme - program).values()).join(" / ")));
}

void SettingsFilesTest::exitStatus_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("output"); // on stdout when the status is 0, else on stderr; the other empty
    const QString version = "dravometer-setup " APP_VERSION "\n";
    const QString noWindow = "the window could not open:";
    QTest::newRow("--help") << QStringList{"--help"} << 0 << "\n  2  " + noWindow + " no graphical display";
    QTest::newRow("--version") << QStringList{"--version"} << 0 << version;
    QTest::newRow("Qt's options, -v")
        << QStringList{"-platform", "offscreen", "-style=Fusion", "-reverse", "-v"} << 0 << version;
    QTest::newRow("--bogus")
        << QStringList{"--bogus"} << 1 << "dravometer-setup: Unknown option 'bogus'.\n\nUsage:";
    QTest::newRow("two files") << QStringList{"a.bdf", "b.bdf"} << 1 << "Give one settings file at most.";
    QTest::newRow("-platform alone") << QStringList{"-platform"} << 1 << "Missing value after '-platform'.";
    QTest::newRow("no display") << QStringList{"a.bdf"} << 2 << "dravometer-setup: " + noWindow;
}

// Run as a script or a desktop session would, with no display at all.
void SettingsFilesTest::exitStatus()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, output);
    QProcess program;
    const QStringList env = {"-u", "DISPLAY", "-u", "WAYLAND_DISPLAY", "-u", "QT_QPA_PLATFORM", PROGRAM};
    program.start("env", env + arguments);
    QVERIFY(program.waitForFinished());
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), status);
    const QString out = program.readAllStandardOutput(), err = program.readAllStandardError();
    QVERIFY2((status ? err : out).contains(output), qPrintable(out + err));
    QCOMPARE((status ? out : err), QString());
}

QTEST_MAIN(SettingsFilesTest)
#include "tst_settingsfiles.moc"
