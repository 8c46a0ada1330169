// Entries between the window and the settings record under English and German locales:
// validation (order, zeroed field, mark, message, modes) and showing a record (bounds, rounding
// stored back, fallbacks, text that reads back as stored).
#include "LocaleGuard.h"
#include "WindowInput.h"
#include "convert/ShowSettings.h"
#include "convert/Validation.h"
#include "state/Status.h"

#include <QtTest>

#include <array>

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

bool isList(Control c) { return c >= Control::cboutputunit; }
// The record's field of a control: five numbers, then seven list rows, in the order of Control.
float *numberOf(SensorSettings &s, Control c)
{
    return std::array{&s.kFactor, &s.pipeId, &s.setpoint4mA, &s.setpoint20mA, &s.lowFlowCutoff}[int(c)];
}
std::int16_t *rowOf(SensorSettings &s, Control c)
{
    return std::array{&s.outputUnit, &s.timeUnit, &s.pipeIdUnit, &s.kFactorUnit, &s.averaging, &s.sensitivity,
                      &s.noiseRejection}[int(c) - int(Control::cboutputunit)];
}
double fieldOf(SensorSettings s, Control c) { return isList(c) ? *rowOf(s, c) : *numberOf(s, c); }

// Types into a box or a list's edit part; "." becomes the locale's separator, "#" the other one.
void enter(Setup &w, Control c, QString text)
{
    const QString sep = w.state().decimalSep;
    text.replace('.', sep).replace('#', sep == "." ? "," : ".");
    isList(c) ? typeListText(w, c, text) : typeText(w, c, text);
}

template <typename Case, std::size_t N> void addLocaleRows(const Case (&cases)[N])
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<int>("row");
    for (const QLocale &locale : {LocaleGuard::english(), LocaleGuard::german()})
        for (std::size_t row = 0; row < N; ++row)
            QTest::addRow("%s: %s", qPrintable(locale.name()), cases[row].name) << locale << int(row);
}

struct ModeCase { const char *name; ValidationMode mode; Control control; const char *text; bool ok; float field; };
const ModeCase modeCases[] = {
    {"K with the other separator", ValidationMode::WithLoop, Control::txtFactor, "1#5", false, 0},
    {"K infinite", ValidationMode::NoLoop, Control::txtFactor, "inf", false, 0},
    {"pipe beyond single precision", ValidationMode::ApplicationOnly, Control::txtpipeid, "1e39", false, 0},
    {"cutoff read without loop", ValidationMode::NoLoop, Control::txtlowflowcutoff, "", false, 0},
    {"cutoff not read for the application", ValidationMode::ApplicationOnly, Control::txtlowflowcutoff, "", true, 7},
    {"averaging not read for the application", ValidationMode::ApplicationOnly, Control::cbAverging, "x", true, 7},
    {"20 mA empty without loop is 0", ValidationMode::NoLoop, Control::txt20ma, "", true, 0},
    {"4 mA text without loop is not read", ValidationMode::NoLoop, Control::txt4ma, "x", true, 7},
    {"4 mA empty for the application is 0", ValidationMode::ApplicationOnly, Control::txt4ma, "", true, 0},
};

// Every box starts with "12", left there by an installation value out of range. No text: the value
// cannot be shown as a number. A list row outside its list selects the first row and fails;
// averaging is left unchosen and marked, and passes.
struct ShowCase { const char *name; Control control; float value; bool ok; const char *text; float stored = 0; };
const ShowCase showCases[] = {
    {"K on the lower bound", Control::txtFactor, 0.0001f, false, "12", 0.0001f},
    {"K above it, rounded onto it", Control::txtFactor, 0.00011f, true, "0.0001", 0.0001f},
    {"K on the upper bound in single precision", Control::txtFactor, 999999.125f, false, "12", 999999.125f},
    {"K below it", Control::txtFactor, 999999, true, "999999", 999999},
    {"K not a number", Control::txtFactor, float(qQNaN()), false, "12", float(qQNaN())},
    {"pipe on the upper bound", Control::txtpipeid, 5000, false, "12", 5000},
    {"pipe below it", Control::txtpipeid, 4999.5f, true, "4999.5", 4999.5f},
    {"4 mA rounded to four decimals", Control::txt4ma, 1.23456f, true, "1.2346", 1.2346f},
    {"20 mA tie to even", Control::txt20ma, 0.03125f, true, "0.0312", 0.0312f},
    {"cutoff longer than the box takes", Control::txtlowflowcutoff, -123.4567f, true, "-123.4567", -123.4567f},
    {"20 mA beyond single precision", Control::txt20ma, float(qInf()), false, "", float(qInf())},
    {"cutoff not a number", Control::txtlowflowcutoff, float(qQNaN()), false, "", float(qQNaN())},
    {"no output unit", Control::cboutputunit, -1, false, "meter"},
    {"no K unit", Control::cb_k_units, -1, false, "pulses/gallon"},
    {"averaging past the list", Control::cbAverging, 11, true, ""},
    {"noise rejection past the list", Control::cbRejection, 2, false, "60 Hz"},
};

} // namespace

