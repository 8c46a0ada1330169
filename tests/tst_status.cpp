// The status line, field marks, unit labels and the change handlers, driven through the real window.
#include "core/Status.h"
#include "ui/Setup.h"
#include "WindowDriver.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

namespace {

const QString changedMessage =
    QStringLiteral("Application Settings Changed - Check Setpoints and Low Flow Cutoff");

constexpr Control markable[] = {
    Control::txtlowflowcutoff, Control::txt4ma, Control::txt20ma, Control::txtpipeid, Control::txtFactor,
    Control::cboutputunit, Control::cbpipeidunit, Control::cb_k_units, Control::cbtimeunit,
};
constexpr Control performanceLists[] = {Control::cbAverging, Control::cbSensitivity, Control::cbRejection};

QComboBox *listOf(Setup &window, Control list) { return qobject_cast<QComboBox *>(window.control(list)); }

QStringList labelTexts(const Setup &window)
{
    return {window.text(Control::lbunit1), window.text(Control::lbunit2), window.text(Control::lbunit3)};
}

} // namespace

class TestStatus : public QObject
{
    Q_OBJECT

private slots:
    void showStatus();
    void clearFieldMarks();
    void unitLabels_data();
    void unitLabels();
    void keyboardChoices_data();
    void keyboardChoices();
    void rechoosingShowsMessageAgain();
    void listsWithoutHandler();
    void typingPipeId();
    void programmaticChanges();
    void shownTextDecidesRow_data();
    void shownTextDecidesRow();
    void exitClearsMarksAndCloses();
    void closeBoxKeepsMarks();
};

void TestStatus::showStatus()
{
    Setup window{QStringList()};
    const SetupState &state = window.state();
    for (ColourValue colour : {state.busyColor, state.errorColor, state.goodColor, state.normalColor}) {
        const QString message = QStringLiteral("Message %1").arg(colour);
        ShowStatus(window, message, colour);
        QCOMPARE(window.text(Control::txtmsg), message);
        QCOMPARE(window.background(Control::txtmsg), colour);
    }
}

void TestStatus::clearFieldMarks()
{
    Setup window{QStringList()};
    const SetupState &state = window.state();
    for (int c = 0; c < controlCount; ++c)
        window.setBackground(Control(c), state.errorColor);
    ClearFieldMarks(window, state);
    for (Control field : markable)
        QCOMPARE(window.background(field), state.normalColor);
    for (Control list : performanceLists)
        QCOMPARE(window.background(list), state.errorColor);
    QCOMPARE(window.background(Control::txtmsg), state.errorColor);
}

void TestStatus::unitLabels_data()
{
    QTest::addColumn<int>("output");
    QTest::addColumn<int>("time");
    QTest::addColumn<QString>("shown");
    QTest::newRow("first") << 0 << 0 << "m/sec";
    QTest::newRow("start-up") << 5 << 1 << "US gal/min";
    QTest::newRow("last") << 7 << 3 << "acre in/day";
    QTest::newRow("output none") << -1 << 1 << "";
    QTest::newRow("output past end") << 8 << 1 << "";
    QTest::newRow("time none") << 5 << -1 << "";
    QTest::newRow("time past end") << 5 << 4 << "";
}

void TestStatus::unitLabels()
{
    QFETCH(int, output);
    QFETCH(int, time);
    QFETCH(QString, shown);
    Setup window{QStringList()};
    window.state().settings.outputUnit = output;
    window.state().settings.timeUnit = time;
    UpdateUnitLabels(window, window.state());
    QCOMPARE(labelTexts(window), QStringList({shown, shown, shown}));
}

void TestStatus::keyboardChoices_data()
{
    QTest::addColumn<int>("output");
    QTest::addColumn<int>("time");
    QTest::addColumn<QString>("shown");
    QTest::newRow("feet per hour") << 1 << 2 << "ft/hour";
    QTest::newRow("acre in per hour") << 7 << 2 << "acrein/hour";
    QTest::newRow("acre in per day") << 7 << 3 << "acre in/day";
    QTest::newRow("cubic metre per second") << 2 << 0 << "m3/sec";
}

void TestStatus::keyboardChoices()
{
    QFETCH(int, output);
    QFETCH(int, time);
    QFETCH(QString, shown);
    Setup window{QStringList()};
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const SetupState &state = window.state();

    ShowStatus(window, QString(), state.busyColor);
    chooseEntry(listOf(window, Control::cboutputunit), output);
    QCOMPARE(state.settings.outputUnit, output);
    QCOMPARE(window.text(Control::txtmsg), changedMessage);
    QCOMPARE(window.background(Control::txtmsg), state.normalColor);

    ShowStatus(window, QString(), state.busyColor);
    chooseEntry(listOf(window, Control::cbtimeunit), time);
    QCOMPARE(state.settings.timeUnit, time);
    QCOMPARE(labelTexts(window), QStringList({shown, shown, shown}));
    QCOMPARE(window.text(Control::txtmsg), changedMessage);
    QCOMPARE(window.background(Control::txtmsg), state.normalColor);

    ShowStatus(window, QString(), state.busyColor);
    chooseEntry(listOf(window, Control::cbpipeidunit), 1);
    QCOMPARE(window.text(Control::txtmsg), changedMessage);
    QCOMPARE(labelTexts(window), QStringList({shown, shown, shown}));
}

