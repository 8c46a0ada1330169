// Settings files and factory defaults: the 34-byte record, and both file actions and the factory
// reset through the real window with scripted file dialogs.
#include "FakeDialogs.h"
#include "LocaleGuard.h"
#include "StatusRecorder.h"
#include "WindowInput.h"
#include "files/SettingsFile.h"
#include "files/SettingsRecord.h"
#include "ui/Setup.h"

#include <QtEndian>
#include <QtTest>

namespace {

constexpr Control everyEntry[] = {
    Control::txtFactor, Control::txtpipeid, Control::txt4ma, Control::txt20ma, Control::txtlowflowcutoff,
    Control::cboutputunit, Control::cbtimeunit, Control::cbpipeidunit, Control::cb_k_units,
    Control::cbAverging, Control::cbSensitivity, Control::cbRejection,
};

struct Rig
{
    Rig() : window(missingPorts()), status(window) { window.setFileDialogs(dialogs); }

    void click(Control button) { QTest::mouseClick(window.control(button), Qt::LeftButton); }
    QString last() const { return status.texts().last(); }
    QStringList shown() const
    {
        QStringList texts;
        for (Control c : everyEntry)
            texts << window.text(c);
        return texts;
    }
    // Every entry valid and away from its default.
    void fill()
    {
        const std::pair<Control, QString> texts[] = {{Control::txtFactor, "123.456"}, {Control::txtpipeid, "4.5"},
            {Control::txt4ma, "-3.25"}, {Control::txt20ma, "250"}, {Control::txtlowflowcutoff, "1.5"}};
        for (const auto &[box, text] : texts)
            typeText(window, box, text);
        const int rows[] = {5, 2, 1, 0, 9, 6, 1};
        for (int i = 0; i < 7; ++i)
            window.setCurrentIndex(everyEntry[5 + i], rows[i]);
    }

    FakeDialogs dialogs;
    Setup window;
    StatusRecorder status;
};

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class SettingsFilesTest : public QObject
{
    Q_OBJECT
private slots:
    void recordIsPackedLittleEndian();
    void extensionIgnoresCase();
    void saveThenLoadIntoFreshWindow();
    void cancelledDialogsChangeNothing();
    void refusedFiles_data();
    void refusedFiles();
    void invalidEntriesAreNotSaved();
    void defaultsFillBlankInstallation_data();
    void defaultsFillBlankInstallation();
    void defaultsKeepPartialInstallation();
};

void SettingsFilesTest::recordIsPackedLittleEndian()
{
    SensorSettings s;
    s.outputUnit = -1;
    s.pipeId = 101.6f;
    s.kFactor = 65.7667f;
    s.setpoint4mA = -2.5f;
    s.noiseRejection = 1;
    const QByteArray bytes = EncodeSettingsRecord(s);
    QCOMPARE(bytes.size(), settingsRecordSize);
    QCOMPARE(bytes.left(2), QByteArray("\xff\xff", 2));
    const auto floatAt = [&bytes](int offset) {
        const auto bits = qFromLittleEndian<quint32>(bytes.constData() + offset);
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    };
    QCOMPARE(floatAt(4), 101.6f);
    QCOMPARE(floatAt(10), 65.7667f); // no gap after the pipe ID unit
    QCOMPARE(floatAt(16), -2.5f);    // nor after the K-factor unit
    QCOMPARE(qFromLittleEndian<qint16>(bytes.constData() + 32), qint16(1));
    QVERIFY(DecodeSettingsRecord(bytes) == s);
    QVERIFY(!DecodeSettingsRecord(bytes.left(33)).has_value());
}

void SettingsFilesTest::extensionIgnoresCase()
{
    for (const QString path : {"a.bdf", "A.BDF", "/x/a.Bdf"})
        QVERIFY2(HasSettingsExtension(path), qPrintable(path));
    for (const QString path : {"a.txt", "bdf", "a.bdf.txt", "a.bdfx"})
        QVERIFY2(!HasSettingsExtension(path), qPrintable(path));
}

void SettingsFilesTest::saveThenLoadIntoFreshWindow()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("site.bdf");
    writeAll(path, QByteArray(100, 'x')); // saved over: the result is the record alone
    Rig first;
    first.dialogs.answer(path);
    first.fill();
    first.click(Control::Save_settings);
    QCOMPARE(first.last(), "Settings Saved To File" + path);
    QCOMPARE(first.status.entries().last().colour, first.window.state().goodColor);
    QCOMPARE(readAll(path), EncodeSettingsRecord(first.window.state().settings));

    Rig second;
    second.dialogs.answer(path);
    second.click(Control::Read_file);
    QCOMPARE(second.status.texts().mid(0, 2), QStringList({"The File Name Is:", path}));
    QCOMPARE(second.last(), QStringLiteral("Settings Read From File"));
    QCOMPARE(second.status.entries().last().colour, second.window.state().goodColor);
    QCOMPARE(second.shown(), first.shown());
    QCOMPARE(second.window.text(Control::lbunit2), QStringLiteral("US gal/hour"));
    QVERIFY(actionButtonsEnabled(second.window));
}

