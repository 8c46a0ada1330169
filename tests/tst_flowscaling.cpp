// Loop values between the user's unit and the sensor's: worked examples, the limits of both sensor
// types, the guards, and a round trip over every combination of units.
#include "WindowInput.h"
#include "convert/FlowScaling.h"

#include <QtTest>

#include <cmath>
#include <limits>

namespace {

const float infinite = std::numeric_limits<float>::infinity();
const float noNumber = std::numeric_limits<float>::quiet_NaN();
const double area100mm = 0.0078539750;

bool close(double a, double b) { return std::fabs(a - b) <= 1e-6 * std::max(std::fabs(a), std::fabs(b)) + 1e-12; }

// Units, pipe and K-factor (the record's order), the user's loop values: 4 mA, 20 mA, cutoff.
SensorSettings litrePerSecond(float at4mA, float at20mA, float cutoff) { return {3, 0, 100, 0, 100, 1, at4mA, at20mA, cutoff}; }
// The sensor's values expected, and the boxes marked as clamped ("4", "20", "cutoff").
struct Case { const char *name; SensorSettings user; bool loop; float at4mA, at20mA, cutoff; const char *marked; };
const Case cases[] = {
    {"liter/sec at 100 pulses/liter: one to one", litrePerSecond(0, 5, 0.5f), true, 0, 5, 0.5f, ""},
    {"liter/min", {3, 1, 100, 0, 100, 1, 0, 5, 0}, true, 0, 5 / 60.0f, 0, ""},
    {"US gal/min at pulses/gallon", {5, 1, 100, 0, 100, 0, 0, 300, 0}, true, 0, 5, 0, ""},
    {"Imp gal/day", {6, 3, 100, 0, 100, 1, 0, 86400, 0}, true, 0, 4.54596f, 0, ""},
    {"meter/sec in 100 mm", {0, 0, 100, 0, 1, 1, 0, 1, 0}, true, 0, float(area100mm * 10), 0, ""},
    {"feet/sec in 4 inch", {1, 0, 4, 1, 1, 1, 0, 3.2808399f, 0}, true, 0, float(0.0508 * 0.0508 * 3.14159 * 10), 0, ""},
    {"-10.5 and 10.5 pass", litrePerSecond(-10.5f, 10.5f, 0), true, -10.5f, 10.5f, 0, ""},
    {"-11 clamps to -10, 10.6 to 10", litrePerSecond(-11, 10.6f, 0), true, -10, 10, 0, "4 20"},
    {"NaN set point becomes 0", litrePerSecond(noNumber, infinite, 0), true, 0, 10, 0, "4 20"},
    {"R2W cutoff 5.5 passes", litrePerSecond(0, 0, 5.5f), false, 0, 0, 5.5f, ""},
    {"R2W cutoff 5.6 clamps to 5", litrePerSecond(0, 0, 5.6f), false, 0, 0, 5, "cutoff"},
    {"loop cutoff up to the larger set point", litrePerSecond(-8, 2, 8), true, -8, 2, 8, ""},
    {"loop cutoff above it becomes 0.05", litrePerSecond(0, 5, 6), true, 0, 5, 0.05f, "cutoff"},
    {"loop limit taken after clamping", litrePerSecond(-20, 2, 10.2f), true, -10, 2, 0.05f, "4 cutoff"},
    {"loop cutoff above tiny set points becomes 0", litrePerSecond(0, 0.04f, 0.045f), true, 0, 0.04f, 0, "cutoff"},
    {"negative cutoff", litrePerSecond(0, 5, -1), true, 0, 5, 0, "cutoff"},
    {"NaN cutoff", litrePerSecond(0, 5, noNumber), false, 0, 5, 0, "cutoff"},
};

} // namespace

class FlowScalingTest : public QObject
{
    Q_OBJECT
private slots:
    void examples_data();
    void examples();
    void guards();
    void roundTrip();
};

void FlowScalingTest::examples_data()
{
    QTest::addColumn<int>("row");
    for (int row = 0; row < int(std::size(cases)); ++row)
        QTest::newRow(cases[row].name) << row;
}

