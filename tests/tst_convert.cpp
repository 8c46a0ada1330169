// Entries between the window and the settings record, on a fake window under English and German
// locales: validation, showing a record, and loop values between the user's unit and the sensor's.
#include "FakeView.h"
#include "LocaleGuard.h"
#include "convert/FlowScaling.h"
#include "convert/ShowSettings.h"
#include "convert/Validation.h"
#include "state/Status.h"

#include <QtTest>

#include <map>
#include <cmath>

namespace {

// Validation's steps in order: a valid entry ("." stands for the locale's separator) and the message.
// A list's typed text matches its row with blanks at the ends ignored, on either side.
const std::tuple<Control, const char *, const char *> steps[] = {
    {Control::txtFactor, "65.7667", "Please Enter A Valid Number For The K Factor"},
    {Control::txtpipeid, "100", "Please Enter A Valid Number For The PipeID"},
    {Control::cboutputunit, "US gal ", "Please Select An Output Unit"},
    {Control::cbtimeunit, " min", "Please Select A Timebase"},
    {Control::cbpipeidunit, "inch", "Please Select A Pipe ID Unit"},
    {Control::cb_k_units, "pulses/liter", "Please Select A K Factor Unit"},
    {Control::txtlowflowcutoff, "0.5", "Please Enter A Valid Number For The Low Flow Cutoff"},
    {Control::cbAverging, "1   second ", "Please Select An Averaging Value"},
    {Control::cbSensitivity, "  30 %", "Please Select A Sensitivity Value"},
    {Control::cbRejection, "50 Hz", "Please Select A Noise Rejection Value"},
    {Control::txt20ma, "300", "Please Enter A Valid Number For The 20mA Setting"},
    {Control::txt4ma, "-2.25", "Please Enter A Valid Number For The 4mA Setting"},
};
const SensorSettings valid{5, 1, 100, 1, 65.7667f, 1, -2.25f, 300, 0.5f, 3, 2, 1};
const SensorSettings untouched{7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7};
const SensorSettings showable{3, 2, 80, 0, 57.25f, 1, 1, 20, 0.5f, 4, 2, 1};

// The record's field behind each box and list.
using S = SensorSettings;
const std::map<Control, float S::*> numbers = {{Control::txtFactor, &S::kFactor},
    {Control::txtpipeid, &S::pipeId}, {Control::txt4ma, &S::setpoint4mA},
    {Control::txt20ma, &S::setpoint20mA}, {Control::txtlowflowcutoff, &S::lowFlowCutoff}};
const std::map<Control, std::int16_t S::*> rows = {{Control::cboutputunit, &S::outputUnit},
    {Control::cbtimeunit, &S::timeUnit}, {Control::cbpipeidunit, &S::pipeIdUnit},
    {Control::cb_k_units, &S::kFactorUnit}, {Control::cbAverging, &S::averaging},
    {Control::cbSensitivity, &S::sensitivity}, {Control::cbRejection, &S::noiseRejection}};
bool isList(Control c) { return rows.count(c) > 0; }
float *numberOf(SensorSettings &s, Control c) { return &(s.*numbers.at(c)); }
std::int16_t *rowOf(SensorSettings &s, Control c) { return &(s.*rows.at(c)); }
double fieldOf(SensorSettings s, Control c) { return isList(c) ? *rowOf(s, c) : *numberOf(s, c); }
// "." becomes the locale's separator, "#" the other one.
QString local(const FakeView &v, QString text)
{
    const QString sep = v.state.decimalSep;
    return text.replace('.', sep).replace('#', sep == "." ? "," : ".");
}

template <typename Case, std::size_t N> void addLocaleRows(const Case (&cases)[N])
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<int>("row");
    for (const QLocale &locale : {LocaleGuard::english(), LocaleGuard::german()})
        for (std::size_t row = 0; row < N; ++row)
            QTest::addRow("%s: %s", qPrintable(locale.name()), cases[row].name) << locale << int(row);
}

struct ModeCase { const char *name; ValidationMode mode; Control control; const char *text; bool ok;
                  float field; };
constexpr ValidationMode loop = ValidationMode::WithLoop, noLoop = ValidationMode::NoLoop,
                         application = ValidationMode::ApplicationOnly;