void SettingsFilesTest::cancelledDialogsChangeNothing()
{
    Rig rig;
    rig.fill();
    const QStringList before = rig.shown();
    rig.click(Control::Read_file);
    QCOMPARE(rig.last(), QStringLiteral("Read Cancelled"));
    QCOMPARE(rig.status.entries().last().colour, rig.window.state().busyColor);
    rig.click(Control::Save_settings);
    QCOMPARE(rig.last(), QStringLiteral("Save Cancelled"));
    QCOMPARE(rig.status.entries().last().colour, rig.window.state().busyColor);
    QCOMPARE(rig.shown(), before);
    QVERIFY(actionButtonsEnabled(rig.window));
}

void SettingsFilesTest::refusedFiles_data()
{
    QTest::addColumn<QString>("name"); // below a fresh folder
    QTest::addColumn<QByteArray>("content"); // empty: no such file
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("message");
    const QByteArray record = EncodeSettingsRecord(SensorSettings());
    const int load = int(Control::Read_file), save = int(Control::Save_settings);
    QTest::newRow("load .txt") << "a.txt" << record << load << "Sorry, Wrong type of file, please select again !";
    QTest::newRow("save .txt") << "a.txt" << record << save << "Sorry, Extension must be .bdf, please save again ! %1";
    QTest::newRow("load missing") << "a.bdf" << QByteArray() << load << "Sorry, Could Not Open File";
    QTest::newRow("save into missing folder") << "none/a.bdf" << QByteArray() << save
                                              << "Sorry, Could Not Open File, try again with at writable location";
    QTest::newRow("load short") << "a.bdf" << record.left(33) << load
                                << "Sorry, Could Not Read File, please manually enter settings";
}

void SettingsFilesTest::refusedFiles()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(int, button);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    if (!content.isEmpty())
        writeAll(path, content);
    Rig rig;
    rig.dialogs.answer(path);
    rig.fill();
    const QStringList before = rig.shown();
    const SensorSettings record = rig.window.state().settings;
    rig.click(Control(button));
    QCOMPARE(rig.last(), message.contains("%1") ? message.arg(path) : message);
    QCOMPARE(rig.status.entries().last().colour, rig.window.state().errorColor);
    QCOMPARE(rig.shown(), before);
    if (button == int(Control::Read_file))
        QVERIFY(rig.window.state().settings == record);
    QCOMPARE(readAll(path), content); // nothing written
    QVERIFY(actionButtonsEnabled(rig.window));
}

void SettingsFilesTest::invalidEntriesAreNotSaved()
{
    QTemporaryDir dir;
    Rig rig;
    rig.dialogs.answer(dir.filePath("a.bdf"));
    rig.fill();
    typeText(rig.window, Control::txt20ma, QString()); // a 4-20 mA loop needs its 20 mA point
    rig.click(Control::Save_settings);
    QCOMPARE(rig.last(), QStringLiteral("Please Enter A Valid Number For The 20mA Setting"));
    typeText(rig.window, Control::txt20ma, QStringLiteral("99999")); // far beyond the sensor's limit
    rig.click(Control::Save_settings);
    QCOMPARE(rig.last(), QStringLiteral("Some settings were out of range - Please Re-Check"));
    QCOMPARE(rig.window.background(Control::txt20ma), rig.window.state().errorColor);
    QCOMPARE(rig.dialogs.asked(), 0);
}

void SettingsFilesTest::defaultsFillBlankInstallation_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QStringList>("texts"); // K-factor, pipe ID, cutoff
    QTest::newRow("point") << LocaleGuard::english() << QStringList{"65.7667", "44", "0.05"};
    QTest::newRow("comma") << LocaleGuard::german() << QStringList{"65,7667", "44", "0,05"};
}

void SettingsFilesTest::defaultsFillBlankInstallation()
{
    QFETCH(QLocale, locale);
    QFETCH(QStringList, texts);
    LocaleGuard guard(locale);
    Rig rig;
    bool offDuringPause = false;
    QTimer::singleShot(200, &rig.window, [&] { offDuringPause = actionButtonsDisabled(rig.window); });
    rig.click(Control::default_);

    QVERIFY(offDuringPause);
    QCOMPARE(rig.last(), QStringLiteral("Defaults Shown - Click 'Write Settings To Sensor' To Save"));
    QCOMPARE(rig.status.entries().last().colour, rig.window.state().normalColor);
    QCOMPARE(rig.shown(), QStringList({texts[0], texts[1], "0", "5", texts[2], "meter", "sec", "mm",
                                       "pulses/liter", "  14  seconds", "  25 % ", "60 Hz"}));
    QCOMPARE(rig.window.text(Control::lbunit1), QStringLiteral("m/sec"));
    QVERIFY(actionButtonsEnabled(rig.window));
}

void SettingsFilesTest::defaultsKeepPartialInstallation()
{
    Rig rig;
    typeText(rig.window, Control::txtFactor, QStringLiteral("12"));
    rig.click(Control::default_);
    QCOMPARE(rig.last(), QStringLiteral("Please Enter A Valid Number For The PipeID"));
    QCOMPARE(rig.window.text(Control::cboutputunit), QString());
    QCOMPARE(rig.window.text(Control::txt20ma), QString());
    QCOMPARE(rig.window.state().sensor20mA, 0.0f);
}

QTEST_MAIN(SettingsFilesTest)
#include "tst_settingsfiles.moc"
