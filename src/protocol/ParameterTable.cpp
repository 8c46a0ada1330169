#include "protocol/ParameterTable.h"

namespace {

// Level 12 keeps the performance settings and the loop values in the sensor's unit.
const LevelTable level12{
    12,
    12, // type: "S" R2W, "m" 4-20mA
    1,  // serial
    {
        {7, TextForm::Index, 3, Field::averaging, Control::cbAverging},
        {8, TextForm::Index, 3, Field::sensitivity, Control::cbSensitivity},
        {9, TextForm::Frequency, 4, Field::noiseRejection, Control::cbRejection},
        {10, TextForm::Decimal, 10, Field::sensor4mA, Control::txt4ma},
        {11, TextForm::Decimal, 10, Field::sensor20mA, Control::txt20ma},
        {6, TextForm::Decimal, 10, Field::sensorCutoff, Control::txtlowflowcutoff},
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
        {8, TextForm::Decimal, 0, Field::sensor4mA, Control::txt4ma},
        {9, TextForm::Decimal, 0, Field::sensor20mA, Control::txt20ma},
        {10, TextForm::Decimal, 0, Field::sensorCutoff, Control::txtlowflowcutoff},
        {13, TextForm::Index, 4, Field::averaging, Control::cbAverging},
        {14, TextForm::Index, 4, Field::sensitivity, Control::cbSensitivity},
        {16, TextForm::Index, 4, Field::noiseRejection, Control::cbRejection},
        {27, TextForm::Decimal, 10, Field::setpoint4mA, Control::txt4ma},
        {28, TextForm::Decimal, 10, Field::setpoint20mA, Control::txt20ma},
        {36, TextForm::Decimal, 10, Field::lowFlowCutoff, Control::txtlowflowcutoff},
        {37, TextForm::Decimal, 10, Field::pipeId, Control::txtpipeid},
        {45, TextForm::Decimal, 10, Field::kFactor, Control::txtFactor},
        {35, TextForm::UnitIndex, 4, Field::outputUnit, Control::cboutputunit},
        {44, TextForm::UnitIndex, 4, Field::timeUnit, Control::cbtimeunit},
        {53, TextForm::UnitIndex, 4, Field::pipeIdUnit, Control::cbpipeidunit},
        {33, TextForm::UnitIndex, 4, Field::kFactorUnit, Control::cb_k_units},
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
