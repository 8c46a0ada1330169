// The window's controls as the user meets them: names, kinds, captions, tooltips, lists, limits,
// tab order, headings, and captions that are never clipped.
#include "core/Status.h"
#include "ui/EntryBox.h"
#include "ui/Setup.h"
#include "WindowDriver.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyleOptionComboBox>
#include <QTest>

class TestWindow : public QObject
{
    Q_OBJECT

private slots:
    void controls_data();
    void controls();
    void lists_data();
    void lists();
    void typingLimits_data();
    void typingLimits();
    void programTextIsShownWhole();
    void tabOrder();
    void titleAndHeadings();
    void nothingClipped();
    void backgroundsShow_data();
    void backgroundsShow();
};

void TestWindow::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("tip");

    const auto row = [](const char *name, const char *kind, const char *text, const char *tip = "") {
        QTest::newRow(name) << QString(name) << QString(kind) << QString(text) << QString(tip);
    };
    row("Image1", "QLabel", "", "Tarsel Dravometer Flow Sensors");
    row("Label3", "QLabel", "Tarsel Dravometer Setup Tool", "This Program Is Compatable With The 7-6610/7-6620");
    row("Version", "QLabel", "Version 4.2");
    row("Shape5", "QFrame", "");
    row("Shape8", "QFrame", "");
    row("Shape2", "QFrame", "");
    row("Shape4", "QFrame", "");
    row("Shape7", "QFrame", "");
    row("Shape6", "QFrame", "");
    row("Label26", "QLabel", " Application Settings",
        "Set These Values First Then Click 'Read Sensor Settings' or 'Restore Factory Settings' ");
    row("Label14", "QLabel", " Loop Settings (4-20mA Sensors Only) ",
        "Set These For 4-20mA Sensors (Ignored by R2W/Freq Sensors) ");
    row("Label27", "QLabel", " Performance Settings",
        "These Settings Are Valid For For R2W, Frequency and 4-20mA Loop Type Sensors");
    row("Label8", "QLabel", " Sensor Information", "Information Only, Valid If Sensor Settings Are Read");
    row("Label13", "QLabel", " Messages");
    row("Label5", "QLabel", " Controls");

    row("Label19", "QLabel", "Flow/Velocity Units");
    row("cboutputunit", "QComboBox", "", "Select Flow/Velocity Unit Of Measure");
    row("Label9", "QLabel", " / ");
    row("Label20", "QLabel", "Time Base");
    row("cbtimeunit", "QComboBox", "", "Select Unit Of Time For The Flow/Velocity Measurement");
    row("Label17", "QLabel", "Pipe ID");
    row("txtpipeid", "EntryBox", "", "Enter The Pipe Inner Diameter");
    row("Label24", "QLabel", "ID Units");
    row("cbpipeidunit", "QComboBox", "", "Select Pipe Inner Diameter Units in Inches or mm");
    row("Label21", "QLabel", "K Factor", "Look up table from manual");
    row("txtFactor", "EntryBox", "",
        "Look Up K factor From Sensor Manual  Using The Pipe Inner Diameter and Fitting Type ");
    row("Label15", "QLabel", "K Factor Units");
    row("cb_k_units", "QComboBox", "", "Enter The Units From The Table Used");
    row("Label16", "QLabel", "4mA set point ");
    row("txt4ma", "EntryBox", "",
        "Enter The Desired Flow Rate/Velocity At 4mA, Can Be Negative and/or Higher Than The 20mA Setting ");
    row("lbunit1", "QLabel", "US gal/min");
    row("Label25", "QLabel", "20mA set point ");
    row("txt20ma", "EntryBox", "",
        "Enter The Desired Flow Rate/Velocity At 20 mA, Can Be Negative and/or Lower Than The 4mA Setting");
    row("lbunit2", "QLabel", "US gal/min");
    row("Label2", "QLabel", "Averaging Time");
    row("cbAverging", "QComboBox", "", "Select The Sensor Averaging Time In Seconds");
    row("Label7", "QLabel", "Quick Response Sensitivity");
    row("cbSensitivity", "QComboBox", "",
        "Select The Desired Percent Of Full Scale Step Change Required To Force The Output To Respond "
        "Immediately and Jump To The New Value");
    row("Label10", "QLabel", "Noise Rejection Frequency");
    row("cbRejection", "QComboBox", "", "Select The Power Line Frequency For Noise Rejection");
    row("Label1", "QLabel", " Low Flow Cut Off");
    row("txtlowflowcutoff", "EntryBox", "",
        "Select The Minimum Desired Flow/Velocity Reading, Lower Values Will Be Shown As Zero, Use Higher "
        "Values For Noisy Pipe Conditions");
    row("lbunit3", "QLabel", "US gal/min");

    row("Label6", "QLabel", "Serial Number");
    row("Label4", "QLabel", "6");
    row("txtserialnum", "QLineEdit", "Not Read",
        "Indicates The Sensor Serial Number, Click Read Sensor Settings First");
    row("Label18", "QLabel", "SensorType");
    row("txttype", "QLineEdit", "Not Read",
        "Indicates The Type Of Sensor Connected R2W or 4-20mA Current Loop, Click Read Sensor Settings First");
    row("txtmsg", "QPlainTextEdit", "", "Program Status Message Area, A Red Color Means Something Is Wrong ");

    row("cmdReadSensor", "QPushButton", "Read Sensor Settings", "Find A Sensor, Read and Show It's Settings");
    row("default", "QPushButton", "Restore Factory Settings",
        "Restore Displayed Performance and Loop Settings To Factory Values, Click 'Write Settings To Sensor' "
        "to actually save");
    row("cmdSaveSensor", "QPushButton", "Write Settings To Sensor", "Saves Currently Displayed Settings To The Sensor");
    row("Read_file", "QPushButton", "Load Settings From File", "Loads Settings From A File");
    row("Save_settings", "QPushButton", "Save Settings To File", "Saves Settings To A File");
    row("cmdok", "QPushButton", "Exit", "Stop The Program");
}

