#include "WindowInput.h"
#include "convert/FlowScaling.h"

#include <QtTest>

#include <cmath>
#include <limits>

namespace {

const Control loopBoxes[] = {Control::txt4ma, Control::txt20ma, Control::txtlowflowcutoff};

struct Units
{
    int output;
    int time;
    int pipeUnit;
    float pipeId;
    float kFactor;
    int kUnit;
};

void setUnits(SensorSettings &s, const Units &u)
{
    s.outputUnit = static_cast<std::int16_t>(u.output);
    s.timeUnit = static_cast<std::int16_t>(u.time);
    s.pipeIdUnit = static_cast<std::int16_t>(u.pipeUnit);
    s.pipeId = u.pipeId;
    s.kFactor = u.kFactor;
    s.kFactorUnit = static_cast<std::int16_t>(u.kUnit);
}

// liter/sec at 100 pulses/liter: one unit of flow is exactly one unit of the sensor.
const Units identity{3, 0, 0, 100, 100, 1};

bool closeInSingle(double a, double b)
{
    return std::fabs(a - b) <= 1e-6 * std::max(std::fabs(a), std::fabs(b)) + 1e-12;
}

} // namespace

Q_DECLARE_METATYPE(Units)

class FlowScalingTest : public QObject
{
    Q_OBJECT
private slots:
    void pipeArea_data();
    void pipeArea();
    void toSensor_data();
    void toSensor();
    void unitsOutsideTables();
    void toDisplay_data();
    void toDisplay();
    void roundTrip_data();
    void roundTrip();
};

void FlowScalingTest::pipeArea_data()
{
    QTest::addColumn<float>("pipeId");
    QTest::addColumn<int>("pipeUnit");
    QTest::addColumn<double>("area");

    QTest::newRow("100 mm") << 100.0f << 0 << 0.0078539750;
    QTest::newRow("4 inch is 101.6 mm") << 4.0f << 1 << 0.0508 * 0.0508 * 3.14159;
    QTest::newRow("unit above inch counts as inch") << 4.0f << 2 << 0.0508 * 0.0508 * 3.14159;
    QTest::newRow("no pipe") << 0.0f << 0 << 0.0;
}

void FlowScalingTest::pipeArea()
{
    QFETCH(float, pipeId);
    QFETCH(int, pipeUnit);
    QFETCH(double, area);
    SensorSettings s;
    s.pipeId = pipeId;
    s.pipeIdUnit = static_cast<std::int16_t>(pipeUnit);
    QVERIFY2(closeInSingle(PipeArea(s), area), qPrintable(QString::number(PipeArea(s), 'g', 12)));
}

