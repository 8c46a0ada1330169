// The window as the user meets it: form, start-up, marks, unit labels, change handlers, Exit, close box.
#include "LocaleGuard.h"
#include "StatusRecorder.h"
#include "convert/ListRows.h"
#include "convert/Units.h"
#include "state/Status.h"
#include "ui/GroupFrame.h"
#include "ui/Setup.h"

#include <QtTest>
#include <QtWidgets>

namespace {

QComboBox *listOf(Setup &w, Control list) { return qobject_cast<QComboBox *>(w.control(list)); }
void chooseEntry(QComboBox *list, int row)
{
    list->showPopup();
    list->view()->setCurrentIndex(list->model()->index(row, list->modelColumn()));
    QTest::keyClick(list->view(), Qt::Key_Return);
}
QRect rectIn(const QWidget &window, const QWidget *w) { return {w->mapTo(&window, QPoint()), w->size()}; }
QColor shownColour(QWidget *widget, const QPoint &point)
{
    const QImage image = widget->grab().toImage();
    return image.pixelColor(point * image.devicePixelRatio());
}
QStringList unitLabels(const Setup &w)
{
    return {w.text(Control::lbunit1), w.text(Control::lbunit2), w.text(Control::lbunit3)};
}
// Empties the status line as busy first, so that the handler's message and colour show.
bool warns(Setup &w, const std::function<void()> &action)
{
    w.showStatus(MessageKind::Busy, QString());
    action();
    return w.text(Control::txtmsg) == "Application Settings Changed - Check Setpoints and Low Flow Cutoff"
        && w.background(Control::txtmsg) == w.colourOf(MessageKind::Normal);
}

QString fontText(const QFont &f)
{
    return QStringLiteral("%1 %2%3").arg(f.family()).arg(f.pointSizeF()).arg(f.bold() ? " bold" : "");
}

// The window's table, top to bottom (so in Tab order, labels aside), a caption beside its field: caption (a
// box's starting text), tooltip, font ("": the application's, " bold": it in bold), characters a box takes.
struct Face { const char *name, *caption = "", *tip = "", *font = ""; int limit = 0; };
const Face faces[] = {
    {"Image1", "", "Tarsel Dravometer Flow Sensors"}, {"Version", "Version 4.2"},
    {"Label3", "Tarsel Dravometer Setup Tool", "This Program Is Compatable With The 7-6610/7-6620",
        "Arial 18"},
    {"Label26", " Application Settings", "Set These Values First Then Click 'Read Sensor Settings' or "
        "'Restore Factory Settings' ", " bold"}, {"Label19", "Flow/Velocity Units"},
    {"cboutputunit", "", "Select Flow/Velocity Unit Of Measure"}, {"Label9", " / "}, {"Label20", "Time Base"},
    {"cbtimeunit", "", "Select Unit Of Time For The Flow/Velocity Measurement"}, {"Label17", "Pipe ID"},
    {"txtpipeid", "", "Enter The Pipe Inner Diameter", "", 6}, {"Label24", "ID Units"},
    {"cbpipeidunit", "", "Select Pipe Inner Diameter Units in Inches or mm"},
    {"Label21", "K Factor", "Look up table from manual"},
    {"txtFactor", "", "Look Up K factor From Sensor Manual  Using The Pipe Inner Diameter and "
        "Fitting Type ", "", 7}, {"Label15", "K Factor Units"},
    {"cb_k_units", "", "Enter The Units From The Table Used"},
    {"Label14", " Loop Settings (4-20mA Sensors Only) ", "Set These For 4-20mA Sensors (Ignored by R2W/Freq "
        "Sensors) ", " bold"}, {"Label16", "4mA set point "}, {"lbunit1", "US gal/min"},
    {"txt4ma", "", "Enter The Desired Flow Rate/Velocity At 4mA, Can Be Negative and/or Higher Than The 20mA "
        "Setting ", "", 8}, {"Label25", "20mA set point "}, {"lbunit2", "US gal/min"},
    {"txt20ma", "", "Enter The Desired Flow Rate/Velocity At 20 mA, Can Be Negative and/or Lower Than The "
        "4mA Setting", "", 8},
    {"Label27", " Performance Settings", "These Settings Are Valid For For R2W, Frequency and 4-20mA Loop "
        "Type Sensors", " bold"}, {"Label2", "Averaging Time"},
    {"cbAverging", "", "Select The Sensor Averaging Time In Seconds"},
    {"Label7", "Quick Response Sensitivity"},
    {"cbSensitivity", "", "Select The Desired Percent Of Full Scale Step Change Required To Force The Output "
        "To Respond Immediately and Jump To The New Value"}, {"Label10", "Noise Rejection Frequency"},
    {"cbRejection", "", "Select The Power Line Frequency For Noise Rejection"},
    {"Label1", " Low Flow Cut Off"}, {"lbunit3", "US gal/min"},
    {"txtlowflowcutoff", "", "Select The Minimum Desired Flow/Velocity Reading, Lower Values Will Be Shown "
        "As Zero, Use Higher Values For Noisy Pipe Conditions", "", 7},
    {"Label8", " Sensor Information", "Information Only, Valid If Sensor Settings Are Read", " bold"},
    {"Label6", "Serial Number"}, {"Label4", "6"},
    {"txtserialnum", "Not Read", "Indicates The Sensor Serial Number, Click Read Sensor Settings First"},
    {"Label18", "SensorType"},
    {"txttype", "Not Read", "Indicates The Type Of Sensor Connected R2W or 4-20mA Current Loop, Click Read "
        "Sensor Settings First"}, {"Label13", " Messages", "", " bold"},
    {"txtmsg", "", "Program Status Message Area, A Red Color Means Something Is Wrong "},
    {"Label5", " Controls", "", " bold"},
    {"cmdReadSensor", "Read Sensor Settings", "Find A Sensor, Read and Show It's Settings"},
    {"default", "Restore Factory Settings", "Restore Displayed Performance and Loop Settings To Factory "
        "Values, Click 'Write Settings To Sensor' to actually save"},
    {"cmdSaveSensor", "Write Settings To Sensor", "Saves Currently Displayed Settings To The Sensor"},
    {"Read_file", "Load Settings From File", "Loads Settings From A File"},
    {"Save_settings", "Save Settings To File", "Saves Settings To A File"},
    {"cmdok", "Exit", "Stop The Program"},
};

} // namespace

