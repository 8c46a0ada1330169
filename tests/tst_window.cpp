// The window as the user meets it: form, start-up, marks, unit labels, change handlers, Exit, close box.
#include "FakeView.h"
#include "LocaleGuard.h"
#include "StatusRecorder.h"
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
QColor shownColour(QWidget *widget, const QPoint &point)
{
    const QImage image = widget->grab().toImage();
    return image.pixelColor(point * image.devicePixelRatio());
}
QStringList unitLabels(const Setup &w) { return {w.text(Control::lbunit1), w.text(Control::lbunit2), w.text(Control::lbunit3)}; }
// Empties the status line as busy first, so that the handler's message and colour show.
bool warns(Setup &w, const std::function<void()> &action)
{
    w.showStatus(MessageKind::Busy, QString());
    action();
    return w.text(Control::txtmsg) == "Application Settings Changed - Check Setpoints and Low Flow Cutoff"
        && w.background(Control::txtmsg) == w.colourOf(MessageKind::Normal);
}

QString fontText(const QFont &font) { return QStringLiteral("%1 %2%3").arg(font.family()).arg(font.pointSizeF()).arg(font.bold() ? " bold" : ""); }

// The window's own table, top to bottom, a caption beside its field: a caption (a box's starting text), tooltip,
// place in the Tab chain (0: takes no focus), font ("": the application's; " bold": the application's in bold), limit.
struct Face
{
    const char *name, *caption = "", *tip = "";
    int tab = 0;
    const char *font = "";
    int limit = 0; // the characters a box takes
};
const Face faces[] = {
    {"Image1", "", "Tarsel Dravometer Flow Sensors"}, {"Version", "Version 4.2"},
    {"Label3", "Tarsel Dravometer Setup Tool", "This Program Is Compatable With The 7-6610/7-6620", 0, "Arial 18"},
    {"Label26", " Application Settings", "Set These Values First Then Click 'Read Sensor Settings' or 'Restore Factory Settings' ", 0, " bold"},
    {"Label19", "Flow/Velocity Units"}, {"cboutputunit", "", "Select Flow/Velocity Unit Of Measure", 1}, {"Label9", " / "}, {"Label20", "Time Base"},
    {"cbtimeunit", "", "Select Unit Of Time For The Flow/Velocity Measurement", 2}, {"Label17", "Pipe ID"}, {"txtpipeid", "", "Enter The Pipe Inner Diameter", 3, "", 6},
    {"Label24", "ID Units"}, {"cbpipeidunit", "", "Select Pipe Inner Diameter Units in Inches or mm", 4}, {"Label21", "K Factor", "Look up table from manual"},
    {"txtFactor", "", "Look Up K factor From Sensor Manual  Using The Pipe Inner Diameter and Fitting Type ", 5, "", 7}, {"Label15", "K Factor Units"},
    {"cb_k_units", "", "Enter The Units From The Table Used", 6},
    {"Label14", " Loop Settings (4-20mA Sensors Only) ", "Set These For 4-20mA Sensors (Ignored by R2W/Freq Sensors) ", 0, " bold"}, {"Label16", "4mA set point "},
    {"lbunit1", "US gal/min"}, {"txt4ma", "", "Enter The Desired Flow Rate/Velocity At 4mA, Can Be Negative and/or Higher Than The 20mA Setting ", 7, "", 8},
    {"Label25", "20mA set point "}, {"lbunit2", "US gal/min"},
    {"txt20ma", "", "Enter The Desired Flow Rate/Velocity At 20 mA, Can Be Negative and/or Lower Than The 4mA Setting", 8, "", 8},
    {"Label27", " Performance Settings", "These Settings Are Valid For For R2W, Frequency and 4-20mA Loop Type Sensors", 0, " bold"}, {"Label2", "Averaging Time"},
    {"cbAverging", "", "Select The Sensor Averaging Time In Seconds", 9}, {"Label7", "Quick Response Sensitivity"},
    {"cbSensitivity", "", "Select The Desired Percent Of Full Scale Step Change Required To Force The Output To Respond Immediately and Jump To The New Value", 10},
    {"Label10", "Noise Rejection Frequency"}, {"cbRejection", "", "Select The Power Line Frequency For Noise Rejection", 11}, {"Label1", " Low Flow Cut Off"},
    {"lbunit3", "US gal/min"},
    {"txtlowflowcutoff", "", "Select The Minimum Desired Flow/Velocity Reading, Lower Values Will Be Shown As Zero, Use Higher Values For Noisy Pipe Conditions", 12, "", 7},
    {"Label8", " Sensor Information", "Information Only, Valid If Sensor Settings Are Read", 0, " bold"}, {"Label6", "Serial Number"}, {"Label4", "6"},
    {"txtserialnum", "Not Read", "Indicates The Sensor Serial Number, Click Read Sensor Settings First", 13}, {"Label18", "SensorType"},
    {"txttype", "Not Read", "Indicates The Type Of Sensor Connected R2W or 4-20mA Current Loop, Click Read Sensor Settings First", 14},
    {"Label13", " Messages", "", 0, " bold"}, {"txtmsg", "", "Program Status Message Area, A Red Color Means Something Is Wrong ", 15},
    {"Label5", " Controls", "", 0, " bold"}, {"cmdReadSensor", "Read Sensor Settings", "Find A Sensor, Read and Show It's Settings", 16},
    {"default", "Restore Factory Settings", "Restore Displayed Performance and Loop Settings To Factory Values, Click 'Write Settings To Sensor' to actually save", 17},
    {"cmdSaveSensor", "Write Settings To Sensor", "Saves Currently Displayed Settings To The Sensor", 18},
    {"Read_file", "Load Settings From File", "Loads Settings From A File", 19}, {"Save_settings", "Save Settings To File", "Saves Settings To A File", 20},
    {"cmdok", "Exit", "Stop The Program", 21},
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
        for (auto [locale, separator] : {std::pair(LocaleGuard::english(), "."), std::pair(LocaleGuard::german(), ","),
                                         std::pair(QLocale(QLocale::German, QLocale::Switzerland), ".")}) {
            LocaleGuard guard(locale);
            QCOMPARE(Setup{QStringList()}.state().decimalSep, separator);
        }
        const SetupState &state = window.state();
        QCOMPARE(window.colourOf(MessageKind::Normal), QApplication::palette().color(QPalette::Base));
        QVERIFY(window.colourOf(MessageKind::Error) == QColor(255, 0, 0) && window.colourOf(MessageKind::Busy)
                == QColor(255, 255, 0) && window.colourOf(MessageKind::Good) == QColor(0, 240, 15));
        const QStringList names = QStringLiteral(
            "m/sec,ft/sec,m3/sec,liter/sec,ft3/sec,US gal/sec,Imp gal/sec,acre in/sec,"
            "m/min,ft/min,m3/min,liter/min,ft3/min,US gal/min,Imp gal/min,acre in/min,"
            "m/hour,ft/hour,m3/hour,liter/hour,ft3/hour,US gal/hour,Imp gal/hour,acrein/hour,"
            "m/day,ft/day,m3/day,liter/day,ft3/day,US gal/day,Imp gal/day,acre in/day").split(',');
        for (int i = 0; i < names.size(); ++i)
            QCOMPARE(state.unitName[i % outputUnitCount][i / outputUnitCount], names[i]);
        QCOMPARE(window.windowTitle(), "7_6610 DravoMeter Set Up Program");
        auto *status = qobject_cast<QPlainTextEdit *>(window.control(Control::txtmsg));
        QVERIFY(status->isReadOnly() && status->lineWrapMode() == QPlainTextEdit::WidgetWidth);
        for (Control box : {Control::txtserialnum, Control::txttype})
            QVERIFY(qobject_cast<QLineEdit *>(window.control(box))->isReadOnly());

        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QWidgetList tabbed; // where each Tab leads, from the focus the window starts with until it comes round
        do {
            tabbed << QApplication::focusWidget();
            QTest::keyClick(tabbed.last(), Qt::Key_Tab);
        } while (QApplication::focusWidget() != tabbed.first() && tabbed.size() < 30);
        // The window's table and list rows; a caption just above its field or just left of it. A screen reader
        // names every box, list and button, a box by its caption, and reads its tooltip.
        QList<QWidget *> shown;
        QGuiApplication::clipboard()->setText("123456789");
        for (const Face &face : faces) {
            QWidget *w = window.findChild<QWidget *>(face.name);
            QVERIFY2(w, face.name);
            shown << w;
            int tab = 0;
            for (int i = 0; i < tabbed.size(); ++i)
                tab = tabbed[i] == w || w->isAncestorOf(tabbed[i]) ? i + 1 : tab;
            const QString font = QString(face.font).startsWith("Arial") ? face.font : fontText(QApplication::font()) + face.font;
            QCOMPARE(QStringList({face.name, w->property("text").toString(), fontText(w->font()), w->toolTip(), QString::number(tab)}).join('|'),
                     QStringList({face.name, face.caption, font, face.tip, QString::number(face.tab)}).join('|'));
            auto *caption = qobject_cast<QLabel *>(w);
            if (QWidget *field = caption ? caption->buddy() : nullptr) {
                const QRect a(caption->mapTo(&window, QPoint()), caption->size()), b(field->mapTo(&window, QPoint()), field->size());
                const int gap = std::min({std::abs(b.top() - a.bottom()), std::abs(b.left() - a.right()), std::abs(a.left() - b.right())});
                QVERIFY2(gap <= 12 && QAccessible::queryAccessibleInterface(field)->text(QAccessible::Name).contains(caption->text().simplified()), face.name);
            }
            if (face.limit) { // pasted into a box never typed in, cut at its limit
                QTest::keySequence(w, QKeySequence::Paste);
                QCOMPARE(w->property("text").toString(), QString("123456789").left(face.limit));
            }
            if (auto *list = qobject_cast<QComboBox *>(w)) { // starts empty, never takes a typed text as a new row
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
            // The status box's description speaks its message instead.
            QVERIFY2(caption || (!spoken->text(QAccessible::Name).isEmpty() && (spoken->text(QAccessible::Description) == face.tip
                                                                                 || w == window.control(Control::txtmsg))), face.name);
        }
        QCOMPARE(tabbed.size(), 21);
        // The progress bar while an action runs and, in its place, the ports a search skipped: nothing moves.
        QWidget *buttons = window.control(Control::cmdok)->parentWidget();
        QCoreApplication::processEvents(); // the layout settled first
        const QRect before(buttons->mapTo(&window, QPoint()), window.size());
        window.showProgress(1, 8, "COM1 of 8");
        window.showSkippedPorts({"COM1 (/dev/ttyS0): in use by another program", "COM2 (/dev/ttyUSB0): permission "
                                 "denied - add your user to the 'dialout' group, then log in again"});
        QCoreApplication::processEvents();
        QCOMPARE(QRect(buttons->mapTo(&window, QPoint()), window.size()), before);
        QList<QRect> placed;
        for (QWidget *w : shown + QList<QWidget *>{window.progressBar(), window.skippedPortsLabel()}) {
            const QRect at(w->mapTo(&window, QPoint()), w->size());
            QVERIFY2(w->isVisible() && window.rect().contains(at), qPrintable(w->objectName()));
            for (const QRect &other : std::as_const(placed))
                QVERIFY2(!at.intersects(other), qPrintable(w->objectName()));
            if (w == window.progressBar())
                window.hideProgress();
            else
                placed << at;
        }
        for (GroupFrame *group : window.findChildren<GroupFrame *>()) { // each heading hides the frame line behind it
            const QPoint blank = group->heading()->mapTo(&window, QPoint(1, group->heading()->rect().center().y()));
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
        for (auto [list, row] : {std::pair(Control::cboutputunit, 7), std::pair(Control::cbtimeunit, 2),
                                 std::pair(Control::cbpipeidunit, 1)}) { // choosing the same entry again warns again
            QVERIFY(warns(window, [&, list = list, row = row] { chooseEntry(listOf(window, list), row); }));
            QVERIFY(warns(window, [&, list = list, row = row] { chooseEntry(listOf(window, list), row); }));
        }
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
            for (Control list : {Control::cb_k_units, Control::cbAverging, Control::cbSensitivity, Control::cbRejection})
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
            QCOMPARE(window.background(c) == normal, c <= Control::cbRejection); // entries and lists
        QCOMPARE(shownColour(window.control(Control::txtFactor), {5, 5}), QApplication::palette().color(QPalette::Base));

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
