#include "convert/FlowScaling.h"

#include "state/SinglePrecision.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double pi = 3.14159; // the sensor's firmware uses this value, not full precision
constexpr double feetPerMetre = 3.2808399;
constexpr double litresPerGallon = 3.7854118;
constexpr double mmPerInch = 25.4;
constexpr double mmDiameterToMetreRadius = 0.0005;
constexpr double toSensorScale = 0.01;
constexpr float fromSensorScale = 100.0f;
constexpr int cubicMetre = 2; // volumeFactor entry of "meter^3": litres per cubic metre

constexpr double setpointLimit = 10.5;
constexpr double setpointClamp = 10.0;
constexpr double r2wCutoffLimit = 5.5;
constexpr double r2wCutoffClamp = 5.0;
constexpr double loopCutoffReplacement = 0.05;
constexpr double loopCutoffFloor = 0.051;

constexpr double smallestKFactor = 0.00001;
constexpr double smallestPipeArea = 1e-32;
constexpr double unusableKFactorMarker = 99999;

bool unitsInTables(const SensorSettings &s)
{
    return s.outputUnit >= 0 && s.outputUnit < outputUnitCount && s.timeUnit >= 0 && s.timeUnit < timeUnitCount;
}

bool isVelocity(const SensorSettings &s) { return s.outputUnit < cubicMetre; }
bool isFeet(const SensorSettings &s) { return s.outputUnit == 1; }

// Pulses per litre; the gallon row of the K-factor list counts per US gallon.
double kFactorPerLitre(const SensorSettings &s)
{
    const double k = s.kFactor;
    return s.kFactorUnit == 0 ? k / litresPerGallon : k;
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
    double diameter = settings.pipeId;
    if (settings.pipeIdUnit >= 1)
        diameter *= mmPerInch;
    const double radius = diameter * mmDiameterToMetreRadius;
    return radius * radius * pi;
}

QList<Control> toSensorUnits(SetupState &state)
{
    const SensorSettings &s = state.settings;
    if (!unitsInTables(s)) {
        // Nothing to convert with: keep the sensor's values and send the user back to the lists.
        const bool outputKnown = s.outputUnit >= 0 && s.outputUnit < outputUnitCount;
        return {outputKnown ? Control::cbtimeunit : Control::cboutputunit};
    }

    const double area = pipeArea(s);
    const double perLitre = kFactorPerLitre(s);
    const auto toSensor = [&](double value) {
        if (isVelocity(s)) {
            if (isFeet(s))
                value /= feetPerMetre;
            value = value * area * state.volumeFactor[cubicMetre];
        } else {
            value *= state.volumeFactor[s.outputUnit];
        }
        return value * perLitre * state.timeFactor[s.timeUnit] * toSensorScale;
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
    if (!unitsInTables(s)) {
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

    for (double &value : values) {
        value /= state.timeFactor[s.timeUnit];
        value = kFactorUsable ? value / perLitre : unusableKFactorMarker;
        if (isVelocity(s)) {
            value = value / state.volumeFactor[cubicMetre] / area;
            if (isFeet(s))
                value *= feetPerMetre;
        } else {
            value /= state.volumeFactor[s.outputUnit];
        }
    }
    s.setpoint4mA = toSingle(values[0]);
    s.setpoint20mA = toSingle(values[1]);
    s.lowFlowCutoff = toSingle(values[2]);
}
