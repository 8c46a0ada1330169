#pragma once
#include "state/LinkState.h"
#include "state/SensorSettings.h"

#include <QString>
#include <cstdint>

// A colour as the window keeps it: red in the lowest byte, then green, then blue.
using ColourValue = std::uint32_t;
constexpr ColourValue rgbColour(unsigned red, unsigned green, unsigned blue)
{
    return (red & 0xFFu) | (green & 0xFFu) << 8 | (blue & 0xFFu) << 16;
}

// Everything the window knows, for the life of the window. initialiseState fills it.
struct SetupState
{
    SensorSettings settings;

    // Loop values in the sensor's own unit: pulses per second at the user's K-factor, / 100.
    float sensor4mA = 0;
    float sensor20mA = 0;
    float sensorCutoff = 0;

    ColourValue normalColor = 0;
    ColourValue errorColor = 0;
    ColourValue goodColor = 0;
    ColourValue busyColor = 0;

    QString decimalSep = QStringLiteral(".");
    bool hasLoopOutput = true;
    std::int16_t sensorLevel = 0; // 0 not identified, 12 or 20
    LinkState linkState = LinkState::NoAdaptor;
    std::int16_t lastComPort = 8;
};
