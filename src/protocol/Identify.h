#pragma once
#include "link/AdaptorLink.h"

#include <QString>

#include <cstdint>
#include <functional>

// What identification learnt of the connected sensor: what sets sensorLevel and hasLoopOutput,
// and what the type and serial boxes show.
struct SensorIdentity
{
    std::int16_t level = 0;     // 12 or 20; 0 when identification failed
    bool hasLoopOutput = true;  // a 4-20 mA sensor, or nothing identified
    QString type;               // "R2W" or "4-20mA"; empty on failure
    QString serial;             // as the serial box shows it; empty on failure
};

// Hears the identity as soon as it is known, before any parameter is exchanged.
using IdentityTaken = std::function<void(const SensorIdentity &)>;

// Learns the connected sensor's command-set level, type and serial number. Shows nothing.
SensorIdentity identifySensor(AdaptorLink &link);