const ModeCase modeCases[] = {
    {"K with the other separator", loop, Control::txtFactor, "1#5", false, 0},
    {"K infinite", noLoop, Control::txtFactor, "inf", false, 0},
    {"pipe beyond single precision", application, Control::txtpipeid, "1e39", false, 0},
    {"cutoff read without loop", noLoop, Control::txtlowflowcutoff, "", false, 0},
    {"cutoff not read for the application", application, Control::txtlowflowcutoff, "", true, 7},
    {"averaging not read for the application", application, Control::cbAverging, "x", true, 7},
    {"20 mA empty without loop is 0", noLoop, Control::txt20ma, "", true, 0},
    {"4 mA text without loop is not read", noLoop, Control::txt4ma, "x", true, 7},
    {"4 mA empty for the application is 0", application, Control::txt4ma, "", true, 0},
};

// Every box starts with "12", left there by an installation value out of range. No text: the value
// cannot be shown, and is left empty and marked; a list row outside its list is never replaced by another.
struct ShowCase { const char *name; Control control; float value; bool ok; const char *text;
                  float stored = 0; };
const float notANumber = float(qQNaN()), infinite = float(qInf());
const ShowCase showCases[] = {
    {"K on the lower bound", Control::txtFactor, 0.0001f, false, "12", 0.0001f},
    {"K above it, rounded onto it", Control::txtFactor, 0.00011f, true, "0.0001", 0.0001f},
    {"K on the upper bound in single precision", Control::txtFactor, 999999.125f, false, "12", 999999.125f},
    {"K below it", Control::txtFactor, 999999, true, "999999", 999999},
    {"K not a number", Control::txtFactor, notANumber, false, "12", notANumber},
    {"pipe on the upper bound", Control::txtpipeid, 5000, false, "12", 5000},
    {"pipe below it", Control::txtpipeid, 4999.5f, true, "4999.5", 4999.5f},
    {"4 mA rounded to four decimals", Control::txt4ma, 1.23456f, true, "1.2346", 1.2346f},
    {"4 mA tiny negative, no minus sign", Control::txt4ma, -0.00004f, true, "0", 0},
    {"20 mA tie to even", Control::txt20ma, 0.03125f, true, "0.0312", 0.0312f},
    {"cutoff longer than its box", Control::txtlowflowcutoff, -123.4567f, true, "-123.4567", -123.4567f},
    {"20 mA beyond single precision", Control::txt20ma, infinite, false, "", infinite},
    {"cutoff not a number", Control::txtlowflowcutoff, notANumber, false, "", notANumber},
    {"no output unit", Control::cboutputunit, -1, false, ""},
    {"averaging past the list", Control::cbAverging, 11, false, ""},
    {"noise rejection past the list", Control::cbRejection, 2, false, ""},
};

const double area100mm = 0.0078539750, area4inch = 0.0508 * 0.0508 * 3.14159;
// An infinity is close to nothing but itself.
bool close(double a, double b)
{
    const double d = std::fabs(a - b);
    return a == b || (std::isfinite(d) && d <= 1e-6 * std::max(std::fabs(a), std::fabs(b)) + 1e-12);
}

// Units, pipe and K-factor (the record's order), the user's loop values: 4 mA, 20 mA, cutoff.
SensorSettings litrePerSecond(float a, float b, float c) { return {3, 0, 100, 0, 100, 1, a, b, c}; }
constexpr Control at4 = Control::txt4ma, at20 = Control::txt20ma, cut = Control::txtlowflowcutoff;
// The sensor's values expected, and the boxes marked as clamped.
struct ScaleCase { const char *name; SensorSettings user; bool loop; float at4mA, at20mA, cutoff;
                   QList<Control> marked; };