class TestWindow : public QObject
{
    Q_OBJECT
private slots:
    void form()
    {
        Setup window{QStringList()};
        window.show();
        // Start-up in every locale, and the state it leaves.
        const QLocale english = LocaleGuard::english(), german = LocaleGuard::german(), swiss("de_CH");
        for (auto [locale, separator] : {std::pair(english, "."), {german, ","}, {swiss, "."}}) {
            LocaleGuard guard(locale);
            QCOMPARE(Setup{QStringList()}.state().decimalSep, separator);
        }
        QCOMPARE(window.colourOf(MessageKind::Normal), QApplication::palette().color(QPalette::Base));
        QVERIFY(window.colourOf(MessageKind::Error) == QColor(255, 0, 0)
                && window.colourOf(MessageKind::Busy) == QColor(255, 255, 0)
                && window.colourOf(MessageKind::Good) == QColor(0, 240, 15));
        QCOMPARE(window.windowTitle(), "7_6610 DravoMeter Set Up Program");
        auto *status = qobject_cast<QPlainTextEdit *>(window.control(Control::txtmsg));
        QVERIFY(status->isReadOnly() && status->lineWrapMode() == QPlainTextEdit::WidgetWidth);
        for (Control box : {Control::txtserialnum, Control::txttype})
            QVERIFY(qobject_cast<QLineEdit *>(window.control(box))->isReadOnly());

        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QWidgetList tabbed; // where each Tab leads, from the first focus until it comes round
        do {
            tabbed << QApplication::focusWidget();
            QTest::keyClick(tabbed.last(), Qt::Key_Tab);
        } while (QApplication::focusWidget() != tabbed.first() && tabbed.size() < 30);
        // The window's table and list rows; a caption just above its field or just left of it. A screen
        // reader names every box, list and button, a box by its caption, and reads its tooltip.
        QList<QWidget *> shown;
        QGuiApplication::clipboard()->setText("123456789");
        int focusable = 0;
        for (const Face &face : faces) {
            QWidget *w = window.findChild<QWidget *>(face.name);
            QVERIFY2(w, face.name);
            shown << w;
            auto *caption = qobject_cast<QLabel *>(w);
            int tab = 0;
            for (int i = 0; i < tabbed.size(); ++i)
                tab = tabbed[i] == w || w->isAncestorOf(tabbed[i]) ? i + 1 : tab;
            const QString font = *face.font == 'A' ? face.font : fontText(QApplication::font()) + face.font;
            const QStringList got = {w->property("text").toString(), fontText(w->font()), w->toolTip()};
            QCOMPARE(got.join('|'), QStringList({face.caption, font, face.tip}).join('|'));
            QVERIFY2(tab == (caption ? 0 : ++focusable), face.name);
            if (QWidget *field = caption ? caption->buddy() : nullptr) {
                const QRect a = rectIn(window, caption), b = rectIn(window, field);
                const int gap = std::min({std::abs(b.top() - a.bottom()), std::abs(b.left() - a.right()),
                                          std::abs(a.left() - b.right())});
                const QString name = QAccessible::queryAccessibleInterface(field)->text(QAccessible::Name);
                QVERIFY2(gap <= 12 && name.contains(caption->text().simplified()), face.name);
            }
            if (face.limit) { // pasted into a box never typed in, cut at its limit
                QTest::keySequence(w, QKeySequence::Paste);
                QCOMPARE(w->property("text").toString(), QString("123456789").left(face.limit));
            }
            if (auto *list = qobject_cast<QComboBox *>(w)) { // starts empty, never takes typed text as a row
                QVERIFY(list->isEditable() && list->currentIndex() == -1 && list->currentText().isEmpty());
                QTest::keyClicks(list, "zzz");
                QTest::keyClick(list, Qt::Key_Return);
                QStringList items;
                for (int row = 0; row < list->count(); ++row)
                    items << list->itemText(row);
                for (Control c : allControls())
                    QVERIFY(window.control(c) != list || items == listRows(c));
            }
            QAccessibleInterface *spoken = QAccessible::queryAccessibleInterface(w);
            const bool status = w == window.control(Control::txtmsg); // its description speaks its message
            const bool described = status || spoken->text(QAccessible::Description) == face.tip;
            QVERIFY2(caption || (!spoken->text(QAccessible::Name).isEmpty() && described), face.name);
        }
        QCOMPARE(tabbed.size(), 21);
        // The progress bar while an action runs and, in its place, the ports a search skipped: nothing moves.
        QWidget *buttons = window.control(Control::cmdok)->parentWidget();
        QCoreApplication::processEvents(); // the layout settled first
        const QRect before(rectIn(window, buttons).topLeft(), window.size());
        window.showProgress(1, 8, "COM1 of 8");
        window.showSkippedPorts({"COM1 (/dev/ttyS0): in use by another program",
                                 "COM2 (/dev/ttyUSB0): permission denied - add your user to the 'dialout' "
                                 "group, then log in again"});
        QCoreApplication::processEvents();
        QCOMPARE(QRect(rectIn(window, buttons).topLeft(), window.size()), before);
        QList<QRect> placed;
        for (QWidget *w : shown + QList<QWidget *>{window.progressBar(), window.skippedPortsLabel()}) {
            const QRect at = rectIn(window, w);
            QVERIFY2(w->isVisible() && window.rect().contains(at), qPrintable(w->objectName()));
            for (const QRect &other : std::as_const(placed))
                QVERIFY2(!at.intersects(other), qPrintable(w->objectName()));
            if (w == window.progressBar())
                window.hideProgress();
            else
                placed << at;
        }
        for (GroupFrame *group : window.findChildren<GroupFrame *>()) { // a heading hides the frame behind it
            const QRect heading = rectIn(window, group->heading());
            const QPoint blank(heading.left() + 1, heading.center().y());
            QCOMPARE(shownColour(&window, blank), window.palette().color(QPalette::Window));
        }

        // A longer text from the program is shown whole (cut, it would be another number); typing stays
        // refused until the user has shortened it to the limit.
        window.setText(Control::txt4ma, "-12345.678");
        QTest::keyClick(window.control(Control::txt4ma), Qt::Key_1);
        QCOMPARE(window.text(Control::txt4ma), "-12345.678");
        QTest::keyClicks(window.control(Control::txt4ma), "\b\b1");
        QCOMPARE(window.text(Control::txt4ma), "-12345.6");
    }