void FlowScalingTest::toSensor_data()
{
    QTest::addColumn<Units>("units");
    QTest::addColumn<bool>("loop");
    QTest::addColumn<QList<float>>("user");   // 4 mA, 20 mA, cutoff in the user's unit
    QTest::addColumn<QList<float>>("sensor"); // the same in the sensor's unit
    QTest::addColumn<QList<bool>>("marked");  // txt4ma, txt20ma, txtlowflowcutoff

    const QList<bool> none{false, false, false};
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();

    QTest::newRow("liter/sec, 100 pulses/liter") << identity << true << QList<float>{0, 5, 0.5f}
                                                 << QList<float>{0, 5, 0.5f} << none;
    QTest::newRow("liter/min") << Units{3, 1, 0, 100, 100, 1} << true << QList<float>{0, 5, 0}
                               << QList<float>{0, float(5.0 / 60.0), 0} << none;
    QTest::newRow("US gal/min, pulses/gallon: the gallons cancel")
        << Units{5, 1, 0, 100, 100, 0} << true << QList<float>{0, 300, 0} << QList<float>{0, 5, 0} << none;
    QTest::newRow("meter/sec in 100 mm, 1 pulse/liter")
        << Units{0, 0, 0, 100, 1, 1} << true << QList<float>{0, 1, 0} << QList<float>{0, 0.07853975f, 0}
        << none;
    QTest::newRow("feet/sec in 4 inch")
        << Units{1, 0, 1, 4, 1, 1} << true << QList<float>{0, 3.2808399f, 0}
        << QList<float>{0, float(0.0508 * 0.0508 * 3.14159 * 1000 * 0.01), 0} << none;
    QTest::newRow("velocity in no pipe gives zeros unmarked")
        << Units{0, 0, 0, 0, 100, 1} << true << QList<float>{3, 5, 1} << QList<float>{0, 0, 0} << none;

    QTest::newRow("-10.5 passes") << identity << true << QList<float>{-10.5f, 10.5f, 0}
                                  << QList<float>{-10.5f, 10.5f, 0} << none;
    QTest::newRow("-11 clamps to -10") << identity << true << QList<float>{-11, 5, 0}
                                       << QList<float>{-10, 5, 0} << QList<bool>{true, false, false};
    QTest::newRow("20 mA above 10.5 clamps to 10") << identity << true << QList<float>{0, 10.6f, 0}
                                                   << QList<float>{0, 10, 0} << QList<bool>{false, true, false};
    QTest::newRow("infinite set points clamp") << identity << true << QList<float>{-inf, inf, 0}
                                               << QList<float>{-10, 10, 0} << QList<bool>{true, true, false};
    QTest::newRow("NaN set point becomes 0") << identity << true << QList<float>{nan, 5, 0}
                                             << QList<float>{0, 5, 0} << QList<bool>{true, false, false};

    QTest::newRow("R2W cutoff 5.5 passes") << identity << false << QList<float>{0, 0, 5.5f}
                                           << QList<float>{0, 0, 5.5f} << none;
    QTest::newRow("R2W cutoff 5.6 clamps to 5") << identity << false << QList<float>{0, 0, 5.6f}
                                                << QList<float>{0, 0, 5} << QList<bool>{false, false, true};
    QTest::newRow("R2W negative cutoff") << identity << false << QList<float>{0, 0, -0.1f}
                                         << QList<float>{0, 0, 0} << QList<bool>{false, false, true};
    QTest::newRow("loop cutoff above set points") << identity << true << QList<float>{0, 5, 6}
                                                  << QList<float>{0, 5, 0.05f} << QList<bool>{false, false, true};
    QTest::newRow("loop cutoff above tiny set points") << identity << true << QList<float>{0, 0.04f, 0.045f}
                                                       << QList<float>{0, 0.04f, 0} << QList<bool>{false, false, true};
    QTest::newRow("loop cutoff equal to larger set point") << identity << true << QList<float>{1, 5, 5}
                                                           << QList<float>{1, 5, 5} << none;
    QTest::newRow("loop limit is the 4 mA magnitude") << identity << true << QList<float>{-8, 2, 7.9f}
                                                      << QList<float>{-8, 2, 7.9f} << none;
    QTest::newRow("loop cutoff above the 4 mA magnitude") << identity << true << QList<float>{-8, 2, 8.1f}
                                                          << QList<float>{-8, 2, 0.05f} << QList<bool>{false, false, true};
    QTest::newRow("loop limit after clamping") << identity << true << QList<float>{-20, 2, 10.2f}
                                               << QList<float>{-10, 2, 0.05f} << QList<bool>{true, false, true};
    QTest::newRow("loop negative cutoff") << identity << true << QList<float>{0, 5, -1}
                                          << QList<float>{0, 5, 0} << QList<bool>{false, false, true};
    QTest::newRow("loop NaN cutoff") << identity << true << QList<float>{0, 5, nan}
                                     << QList<float>{0, 5, 0} << QList<bool>{false, false, true};
}

void FlowScalingTest::toSensor()
{
    QFETCH(Units, units);
    QFETCH(bool, loop);
    QFETCH(QList<float>, user);
    QFETCH(QList<float>, sensor);
    QFETCH(QList<bool>, marked);

    Setup window(missingPorts());
    SetupState &state = window.state();
    setUnits(state.settings, units);
    state.hasLoopOutput = loop;
    state.settings.setpoint4mA = user[0];
    state.settings.setpoint20mA = user[1];
    state.settings.lowFlowCutoff = user[2];

    const bool ok = ToSensorUnits(state, window);

    const float got[] = {state.sensor4mA, state.sensor20mA, state.sensorCutoff};
    for (int i = 0; i < 3; ++i) {
        QVERIFY2(closeInSingle(got[i], sensor[i]),
                 qPrintable(QStringLiteral("value %1: %2 != %3").arg(i).arg(got[i]).arg(sensor[i])));
        QCOMPARE(window.background(loopBoxes[i]) == state.errorColor, marked[i]);
    }
    QCOMPARE(ok, !marked.contains(true));
}

void FlowScalingTest::unitsOutsideTables()
{
    // The callers validate first; should one not, nothing is read past a table and nothing is converted.
    Setup window(missingPorts());
    SetupState &state = window.state();
    state.settings.setpoint20mA = 5;
    state.sensor20mA = 1.5f;

    state.settings.outputUnit = -1;
    QVERIFY(!ToSensorUnits(state, window));
    QCOMPARE(state.sensor20mA, 1.5f);
    QCOMPARE(window.background(Control::cboutputunit), state.errorColor);

    state.settings.outputUnit = 3;
    state.settings.timeUnit = 4;
    QVERIFY(!ToSensorUnits(state, window));
    QCOMPARE(window.background(Control::cbtimeunit), state.errorColor);

    ToDisplayUnits(state);
    QVERIFY(std::isnan(state.settings.setpoint20mA));
}

