#pragma once
#include "state/SetupState.h"

#include <cstdint>
#include <vector>

// The sensor's parameters as the tool exchanges them, for both command-set levels. Reading and
// writing walk the same table; only the level decides which parameter numbers are meant.

// Identification, the same at both levels: the level probe, then type and serial per level.
constexpr int levelProbeParameter = 25;
constexpr int levelProbeLimit = 10;
constexpr int typeLimit = 4;
constexpr int serialLimit = 12;
constexpr int serialLength = 10;

constexpr int transactTimeoutMs = 150;
// Pauses that give the sensor time between steps of an exchange.
constexpr int afterProbePauseMs = 50;      // after the level probe, before the type
constexpr int afterIdentifyPauseMs = 100;  // after identification, before the first value read
constexpr int beforeClosingPauseMs = 100;  // after the last value written, before the closing command
constexpr int writeReplyLimit = 4;

// How a value travels as text.
enum class TextForm {
    Index,      // a performance list row; sent as its local whole-number text made sensor text
    UnitIndex,  // a unit list row; sent as plain digits
    Decimal,    // "." as the decimal point, five decimals at most, seven significant digits
    Frequency,  // "50" or "60" (Hz), standing for noise rejection row 1 or 0
};

// The window-state value a parameter maps to.
enum class Field {
    averaging, sensitivity, noiseRejection,
    sensor4mA, sensor20mA, sensorCutoff,
    setpoint4mA, setpoint20mA, lowFlowCutoff, pipeId, kFactor,
    outputUnit, timeUnit, pipeIdUnit, kFactorUnit,
};

struct Parameter
{
    int number;
    TextForm form;
    int readLimit; // reply limit when read; 0 for a parameter that is written only
    Field field;
};

// One command-set level: its identification parameters, its parameters in the order they are
// written (reading takes the same order and skips those with no reply limit), and the time the
// closing command of a write is given.
struct LevelTable
{
    std::int16_t level;
    int typeParameter;
    int serialParameter;
    std::vector<Parameter> parameters;
    int closingTimeoutMs;
};

// The table of a level: 12 for a level-12 sensor, every other level reads as level 20.
const LevelTable &tableForLevel(std::int16_t sensorLevel);

// The values a write sends: the settings record and the loop values in the sensor's unit.
struct SensorValues
{
    SensorSettings settings;
    float sensor4mA = 0;
    float sensor20mA = 0;
    float sensorCutoff = 0;
};
SensorValues valuesOf(const SetupState &state);
// Puts the values back where valuesOf took them from.
void storeValues(SetupState &state, const SensorValues &values);

// The field of a parameter inside SetupState or SensorValues (both name their fields alike):
// the whole-number field, or nullptr for a decimal one, and the other way round.
template <typename Values>
auto wholeField(Values &values, Field field) -> decltype(&values.settings.averaging)
{
    auto &s = values.settings;
    switch (field) {
    case Field::averaging: return &s.averaging;
    case Field::sensitivity: return &s.sensitivity;
    case Field::noiseRejection: return &s.noiseRejection;
    case Field::outputUnit: return &s.outputUnit;
    case Field::timeUnit: return &s.timeUnit;
    case Field::pipeIdUnit: return &s.pipeIdUnit;
    case Field::kFactorUnit: return &s.kFactorUnit;
    default: return nullptr;
    }
}

template <typename Values>
auto decimalField(Values &values, Field field) -> decltype(&values.sensor4mA)
{
    auto &s = values.settings;
    switch (field) {
    case Field::sensor4mA: return &values.sensor4mA;
    case Field::sensor20mA: return &values.sensor20mA;
    case Field::sensorCutoff: return &values.sensorCutoff;
    case Field::setpoint4mA: return &s.setpoint4mA;
    case Field::setpoint20mA: return &s.setpoint20mA;
    case Field::lowFlowCutoff: return &s.lowFlowCutoff;
    case Field::pipeId: return &s.pipeId;
    case Field::kFactor: return &s.kFactor;
    default: return nullptr;
    }
}