class EntriesTest : public QObject
{
    Q_OBJECT
private slots:
    void validationOrder();
    void validationModes_data() { addLocaleRows(modeCases); }
    void validationModes();
    void show_data() { addLocaleRows(showCases); }
    void show();
    void showWithoutInstallation();
};

void EntriesTest::validationOrder()
{
    for (const QLocale &locale : {LocaleGuard::english(), LocaleGuard::german()}) {
        LocaleGuard guard(locale);
        Setup window(missingPorts());
        SetupState &state = window.state();
        for (const auto &step : steps) // spoilt; a list's typed text matches no row
            enter(window, std::get<0>(step), "x");
        // Each run stops at the next step: earlier fields read, the failing one 0 and marked, later
        // ones left; never a performance list marked.
        for (int failing = 0; failing < int(std::size(steps)); ++failing) {
            state.settings = untouched;
            QVERIFY(!ValidateEntries(state, window, ValidationMode::WithLoop));
            QCOMPARE(window.text(Control::txtmsg), std::get<2>(steps[failing]));
            QCOMPARE(window.background(Control::txtmsg), state.errorColor);
            for (int i = 0; i < int(std::size(steps)); ++i) {
                const Control c = std::get<0>(steps[i]);
                QCOMPARE(fieldOf(state.settings, c), i < failing ? fieldOf(valid, c) : i == failing ? 0 : 7);
                const bool performance = c >= Control::cbAverging && c <= Control::cbRejection;
                QCOMPARE(window.background(c) == state.errorColor, i == failing && !performance);
            }
            ClearFieldMarks(window, state);
            enter(window, std::get<0>(steps[failing]), std::get<1>(steps[failing]));
        }
        QVERIFY(ValidateEntries(state, window, ValidationMode::WithLoop));
        QCOMPARE(state.settings, valid);
    }
}

void EntriesTest::validationModes()
{
    QFETCH(QLocale, locale);
    QFETCH(int, row);
    const ModeCase &c = modeCases[row];
    LocaleGuard guard(locale);
    Setup window(missingPorts());
    for (const auto &[control, text, message] : steps)
        enter(window, control, text);
    enter(window, c.control, c.text);
    window.state().settings = untouched;
    QCOMPARE(ValidateEntries(window.state(), window, c.mode), c.ok);
    QCOMPARE(fieldOf(window.state().settings, c.control), c.field);
    QCOMPARE(window.background(c.control) == window.state().errorColor, !c.ok);
}

void EntriesTest::show()
{
    QFETCH(QLocale, locale);
    QFETCH(int, row);
    const ShowCase &c = showCases[row];
    LocaleGuard guard(locale);
    Setup window(missingPorts());
    SetupState &state = window.state();
    state.settings = showable;
    if (isList(c.control)) {
        *rowOf(state.settings, c.control) = std::int16_t(c.value);
    } else {
        typeText(window, c.control, "12");
        *numberOf(state.settings, c.control) = c.value;
    }
    const QString text = QString(c.text).replace('.', state.decimalSep);

    QCOMPARE(ShowSettings(state, window, true), c.ok);
    if (isList(c.control)) { // only an averaging time outside the list is left unchosen, and marked
        QCOMPARE(window.text(c.control), text);
        QCOMPARE(window.background(c.control) == state.errorColor, text.isEmpty());
        return;
    }
    QVERIFY(text.isEmpty() || window.text(c.control) == text);
    const float stored = *numberOf(state.settings, c.control);
    QVERIFY(stored == c.stored || (std::isnan(stored) && std::isnan(c.stored)));
    if (text == "12")
        return;
    // What is shown reads back as what is stored; what cannot be shown stops validation at its box.
    QCOMPARE(ValidateEntries(state, window, ValidationMode::WithLoop), c.ok);
    QVERIFY(c.ok ? *numberOf(state.settings, c.control) == c.stored : window.background(c.control) == state.errorColor);
}

void EntriesTest::showWithoutInstallation()
{
    // The installation is left as it is, unusable values included.
    Setup window(missingPorts());
    typeText(window, Control::txtFactor, "12");
    SensorSettings &s = window.state().settings = showable;
    s.kFactor = 0;
    s.outputUnit = s.averaging = -1;
    QVERIFY(ShowSettings(window.state(), window, false));
    QVERIFY(window.text(Control::txtFactor) == "12" && window.text(Control::cboutputunit).isEmpty());
    QVERIFY(window.text(Control::txt20ma) == "20" && window.text(Control::cbAverging).isEmpty());
}

QTEST_MAIN(EntriesTest)
#include "tst_entries.moc"
