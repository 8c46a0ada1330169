#pragma once
#include <cstdint>

// The twelve settings the technician sees and edits, in the order a .bdf file stores them.
// List settings hold the row of their drop-down list (0 first, -1 for no selection); the unit
// lists' rows are the units of convert/Units.h.
struct SensorSettings
{
    std::int16_t outputUnit = 5;    // cboutputunit row
    std::int16_t timeUnit = 1;      // cbtimeunit row
    float pipeId = 0;               // in the unit of pipeIdUnit
    std::int16_t pipeIdUnit = 0;    // cbpipeidunit row
    float kFactor = 0;              // in the unit of kFactorUnit
    std::int16_t kFactorUnit = 0;   // cb_k_units row
    float setpoint4mA = 0;          // user's unit
    float setpoint20mA = 0;         // user's unit
    float lowFlowCutoff = 0;        // user's unit
    std::int16_t averaging = 0;     // cbAverging row
    std::int16_t sensitivity = 0;   // cbSensitivity row
    std::int16_t noiseRejection = 0; // 0 is 60 Hz, 1 is 50 Hz

    friend bool operator==(const SensorSettings &a, const SensorSettings &b)
    {
        return a.outputUnit == b.outputUnit && a.timeUnit == b.timeUnit && a.pipeId == b.pipeId
            && a.pipeIdUnit == b.pipeIdUnit && a.kFactor == b.kFactor && a.kFactorUnit == b.kFactorUnit
            && a.setpoint4mA == b.setpoint4mA && a.setpoint20mA == b.setpoint20mA
            && a.lowFlowCutoff == b.lowFlowCutoff && a.averaging == b.averaging
            && a.sensitivity == b.sensitivity && a.noiseRejection == b.noiseRejection;
    }
    friend bool operator!=(const SensorSettings &a, const SensorSettings &b) { return !(a == b); }
};
