#pragma once
#include "state/LinkState.h"
#include "state/SensorSettings.h"

#include <QString>
#include <cstdint>

constexpr int outputUnitCount = 8;
constexpr int timeUnitCount = 4;

// Everything the window knows, for the life of the window. initialiseState fills it.
struct SetupState
{
    SensorSettings settings;

    // Loop values in the sensor's own unit: pulses per second at the user's K-factor, / 100.
    float sensor4mA = 0;
    float sensor20mA = 0;
    float sensorCutoff = 0;

    QString unitName[outputUnitCount][timeUnitCount]; // [outputUnit][timeUnit]
    double volumeFactor[outputUnitCount] = {};        // litres per unit
    double timeFactor[timeUnitCount + 1] = {};        // one second in the time unit; the fifth stays 0

    QString decimalSep = QStringLiteral(".");
    bool hasLoopOutput = true;
    std::int16_t sensorLevel = 0; // 0 not identified, 12 or 20
    LinkState linkState = LinkState::NoAdaptor;
    std::int16_t lastComPort = 8;
};
