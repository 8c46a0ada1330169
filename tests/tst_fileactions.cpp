// Settings files and factory defaults through the real window, with scripted file dialogs.
#include "FakeDialogs.h"
#include "LocaleGuard.h"
#include "StatusRecorder.h"
#include "WindowInput.h"
#include "files/SettingsRecord.h"
#include "ui/Setup.h"

#include <QtTest>

namespace {

constexpr Control everyEntry[] = {
    Control::txtFactor, Control::txtpipeid, Control::txt4ma, Control::txt20ma,
    Control::txtlowflowcutoff, Control::cboutputunit, Control::cbtimeunit, Control::cbpipeidunit,
    Control::cb_k_units, Control::cbAverging, Control::cbSensitivity, Control::cbRejection,
};

void click(Setup &window, Control button)
{
    QTest::mouseClick(window.control(button), Qt::LeftButton);
}

// Every entry filled with a valid, non-default value.
void fillEveryEntry(Setup &window)
{
    typeText(window, Control::txtFactor, QStringLiteral("123.456"));
    typeText(window, Control::txtpipeid, QStringLiteral("4.5"));
    typeText(window, Control::txt4ma, QStringLiteral("-3.25"));
    typeText(window, Control::txt20ma, QStringLiteral("250"));
    typeText(window, Control::txtlowflowcutoff, QStringLiteral("1.5"));
    window.setCurrentIndex(Control::cboutputunit, 5);
    window.setCurrentIndex(Control::cbtimeunit, 2);
    window.setCurrentIndex(Control::cbpipeidunit, 1);
    window.setCurrentIndex(Control::cb_k_units, 0);
    window.setCurrentIndex(Control::cbAverging, 9);
    window.setCurrentIndex(Control::cbSensitivity, 6);
    window.setCurrentIndex(Control::cbRejection, 1);
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList shownEntries(const Setup &window)
{
    QStringList texts;
    for (Control c : everyEntry)
        texts << window.text(c);
    return texts;
}

} // namespace

class FileActionsTest : public QObject
{
    Q_OBJECT
private slots:
    void saveThenLoadIntoFreshWindow();
    void cancelledDialogs();
    void wrongExtension();
    void unwritableFolder();
    void shortFileChangesNothing();
    void outOfRangeFileIsReported();
    void invalidEntriesAreNotSaved();
    void defaultsFillBlankInstallation_data();
    void defaultsFillBlankInstallation();
    void defaultsKeepPartialInstallation();
};

void FileActionsTest::saveThenLoadIntoFreshWindow()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("site.BDF");
    FakeDialogs dialogs;
    dialogs.answer(path);

    Setup first(missingPorts());
    first.setFileDialogs(dialogs);
    fillEveryEntry(first);
    StatusRecorder saved(first);
    click(first, Control::Save_settings);
    QCOMPARE(saved.texts().last(), QStringLiteral("Settings Saved To File") + path);
    QCOMPARE(saved.entries().last().colour, first.state().goodColor);
    const QByteArray bytes = readAll(path);
    QCOMPARE(bytes.size(), settingsRecordSize);
    QVERIFY(actionButtonsEnabled(first));

    Setup second(missingPorts());
    second.setFileDialogs(dialogs);
    StatusRecorder loaded(second);
    click(second, Control::Read_file);
    QCOMPARE(loaded.texts().first(), QStringLiteral("The File Name Is:"));
    QVERIFY(loaded.showed(path));
    QCOMPARE(loaded.texts().last(), QStringLiteral("Settings Read From File"));
    QCOMPARE(loaded.entries().last().colour, second.state().goodColor);
    QCOMPARE(shownEntries(second), shownEntries(first));
    QVERIFY(second.state().settings == first.state().settings);
    QCOMPARE(second.text(Control::lbunit2), QStringLiteral("US gal/hour"));
    QVERIFY(actionButtonsEnabled(second));
}

