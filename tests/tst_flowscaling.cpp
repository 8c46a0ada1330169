// Loop values between the user's unit and the sensor's: worked examples there and back, the limits
// of both sensor types, and the guards.
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
bool sameLoopValues(const SensorSettings &a, const SensorSettings &b)
{
    return close(a.setpoint4mA, b.setpoint4mA) && close(a.setpoint20mA, b.setpoint20mA)
        && close(a.lowFlowCutoff, b.lowFlowCutoff);
}

// Units, pipe and K-factor (the record's order), the user's loop values: 4 mA, 20 mA, cutoff.
SensorSettings litrePerSecond(float at4mA, float at20mA, float cutoff)
{
    return {3, 0, 100, 0, 100, 1, at4mA, at20mA, cutoff};
}
// The sensor's values expected, and the boxes marked as clamped ("4", "20", "cutoff").
struct Case { const char *name; SensorSettings user; bool loop; float at4mA, at20mA, cutoff; const char *marked; };
const Case cases[] = {
    {"liter/min", {3, 1, 100, 0, 100, 1, 0, 5, 0}, true, 0, 5 / 60.0f, 0, ""},
    {"US gal/min at pulses/gallon", {5, 1, 100, 0, 100, 0, 0, 300, 0}, true, 0, 5, 0, ""},
    {"Imp gal/day", {6, 3, 100, 0, 100, 1, 0, 86400, 0}, true, 0, 4.54596f, 0, ""},
    {"feet^3/sec", {4, 0, 100, 0, 100, 1, 0, 0.1f, 0}, true, 0, 2.8316847f, 0, ""},
    {"acre in/hour", {7, 2, 100, 0, 100, 1, 0, 0.036f, 0}, true, 0, 1.027901546f, 0, ""},
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
    void examples_data()
    {
        QTest::addColumn<int>("row");
        for (int row = 0; row < int(std::size(cases)); ++row)
            QTest::newRow(cases[row].name) << row;
    }
    void examples();
    void guards();
};

void FlowScalingTest::examples()
{
    QFETCH(int, row);
    const Case &c = cases[row];
    Setup window(missingPorts());
    SetupState &state = window.state();
    state.settings = c.user;
    state.hasLoopOutput = c.loop;
    const QList<Control> clamped = ToSensorUnits(state);
    QVERIFY2(close(state.sensor4mA, c.at4mA) && close(state.sensor20mA, c.at20mA)
                 && close(state.sensorCutoff, c.cutoff),
             qPrintable(QStringLiteral("%1 %2 %3").arg(state.sensor4mA).arg(state.sensor20mA).arg(state.sensorCutoff)));
    QStringList marked;
    for (auto [box, name] : {std::pair(Control::txt4ma, "4"), std::pair(Control::txt20ma, "20"),
                             std::pair(Control::txtlowflowcutoff, "cutoff")})
        if (clamped.contains(box))
            marked << name;
    QCOMPARE(marked.join(' '), c.marked);
    QCOMPARE(clamped.size(), marked.size());
    ToDisplayUnits(state); // and back, where nothing was clamped
    QVERIFY(*c.marked || sameLoopValues(state.settings, c.user));
}

void FlowScalingTest::guards()
{
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
    QVERIFY(ToSensorUnits(state) == QList{Control::cboutputunit} && state.sensor20mA == 1);
    state.settings = {3, 4};
    QVERIFY(ToSensorUnits(state) == QList{Control::cbtimeunit});
    ToDisplayUnits(state);
    QVERIFY(std::isnan(state.settings.setpoint20mA));
}

QTEST_MAIN(FlowScalingTest)
#include "tst_flowscaling.moc"