    void changeHandlers()
    {
        Setup window{QStringList()};
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        // Each chosen twice: the same entry again warns again.
        const Control unit = Control::cboutputunit, time = Control::cbtimeunit, pipe = Control::cbpipeidunit;
        for (auto [list, row] : {std::pair(unit, 7), {unit, 7}, {time, 2}, {time, 2}, {pipe, 1}, {pipe, 1}})
            QVERIFY(warns(window, [&, list = list, row = row] { chooseEntry(listOf(window, list), row); }));
        QVERIFY(window.state().settings.outputUnit == 7 && window.state().settings.timeUnit == 2);
        QCOMPARE(unitLabels(window), QStringList({"acrein/hour", "acrein/hour", "acrein/hour"}));
        // The shown text decides the row: Qt keeps the old row while a typed text is shown. Blanks at the
        // ends do not count.
        const std::pair<const char *, int> typed[] = {{"gallons", -1}, {"liter", 3}, {"LITER", -1}, {"", -1},
                                                      {" liter\t", 3}, {"  ", -1}, {"li ter", -1}};
        for (auto [text, row] : typed) {
            listOf(window, Control::cboutputunit)->lineEdit()->setText(text);
            QCOMPARE(window.currentIndex(Control::cboutputunit), row);
            window.setCurrentIndex(Control::cboutputunit, 7);
            QCOMPARE(window.text(Control::cboutputunit), "acre in");
        }
        for (char key : QByteArray("44.5")) // every keystroke in the pipe ID warns; no label changes
            QVERIFY(warns(window, [&] { QTest::keyClick(window.control(Control::txtpipeid), key); }));
        QCOMPARE(unitLabels(window).first(), "acrein/hour");
        QVERIFY(!warns(window, [&] { // no other control warns, nor the program showing a record
            window.setText(Control::txtFactor, QStringLiteral("65"));
            window.setText(Control::txtpipeid, QStringLiteral("65"));
            window.setCurrentIndex(Control::cbpipeidunit, 0);
            for (Control list : {Control::cb_k_units, Control::cbAverging, Control::cbSensitivity,
                                 Control::cbRejection})
                chooseEntry(listOf(window, list), 1);
            for (Control box : {Control::txt4ma, Control::txt20ma, Control::txtlowflowcutoff})
                QTest::keyClicks(window.control(box), "12");
        }));
        QCOMPARE(window.text(Control::txtmsg), QString());

        // A choice by the program stores the row and the labels follow, but it warns of nothing.
        QVERIFY(!warns(window, [&] { window.setCurrentIndex(Control::cbtimeunit, 3); }));
        QCOMPARE(unitLabels(window).first(), "acre in/day");
        window.setCurrentIndex(Control::cboutputunit, -1);
        QVERIFY(window.text(Control::cboutputunit).isEmpty() && window.state().settings.outputUnit == -1);
        QCOMPARE(unitLabels(window), QStringList({"", "", ""}));
        window.state().settings = {5, 4}; // no name is read from outside the table
        updateUnitLabels(window, window.state());
        QCOMPARE(unitLabels(window), QStringList({"", "", ""}));
    }