void FileActionsTest::cancelledDialogs()
{
    FakeDialogs dialogs;
    dialogs.cancel();
    Setup window(missingPorts());
    window.setFileDialogs(dialogs);
    fillEveryEntry(window);
    const QStringList before = shownEntries(window);
    StatusRecorder status(window);

    click(window, Control::Read_file);
    QCOMPARE(status.texts().last(), QStringLiteral("Read Cancelled"));
    QCOMPARE(status.entries().last().colour, window.state().busyColor);
    click(window, Control::Save_settings);
    QCOMPARE(status.texts().last(), QStringLiteral("Save Cancelled"));
    QCOMPARE(status.entries().last().colour, window.state().busyColor);
    QCOMPARE(shownEntries(window), before);
    QVERIFY(actionButtonsEnabled(window));
}

void FileActionsTest::wrongExtension()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("site.txt");
    QFile existing(path);
    QVERIFY(existing.open(QIODevice::WriteOnly));
    existing.write(QByteArray(34, '\0'));
    existing.close();
    FakeDialogs dialogs;
    dialogs.answer(path);
    Setup window(missingPorts());
    window.setFileDialogs(dialogs);
    fillEveryEntry(window);
    const SensorSettings before = window.state().settings;
    StatusRecorder status(window);

    click(window, Control::Read_file);
    QCOMPARE(status.texts().last(), QStringLiteral("Sorry, Wrong type of file, please select again !"));
    QCOMPARE(status.entries().last().colour, window.state().errorColor);
    QVERIFY(window.state().settings == before);

    click(window, Control::Save_settings);
    QCOMPARE(status.texts().last(), QStringLiteral("Sorry, Extension must be .bdf, please save again ! ") + path);
    QCOMPARE(readAll(path), QByteArray(34, '\0'));
    QVERIFY(actionButtonsEnabled(window));
}

void FileActionsTest::unwritableFolder()
{
    QTemporaryDir dir;
    FakeDialogs dialogs;
    dialogs.answer(dir.filePath("missing-folder/site.bdf"));
    Setup window(missingPorts());
    window.setFileDialogs(dialogs);
    fillEveryEntry(window);
    StatusRecorder status(window);

    click(window, Control::Save_settings);
    QCOMPARE(status.texts().last(), QStringLiteral("Sorry, Could Not Open File, try again with at writable location"));
    QCOMPARE(status.entries().last().colour, window.state().errorColor);

    click(window, Control::Read_file);
    QCOMPARE(status.texts().last(), QStringLiteral("Sorry, Could Not Open File"));
    QVERIFY(actionButtonsEnabled(window));
}

void FileActionsTest::shortFileChangesNothing()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("short.bdf");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(33, '\x01'));
    file.close();
    FakeDialogs dialogs;
    dialogs.answer(path);
    Setup window(missingPorts());
    window.setFileDialogs(dialogs);
    fillEveryEntry(window);
    const QStringList before = shownEntries(window);
    const SensorSettings record = window.state().settings;
    StatusRecorder status(window);

    click(window, Control::Read_file);
    QCOMPARE(status.texts().last(), QStringLiteral("Sorry, Could Not Read File, please manually enter settings"));
    QCOMPARE(status.entries().last().colour, window.state().errorColor);
    QCOMPARE(shownEntries(window), before);
    QVERIFY(window.state().settings == record);
}

void FileActionsTest::outOfRangeFileIsReported()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("odd.bdf");
    SensorSettings odd;
    odd.kFactor = 0; // the window cannot show it
    odd.pipeId = 10;
    odd.sensitivity = 3;
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(EncodeSettingsRecord(odd));
    file.close();
    FakeDialogs dialogs;
    dialogs.answer(path);
    Setup window(missingPorts());
    window.setFileDialogs(dialogs);
    StatusRecorder status(window);

    click(window, Control::Read_file);
    QCOMPARE(status.texts().last(), QStringLiteral("Some Settings Were Not Read Correctly - Recheck All Settings"));
    QCOMPARE(status.entries().last().colour, window.state().errorColor);
    QCOMPARE(window.text(Control::txtpipeid), QStringLiteral("10"));
    QCOMPARE(window.text(Control::cbSensitivity), QStringLiteral("  25 % "));
}

