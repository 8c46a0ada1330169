// What the window holds right after it opens.
#include "LocaleGuard.h"
#include "ui/Setup.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTest>

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void colours();
    void unitNames_data();
    void unitNames();
    void conversionFactors();
    void linkAndSensorState();
    void windowShowsNothingChosen();
    void decimalSeparator_data();
    void decimalSeparator();
};

void TestStartup::colours()
{
    Setup window{QStringList()};
    const SetupState &state = window.state();
    const QColor base = QApplication::palette().color(QPalette::Base);
    QCOMPARE(state.normalColor, rgbColour(base.red(), base.green(), base.blue()));
    QCOMPARE(window.systemWindowColour(), state.normalColor);
    QCOMPARE(state.errorColor, ColourValue(0x0000FF));
    QCOMPARE(state.goodColor, ColourValue(0x0FF000));
    QCOMPARE(state.busyColor, ColourValue(0x00FFFF));

    for (Control field : {Control::txtlowflowcutoff, Control::txt4ma, Control::txt20ma, Control::txtpipeid,
                          Control::txtFactor, Control::cboutputunit, Control::cbpipeidunit,
                          Control::cb_k_units, Control::cbtimeunit, Control::txtmsg})
        QCOMPARE(window.background(field), state.normalColor);
}

void TestStartup::unitNames_data()
{
    QTest::addColumn<int>("output");
    QTest::addColumn<int>("time");
    QTest::addColumn<QString>("name");

    const char *units[] = {"m", "ft", "m3", "liter", "ft3", "US gal", "Imp gal", "acre in"};
    const char *times[] = {"sec", "min", "hour", "day"};
    for (int time = 0; time < timeUnitCount; ++time)
        for (int output = 0; output < outputUnitCount; ++output) {
            QString name = QStringLiteral("%1/%2").arg(units[output], times[time]);
            if (output == 7 && time == 2)
                name = QStringLiteral("acrein/hour"); // the one entry without its blank
            QTest::addRow("%d,%d", output, time) << output << time << name;
        }
}

void TestStartup::unitNames()
{
    QFETCH(int, output);
    QFETCH(int, time);
    QFETCH(QString, name);
    Setup window{QStringList()};
    QCOMPARE(window.state().unitName[output][time], name);
}

void TestStartup::conversionFactors()
{
    Setup window{QStringList()};
    const SetupState &state = window.state();
    const double volumes[] = {1.0, 1.0, 1000.0, 1.0, 28.316847, 3.7854118, 4.54596, 102790.1546449748};
    for (int unit = 0; unit < outputUnitCount; ++unit)
        QCOMPARE(state.volumeFactor[unit], volumes[unit]);
    QCOMPARE(state.timeFactor[0], 1.0);
    QCOMPARE(state.timeFactor[1] * 60, 1.0);
    QCOMPARE(state.timeFactor[2] * 3600, 1.0);
    QCOMPARE(state.timeFactor[3] * 86400, 1.0);
    QCOMPARE(state.timeFactor[4], 0.0);
}

void TestStartup::linkAndSensorState()
{
    Setup window{QStringList()};
    const SetupState &state = window.state();
    QCOMPARE(state.linkState, LinkState::NoAdaptor);
    QCOMPARE(state.sensorLevel, std::int16_t(0));
    QCOMPARE(state.lastComPort, std::int16_t(8));
    QVERIFY(state.hasLoopOutput);
    QCOMPARE(state.settings.outputUnit, std::int16_t(5));
    QCOMPARE(state.settings.timeUnit, std::int16_t(1));
    QCOMPARE(state.sensor4mA, 0.0f);
    QCOMPARE(state.sensor20mA, 0.0f);
    QCOMPARE(state.sensorCutoff, 0.0f);
    QVERIFY(!window.link().isOpen());
}

void TestStartup::windowShowsNothingChosen()
{
    Setup window{QStringList()};
    window.show();
    for (Control label : {Control::lbunit1, Control::lbunit2, Control::lbunit3})
        QCOMPARE(window.text(label), QStringLiteral("US gal/min"));
    for (Control list : {Control::cboutputunit, Control::cbtimeunit, Control::cbpipeidunit, Control::cb_k_units,
                         Control::cbAverging, Control::cbSensitivity, Control::cbRejection}) {
        QCOMPARE(window.currentIndex(list), -1);
        QCOMPARE(window.text(list), QString());
    }
    for (Control box : {Control::txtFactor, Control::txtpipeid, Control::txt4ma, Control::txt20ma,
                        Control::txtlowflowcutoff, Control::txtmsg})
        QCOMPARE(window.text(box), QString());
    QCOMPARE(window.text(Control::txtserialnum), QStringLiteral("Not Read"));
    QCOMPARE(window.text(Control::txttype), QStringLiteral("Not Read"));
    for (Control button : {Control::cmdReadSensor, Control::default_, Control::cmdSaveSensor, Control::Read_file,
                           Control::Save_settings, Control::cmdok})
        QVERIFY(window.isEnabled(button));
}

void TestStartup::decimalSeparator_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("separator");
    QTest::newRow("English") << LocaleGuard::english() << ".";
    QTest::newRow("German") << LocaleGuard::german() << ",";
    QTest::newRow("Swiss German") << QLocale(QLocale::German, QLocale::Switzerland) << ".";
}

void TestStartup::decimalSeparator()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, separator);
    LocaleGuard guard(locale);
    Setup window{QStringList()};
    QCOMPARE(window.state().decimalSep, separator);
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