void FlowScalingTest::examples()
{
    QFETCH(int, row);
    const Case &c = cases[row];
    Setup window(missingPorts());
    SetupState &state = window.state();
    state.settings = c.user;
    state.hasLoopOutput = c.loop;

    QCOMPARE(ToSensorUnits(state, window), QByteArray(c.marked).isEmpty());
    const float got[] = {state.sensor4mA, state.sensor20mA, state.sensorCutoff};
    const float expected[] = {c.at4mA, c.at20mA, c.cutoff};
    const QStringList boxes = {"4", "20", "cutoff"};
    for (int i = 0; i < 3; ++i) {
        QVERIFY2(close(got[i], expected[i]), qPrintable(QStringLiteral("%1 != %2").arg(got[i]).arg(expected[i])));
        const bool marked = window.background(QList{Control::txt4ma, Control::txt20ma, Control::txtlowflowcutoff}[i])
            == state.errorColor;
        QCOMPARE(marked, QString(c.marked).split(' ').contains(boxes[i]));
    }
    ToDisplayUnits(state); // and back, where nothing was clamped
    QVERIFY(*c.marked || close(state.settings.setpoint20mA, c.user.setpoint20mA));
    QVERIFY(*c.marked || (close(state.settings.setpoint4mA, c.user.setpoint4mA) && close(state.settings.lowFlowCutoff, c.user.lowFlowCutoff)));
}

void FlowScalingTest::guards()
{
    QVERIFY(close(PipeArea({0, 0, 100, 0}), area100mm));
    QVERIFY(close(PipeArea({0, 0, 4, 1}), 0.0508 * 0.0508 * 3.14159) && PipeArea({0, 0, 4, 2}) == PipeArea({0, 0, 4, 1}));

    // Back into the user's unit: an unusable K-factor gives the 99999 marker per litre or per
    // area, no pipe an area of 1, a result beyond single precision an infinity (never shown).
    const std::pair<SensorSettings, double> toDisplay[] = {
        {{3, 1, 100, 0, 0, 1}, 99999}, {{5, 1, 100, 0, 0, 0}, 99999 / 3.7854118},
        {{0, 2, 100, 0, 0.0000099f, 1}, 99999 / 1000.0 / area100mm}, {{1, 0, 0, 0, 1000, 1}, 0.1 / 1000 * 3.2808399},
        {{0, 3, 2e-13f, 0, 0.00002f, 0}, infinite},
    };
    Setup window(missingPorts());
    SetupState &state = window.state();
    for (const auto &[units, user] : toDisplay) {
        state.settings = units;
        state.sensor4mA = state.sensor20mA = state.sensorCutoff = 1;
        ToDisplayUnits(state);
        for (float got : {state.settings.setpoint4mA, state.settings.setpoint20mA, state.settings.lowFlowCutoff})
            QVERIFY2(std::isinf(user) ? got == float(user) : close(got, user), qPrintable(QString::number(got)));
    }

    // Units outside the tables convert nothing and are never read past a table.
    state.settings = {-1, 1, 100, 0, 100, 1, 0, 5};
    QVERIFY(!ToSensorUnits(state, window) && state.sensor20mA == 1);
    QCOMPARE(window.background(Control::cboutputunit), state.errorColor);
    state.settings = {3, 4};
    QVERIFY(!ToSensorUnits(state, window) && window.background(Control::cbtimeunit) == state.errorColor);
    ToDisplayUnits(state);
    QVERIFY(std::isnan(state.settings.setpoint20mA));
}

void FlowScalingTest::roundTrip()
{
    // Every combination of units, from values within the sensor's limits so that nothing is clamped.
    Setup window(missingPorts());
    SetupState &state = window.state();
    for (std::int16_t output = 0; output < outputUnitCount; ++output)
        for (std::int16_t time = 0; time < timeUnitCount; ++time)
            for (std::int16_t pipeUnit : {0, 1})
                for (std::int16_t kUnit : {0, 1}) {
                    const QByteArray units = QByteArray::number(output * 1000 + time * 100 + pipeUnit * 10 + kUnit);
                    state.settings = {output, time, pipeUnit ? 3.5f : 80.0f, pipeUnit, 57.25f, kUnit};
                    std::tie(state.sensor4mA, state.sensor20mA, state.sensorCutoff) = std::tuple(-7.5f, 9.875f, 0.125f);
                    ToDisplayUnits(state);
                    const SensorSettings user = state.settings;
                    QVERIFY2(ToSensorUnits(state, window) && close(state.sensor4mA, -7.5f) && close(state.sensor20mA, 9.875f)
                                 && close(state.sensorCutoff, 0.125f), units);
                    ToDisplayUnits(state);
                    QVERIFY2(close(state.settings.setpoint20mA, user.setpoint20mA), units);
                }
}

QTEST_MAIN(FlowScalingTest)
#include "tst_flowscaling.moc"
