// The window as the user meets it: form, start-up state, status line, marks, unit labels, change
// handlers, Exit and the close box.
#include "LocaleGuard.h"
#include "WindowDriver.h"
#include "core/Status.h"
#include "ui/Setup.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyleOptionComboBox>
#include <QTest>

#include <algorithm>
#include <iterator>

namespace {

constexpr Control markable[] = {Control::txtlowflowcutoff, Control::txt4ma, Control::txt20ma, Control::txtpipeid,
                                Control::txtFactor, Control::cboutputunit, Control::cbpipeidunit,
                                Control::cb_k_units, Control::cbtimeunit};

QComboBox *listOf(Setup &w, Control list) { return qobject_cast<QComboBox *>(w.control(list)); }
QStringList unitLabels(const Setup &w)
{
    return {w.text(Control::lbunit1), w.text(Control::lbunit2), w.text(Control::lbunit3)};
}
// Empties the status line in busyColor, so that the next message and its colour show.
void blankStatus(Setup &w) { ShowStatus(w, QString(), w.state().busyColor); }
bool warned(Setup &w)
{
    return w.text(Control::txtmsg) == "Application Settings Changed - Check Setpoints and Low Flow Cutoff"
        && w.background(Control::txtmsg) == w.state().normalColor;
}

} // namespace

class TestWindow : public QObject
{
    Q_OBJECT
private slots:
    void form();
    void lists();
    void typingLimits();
    void tabOrder();
    void nothingClipped();
    void backgroundsShow();
    void startup_data();
    void startup();
    void userChoices();
    void textChangesAndProgramChoices();
    void exitAndCloseBox();
};

void TestWindow::form()
{
    Setup window{QStringList()};
    QCOMPARE(window.objectName(), "Setup");
    QCOMPARE(window.windowTitle(), "7_6610 DravoMeter Set Up Program");
    QVERIFY(!window.windowIcon().isNull() && !window.findChild<QLabel *>("Image1")->pixmap().isNull());
    auto *header = window.findChild<QLabel *>("Label3");
    QCOMPARE(header->text(), "Tarsel Dravometer Setup Tool");
    QVERIFY(header->font().pointSize() == 18 && header->alignment() == Qt::AlignCenter);
    // Six frames, each with its bold heading (one leading blank) and its controls.
    const char *const groups[][3] = {{"Shape5", "Label26", "cb_k_units"}, {"Shape8", "Label14", "txt20ma"},
                                     {"Shape2", "Label27", "txtlowflowcutoff"}, {"Shape4", "Label8", "txttype"},
                                     {"Shape7", "Label13", "txtmsg"}, {"Shape6", "Label5", "cmdok"}};
    for (const auto &[frame, heading, member] : groups) {
        auto *label = window.findChild<QLabel *>(heading);
        QWidget *group = label->parentWidget();
        QVERIFY2(label->font().bold() && label->text().startsWith(' ') && group->objectName() == frame, heading);
        QVERIFY(group->inherits("QFrame") && group->isAncestorOf(window.findChild<QWidget *>(member)));
    }
    for (Control box : {Control::txtserialnum, Control::txttype})
        QVERIFY(qobject_cast<QLineEdit *>(window.control(box))->isReadOnly() && window.text(box) == "Not Read");
    auto *status = qobject_cast<QPlainTextEdit *>(window.control(Control::txtmsg));
    QVERIFY(status->isReadOnly() && status->lineWrapMode() == QPlainTextEdit::WidgetWidth);
}

