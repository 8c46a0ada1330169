// Settings files, factory defaults and hostile input through the real window with scripted file
// dialogs: exact messages, the 34-byte record, and nothing saved or written that reads back otherwise.
#include "LocaleGuard.h"
#include "SimPorts.h"
#include "StatusRecorder.h"
#include "WindowInput.h"
#include "files/SettingsRecord.h"
#include "ui/Setup.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QtTest>

#include <sys/resource.h>

#include <cmath>
#include <csignal>

namespace {

const QString someNotRead = QStringLiteral("Some Settings Were Not Read Correctly - Recheck All Settings");
const QString readFine = QStringLiteral("Settings Read From File");
const QByteArray earlierFile(100, 'x');

struct FakeDialogs : FileDialogs
{
    std::optional<QString> answer; // none: the user cancels
    std::optional<QString> openSettingsFile() override { return answer; }
    std::optional<QString> saveSettingsFile() override { return answer; }
};

QString localText(QString text) // "." is the default locale's separator, "," the other one
{
    return QLocale().decimalPoint() == "," ? text.replace(u'.', u'\1').replace(u',', u'.').replace(u'\1', u',') : text;
}

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

struct Rig
{
    explicit Rig(const QStringList &ports = missingPorts()) : window(ports), status(window) { window.setFileDialogs(dialogs); }
    void click(Control button) { QTest::mouseClick(window.control(button), Qt::LeftButton); }
    QString last() const { return status.texts().value(status.texts().size() - 1); }
    ColourValue lastColour() const { return status.entries().last().colour; }
    QString path(const QString &name) const { return dir.filePath(name); }
    QStringList shown() const // every entry and unit label
    {
        QStringList texts;
        for (Control c : allControls())
            if (c <= Control::lbunit3 && (c < Control::txtserialnum || c > Control::txtmsg))
                texts << window.text(c);
        return texts;
    }
    QString load(const QByteArray &bytes)
    {
        writeAll(*(dialogs.answer = path("in.bdf")), bytes);
        click(Control::Read_file);
        return last();
    }
    void fill() // every entry valid, in the default locale, away from its default and from goodRecord
    {
        const std::pair<Control, const char *> texts[] = {{Control::txtFactor, "123.456"}, {Control::txtpipeid, "4.5"},
            {Control::txt4ma, "-3.25"}, {Control::txt20ma, "250"}, {Control::txtlowflowcutoff, "1.5"}};
        const std::pair<Control, int> rows[] = {{Control::cboutputunit, 5}, {Control::cbtimeunit, 2}, {Control::cbpipeidunit, 1},
            {Control::cb_k_units, 0}, {Control::cbAverging, 9}, {Control::cbSensitivity, 6}, {Control::cbRejection, 1}};
        for (const auto &[box, text] : texts)
            typeText(window, box, localText(text));
        for (const auto &[list, row] : rows)
            window.setCurrentIndex(list, row);
    }
    bool saved() const { return readAll(path("saved.bdf")) != earlierFile; }
    // Saves over an earlier file: a refusal leaves it as it was; a save leaves the record alone, which
    // loads into a fresh window as the same record and entries (a non-finite number would not).
    void saveMustRoundTrip()
    {
        writeAll(path("saved.bdf"), earlierFile);
        dialogs.answer = path("saved.bdf");
        click(Control::Save_settings);
        QCOMPARE(lastColour(), saved() ? window.state().goodColor : window.state().errorColor);
        if (!saved())
            return;
        QCOMPARE(last(), "Settings Saved To File" + path("saved.bdf"));
        QCOMPARE(readAll(path("saved.bdf")), EncodeSettingsRecord(window.state().settings));
        Rig fresh;
        QCOMPARE(fresh.load(readAll(path("saved.bdf"))), readFine);
        QVERIFY(fresh.window.state().settings == window.state().settings);
        QCOMPARE(fresh.shown(), shown());
    }