void TestStatus::rechoosingShowsMessageAgain()
{
    Setup window{QStringList()};
    window.show();
    for (Control list : {Control::cboutputunit, Control::cbtimeunit, Control::cbpipeidunit}) {
        chooseEntry(listOf(window, list), 1);
        ShowStatus(window, QStringLiteral("Sensor Settings Written"), window.state().goodColor);
        chooseEntry(listOf(window, list), 1);
        QCOMPARE(window.text(Control::txtmsg), changedMessage);
        QCOMPARE(window.background(Control::txtmsg), window.state().normalColor);
    }
}

void TestStatus::listsWithoutHandler()
{
    Setup window{QStringList()};
    window.show();
    for (Control list : {Control::cb_k_units, Control::cbAverging, Control::cbSensitivity, Control::cbRejection}) {
        chooseEntry(listOf(window, list), 1);
        window.setCurrentIndex(list, 0);
        QCOMPARE(window.currentIndex(list), 0);
    }
    for (Control box : {Control::txt4ma, Control::txt20ma, Control::txtlowflowcutoff})
        QTest::keyClicks(window.control(box), "12");
    QCOMPARE(window.text(Control::txtmsg), QString());
}

void TestStatus::typingPipeId()
{
    Setup window{QStringList()};
    window.show();
    const SetupState &state = window.state();
    QWidget *box = window.control(Control::txtpipeid);
    for (char key : QByteArray("44.5")) {
        ShowStatus(window, QString(), state.busyColor);
        QTest::keyClick(box, key);
        QCOMPARE(window.text(Control::txtmsg), changedMessage);
        QCOMPARE(window.background(Control::txtmsg), state.normalColor);
    }
    QCOMPARE(window.text(Control::txtpipeid), QStringLiteral("44.5"));
    QCOMPARE(labelTexts(window), QStringList({"US gal/min", "US gal/min", "US gal/min"}));
    QCOMPARE(state.settings.outputUnit, std::int16_t(5));

    ShowStatus(window, QString(), state.busyColor);
    QTest::keyClick(window.control(Control::txtFactor), Qt::Key_6);
    QCOMPARE(window.text(Control::txtmsg), changedMessage);
}

void TestStatus::programmaticChanges()
{
    Setup window{QStringList()};
    const SetupState &state = window.state();

    // A selection by the program runs the handler, also when the row is already selected.
    for (int round = 0; round < 2; ++round) {
        ShowStatus(window, QString(), state.busyColor);
        window.setCurrentIndex(Control::cbtimeunit, 2);
        QCOMPARE(window.text(Control::txtmsg), changedMessage);
        QCOMPARE(window.text(Control::cbtimeunit), QStringLiteral("hour"));
        QCOMPARE(labelTexts(window).first(), QStringLiteral("US gal/hour"));
    }

    // Clearing a list empties its text and, having no unit, the labels.
    window.setCurrentIndex(Control::cboutputunit, -1);
    QCOMPARE(window.currentIndex(Control::cboutputunit), -1);
    QCOMPARE(window.text(Control::cboutputunit), QString());
    QCOMPARE(state.settings.outputUnit, std::int16_t(-1));
    QCOMPARE(labelTexts(window), QStringList({"", "", ""}));

    // A text set by the program runs the box's handler once, and only when it changes.
    ShowStatus(window, QString(), state.busyColor);
    window.setText(Control::txtFactor, QStringLiteral("65.7667"));
    QCOMPARE(window.text(Control::txtmsg), changedMessage);
    ShowStatus(window, QString(), state.busyColor);
    window.setText(Control::txtFactor, QStringLiteral("65.7667"));
    QCOMPARE(window.text(Control::txtmsg), QString());
}

void TestStatus::shownTextDecidesRow_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("row");
    QTest::newRow("no entry") << "gallons" << -1;
    QTest::newRow("an entry typed") << "liter" << 3;
    QTest::newRow("case differs") << "LITER" << -1;
    QTest::newRow("emptied") << "" << -1;
}

void TestStatus::shownTextDecidesRow()
{
    QFETCH(QString, typed);
    QFETCH(int, row);
    Setup window{QStringList()};
    window.show();
    QComboBox *list = listOf(window, Control::cboutputunit);
    chooseEntry(list, 1);
    QCOMPARE(window.currentIndex(Control::cboutputunit), 1);
    list->lineEdit()->setText(typed);
    QCOMPARE(window.currentIndex(Control::cboutputunit), row);

    // Selecting the row Qt still holds puts its text back.
    window.setCurrentIndex(Control::cboutputunit, 1);
    QCOMPARE(window.text(Control::cboutputunit), QStringLiteral("feet"));
    QCOMPARE(window.currentIndex(Control::cboutputunit), 1);
}

void TestStatus::exitClearsMarksAndCloses()
{
    Setup window{QStringList()};
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    for (Control field : markable)
        window.setBackground(field, window.state().errorColor);
    QTest::mouseClick(window.control(Control::cmdok), Qt::LeftButton);
    for (Control field : markable)
        QCOMPARE(window.background(field), window.state().normalColor);
    QVERIFY(!window.isVisible());
}

void TestStatus::closeBoxKeepsMarks()
{
    Setup window{QStringList()};
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.setBackground(Control::txtFactor, window.state().errorColor);
    QVERIFY(window.close());
    QVERIFY(!window.isVisible());
    QCOMPARE(window.background(Control::txtFactor), window.state().errorColor);
    QVERIFY(window.link().waits().programEnded());

    // Nothing starts once the program is ending.
    window.setEnabled(Control::cmdReadSensor, true);
    QTest::mouseClick(window.control(Control::cmdok), Qt::LeftButton);
    QCOMPARE(window.background(Control::txtFactor), window.state().errorColor);
}

QTEST_MAIN(TestStatus)
#include "tst_status.moc"