void TestWindow::lists()
{
    // A row is the value the sensor gets: entries, order and blanks matter.
    const std::pair<Control, const char *> lists[] = {
        {Control::cboutputunit, "meter|feet|meter^3|liter|feet^3|US gal|Imp gal|acre in"},
        {Control::cbtimeunit, "sec|min|hour|day"},
        {Control::cbpipeidunit, "mm|inch"},
        {Control::cb_k_units, "pulses/gallon|pulses/liter"},
        {Control::cbAverging, "1/10  second| 1/4   second | 1/2   second|    1   second|1 1/2 seconds|   3   seconds|"
                              "   7   seconds|  14  seconds|  25  seconds|  50  seconds|100  seconds"},
        {Control::cbSensitivity, "100 %|  50 %|  30 %|  25 % |  20 %|  15 %|  10 %|    8 %|    5 %|    2 %"},
        {Control::cbRejection, "60 Hz|50 Hz"},
    };
    Setup window{QStringList()};
    window.show();
    for (const auto &[control, entries] : lists) {
        QComboBox *list = listOf(window, control);
        QVERIFY(list->isEditable() && list->currentIndex() == -1 && list->currentText().isEmpty());
        // Return on a typed text that is no entry must not add one.
        QTest::keyClicks(list, "zzz");
        QTest::keyClick(list, Qt::Key_Return);
        QStringList items;
        for (int row = 0; row < list->count(); ++row)
            items << list->itemText(row);
        QCOMPARE(items.join('|'), entries);
    }
}

void TestWindow::typingLimits()
{
    Setup window{QStringList()};
    window.show();
    const std::pair<Control, int> limits[] = {{Control::txtpipeid, 6}, {Control::txtFactor, 7}, {Control::txt4ma, 8},
                                              {Control::txt20ma, 8}, {Control::txtlowflowcutoff, 7}};
    for (auto [box, limit] : limits) {
        auto *edit = qobject_cast<QLineEdit *>(window.control(box));
        QTest::keyClicks(edit, "123456789");
        QCOMPARE(edit->text(), QString("123456789").left(limit));
        // A longer text from the program is shown whole (cut, it would be another number); typing
        // stays refused until the user has shortened it to the limit.
        window.setText(box, "-12345.678");
        QTest::keyClick(edit, Qt::Key_1);
        QCOMPARE(edit->text(), "-12345.678");
        for (int i = limit; i < 10; ++i)
            QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClick(edit, Qt::Key_1);
        QCOMPARE(edit->text(), QString("-12345.678").left(limit));
    }
}

void TestWindow::tabOrder()
{
    Setup window{QStringList()};
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    const QStringList expected = QStringLiteral(
        "txtserialnum cboutputunit cbtimeunit txtpipeid cbpipeidunit txtFactor cb_k_units txt4ma txt20ma cbAverging "
        "cbSensitivity cbRejection txtlowflowcutoff cmdReadSensor default cmdSaveSensor Read_file Save_settings "
        "cmdok txttype txtmsg txtserialnum").split(' ');
    window.control(Control::txtserialnum)->setFocus();
    QStringList visited;
    for (int i = 0; i < expected.size(); ++i) {
        QWidget *focus = QApplication::focusWidget();
        while (focus && !expected.contains(focus->objectName()))
            focus = focus->parentWidget(); // a list's line edit stands for its list
        visited << (focus ? focus->objectName() : QString());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(visited, expected);
}

static bool fits(const QWidget *widget, const QRect &area, const QString &text, bool wrap)
{
    const QRect needed = widget->fontMetrics().boundingRect(area, wrap ? Qt::TextWordWrap : 0, text);
    return needed.width() <= area.width() && needed.height() <= area.height();
}

void TestWindow::nothingClipped()
{
    Setup window{QStringList()};
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    for (const auto &row : window.state().unitName) // every unit a label can show
        for (const QString &unit : row) {
            for (Control label : {Control::lbunit1, Control::lbunit2, Control::lbunit3})
                window.setText(label, unit);
            QApplication::processEvents();
            for (QLabel *label : window.findChildren<QLabel *>())
                QVERIFY2(fits(label, label->contentsRect(), label->text(), label->wordWrap()), qPrintable(label->text()));
        }
    for (QPushButton *button : window.findChildren<QPushButton *>()) {
        QStyleOptionButton option;
        option.initFrom(button);
        const QRect area = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        QVERIFY2(fits(button, area, button->text(), true), qPrintable(button->text()));
        // Captions of several words wrap onto two lines.
        QVERIFY(!button->text().contains(' ') || !fits(button, area, button->text(), false));
    }
    for (QComboBox *list : window.findChildren<QComboBox *>()) {
        QStyleOptionComboBox option;
        option.initFrom(list);
        option.editable = true;
        const QRect field = list->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, list);
        for (int row = 0; row < list->count(); ++row)
            QVERIFY2(fits(list, field, list->itemText(row), false), qPrintable(list->itemText(row)));
    }
}