    QTemporaryDir dir;
    FakeDialogs dialogs;
    Setup window;
    StatusRecorder status;
};

const SensorSettings goodRecord{3, 0, 100, 0, 100, 1, 0, 5, 0.05f, 4, 2, 1}; // l/s, 100 mm, 100 pulses/l

template<typename T> // goodRecord with the field at byte `offset` replaced
QByteArray patched(int offset, T value)
{
    QByteArray bytes = EncodeSettingsRecord(goodRecord);
    qToLittleEndian(value, bytes.data() + offset);
    return bytes;
}

// What a load must report, worked out apart from the tool: K-factor and pipe ID inside their bounds
// once rounded as shown, finite loop values, list rows in range.
QString expectedMessage(const SensorSettings &s)
{
    const auto shown = [](float v) { return float(std::nearbyint(double(v) * 1e4) / 1e4); };
    const auto row = [](int r, int count) { return r >= 0 && r < count; };
    const bool good = shown(s.kFactor) > 0.0001f && shown(s.kFactor) < 999999.1f && shown(s.pipeId) > 0.01f
        && shown(s.pipeId) < 5000.0f && std::isfinite(double(shown(s.setpoint4mA)) + shown(s.setpoint20mA) + shown(s.lowFlowCutoff))
        && row(s.outputUnit, 8) && row(s.timeUnit, 4) && row(s.pipeIdUnit, 2) && row(s.kFactorUnit, 2)
        && row(s.sensitivity, 10) && row(s.noiseRejection, 2);
    return good ? readFine : someNotRead;
}

void enter(Setup &window, Control entry, const QString &text, bool paste) // typed, or pasted over all
{
    auto *list = qobject_cast<QComboBox *>(window.control(entry));
    if (!paste)
        return list ? typeListText(window, entry, text) : typeText(window, entry, text);
    QLineEdit *edit = list ? list->lineEdit() : qobject_cast<QLineEdit *>(window.control(entry));
    QGuiApplication::clipboard()->setText(text);
    edit->selectAll();
    QTest::keySequence(edit, QKeySequence::Paste);
}

struct Refusal
{
    QString name; // of the file chosen; none: the dialog is cancelled
    QByteArray content; // written there first unless the name says "missing"
    Control button;
    QString message; // "%1": the path
};

struct Input
{
    QByteArray file; // loaded when entry is -1
    QString message = {}; // the save's, when given
    int entry = -1;
    QString text = {}; // "." the locale's separator, "," the other one
    bool paste = false;
    QLocale locale = LocaleGuard::english();
};

} // namespace

class SettingsFilesTest : public QObject
{
    Q_OBJECT
private slots:
    void recordIsPackedLittleEndian();
    void refusedFiles_data();
    void refusedFiles();
    void defaults();
    void inputSavesBackOrIsRefused_data();
    void inputSavesBackOrIsRefused();
    void sensorGetsOnlyWhatReadsBack();
};

void SettingsFilesTest::recordIsPackedLittleEndian()
{
    const SensorSettings s{-1, 2, 101.6f, 1, 65.7667f, -3, -2.5f, 7.25f, 0.125f, 9, 4, 32767};
    QCOMPARE(EncodeSettingsRecord(s),
             QByteArray::fromHex("ffff 0200 3333cb42 0100 8d888342 fdff 000020c0 0000e840 0000003e 0900 0400 ff7f"));
}

void SettingsFilesTest::refusedFiles_data()
{
    QTest::addColumn<Refusal>("refusal");
    const Control load = Control::Read_file, save = Control::Save_settings;
    QTest::newRow("load cancelled") << Refusal{{}, {}, load, "Read Cancelled"};
    QTest::newRow("save cancelled") << Refusal{{}, {}, save, "Save Cancelled"};
    QTest::newRow("load .txt") << Refusal{"a.txt", earlierFile, load, "Sorry, Wrong type of file, please select again !"};
    QTest::newRow("save .txt") << Refusal{"a.txt", earlierFile, save, "Sorry, Extension must be .bdf, please save again ! %1"};
    QTest::newRow("load missing") << Refusal{"missing.BdF", {}, load, "Sorry, Could Not Open File"};
    QTest::newRow("save to missing folder")
        << Refusal{"missing/a.bdf", {}, save, "Sorry, Could Not Open File, try again with at writable location"};
    QTest::newRow("save fails writing") << Refusal{"A.BDF", earlierFile, save, "Sorry, could Not Write File, try a different folder"};
    QRandomGenerator random(34);
    QByteArray bytes;
    for (; bytes.size() < settingsRecordSize; bytes += char(random.bounded(256)))
        QTest::addRow("load %d bytes", int(bytes.size()))
            << Refusal{"a.bdf", bytes, load, "Sorry, Could Not Read File, please manually enter settings"};
}

