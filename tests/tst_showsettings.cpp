#include "LocaleGuard.h"
#include "WindowInput.h"
#include "convert/ShowSettings.h"
#include "convert/Validation.h"
#include "protocol/NumberText.h"

#include <QtTest>

#include <limits>

namespace {

// A record every field of which the window can show.
SensorSettings showable()
{
    return SensorSettings{3, 2, 80, 0, 57.25f, 1, 1, 20, 0.5f, 4, 2, 1};
}

const float infinite = std::numeric_limits<float>::infinity();
const float notANumber = std::numeric_limits<float>::quiet_NaN();

} // namespace

class ShowSettingsTest : public QObject
{
    Q_OBJECT
private slots:
    void installationNumbers_data();
    void installationNumbers();
    void listRows_data();
    void listRows();
    void showAllFalseLeavesInstallation();
    void loopNumbers_data();
    void loopNumbers();
    void unshowableLoopValueFailsValidation_data();
    void unshowableLoopValueFailsValidation();
    void labelsFollowUnits_data();
    void labelsFollowUnits();
};

void ShowSettingsTest::installationNumbers_data()
{
    QTest::addColumn<int>("box");
    QTest::addColumn<float>("value");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("text");  // shown; "12" is the box's text before the call
    QTest::addColumn<float>("stored"); // the record's value afterwards

    const int k = int(Control::txtFactor);
    const int pipe = int(Control::txtpipeid);
    QTest::newRow("K on the lower bound") << k << 0.0001f << false << "12" << 0.0001f;
    QTest::newRow("K just above the lower bound, rounded onto it") << k << 0.00011f << true << "0.0001" << 0.0001f;
    QTest::newRow("K on the upper bound in single precision") << k << 999999.125f << false << "12" << 999999.125f;
    QTest::newRow("K below the upper bound") << k << 999999.0f << true << "999999" << 999999.0f;
    QTest::newRow("K rounded to four decimals") << k << 65.76674f << true << "65.7667" << 65.7667f;
    QTest::newRow("K zero") << k << 0.0f << false << "12" << 0.0f;
    QTest::newRow("K NaN") << k << notANumber << false << "12" << notANumber;
    QTest::newRow("pipe on the upper bound") << pipe << 5000.0f << false << "12" << 5000.0f;
    QTest::newRow("pipe half a unit below") << pipe << 4999.5f << true << "4999.5" << 4999.5f;
    QTest::newRow("pipe on the lower bound") << pipe << 0.01f << false << "12" << 0.01f;
    QTest::newRow("pipe above the lower bound") << pipe << 0.011f << true << "0.011" << 0.011f;
    QTest::newRow("pipe infinite") << pipe << infinite << false << "12" << infinite;
}

void ShowSettingsTest::installationNumbers()
{
    QFETCH(int, box);
    QFETCH(float, value);
    QFETCH(bool, ok);
    QFETCH(QString, text);
    QFETCH(float, stored);

    LocaleGuard english(LocaleGuard::english());
    Setup window(missingPorts());
    const auto control = static_cast<Control>(box);
    typeText(window, control, QStringLiteral("12"));
    SensorSettings &s = window.state().settings;
    s = showable();
    float &field = control == Control::txtFactor ? s.kFactor : s.pipeId;
    field = value;

    QCOMPARE(ShowSettings(window.state(), window, true), ok);
    QCOMPARE(window.text(control), text);
    if (std::isnan(stored))
        QVERIFY(std::isnan(field));
    else
        QCOMPARE(field, stored);
}