void TestWindow::backgroundsShow()
{
    Setup window{QStringList()};
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    for (Control control : {Control::txtFactor, Control::txtserialnum, Control::txtmsg, Control::cboutputunit}) {
        window.setText(control, QString());
        QWidget *widget = window.control(control);
        const QPoint inside(widget->width() / 4, widget->height() / 2); // clear of frame and arrow
        window.setBackground(control, rgbColour(255, 0, 0));
        QVERIFY(window.background(control) == rgbColour(255, 0, 0) && shownColour(widget, inside) == Qt::red);
        window.setBackground(control, window.systemWindowColour());
        QCOMPARE(shownColour(widget, inside), QApplication::palette().color(QPalette::Base));
    }
}

void TestWindow::startup_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("separator");
    QTest::newRow("English") << LocaleGuard::english() << ".";
    QTest::newRow("German") << LocaleGuard::german() << ",";
    QTest::newRow("Swiss German") << QLocale(QLocale::German, QLocale::Switzerland) << ".";
}

void TestWindow::startup()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, separator);
    LocaleGuard guard(locale);
    Setup window{QStringList()};
    const SetupState &state = window.state();
    QCOMPARE(state.decimalSep, separator);
    const QColor base = QApplication::palette().color(QPalette::Base); // red in the lowest byte
    QCOMPARE(state.normalColor, rgbColour(base.red(), base.green(), base.blue()));
    QVERIFY(state.errorColor == 0x0000FF && state.goodColor == 0x0FF000 && state.busyColor == 0x00FFFF);
    for (Control c : markable)
        QCOMPARE(window.background(c), state.normalColor);
    const QStringList names = QStringLiteral(
        "m/sec,ft/sec,m3/sec,liter/sec,ft3/sec,US gal/sec,Imp gal/sec,acre in/sec,"
        "m/min,ft/min,m3/min,liter/min,ft3/min,US gal/min,Imp gal/min,acre in/min,"
        "m/hour,ft/hour,m3/hour,liter/hour,ft3/hour,US gal/hour,Imp gal/hour,acrein/hour,"
        "m/day,ft/day,m3/day,liter/day,ft3/day,US gal/day,Imp gal/day,acre in/day").split(',');
    for (int i = 0; i < names.size(); ++i)
        QCOMPARE(state.unitName[i % outputUnitCount][i / outputUnitCount], names[i]);
    const double litres[outputUnitCount] = {1, 1, 1000, 1, 28.316847, 3.7854118, 4.54596, 102790.1546449748};
    for (int unit = 0; unit < outputUnitCount; ++unit)
        QCOMPARE(state.volumeFactor[unit], litres[unit]);
    QVERIFY(state.timeFactor[0] == 1 && state.timeFactor[1] * 60 == 1 && state.timeFactor[2] * 3600 == 1);
    QVERIFY(state.timeFactor[3] * 86400 == 1 && state.timeFactor[4] == 0);
    QVERIFY(state.linkState == LinkState::NoAdaptor && state.sensorLevel == 0 && state.lastComPort == 8);
    QVERIFY(state.hasLoopOutput && state.settings.outputUnit == 5 && state.settings.timeUnit == 1);
    // The labels name US gal/min while the lists show nothing.
    QCOMPARE(unitLabels(window), QStringList({"US gal/min", "US gal/min", "US gal/min"}));
    QVERIFY(window.text(Control::cboutputunit).isEmpty() && window.text(Control::cbtimeunit).isEmpty());
}