const ScaleCase scaleCases[] = {
    {"liter/min", {3, 1, 100, 0, 100, 1, 0, 5, 0}, true, 0, 5 / 60.0f, 0, {}},
    {"US gal/min at pulses/gallon", {5, 1, 100, 0, 100, 0, 0, 300, 0}, true, 0, 5, 0, {}},
    {"Imp gal/day", {6, 3, 100, 0, 100, 1, 0, 86400, 0}, true, 0, 4.54596f, 0, {}},
    {"feet^3/sec", {4, 0, 100, 0, 100, 1, 0, 0.1f, 0}, true, 0, 2.8316847f, 0, {}},
    {"acre in/hour", {7, 2, 100, 0, 100, 1, 0, 0.036f, 0}, true, 0, 1.027901546f, 0, {}},
    {"meter/sec in 100 mm", {0, 0, 100, 0, 1, 1, 0, 1, 0}, true, 0, float(area100mm * 10), 0, {}},
    {"feet/sec in 4 inch", {1, 0, 4, 1, 1, 1, 0, 3.2808399f, 0}, true, 0, float(area4inch * 10), 0, {}},
    {"-10.5 and 10.5 pass", litrePerSecond(-10.5f, 10.5f, 0), true, -10.5f, 10.5f, 0, {}},
    {"-11 clamps to -10, 10.6 to 10", litrePerSecond(-11, 10.6f, 0), true, -10, 10, 0, {at4, at20}},
    {"NaN set point becomes 0", litrePerSecond(notANumber, infinite, 0), true, 0, 10, 0, {at4, at20}},
    {"R2W cutoff 5.5 passes", litrePerSecond(0, 0, 5.5f), false, 0, 0, 5.5f, {}},
    {"R2W cutoff 5.6 clamps to 5", litrePerSecond(0, 0, 5.6f), false, 0, 0, 5, {cut}},
    {"loop cutoff up to the larger set point", litrePerSecond(-8, 2, 8), true, -8, 2, 8, {}},
    {"loop cutoff above it becomes 0.05", litrePerSecond(0, 5, 6), true, 0, 5, 0.05f, {cut}},
    {"loop limit taken after clamping", litrePerSecond(-20, 2, 10.2f), true, -10, 2, 0.05f, {at4, cut}},
    {"cutoff above tiny set points becomes 0", litrePerSecond(0, 0.04f, 0.045f), true, 0, 0.04f, 0, {cut}},
    {"negative cutoff", litrePerSecond(0, 5, -1), true, 0, 5, 0, {cut}},
    {"NaN cutoff", litrePerSecond(0, 5, notANumber), false, 0, 5, 0, {cut}},
};

} // namespace

class ConvertTest : public QObject
{
    Q_OBJECT
private slots:
    void validationOrder()
    {
        for (const QLocale &locale : {LocaleGuard::english(), LocaleGuard::german()}) {
            LocaleGuard guard(locale);
            FakeView view;
            SetupState &state = view.state;
            for (const auto &step : steps) // spoilt; a list's typed text matches no row
                view.setText(std::get<0>(step), "x");
            // Each run stops at the next step: earlier fields read, the failing one 0 and marked, later
            // ones left; never a performance list marked.
            for (int failing = 0; failing < int(std::size(steps)); ++failing) {
                state.settings = untouched;
                QVERIFY(!validateEntries(state, view, ValidationMode::WithLoop));
                QCOMPARE(view.text(Control::txtmsg), std::get<2>(steps[failing]));
                QVERIFY(view.statusKind == MessageKind::Error);
                for (int i = 0; i < int(std::size(steps)); ++i) {
                    const Control c = std::get<0>(steps[i]);
                    const double expected = i < failing ? fieldOf(valid, c) : i == failing ? 0 : 7;
                    QCOMPARE(fieldOf(state.settings, c), expected);
                    const bool performance = c >= Control::cbAverging && c <= Control::cbRejection;
                    QCOMPARE(view.marked[c], i == failing && !performance);
                }
                clearFieldMarks(view);
                view.setText(std::get<0>(steps[failing]), local(view, std::get<1>(steps[failing])));
            }
            QVERIFY(validateEntries(state, view, ValidationMode::WithLoop));
            QCOMPARE(state.settings, valid);
        }
    }