void FileActionsTest::invalidEntriesAreNotSaved()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("site.bdf");
    FakeDialogs dialogs;
    dialogs.answer(path);
    Setup window(missingPorts());
    window.setFileDialogs(dialogs);
    fillEveryEntry(window);
    StatusRecorder status(window);

    typeText(window, Control::txt20ma, QString()); // a 4-20 mA loop needs its 20 mA point
    click(window, Control::Save_settings);
    QCOMPARE(status.texts().last(), QStringLiteral("Please Enter A Valid Number For The 20mA Setting"));

    typeText(window, Control::txt20ma, QStringLiteral("99999")); // far beyond the sensor's limit
    click(window, Control::Save_settings);
    QCOMPARE(status.texts().last(), QStringLiteral("Some settings were out of range - Please Re-Check"));
    QCOMPARE(window.background(Control::txt20ma), window.state().errorColor);
    QCOMPARE(dialogs.asked(), 0);
    QVERIFY(!QFile::exists(path));
    QVERIFY(actionButtonsEnabled(window));
}

void FileActionsTest::defaultsFillBlankInstallation_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("kFactor");
    QTest::addColumn<QString>("pipeId");
    QTest::addColumn<QString>("cutoff");
    QTest::newRow("point") << LocaleGuard::english() << "65.7667" << "44" << "0.05";
    QTest::newRow("comma") << LocaleGuard::german() << "65,7667" << "44" << "0,05";
}

void FileActionsTest::defaultsFillBlankInstallation()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, kFactor);
    QFETCH(QString, pipeId);
    QFETCH(QString, cutoff);
    LocaleGuard guard(locale);
    Setup window(missingPorts());
    StatusRecorder status(window);
    QString typedPipeId;
    status.onText(QStringLiteral("Application Settings Changed - Check Setpoints and Low Flow Cutoff"), [&] {
        typedPipeId = window.text(Control::txtpipeid);
    });
    QElapsedTimer clock;
    clock.start();
    QTimer::singleShot(100, &window, [&] { QVERIFY(actionButtonsDisabled(window)); });

    click(window, Control::default_);
    QVERIFY(clock.elapsed() >= 250);
    QCOMPARE(status.texts().last(), QStringLiteral("Defaults Shown - Click 'Write Settings To Sensor' To Save"));
    QCOMPARE(status.entries().last().colour, window.state().normalColor);
    QCOMPARE(window.text(Control::txtFactor), kFactor);
    QCOMPARE(window.text(Control::txtpipeid), pipeId);
    QCOMPARE(window.text(Control::cboutputunit), QStringLiteral("meter"));
    QCOMPARE(window.text(Control::cbtimeunit), QStringLiteral("sec"));
    QCOMPARE(window.text(Control::cbpipeidunit), QStringLiteral("mm"));
    QCOMPARE(window.text(Control::cb_k_units), QStringLiteral("pulses/liter"));
    QCOMPARE(window.text(Control::lbunit1), QStringLiteral("m/sec"));
    QCOMPARE(window.text(Control::txt4ma), QStringLiteral("0"));
    QCOMPARE(window.text(Control::txt20ma), QStringLiteral("5"));
    QCOMPARE(window.text(Control::txtlowflowcutoff), cutoff);
    QCOMPARE(window.text(Control::cbAverging), QStringLiteral("  14  seconds"));
    QCOMPARE(window.text(Control::cbSensitivity), QStringLiteral("  25 % "));
    QCOMPARE(window.text(Control::cbRejection), QStringLiteral("60 Hz"));
    QVERIFY(actionButtonsEnabled(window));
}

void FileActionsTest::defaultsKeepPartialInstallation()
{
    Setup window(missingPorts());
    typeText(window, Control::txtFactor, QStringLiteral("12"));
    StatusRecorder status(window);

    click(window, Control::default_);
    QCOMPARE(status.texts().last(), QStringLiteral("Please Enter A Valid Number For The PipeID"));
    QCOMPARE(window.text(Control::txtFactor), QStringLiteral("12"));
    QCOMPARE(window.text(Control::cboutputunit), QString());
    QCOMPARE(window.text(Control::txt20ma), QString());
    QCOMPARE(window.state().sensor20mA, 0.0f);
    QVERIFY(actionButtonsEnabled(window));
}

QTEST_MAIN(FileActionsTest)
#include "tst_fileactions.moc"
