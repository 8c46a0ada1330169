#include "convert/FlowScaling.h"

#include "convert/Units.h"
#include "state/SinglePrecision.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace {

constexpr double pi = 3.14159; // the sensor's firmware uses this value, not full precision
constexpr double mmDiameterToMetreRadius = 0.0005;
constexpr double toSensorScale = 0.01;
constexpr float fromSensorScale = 100.0f;

constexpr double setpointLimit = 10.5;
constexpr double setpointClamp = 10.0;
constexpr double r2wCutoffLimit = 5.5;
constexpr double r2wCutoffClamp = 5.0;
constexpr double loopCutoffReplacement = 0.05;
constexpr double loopCutoffFloor = 0.051;

constexpr double smallestKFactor = 0.00001;
constexpr double smallestPipeArea = 1e-32;
constexpr double unusableKFactorMarker = 99999;

// The first unit list whose row its table does not have: nothing to convert with.
std::optional<Control> unknownUnit(const SensorSettings &s)
{
    if (!unitAt(outputUnits, s.outputUnit))
        return Control::cboutputunit;
    if (!unitAt(timeUnits, s.timeUnit))
        return Control::cbtimeunit;
    if (!unitAt(pipeIdUnits, s.pipeIdUnit))
        return Control::cbpipeidunit;
    if (!unitAt(kFactorUnits, s.kFactorUnit))
        return Control::cb_k_units;
    return std::nullopt;
}

// Pulses per litre, from the pulses the K-factor counts per unit of its list.
double kFactorPerLitre(const SensorSettings &s)
{
    const double k = s.kFactor;
    return k / kFactorUnits[s.kFactorUnit].litres;
}

// Keeps a set point within the sensor's limits; NaN cannot be compared, so it becomes 0.
bool clampSetpoint(double &value)
{
    if (std::isnan(value))
        value = 0;
    else if (value < -setpointLimit)
        value = -setpointClamp;
    else if (value > setpointLimit)
        value = setpointClamp;
    else
        return true;
    return false;
}

bool clampCutoff(double &cutoff, double setpoint4mA, double setpoint20mA, bool hasLoopOutput)
{
    if (std::isnan(cutoff) || cutoff < 0) {
        cutoff = 0;
        return false;
    }
    if (hasLoopOutput) {
        const double largest = std::max(std::fabs(setpoint4mA), std::fabs(setpoint20mA));
        if (cutoff > largest) {
            cutoff = largest <= loopCutoffFloor ? 0 : loopCutoffReplacement;
            return false;
        }
        return true;
    }
    if (cutoff > r2wCutoffLimit) {
        cutoff = r2wCutoffClamp;
        return false;
    }
    return true;
}

} // namespace

double pipeArea(const SensorSettings &settings)
{
    const PipeIdUnit *unit = unitAt(pipeIdUnits, settings.pipeIdUnit);
    if (!unit)
        return std::numeric_limits<double>::quiet_NaN();
    const double radius = settings.pipeId * unit->millimetres * mmDiameterToMetreRadius;
    return radius * radius * pi;
}

QList<Control> toSensorUnits(SetupState &state)
{
    const SensorSettings &s = state.settings;
    if (const std::optional<Control> unknown = unknownUnit(s))
        return {*unknown}; // keep the sensor's values and send the user back to the list

    const double area = pipeArea(s);
    const double perLitre = kFactorPerLitre(s);
    const OutputUnit &output = outputUnits[s.outputUnit];
    const double perSecond = timeUnits[s.timeUnit].perSecond;
    const auto toSensor = [&](double value) {
        if (output.measure == Measure::Velocity)
            value = value / output.factor * area * litresPerCubicMetre;
        else
            value *= output.factor;
        return value * perLitre * perSecond * toSensorScale;
    };
    double at4mA = toSensor(s.setpoint4mA);
    double at20mA = toSensor(s.setpoint20mA);
    double cutoff = toSensor(s.lowFlowCutoff);

    QList<Control> clamped;
    if (!clampSetpoint(at4mA))
        clamped << Control::txt4ma;
    if (!clampSetpoint(at20mA))
        clamped << Control::txt20ma;
    state.sensor4mA = toSingle(at4mA);
    state.sensor20mA = toSingle(at20mA);
    if (!clampCutoff(cutoff, at4mA, at20mA, state.hasLoopOutput))
        clamped << Control::txtlowflowcutoff;
    state.sensorCutoff = toSingle(cutoff);
    return clamped;
}

void toDisplayUnits(SetupState &state)
{
    SensorSettings &s = state.settings;
    if (unknownUnit(s)) {
        const float unknown = std::numeric_limits<float>::quiet_NaN();
        s.setpoint4mA = s.setpoint20mA = s.lowFlowCutoff = unknown;
        return;
    }

    // The sensor's value is scaled in single precision first, as the sensor itself does.
    double values[3] = {state.sensor4mA * fromSensorScale, state.sensor20mA * fromSensorScale,
                        state.sensorCutoff * fromSensorScale};

    const bool kFactorUsable = s.kFactor >= smallestKFactor; // false for NaN too
    const double perLitre = kFactorPerLitre(s);
    double area = pipeArea(s);
    if (!(area >= smallestPipeArea))
        area = 1;
    const OutputUnit &output = outputUnits[s.outputUnit];

    for (double &value : values) {
        value /= timeUnits[s.timeUnit].perSecond;
        value = kFactorUsable ? value / perLitre : unusableKFactorMarker;
        if (output.measure == Measure::Velocity)
            value = value / litresPerCubicMetre / area * output.factor;
        else
            value /= output.factor;
    }
    s.setpoint4mA = toSingle(values[0]);
    s.setpoint20mA = toSingle(values[1]);
    s.lowFlowCutoff = toSingle(values[2]);
}