QString shownText(QWidget *widget)
{
    if (auto *box = qobject_cast<QLineEdit *>(widget))
        return box->text();
    if (auto *list = qobject_cast<QComboBox *>(widget))
        return list->currentText();
    if (auto *area = qobject_cast<QPlainTextEdit *>(widget))
        return area->toPlainText();
    if (auto *label = qobject_cast<QLabel *>(widget))
        return label->text();
    if (auto *button = qobject_cast<QPushButton *>(widget))
        return button->text();
    return {};
}

void TestWindow::controls()
{
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(QString, text);
    QFETCH(QString, tip);

    Setup window{QStringList()};
    const QList<QWidget *> found = window.findChildren<QWidget *>(name);
    QCOMPARE(found.size(), 1);
    QWidget *widget = found.first();
    QVERIFY2(widget->inherits(kind.toLatin1()), widget->metaObject()->className());
    QCOMPARE(shownText(widget), text);
    QCOMPARE(widget->toolTip(), tip);
    const bool readOnly = name == "txtserialnum" || name == "txttype" || name == "txtmsg";
    if (auto *box = qobject_cast<QLineEdit *>(widget))
        QCOMPARE(box->isReadOnly(), readOnly);
    if (auto *area = qobject_cast<QPlainTextEdit *>(widget)) {
        QVERIFY(area->isReadOnly());
        QCOMPARE(area->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    }
}

void TestWindow::lists_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("entries");

    QTest::newRow("cboutputunit") << "cboutputunit"
                                  << QStringList{"meter", "feet", "meter^3", "liter", "feet^3", "US gal",
                                                 "Imp gal", "acre in"};
    QTest::newRow("cbtimeunit") << "cbtimeunit" << QStringList{"sec", "min", "hour", "day"};
    QTest::newRow("cbpipeidunit") << "cbpipeidunit" << QStringList{"mm", "inch"};
    QTest::newRow("cb_k_units") << "cb_k_units" << QStringList{"pulses/gallon", "pulses/liter"};
    QTest::newRow("cbAverging") << "cbAverging"
                                << QStringList{"1/10  second", " 1/4   second ", " 1/2   second",
                                               "    1   second", "1 1/2 seconds", "   3   seconds",
                                               "   7   seconds", "  14  seconds", "  25  seconds",
                                               "  50  seconds", "100  seconds"};
    QTest::newRow("cbSensitivity") << "cbSensitivity"
                                   << QStringList{"100 %", "  50 %", "  30 %", "  25 % ", "  20 %", "  15 %",
                                                  "  10 %", "    8 %", "    5 %", "    2 %"};
    QTest::newRow("cbRejection") << "cbRejection" << QStringList{"60 Hz", "50 Hz"};
}