void ShowSettingsTest::listRows_data()
{
    QTest::addColumn<int>("list");
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("showAll");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("ok");

    const auto add = [](const char *name, Control list, int row, bool showAll, const char *shown, bool ok) {
        QTest::newRow(name) << int(list) << row << showAll << QString::fromLatin1(shown) << ok;
    };
    add("output unit in range", Control::cboutputunit, 7, true, "acre in", true);
    add("no output unit: meter", Control::cboutputunit, -1, true, "meter", false);
    add("output unit past the list", Control::cboutputunit, 8, true, "meter", false);
    add("time base past the list", Control::cbtimeunit, 4, true, "sec", false);
    add("pipe unit past the list", Control::cbpipeidunit, 2, true, "mm", false);
    add("no K unit", Control::cb_k_units, -1, true, "pulses/gallon", false);
    add("averaging past the list: a quarter second", Control::cbAverging, 11, true, " 1/4   second ", true);
    add("no averaging: a quarter second", Control::cbAverging, -1, false, " 1/4   second ", true);
    add("last averaging", Control::cbAverging, 10, false, "100  seconds", true);
    add("sensitivity past the list", Control::cbSensitivity, 10, false, "100 %", false);
    add("sensitivity in range", Control::cbSensitivity, 3, false, "  25 % ", true);
    add("noise rejection past the list", Control::cbRejection, 2, true, "60 Hz", false);
    add("noise rejection in range", Control::cbRejection, 1, false, "50 Hz", true);
}

void ShowSettingsTest::listRows()
{
    QFETCH(int, list);
    QFETCH(int, row);
    QFETCH(bool, showAll);
    QFETCH(QString, shown);
    QFETCH(bool, ok);

    Setup window(missingPorts());
    SensorSettings &s = window.state().settings;
    s = showable();
    const auto control = static_cast<Control>(list);
    std::int16_t *fields[] = {&s.outputUnit, &s.timeUnit, &s.pipeIdUnit, &s.kFactorUnit,
                              &s.averaging, &s.sensitivity, &s.noiseRejection};
    *fields[list - int(Control::cboutputunit)] = static_cast<std::int16_t>(row);

    QCOMPARE(ShowSettings(window.state(), window, showAll), ok);
    QCOMPARE(window.text(control), shown);
    QVERIFY(window.currentIndex(control) >= 0);
}

void ShowSettingsTest::showAllFalseLeavesInstallation()
{
    Setup window(missingPorts());
    typeText(window, Control::txtFactor, QStringLiteral("12"));
    SensorSettings &s = window.state().settings;
    s = showable();
    s.kFactor = 0;
    s.pipeId = 5000;
    s.outputUnit = -1;

    QVERIFY(ShowSettings(window.state(), window, false));
    QCOMPARE(window.text(Control::txtFactor), QStringLiteral("12"));
    QCOMPARE(window.text(Control::txtpipeid), QString());
    QCOMPARE(window.text(Control::cboutputunit), QString());
    QCOMPARE(s.kFactor, 0.0f);
    QCOMPARE(window.text(Control::txt20ma), QStringLiteral("20"));
}

void ShowSettingsTest::loopNumbers_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<float>("value");
    QTest::addColumn<QString>("text"); // with "." for the locale's separator
    QTest::addColumn<float>("stored");

    for (const QLocale &locale : {LocaleGuard::english(), LocaleGuard::german()}) {
        const QByteArray name = locale.name().toLatin1();
        QTest::addRow("%s: four decimals", name.data()) << locale << 1.23456f << "1.2346" << 1.2346f;
        QTest::addRow("%s: whole number", name.data()) << locale << 44.0f << "44" << 44.0f;
        QTest::addRow("%s: half rounds to even", name.data()) << locale << 0.03125f << "0.0312" << 0.0312f;
        QTest::addRow("%s: below a half of the fourth decimal", name.data()) << locale << 0.00004f << "0" << 0.0f;
        QTest::addRow("%s: longer than the box", name.data()) << locale << -123.4567f << "-123.4567" << -123.4567f;
        QTest::addRow("%s: no grouping", name.data()) << locale << 1234567.0f << "1234567" << 1234567.0f;
        QTest::addRow("%s: seven digits, no exponent", name.data())
            << locale << 1.5e12f << "1500000000000" << 1.5e12f;
    }
}

