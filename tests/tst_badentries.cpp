// Generated entries typed and pasted into every box and list of the real window, in two locales:
// what is saved loads back as saved, what is written reads back as written.
#include "FileRoundTrip.h"
#include "LocaleGuard.h"
#include "SimPorts.h"
#include "StatusRecorder.h"
#include "WindowInput.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QtTest>

namespace {

constexpr Control numberBoxes[] = {Control::txtFactor, Control::txtpipeid, Control::txt4ma, Control::txt20ma,
                                   Control::txtlowflowcutoff};
constexpr Control lists[] = {Control::cboutputunit, Control::cbtimeunit, Control::cbpipeidunit, Control::cb_k_units,
                             Control::cbAverging, Control::cbSensitivity, Control::cbRejection};

// Number texts with "." for the locale's separator and "," for the other one.
const char *const numberTexts[] = {
    "1.5", "1,5", "+2", "-3", "1e3", "1E-3", "-1e-9", "1e39", "3.4028235e38", " 7 ", "", "abc", "1.2.3",
    "1,500", "--1", "0x10", "inf", "-nan", "-0", "1 000", ".5", "5.", "0.00011", "-10.00005",
    "12345678901234567890", "\xc2\xbd", "\xd9\xa3", "65.76674",
};
const char *const listTexts[] = {
    "", "meter ", "METER", "mete", "US gal", "acre in", "7", "-1", " 60 Hz", "50 Hz", "mm\t", "  50 %",
};

QString localText(const char *text, const QLocale &locale)
{
    QString local = QString::fromUtf8(text);
    local.replace(QLatin1Char(','), QChar(0xFFFF)).replace(QLatin1Char('.'), locale.decimalPoint());
    return local.replace(QChar(0xFFFF), locale.decimalPoint() == QLatin1String(",") ? "." : ",");
}

// Replaces an entry's text by typing it, or by pasting it over a selection of everything.
void enter(Setup &window, Control entry, const QString &text, bool paste)
{
    auto *list = qobject_cast<QComboBox *>(window.control(entry));
    if (!paste) {
        list ? typeListText(window, entry, text) : typeText(window, entry, text);
        return;
    }
    QLineEdit *edit = list ? list->lineEdit() : qobject_cast<QLineEdit *>(window.control(entry));
    QGuiApplication::clipboard()->setText(text);
    edit->selectAll();
    QTest::keySequence(edit, QKeySequence::Paste);
}

// A litre-per-second installation with a K-factor of 100 pulses per litre, in the locale's text.
void fillEntries(Setup &window, const QLocale &locale)
{
    const char *const texts[] = {"100", "100", "0", "5", "0.05"};
    for (int i = 0; i < 5; ++i)
        typeText(window, numberBoxes[i], localText(texts[i], locale));
    const int rows[] = {3, 0, 0, 1, 4, 2, 1};
    for (int i = 0; i < 7; ++i)
        window.setCurrentIndex(lists[i], rows[i]);
}

} // namespace

class BadEntriesTest : public QObject
{
    Q_OBJECT
private slots:
    void savedEntriesLoadBack_data();
    void savedEntriesLoadBack();
    void writtenEntriesReadBack_data();
    void writtenEntriesReadBack();
};

void BadEntriesTest::savedEntriesLoadBack_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<int>("entry"); // Control
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("paste");
    int n = 0;
    for (const QLocale &locale : {LocaleGuard::english(), LocaleGuard::german()}) {
        const QString name = locale.name();
        for (Control box : numberBoxes)
            for (const char *text : numberTexts)
                QTest::addRow("%s %d %s", qPrintable(name), int(box), text)
                    << locale << int(box) << localText(text, locale) << bool(++n % 2);
    }
    for (Control list : lists) // list rows are the same in every locale
        for (const char *text : listTexts)
            QTest::addRow("%d %s", int(list), text)
                << LocaleGuard::english() << int(list) << QString::fromUtf8(text) << bool(++n % 2);
    QTest::newRow("pasted past the length limit") << LocaleGuard::english() << int(Control::txt4ma)
                                                  << QString(300, QLatin1Char('9')) << true;
}

void BadEntriesTest::savedEntriesLoadBack()
{
    QFETCH(QLocale, locale);
    QFETCH(int, entry);
    QFETCH(QString, text);
    QFETCH(bool, paste);
    LocaleGuard guard(locale);
    QTemporaryDir dir;
    FakeDialogs dialogs;
    Setup window(missingPorts());
    window.setFileDialogs(dialogs);
    fillEntries(window, locale);
    enter(window, Control(entry), text, paste);
    if (auto *box = qobject_cast<QLineEdit *>(window.control(Control(entry)))) // cut at the limit
        QVERIFY2(text.startsWith(box->text()) && box->text().size() <= box->maxLength(), qPrintable(box->text()));

    const QString path = dir.filePath(QStringLiteral("entry.bdf"));
    saveMustRoundTrip(window, dialogs, path);
    const QString wrongSeparator = locale.decimalPoint() == QLatin1String(",") ? "." : ",";
    if (window.text(Control(entry)).contains(wrongSeparator))
        QVERIFY(!QFile::exists(path)); // never read as a grouped number
}

void BadEntriesTest::writtenEntriesReadBack_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::newRow("point") << LocaleGuard::english();
    QTest::newRow("comma") << LocaleGuard::german();
}

// One sensor, one search: entries the sensor could not read back as shown are refused before
// anything is sent; the others are written together and read back in the same window.
void BadEntriesTest::writtenEntriesReadBack()
{
    QFETCH(QLocale, locale);
    LocaleGuard guard(locale);
    SimPorts ports;
    SimulatedPort &sim = ports.add(1);
    Setup window(ports.devicePaths());
    StatusRecorder status(window);
    const std::pair<Control, const char *> refused[] = {
        {Control::txtFactor, "0.00011"}, {Control::txtFactor, "0"}, {Control::txt20ma, "1e39"},
        {Control::txtlowflowcutoff, "0,5"}, {Control::cboutputunit, "liter "},
    };
    for (const auto &[entry, text] : refused) {
        fillEntries(window, locale);
        enter(window, entry, localText(text, locale), false);
        QTest::mouseClick(window.control(Control::cmdSaveSensor), Qt::LeftButton);
        QCOMPARE(status.entries().last().colour, window.state().errorColor);
    }
    QVERIFY(!sim.received().contains("$2"));

    fillEntries(window, locale);
    const std::pair<Control, const char *> written[] = {
        {Control::txtFactor, "65.76674"}, {Control::txt4ma, "-0.0015"}, {Control::txt20ma, "+7.1234"},
        {Control::txtlowflowcutoff, "1e-3"}, {Control::txtpipeid, "  12  "},
    };
    for (const auto &[entry, text] : written)
        enter(window, entry, localText(text, locale), true);
    QTest::mouseClick(window.control(Control::cmdSaveSensor), Qt::LeftButton);
    QCOMPARE(status.texts().last(), QStringLiteral("Sensor Settings Written"));
    QCOMPARE(window.text(Control::txtFactor), localText("65.7667", locale)); // cut at its length
    const SensorSettings record = window.state().settings;
    QTest::mouseClick(window.control(Control::cmdReadSensor), Qt::LeftButton);
    QCOMPARE(status.texts().last(), QStringLiteral("Sensor Settings Read "));
    QVERIFY(window.state().settings == record);
}

QTEST_MAIN(BadEntriesTest)
#include "tst_badentries.moc"
