#include "LocaleGuard.h"
#include "WindowInput.h"
#include "convert/Validation.h"
#include "core/Status.h"

#include <QtTest>

#include <memory>

namespace {

const Control entryControls[] = {
    Control::txtFactor, Control::txtpipeid, Control::cboutputunit, Control::cbtimeunit,
    Control::cbpipeidunit, Control::cb_k_units, Control::txtlowflowcutoff, Control::cbAverging,
    Control::cbSensitivity, Control::cbRejection, Control::txt20ma, Control::txt4ma,
};

const float untouched = 7;

bool isList(Control c) { return c >= Control::cboutputunit && c <= Control::cbRejection; }

// The record field a control fills.
double fieldOf(const SensorSettings &s, Control c)
{
    switch (c) {
    case Control::txtFactor: return s.kFactor;
    case Control::txtpipeid: return s.pipeId;
    case Control::cboutputunit: return s.outputUnit;
    case Control::cbtimeunit: return s.timeUnit;
    case Control::cbpipeidunit: return s.pipeIdUnit;
    case Control::cb_k_units: return s.kFactorUnit;
    case Control::txtlowflowcutoff: return s.lowFlowCutoff;
    case Control::cbAverging: return s.averaging;
    case Control::cbSensitivity: return s.sensitivity;
    case Control::cbRejection: return s.noiseRejection;
    case Control::txt20ma: return s.setpoint20mA;
    case Control::txt4ma: return s.setpoint4mA;
    default: return -1;
    }
}

SensorSettings untouchedRecord()
{
    const auto i = static_cast<std::int16_t>(untouched);
    return SensorSettings{i, i, untouched, i, untouched, i, untouched, untouched, untouched, i, i, i};
}

// A window under a locale, every entry filled with a valid value.
struct FilledWindow
{
    explicit FilledWindow(const QLocale &locale) : guard(locale), window(missingPorts())
    {
        const QString sep = window.state().decimalSep;
        typeText(window, Control::txtFactor, "65" + sep + "7667");
        typeText(window, Control::txtpipeid, QStringLiteral("100"));
        typeText(window, Control::txtlowflowcutoff, "0" + sep + "5");
        typeText(window, Control::txt20ma, QStringLiteral("300"));
        typeText(window, Control::txt4ma, "-2" + sep + "25");
        const std::pair<Control, int> rows[] = {
            {Control::cboutputunit, 5}, {Control::cbtimeunit, 1}, {Control::cbpipeidunit, 1},
            {Control::cb_k_units, 1}, {Control::cbAverging, 3}, {Control::cbSensitivity, 2},
            {Control::cbRejection, 1},
        };
        for (const auto &[list, row] : rows)
            window.setCurrentIndex(list, row);
        window.state().settings = untouchedRecord();
    }