void ShowSettingsTest::loopNumbers()
{
    QFETCH(QLocale, locale);
    QFETCH(float, value);
    QFETCH(QString, text);
    QFETCH(float, stored);

    LocaleGuard guard(locale);
    Setup window(missingPorts());
    SetupState &state = window.state();
    state.settings = showable();
    state.settings.setpoint4mA = state.settings.setpoint20mA = state.settings.lowFlowCutoff = value;

    QVERIFY(ShowSettings(state, window, true));

    text.replace(QLatin1Char('.'), state.decimalSep);
    for (Control box : {Control::txt4ma, Control::txt20ma, Control::txtlowflowcutoff})
        QCOMPARE(window.text(box), text);
    QCOMPARE(state.settings.setpoint4mA, stored);
    QCOMPARE(state.settings.lowFlowCutoff, stored);

    // What is shown reads back as the value stored: the window and the record agree.
    QVERIFY(ValidateEntries(state, window, ValidationMode::WithLoop));
    QCOMPARE(state.settings.setpoint4mA, stored);
    QCOMPARE(state.settings.setpoint20mA, stored);
    QCOMPARE(state.settings.lowFlowCutoff, stored);
}

void ShowSettingsTest::unshowableLoopValueFailsValidation_data()
{
    QTest::addColumn<int>("box");
    QTest::addColumn<float>("value");
    QTest::addColumn<QString>("message");

    QTest::newRow("20 mA infinite") << int(Control::txt20ma) << infinite
                                    << "Please Enter A Valid Number For The 20mA Setting";
    QTest::newRow("4 mA minus infinite") << int(Control::txt4ma) << -infinite
                                         << "Please Enter A Valid Number For The 4mA Setting";
    QTest::newRow("cutoff NaN") << int(Control::txtlowflowcutoff) << notANumber
                                << "Please Enter A Valid Number For The Low Flow Cutoff";
}

void ShowSettingsTest::unshowableLoopValueFailsValidation()
{
    QFETCH(int, box);
    QFETCH(float, value);
    QFETCH(QString, message);

    Setup window(missingPorts());
    SetupState &state = window.state();
    state.settings = showable();
    ShowSettings(state, window, true); // a previous, valid text in every box
    const auto control = static_cast<Control>(box);
    float *fields[] = {&state.settings.setpoint4mA, &state.settings.setpoint20mA, &state.settings.lowFlowCutoff};
    *fields[box - int(Control::txt4ma)] = value;

    QVERIFY(!ShowSettings(state, window, false));
    QVERIFY(!ParseLocalNumber(window.text(control)));
    QVERIFY(!ValidateEntries(state, window, ValidationMode::WithLoop));
    QCOMPARE(window.text(Control::txtmsg), message);
    QCOMPARE(window.background(control), state.errorColor);
}

void ShowSettingsTest::labelsFollowUnits_data()
{
    QTest::addColumn<int>("output");
    QTest::addColumn<int>("time");
    QTest::addColumn<QString>("unit");

    QTest::newRow("feet per hour") << 1 << 2 << "ft/hour";
    QTest::newRow("acre inches per hour") << 7 << 2 << "acrein/hour";
    QTest::newRow("acre inches per day") << 7 << 3 << "acre in/day";
    QTest::newRow("no output unit: meter") << -1 << 0 << "m/sec";
}

void ShowSettingsTest::labelsFollowUnits()
{
    QFETCH(int, output);
    QFETCH(int, time);
    QFETCH(QString, unit);

    Setup window(missingPorts());
    SetupState &state = window.state();
    state.settings = showable();
    state.settings.outputUnit = static_cast<std::int16_t>(output);
    state.settings.timeUnit = static_cast<std::int16_t>(time);

    ShowSettings(state, window, true);

    for (Control label : {Control::lbunit1, Control::lbunit2, Control::lbunit3})
        QCOMPARE(window.text(label), unit);
    QCOMPARE(window.text(Control::txtmsg),
             QStringLiteral("Application Settings Changed - Check Setpoints and Low Flow Cutoff"));
    QCOMPARE(window.background(Control::txtmsg), state.normalColor);
    QCOMPARE(state.settings.outputUnit, std::int16_t(std::max(output, 0)));
}

QTEST_MAIN(ShowSettingsTest)
#include "tst_showsettings.moc"