    void validationModes_data() { addLocaleRows(modeCases); }
    void validationModes()
    {
        QFETCH(QLocale, locale);
        QFETCH(int, row);
        const ModeCase &c = modeCases[row];
        LocaleGuard guard(locale);
        FakeView view;
        for (const auto &[control, text, message] : steps)
            view.setText(control, local(view, text));
        view.setText(c.control, local(view, c.text));
        view.state.settings = untouched;
        QCOMPARE(validateEntries(view.state, view, c.mode), c.ok);
        QCOMPARE(fieldOf(view.state.settings, c.control), c.field);
        QCOMPARE(view.marked[c.control], !c.ok);
    }

    void show_data() { addLocaleRows(showCases); }
    void show()
    {
        QFETCH(QLocale, locale);
        QFETCH(int, row);
        const ShowCase &c = showCases[row];
        LocaleGuard guard(locale);
        FakeView view;
        SetupState &state = view.state;
        state.settings = showable;
        if (isList(c.control)) {
            *rowOf(state.settings, c.control) = std::int16_t(c.value);
        } else {
            view.setText(c.control, "12");
            *numberOf(state.settings, c.control) = c.value;
        }
        const QString text = local(view, c.text);

        QCOMPARE(showSettings(state, view, true), c.ok);
        QCOMPARE(view.text(c.control), text);
        QCOMPARE(view.marked[c.control], text.isEmpty());
        if (isList(c.control))
            return;
        const float stored = *numberOf(state.settings, c.control);
        QVERIFY(stored == c.stored || (std::isnan(stored) && std::isnan(c.stored)));
        if (text == "12")
            return;
        // What is shown reads back as what is stored; what cannot be shown stops validation at its box.
        QCOMPARE(validateEntries(state, view, ValidationMode::WithLoop), c.ok);
        QVERIFY(c.ok ? *numberOf(state.settings, c.control) == c.stored : view.marked[c.control]);
    }

    // Worked examples to the sensor's unit, clamped boxes marked, and back where nothing was clamped.
    void scaling()
    {
        for (const ScaleCase &c : scaleCases) {
            FakeView view;
            SetupState &state = view.state;
            state.settings = c.user;
            state.hasLoopOutput = c.loop;
            QVERIFY2(toSensorUnits(state) == c.marked && close(state.sensor4mA, c.at4mA)
                         && close(state.sensor20mA, c.at20mA) && close(state.sensorCutoff, c.cutoff), c.name);
            toDisplayUnits(state);
            for (auto field : {&S::setpoint4mA, &S::setpoint20mA, &S::lowFlowCutoff})
                QVERIFY2(!c.marked.isEmpty() || close(state.settings.*field, c.user.*field), c.name);
        }
    }

    void scalingGuards()
    {
        // Back into the user's unit: an unusable K-factor gives the 99999 marker per litre or per
        // area, no pipe an area of 1, a result beyond single precision an infinity (never shown).
        const std::pair<SensorSettings, double> toDisplay[] = {
            {{3, 1, 100, 0, 0, 1}, 99999}, {{5, 1, 100, 0, 0, 0}, 99999 / 3.7854118},
            {{0, 2, 100, 0, 0.0000099f, 1}, 99999 / 1000.0 / area100mm},
            {{1, 0, 0, 0, 1000, 1}, 0.1 / 1000 * 3.2808399}, {{0, 3, 2e-13f, 0, 0.00002f, 0}, qInf()},
        };
        FakeView view;
        SetupState &state = view.state;
        for (const auto &[units, user] : toDisplay) {
            state.settings = units;
            state.sensor4mA = state.sensor20mA = state.sensorCutoff = 1;
            toDisplayUnits(state);
            const SensorSettings &s = state.settings;
            for (float got : {s.setpoint4mA, s.setpoint20mA, s.lowFlowCutoff})
                QVERIFY2(close(got, user), qPrintable(QString::number(got)));
        }

        // Units outside the tables convert nothing and are never read past a table.
        state.settings = {-1, 1, 100, 0, 100, 1, 0, 5};
        QVERIFY(toSensorUnits(state) == QList{Control::cboutputunit} && state.sensor20mA == 1);
        state.settings = {3, 4};
        QVERIFY(toSensorUnits(state) == QList{Control::cbtimeunit});
        toDisplayUnits(state);
        QVERIFY(std::isnan(state.settings.setpoint20mA));
    }
};

QTEST_GUILESS_MAIN(ConvertTest)
#include "tst_convert.moc"