    LocaleGuard guard;
    Setup window;
};

struct Case
{
    const char *name;
    ValidationMode mode;
    Control control;
    const char *text; // "{sep}" and "{wrong}" stand for the locale's separator and the other one
    bool ok;
    const char *message;
    double field; // the control's field afterwards
};

constexpr auto NoLoop = ValidationMode::NoLoop;
constexpr auto WithLoop = ValidationMode::WithLoop;
constexpr auto AppOnly = ValidationMode::ApplicationOnly;

const char *const kMsg = "Please Enter A Valid Number For The K Factor";
const Case cases[] = {
    {"K with wrong separator", WithLoop, Control::txtFactor, "1{wrong}5", false, kMsg, 0},
    {"K with own separator", WithLoop, Control::txtFactor, "1{sep}5", true, "", 1.5},
    {"K empty", AppOnly, Control::txtFactor, "", false, kMsg, 0},
    {"K letters", NoLoop, Control::txtFactor, "abc", false, kMsg, 0},
    {"K inf", WithLoop, Control::txtFactor, "inf", false, kMsg, 0},
    {"K nan", WithLoop, Control::txtFactor, "nan", false, kMsg, 0},
    {"K beyond single precision", WithLoop, Control::txtFactor, "1e39", false, kMsg, 0},
    {"K grouped", WithLoop, Control::txtFactor, "1 000", false, kMsg, 0},
    {"pipe empty", AppOnly, Control::txtpipeid, "", false, "Please Enter A Valid Number For The PipeID", 0},
    {"output unit typed, no row", WithLoop, Control::cboutputunit, "furlong", false,
     "Please Select An Output Unit", 0},
    {"output unit empty", AppOnly, Control::cboutputunit, "", false, "Please Select An Output Unit", 0},
    {"time base typed, no row", NoLoop, Control::cbtimeunit, "fortnight", false, "Please Select A Timebase", 0},
    {"time base in other case", NoLoop, Control::cbtimeunit, "MIN", false, "Please Select A Timebase", 0},
    {"pipe unit empty", WithLoop, Control::cbpipeidunit, "", false, "Please Select A Pipe ID Unit", 0},
    {"K unit typed, no row", AppOnly, Control::cb_k_units, "pulses/barrel", false,
     "Please Select A K Factor Unit", 0},
    {"cutoff empty", NoLoop, Control::txtlowflowcutoff, "", false,
     "Please Enter A Valid Number For The Low Flow Cutoff", 0},
    {"cutoff not read for the application only", AppOnly, Control::txtlowflowcutoff, "", true, "", untouched},
    {"averaging empty", WithLoop, Control::cbAverging, "", false, "Please Select An Averaging Value", 0},
    {"averaging not read for the application only", AppOnly, Control::cbAverging, "", true, "", untouched},
    {"sensitivity typed, no row", NoLoop, Control::cbSensitivity, "99 %", false,
     "Please Select A Sensitivity Value", 0},
    {"noise rejection empty", WithLoop, Control::cbRejection, "", false,
     "Please Select A Noise Rejection Value", 0},
    {"20 mA empty", WithLoop, Control::txt20ma, "", false, "Please Enter A Valid Number For The 20mA Setting", 0},
    {"20 mA empty without loop is 0", NoLoop, Control::txt20ma, "", true, "", 0},
    {"20 mA beyond single precision", WithLoop, Control::txt20ma, "-1e39", false,
     "Please Enter A Valid Number For The 20mA Setting", 0},
    {"4 mA letters", WithLoop, Control::txt4ma, "abc", false, "Please Enter A Valid Number For The 4mA Setting", 0},
    {"4 mA wrong separator", WithLoop, Control::txt4ma, "1{wrong}5", false,
     "Please Enter A Valid Number For The 4mA Setting", 0},
    {"4 mA letters without loop are not read", NoLoop, Control::txt4ma, "abc", true, "", untouched},
    {"4 mA empty for the application only is 0", AppOnly, Control::txt4ma, "", true, "", 0},
    {"4 mA valid", WithLoop, Control::txt4ma, "-3{sep}5", true, "", -3.5},
};

} // namespace

namespace QTest {
template <> char *toString(const SensorSettings &s)
{
    return qstrdup(qPrintable(QStringLiteral("{%1, %2, %3, %4, %5, %6, %7, %8, %9, %10, %11, %12}")
                                  .arg(s.outputUnit).arg(s.timeUnit).arg(s.pipeId).arg(s.pipeIdUnit)
                                  .arg(s.kFactor).arg(s.kFactorUnit).arg(s.setpoint4mA).arg(s.setpoint20mA)
                                  .arg(s.lowFlowCutoff).arg(s.averaging).arg(s.sensitivity)
                                  .arg(s.noiseRejection)));
}
} // namespace QTest

class ValidationTest : public QObject
{
    Q_OBJECT
private slots:
    void firstFailure_data();
    void firstFailure();
    void storesEntries_data();
    void storesEntries();
    void onlyFirstOfTwoFailures();
    void stopsAfterStoringEarlierSteps();
};

