#include "protocol/ParameterTable.h"

namespace {

// Level 12 keeps the performance settings and the loop values in the sensor's unit.
const LevelTable level12{
    12,
    12, // type: "S" R2W, "m" 4-20mA
    1,  // serial
    {
        {7, TextForm::Index, 3, Field::averaging},
        {8, TextForm::Index, 3, Field::sensitivity},
        {9, TextForm::Frequency, 4, Field::noiseRejection},
        {10, TextForm::Decimal, 10, Field::sensor4mA},
        {11, TextForm::Decimal, 10, Field::sensor20mA},
        {6, TextForm::Decimal, 10, Field::sensorCutoff},
    },
    400,
};

// Level 20 keeps the application settings too. The loop values go out twice, in the sensor's unit
// (never read back) and in the user's unit.
const LevelTable level20{
    20,
    5, // type: 0 R2W, 1 4-20mA
    3, // serial
    {
        {8, TextForm::Decimal, 0, Field::sensor4mA},
        {9, TextForm::Decimal, 0, Field::sensor20mA},
        {10, TextForm::Decimal, 0, Field::sensorCutoff},
        {13, TextForm::Index, 4, Field::averaging},
        {14, TextForm::Index, 4, Field::sensitivity},
        {16, TextForm::Index, 4, Field::noiseRejection},
        {27, TextForm::Decimal, 10, Field::setpoint4mA},
        {28, TextForm::Decimal, 10, Field::setpoint20mA},
        {36, TextForm::Decimal, 10, Field::lowFlowCutoff},
        {37, TextForm::Decimal, 10, Field::pipeId},
        {45, TextForm::Decimal, 10, Field::kFactor},
        {35, TextForm::UnitIndex, 4, Field::outputUnit},
        {44, TextForm::UnitIndex, 4, Field::timeUnit},
        {53, TextForm::UnitIndex, 4, Field::pipeIdUnit},
        {33, TextForm::UnitIndex, 4, Field::kFactorUnit},
    },
    150,
};

} // namespace

const LevelTable &tableForLevel(std::int16_t sensorLevel)
{
    return sensorLevel == 12 ? level12 : level20;
}

SensorValues valuesOf(const SetupState &state)
{
    return {state.settings, state.sensor4mA, state.sensor20mA, state.sensorCutoff};
}

void storeValues(SetupState &state, const SensorValues &values)
{
    state.settings = values.settings;
    state.sensor4mA = values.sensor4mA;
    state.sensor20mA = values.sensor20mA;
    state.sensorCutoff = values.sensorCutoff;
}