// Nothing changes: not the entries, not the record, not a file.
void SettingsFilesTest::refusedFiles()
{
    QFETCH(Refusal, refusal);
    Rig rig;
    const QString path = rig.path(refusal.name);
    const bool written = !refusal.name.isEmpty() && !refusal.name.startsWith("missing");
    rig.dialogs.answer = refusal.name.isEmpty() ? std::nullopt : std::optional(path);
    if (written)
        writeAll(path, refusal.content);
    rig.fill();
    const QStringList before = rig.shown();
    rig.status.clear();
    std::signal(SIGXFSZ, SIG_IGN); // files limited to 20 bytes through the click: a save fails writing
    rlimit previous;
    getrlimit(RLIMIT_FSIZE, &previous);
    const rlimit small{20, previous.rlim_max};
    QVERIFY(setrlimit(RLIMIT_FSIZE, &small) == 0);
    rig.click(refusal.button);
    setrlimit(RLIMIT_FSIZE, &previous);

    QCOMPARE(rig.last(), QString(refusal.message).replace("%1", path));
    QCOMPARE(rig.lastColour(), refusal.name.isEmpty() ? rig.window.state().busyColor : rig.window.state().errorColor);
    if (refusal.button == Control::Read_file && !refusal.name.isEmpty())
        QCOMPARE(rig.status.texts().mid(0, 2), QStringList({"The File Name Is:", path}));
    QCOMPARE(rig.shown(), before);
    QCOMPARE(readAll(path), written ? refusal.content : QByteArray());
    QVERIFY(actionButtonsEnabled(rig.window));
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
            const QStringList before = rig.shown();
            bool offDuringPause = false;
            QTimer::singleShot(200, &rig.window, [&] { offDuringPause = actionButtonsDisabled(rig.window); });
            rig.click(Control::default_);
            QVERIFY(offDuringPause && actionButtonsEnabled(rig.window));
            QCOMPARE(rig.last(), kFactor.isEmpty() ? "Defaults Shown - Click 'Write Settings To Sensor' To Save"
                                                   : "Please Enter A Valid Number For The PipeID");
            QCOMPARE(rig.shown(), kFactor.isEmpty() ? localText(shown.join('|')).split('|') : before);
        }
}

void SettingsFilesTest::inputSavesBackOrIsRefused_data()
{
    QTest::addColumn<Input>("input");
    for (int at : {4, 10, 16, 20, 24}) // the five numbers
        for (float v : {NAN, INFINITY, -INFINITY, -100.0f, 0.0f, std::numeric_limits<float>::max(), 1e-45f})
            QTest::addRow("float at %d: %g", at, double(v)) << Input{patched(at, v)};
    for (int at : {0, 2, 8, 14, 28, 30, 32}) // the seven list rows
        for (qint16 v : {-1, 11, -32768})
            QTest::addRow("row at %d: %d", at, v) << Input{patched(at, v)};
    QTest::newRow("K rounds onto its bound") << Input{patched(10, 0.00011f)};
    QTest::newRow("pipe rounds onto its bound") << Input{patched(4, 0.01004f)};
    QTest::newRow("longer file") << Input{EncodeSettingsRecord(goodRecord) + QByteArray(30, '\xff')};
    QRandomGenerator random(6610);
    for (int n = 0; n < 24; ++n) {
        QByteArray bytes(settingsRecordSize + random.bounded(31), '\0');
        for (char &b : bytes)
            b = char(random.bounded(256));
        for (int at : {0, 2, 8, 14, 28, 30, 32}) // half with every row in range, so the numbers decide
            if (n % 2)
                bytes[at] = char(random.bounded(2)), bytes[at + 1] = 0;
        QTest::addRow("random %d", n) << Input{bytes};
    }
    QStringList numbers = {"", " 7 ", "abc", "1.2.3", "--1", "0x10", "inf", "-nan", "1 000", "\u00bd", "\u0663"};
    for (const char *sign : {"", "-", "+"})
        for (const char *body : {"0", "1.5", "1,5", ".5", "5.", "0.00011", "0.01004", "65.76674", "1,500", "1e3",
                                 "1E-3", "1e-9", "1e39", "3.4028235e38", "12345678901234567890"})
            numbers << QString::fromUtf8(sign) + body;
    int n = 0;
    for (const QLocale &locale : {LocaleGuard::english(), LocaleGuard::german()})
        for (int box = int(Control::txtFactor); box <= int(Control::txtlowflowcutoff); ++box)
            for (const QString &text : numbers)
                QTest::addRow("%s %d %s", qPrintable(locale.name()), box, qPrintable(text))
                    << Input{{}, {}, box, text, bool(++n % 2), locale};
    Setup window(missingPorts()); // list texts: each list's second row altered, another list's row, no row
    for (int list = int(Control::cboutputunit); list <= int(Control::cbRejection); ++list) {
        const QString row = qobject_cast<QComboBox *>(window.control(Control(list)))->itemText(1);
        for (const QString &text : {row, row.trimmed(), row.toUpper(), row.chopped(1), " " + row, row + "\t",
                                    QStringLiteral("50 Hz"), QString(), QStringLiteral("-1"), QStringLiteral("7")})
            QTest::addRow("%d %s", list, qPrintable(text)) << Input{{}, {}, list, text, bool(++n % 2)};
    }
    QTest::newRow("pasted past the limit") << Input{{}, {}, int(Control::txt4ma), QString(300, '9'), true};
    const QString outside = QStringLiteral("Some Settings Are Out Of Range - Please Check");
    QTest::newRow("K onto its bound") << Input{{}, outside, int(Control::txtFactor), "0.00011"};
    QTest::newRow("pipe onto its bound") << Input{{}, outside, int(Control::txtpipeid), "0.01004"};
}