void TestWindow::lists()
{
    QFETCH(QString, name);
    QFETCH(QStringList, entries);

    Setup window{QStringList()};
    auto *list = window.findChild<QComboBox *>(name);
    QVERIFY(list);
    QStringList items;
    for (int row = 0; row < list->count(); ++row)
        items << list->itemText(row);
    QCOMPARE(items, entries);
    QVERIFY(list->isEditable());
    QCOMPARE(list->insertPolicy(), QComboBox::NoInsert);
    QCOMPARE(list->currentIndex(), -1);
    QCOMPARE(list->currentText(), QString());

    // Return on a typed text that is no entry must not add one.
    window.show();
    list->setFocus();
    QTest::keyClicks(list, "zzz");
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(list->count(), entries.size());
}

void TestWindow::typingLimits_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("maxChars");

    QTest::newRow("txtpipeid") << "txtpipeid" << 6;
    QTest::newRow("txtFactor") << "txtFactor" << 7;
    QTest::newRow("txt4ma") << "txt4ma" << 8;
    QTest::newRow("txt20ma") << "txt20ma" << 8;
    QTest::newRow("txtlowflowcutoff") << "txtlowflowcutoff" << 7;
}

void TestWindow::typingLimits()
{
    QFETCH(QString, name);
    QFETCH(int, maxChars);

    Setup window{QStringList()};
    window.show();
    auto *box = window.findChild<QLineEdit *>(name);
    QVERIFY(box);
    QCOMPARE(box->maxLength(), maxChars);
    const QString typed = QStringLiteral("1234567890").left(maxChars + 1);
    QTest::keyClicks(box, typed);
    QCOMPARE(box->text(), typed.left(maxChars));
}

void TestWindow::programTextIsShownWhole()
{
    // A value the program shows must never be cut to the typing limit: "-12345.6" is another number.
    Setup window{QStringList()};
    window.show();
    auto *box = window.findChild<QLineEdit *>("txt4ma");
    window.setText(Control::txt4ma, QStringLiteral("-12345.68"));
    QCOMPARE(window.text(Control::txt4ma), QStringLiteral("-12345.68"));

    box->setFocus();
    box->end(false);
    QTest::keyClick(box, Qt::Key_1);
    QCOMPARE(box->text(), QStringLiteral("-12345.68"));
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClick(box, Qt::Key_1);
    QCOMPARE(box->text(), QStringLiteral("-12345.6"));
    QCOMPARE(box->maxLength(), 8);
}