void ValidationTest::firstFailure_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("control");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("message");
    QTest::addColumn<double>("field");

    for (const QLocale &locale : {LocaleGuard::english(), LocaleGuard::german()}) {
        for (const Case &c : cases)
            QTest::addRow("%s: %s", qPrintable(locale.name()), c.name)
                << locale << int(c.mode) << int(c.control) << QString::fromLatin1(c.text) << c.ok
                << QString::fromLatin1(c.message) << c.field;
    }
}

void ValidationTest::firstFailure()
{
    QFETCH(QLocale, locale);
    QFETCH(int, mode);
    QFETCH(int, control);
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(QString, message);
    QFETCH(double, field);

    FilledWindow filled(locale);
    Setup &window = filled.window;
    SetupState &state = window.state();
    const auto spoilt = static_cast<Control>(control);
    const QString sep = state.decimalSep;
    text.replace(QLatin1String("{sep}"), sep).replace(QLatin1String("{wrong}"), sep == QLatin1String(",") ? "." : ",");
    if (!isList(spoilt))
        typeText(window, spoilt, text);
    else if (text.isEmpty())
        window.setCurrentIndex(spoilt, -1);
    else
        typeListText(window, spoilt, text);
    ShowStatus(window, QString(), state.normalColor);

    QCOMPARE(ValidateEntries(state, window, static_cast<ValidationMode>(mode)), ok);

    QCOMPARE(fieldOf(state.settings, spoilt), field);
    // Only the failing field is marked, and never a performance list.
    const bool performance = spoilt == Control::cbAverging || spoilt == Control::cbSensitivity
        || spoilt == Control::cbRejection;
    for (Control c : entryControls)
        QCOMPARE(window.background(c) == state.errorColor, !ok && c == spoilt && !performance);
    if (!ok) {
        QCOMPARE(window.text(Control::txtmsg), message);
        QCOMPARE(window.background(Control::txtmsg), state.errorColor);
    } else {
        QCOMPARE(window.text(Control::txtmsg), QString());
    }
}

void ValidationTest::storesEntries_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::newRow("English") << LocaleGuard::english();
    QTest::newRow("German") << LocaleGuard::german();
}

void ValidationTest::storesEntries()
{
    QFETCH(QLocale, locale);
    FilledWindow filled(locale);
    SetupState &state = filled.window.state();

    QVERIFY(ValidateEntries(state, filled.window, ValidationMode::WithLoop));

    const SensorSettings expected{5, 1, 100, 1, 65.7667f, 1, -2.25f, 300, 0.5f, 3, 2, 1};
    QCOMPARE(state.settings, expected);
}

void ValidationTest::onlyFirstOfTwoFailures()
{
    FilledWindow filled(LocaleGuard::english());
    Setup &window = filled.window;
    typeText(window, Control::txtpipeid, QStringLiteral("wide"));
    typeListText(window, Control::cboutputunit, QStringLiteral("furlong"));

    QVERIFY(!ValidateEntries(window.state(), window, ValidationMode::WithLoop));
    QCOMPARE(window.text(Control::txtmsg), QStringLiteral("Please Enter A Valid Number For The PipeID"));
    QCOMPARE(window.background(Control::txtpipeid), window.state().errorColor);
    QCOMPARE(window.background(Control::cboutputunit), window.state().normalColor);
    QCOMPARE(window.state().settings.outputUnit, std::int16_t(untouched));
}

void ValidationTest::stopsAfterStoringEarlierSteps()
{
    FilledWindow filled(LocaleGuard::german());
    Setup &window = filled.window;
    typeText(window, Control::txt20ma, QString());

    QVERIFY(!ValidateEntries(window.state(), window, ValidationMode::WithLoop));
    const SensorSettings &s = window.state().settings;
    // Everything before the 20 mA set point holds the new entries, the 4 mA set point its old value.
    const SensorSettings expected{5, 1, 100, 1, 65.7667f, 1, untouched, 0, 0.5f, 3, 2, 1};
    QCOMPARE(s, expected);
}

QTEST_MAIN(ValidationTest)
#include "tst_validation.moc"