// A file's value the window cannot show leaves its entry refusing, not an earlier entry to be saved;
// a text with the other locale's separator is never read as a grouped number.
void SettingsFilesTest::inputSavesBackOrIsRefused()
{
    QFETCH(Input, input);
    LocaleGuard guard(input.locale);
    Rig rig;
    rig.fill();
    bool mustRefuse;
    if (input.entry < 0) {
        QCOMPARE(rig.load(input.file), expectedMessage(*DecodeSettingsRecord(input.file)));
        mustRefuse = rig.last() == someNotRead;
    } else {
        enter(rig.window, Control(input.entry), localText(input.text), input.paste);
        const QString shown = rig.window.text(Control(input.entry));
        mustRefuse = input.entry <= int(Control::txtlowflowcutoff) && shown.contains(localText(","));
    }
    rig.saveMustRoundTrip();
    if (!input.message.isEmpty())
        QCOMPARE(rig.last(), input.message);
    QVERIFY(!(mustRefuse && rig.saved()));
    QVERIFY(rig.saved() || !input.file.startsWith(EncodeSettingsRecord(goodRecord))); // a good record saves
}

// One sensor, one search per locale: a read, files and entries the sensor could not take as shown
// (an averaging time outside the list among them) are refused before anything is sent; good entries, pasted, are written and read back the same.
void SettingsFilesTest::sensorGetsOnlyWhatReadsBack()
{
    for (const QLocale &locale : {LocaleGuard::english(), LocaleGuard::german()}) {
        LocaleGuard guard(locale);
        SimPorts ports;
        SimulatedPort &sim = ports.add(1);
        sim.sensor().setValue(45, "0"); // a K-factor of zero
        Rig rig(ports.devicePaths());
        rig.fill();
        rig.click(Control::cmdReadSensor);
        QCOMPARE(rig.last(), QStringLiteral("Some Settings Are Incorrect - Try Agian or Manually Edit"));
        rig.click(Control::cmdSaveSensor);
        QCOMPARE(rig.last(), QStringLiteral("Please Enter A Valid Number For The K Factor")); // no earlier one
        sim.sensor().setValue(45, "100");
        sim.sensor().setValue(13, "11"); // an averaging time outside the list, then one in a file
        for (bool fromFile : {false, true}) {
            rig.fill();
            fromFile ? void(rig.load(patched(28, qint16(40)))) : rig.click(Control::cmdReadSensor);
            QCOMPARE(rig.last(), fromFile ? readFine : QStringLiteral("Sensor Settings Read "));
            QVERIFY(rig.window.text(Control::cbAverging).isEmpty());
            QCOMPARE(rig.window.background(Control::cbAverging), rig.window.state().errorColor);
            rig.click(Control::cmdSaveSensor);
            QCOMPARE(rig.last(), QStringLiteral("Please Select An Averaging Value"));
        }
        for (const QByteArray &bytes : {patched(10, 0.0f), patched(0, qint16(-1)), patched(30, qint16(99)), patched(20, NAN)}) {
            rig.fill();
            QCOMPARE(rig.load(bytes), someNotRead);
            rig.click(Control::cmdSaveSensor);
            QCOMPARE(rig.lastColour(), rig.window.state().errorColor);
        }
        rig.fill();
        typeText(rig.window, Control::txtFactor, localText("0.00011")); // shown as 0.0001, out of range
        rig.click(Control::cmdSaveSensor);
        QCOMPARE(rig.last(), QStringLiteral("Some settings were out of range - Please Re-Check"));
        QVERIFY(!sim.received().contains("$2"));

        const std::pair<Control, const char *> written[] = {{Control::txtFactor, "65.76674"}, {Control::txt4ma, "-0.0015"},
            {Control::txt20ma, "+7.1234"}, {Control::txtlowflowcutoff, "1e-3"}, {Control::txtpipeid, "  12  "}};
        for (const auto &[entry, text] : written)
            enter(rig.window, entry, localText(text), true);
        rig.click(Control::cmdSaveSensor);
        QCOMPARE(rig.last(), QStringLiteral("Sensor Settings Written"));
        const SensorSettings record = rig.window.state().settings;
        rig.click(Control::cmdReadSensor);
        QCOMPARE(rig.last(), QStringLiteral("Sensor Settings Read "));
        QVERIFY(rig.window.state().settings == record);
    }
}

QTEST_MAIN(SettingsFilesTest)
#include "tst_settingsfiles.moc"