    // While an action runs, in each style: every step's bar as the bare style draws it, also when
    // the step comes round again.
    void progressSteps()
    {
        for (const char *style : {"Fusion", "Windows"}) {
            const QString before = QApplication::style()->name();
            const auto restore = qScopeGuard([before] { QApplication::setStyle(before); });
            QApplication::setStyle(style);
            Setup window{QStringList()};
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            QProgressBar *bar = window.progressBar(), bare;
            bare.setAlignment(bar->alignment());
            bare.setAutoFillBackground(true);
            bare.setPalette(bar->palette());
            for (int step : {0, 1, 2, 12, 1, 2, 12}) {
                window.showProgress(step, 12, QString("Parameter %1 of 12").arg(step));
                bare.resize(bar->size());
                bare.setRange(0, 12);
                bare.setFormat(bar->format());
                bare.setValue(step);
                QVERIFY2(bar->grab().toImage() == bare.grab().toImage(), style);
            }
        }
    }

    void exitAndCloseBox()
    {
        Setup window{QStringList()};
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QColor normal = window.colourOf(MessageKind::Normal);
        window.setText(Control::txtserialnum, QString()); // nothing drawn over the background
        for (Control c : allControls())
            window.setMarked(c, true);
        // Marks show on every kind of field, and Exit clears the markable fields only.
        for (Control c : {Control::txtFactor, Control::txtserialnum, Control::txtmsg, Control::cboutputunit})
            QCOMPARE(shownColour(window.control(c), {window.control(c)->width() / 4, 5}), QColor(Qt::red));
        QCOMPARE(endStatus([&] { QTest::mouseClick(window.control(Control::cmdok), Qt::LeftButton); }), 0);
        QVERIFY(!window.isVisible() && window.link().waits().programEnded());
        for (Control c : allControls())
            QCOMPARE(window.background(c) == normal, c <= Control::cbRejection); // boxes and lists
        const QColor base = QApplication::palette().color(QPalette::Base);
        QCOMPARE(shownColour(window.control(Control::txtFactor), {5, 5}), base);

        // The close box ends the program too, but leaves the marks; nothing starts afterwards.
        Setup other{QStringList()};
        other.show();
        other.setMarked(Control::txtFactor, true);
        QCOMPARE(endStatus([&] { other.close(); }), 0);
        QVERIFY(!other.isVisible() && other.link().waits().programEnded());
        QTest::mouseClick(other.control(Control::cmdok), Qt::LeftButton);
        QCOMPARE(other.background(Control::txtFactor), QColor(Qt::red));
    }
};

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