void TestWindow::userChoices()
{
    Setup window{QStringList()};
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const std::tuple<int, int, QString> choices[] = {{1, 2, "ft/hour"}, {7, 2, "acrein/hour"}};
    for (const auto &[output, time, unit] : choices) {
        for (auto [list, row] : {std::pair(Control::cboutputunit, output), std::pair(Control::cbtimeunit, time),
                                 std::pair(Control::cbpipeidunit, 1)})
            for (int round = 0; round < 2; ++round) { // choosing the same entry again warns again
                blankStatus(window);
                chooseEntry(listOf(window, list), row);
                QVERIFY(warned(window));
            }
        QVERIFY(window.state().settings.outputUnit == output && window.state().settings.timeUnit == time);
        QCOMPARE(unitLabels(window), QStringList({unit, unit, unit}));
    }
    // The shown text decides the row: Qt keeps the old row while a typed text is shown.
    const std::pair<const char *, int> typed[] = {{"gallons", -1}, {"liter", 3}, {"LITER", -1}, {"", -1}};
    for (auto [text, row] : typed) {
        listOf(window, Control::cboutputunit)->lineEdit()->setText(text);
        QCOMPARE(window.currentIndex(Control::cboutputunit), row);
        window.setCurrentIndex(Control::cboutputunit, 7);
        QCOMPARE(window.text(Control::cboutputunit), "acre in");
    }
}

void TestWindow::textChangesAndProgramChoices()
{
    Setup window{QStringList()};
    window.show();
    for (char key : QByteArray("44.5")) { // every keystroke in the pipe ID warns; no label changes
        blankStatus(window);
        QTest::keyClick(window.control(Control::txtpipeid), key);
        QVERIFY(warned(window) && unitLabels(window).first() == "US gal/min");
    }
    for (bool changes : {true, false}) { // K-factor text from the program warns only when it changes
        blankStatus(window);
        window.setText(Control::txtFactor, QStringLiteral("65"));
        QCOMPARE(warned(window), changes);
    }
    blankStatus(window); // no other control warns
    for (Control list : {Control::cb_k_units, Control::cbAverging, Control::cbSensitivity, Control::cbRejection})
        chooseEntry(listOf(window, list), 1);
    for (Control box : {Control::txt4ma, Control::txt20ma, Control::txtlowflowcutoff})
        QTest::keyClicks(window.control(box), "12");
    QCOMPARE(window.text(Control::txtmsg), QString());

    for (int round = 0; round < 2; ++round) { // a choice by the program warns, also of the same row
        blankStatus(window);
        window.setCurrentIndex(Control::cbtimeunit, 2);
        QVERIFY(warned(window) && unitLabels(window).first() == "US gal/hour");
    }
    window.setCurrentIndex(Control::cboutputunit, -1);
    QVERIFY(window.text(Control::cboutputunit).isEmpty() && window.state().settings.outputUnit == -1);
    QCOMPARE(unitLabels(window), QStringList({"", "", ""}));
    const std::pair<int, int> outsideTables[] = {{8, 1}, {5, -1}, {5, 4}};
    for (auto [output, time] : outsideTables) { // labels are emptied, nothing read outside the table
        window.state().settings = {std::int16_t(output), std::int16_t(time)};
        UpdateUnitLabels(window, window.state());
        QCOMPARE(unitLabels(window), QStringList({"", "", ""}));
    }
}

void TestWindow::exitAndCloseBox()
{
    Setup window{QStringList()};
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const SetupState &state = window.state();
    for (int c = 0; c < controlCount; ++c)
        window.setBackground(Control(c), state.errorColor);
    QTest::mouseClick(window.control(Control::cmdok), Qt::LeftButton);
    QVERIFY(!window.isVisible() && window.link().waits().programEnded());
    for (int c = 0; c < controlCount; ++c) // the nine fields only, never performance lists or status line
        QCOMPARE(window.background(Control(c)) == state.normalColor,
                 std::find(std::begin(markable), std::end(markable), Control(c)) != std::end(markable));

    // The close box ends the program too, but leaves the marks; nothing starts afterwards.
    Setup other{QStringList()};
    other.show();
    other.setBackground(Control::txtFactor, state.errorColor);
    QVERIFY(other.close() && !other.isVisible() && other.link().waits().programEnded());
    QTest::mouseClick(other.control(Control::cmdok), Qt::LeftButton);
    QCOMPARE(other.background(Control::txtFactor), state.errorColor);
}

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