void FlowScalingTest::toDisplay_data()
{
    QTest::addColumn<Units>("units");
    QTest::addColumn<float>("sensor");
    QTest::addColumn<double>("user");

    const double inf = std::numeric_limits<double>::infinity();
    const double area100mm = 0.05 * 0.05 * 3.14159;

    QTest::newRow("US gal/min, 100 pulses/gallon") << Units{5, 1, 0, 100, 100, 0} << 5.0f << 300.0;
    QTest::newRow("liter/sec identity") << identity << 5.0f << 5.0;
    QTest::newRow("meter/sec in 100 mm") << Units{0, 0, 0, 100, 1, 1} << 0.07853975f << 1.0;
    QTest::newRow("K 0, liter: marker") << Units{3, 1, 0, 100, 0, 1} << 5.0f << 99999.0;
    QTest::newRow("K 0, US gal: marker per gallon") << Units{5, 1, 0, 100, 0, 0} << 5.0f << 99999 / 3.7854118;
    QTest::newRow("K negative, meter: marker per area")
        << Units{0, 2, 0, 100, -3, 1} << 5.0f << 99999 / 1000.0 / area100mm;
    QTest::newRow("K just below the guard") << Units{3, 0, 0, 100, 0.0000099f, 1} << 1.0f << 99999.0;
    QTest::newRow("no pipe: area taken as 1") << Units{0, 0, 0, 0, 1000, 1} << 1.0f << 100 / 1000.0 / 1000.0;
    QTest::newRow("feet, no pipe") << Units{1, 0, 0, 0, 1000, 1} << 1.0f << 100 / 1000.0 / 1000.0 * 3.2808399;
    QTest::newRow("beyond single precision is infinite")
        << Units{0, 3, 0, 2e-13f, 0.00002f, 0} << 10.0f << inf;
    QTest::newRow("negative beyond single precision")
        << Units{0, 3, 0, 2e-13f, 0.00002f, 0} << -10.0f << -inf;
}

void FlowScalingTest::toDisplay()
{
    QFETCH(Units, units);
    QFETCH(float, sensor);
    QFETCH(double, user);

    Setup window(missingPorts());
    SetupState &state = window.state();
    setUnits(state.settings, units);
    state.sensor4mA = state.sensor20mA = state.sensorCutoff = sensor;

    ToDisplayUnits(state);

    for (float got : {state.settings.setpoint4mA, state.settings.setpoint20mA, state.settings.lowFlowCutoff}) {
        if (std::isinf(user))
            QCOMPARE(got, static_cast<float>(user));
        else
            QVERIFY2(closeInSingle(got, user), qPrintable(QStringLiteral("%1 != %2").arg(got).arg(user)));
    }
}

void FlowScalingTest::roundTrip_data()
{
    QTest::addColumn<Units>("units");
    static const char *const outputs[] = {"meter", "feet", "meter^3", "liter", "feet^3", "US gal", "Imp gal", "acre in"};
    static const char *const times[] = {"sec", "min", "hour", "day"};
    for (int output = 0; output < outputUnitCount; ++output)
        for (int time = 0; time < timeUnitCount; ++time)
            for (int pipeUnit = 0; pipeUnit < 2; ++pipeUnit)
                for (int kUnit = 0; kUnit < 2; ++kUnit)
                    QTest::addRow("%s/%s, %s, %s", outputs[output], times[time], pipeUnit ? "inch" : "mm",
                                  kUnit ? "pulses/liter" : "pulses/gallon")
                        << Units{output, time, pipeUnit, pipeUnit ? 3.5f : 80.0f, 57.25f, kUnit};
}

void FlowScalingTest::roundTrip()
{
    QFETCH(Units, units);
    Setup window(missingPorts());
    SetupState &state = window.state();
    setUnits(state.settings, units);
    state.hasLoopOutput = true;

    // Start in the sensor's range, so that nothing is clamped on the way back.
    const float sensor[] = {-7.5f, 9.875f, 0.125f};
    state.sensor4mA = sensor[0];
    state.sensor20mA = sensor[1];
    state.sensorCutoff = sensor[2];
    ToDisplayUnits(state);
    const float user[] = {state.settings.setpoint4mA, state.settings.setpoint20mA, state.settings.lowFlowCutoff};

    QVERIFY(ToSensorUnits(state, window));
    const float back[] = {state.sensor4mA, state.sensor20mA, state.sensorCutoff};
    ToDisplayUnits(state);
    const float userAgain[] = {state.settings.setpoint4mA, state.settings.setpoint20mA,
                               state.settings.lowFlowCutoff};
    for (int i = 0; i < 3; ++i) {
        QVERIFY2(closeInSingle(back[i], sensor[i]), qPrintable(QStringLiteral("%1 != %2").arg(back[i]).arg(sensor[i])));
        QVERIFY2(closeInSingle(userAgain[i], user[i]),
                 qPrintable(QStringLiteral("%1 != %2").arg(userAgain[i]).arg(user[i])));
    }
}

QTEST_MAIN(FlowScalingTest)
#include "tst_flowscaling.moc"