void TestWindow::tabOrder()
{
    Setup window{QStringList()};
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    const QStringList expected = {
        "txtserialnum", "cboutputunit", "cbtimeunit", "txtpipeid", "cbpipeidunit", "txtFactor",
        "cb_k_units", "txt4ma", "txt20ma", "cbAverging", "cbSensitivity", "cbRejection",
        "txtlowflowcutoff", "cmdReadSensor", "default", "cmdSaveSensor", "Read_file", "Save_settings",
        "cmdok", "txttype", "txtmsg", "txtserialnum",
    };
    window.control(Control::txtserialnum)->setFocus();
    QStringList visited;
    for (int i = 0; i < expected.size(); ++i) {
        QWidget *focus = QApplication::focusWidget();
        while (focus && !expected.contains(focus->objectName()))
            focus = focus->parentWidget();
        QVERIFY(focus);
        visited << focus->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(visited, expected);
}

void TestWindow::titleAndHeadings()
{
    Setup window{QStringList()};
    QCOMPARE(window.objectName(), QStringLiteral("Setup"));
    QCOMPARE(window.windowTitle(), QStringLiteral("7_6610 DravoMeter Set Up Program"));
    QVERIFY(!window.windowIcon().isNull());
    for (const char *heading : {"Label26", "Label14", "Label27", "Label8", "Label13", "Label5"}) {
        auto *label = window.findChild<QLabel *>(heading);
        QVERIFY(label->font().bold());
        QVERIFY(label->text().startsWith(QLatin1Char(' ')));
        QVERIFY(!label->parentWidget()->findChildren<QWidget *>().isEmpty());
    }
    auto *header = window.findChild<QLabel *>("Label3");
    QCOMPARE(header->font().pointSize(), 18);
    QCOMPARE(header->alignment(), Qt::AlignCenter);
    QVERIFY(!window.findChild<QLabel *>("Image1")->pixmap().isNull());
}

// The text rectangle a caption needs inside `area`, wrapped where the widget wraps.
static bool fits(const QFontMetrics &metrics, const QRect &area, const QString &text, bool wrap)
{
    const int flags = Qt::AlignCenter | (wrap ? Qt::TextWordWrap : 0);
    const QRect needed = metrics.boundingRect(area, flags, text);
    return area.contains(needed) || (needed.width() <= area.width() && needed.height() <= area.height());
}

void TestWindow::nothingClipped()
{
    Setup window{QStringList()};
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    const auto checkLabels = [&] {
        for (QLabel *label : window.findChildren<QLabel *>()) {
            if (label->text().isEmpty())
                continue;
            QVERIFY2(fits(label->fontMetrics(), label->contentsRect(), label->text(), label->wordWrap()),
                     qPrintable(label->objectName() + ": " + label->text()));
        }
    };
    checkLabels();
    // Every unit the labels can show, not just the start-up one.
    for (int output = 0; output < outputUnitCount; ++output)
        for (int time = 0; time < timeUnitCount; ++time) {
            window.state().settings.outputUnit = output;
            window.state().settings.timeUnit = time;
            UpdateUnitLabels(window, window.state());
            QApplication::processEvents();
            checkLabels();
        }

    for (QPushButton *button : window.findChildren<QPushButton *>()) {
        QStyleOptionButton option;
        option.initFrom(button);
        const QRect area = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        QVERIFY2(fits(button->fontMetrics(), area, button->text(), true), qPrintable(button->objectName()));
        if (button->text().contains(QLatin1Char(' ')))
            QVERIFY2(button->fontMetrics().horizontalAdvance(button->text()) > area.width(),
                     qPrintable(button->objectName() + " should wrap onto two lines"));
    }

    for (QComboBox *list : window.findChildren<QComboBox *>()) {
        QStyleOptionComboBox option;
        option.initFrom(list);
        option.editable = true;
        const QRect field = list->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                          QStyle::SC_ComboBoxEditField, list);
        for (int row = 0; row < list->count(); ++row)
            QVERIFY2(list->fontMetrics().horizontalAdvance(list->itemText(row)) <= field.width(),
                     qPrintable(list->objectName() + ": " + list->itemText(row)));
    }
}

void TestWindow::backgroundsShow_data()
{
    QTest::addColumn<Control>("control");
    QTest::newRow("entry box") << Control::txtFactor;
    QTest::newRow("read-only box") << Control::txtserialnum;
    QTest::newRow("status line") << Control::txtmsg;
    QTest::newRow("editable list") << Control::cboutputunit;
}

void TestWindow::backgroundsShow()
{
    QFETCH(Control, control);
    Setup window{QStringList()};
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.setText(control, QString());

    const ColourValue red = rgbColour(255, 0, 0);
    window.setBackground(control, red);
    QCOMPARE(window.background(control), red);
    QWidget *widget = window.control(control);
    // A point inside the field, clear of its frame and, for the list, of the arrow button.
    const QPoint inside(widget->width() / 4, widget->height() / 2);
    QCOMPARE(shownColour(widget, inside), QColor(255, 0, 0));

    window.setBackground(control, window.systemWindowColour());
    QCOMPARE(shownColour(widget, inside), QApplication::palette().color(QPalette::Base));
}

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
