#pragma once
#include "link/AdaptorLink.h"
#include "protocol/Identify.h"
#include "protocol/ParameterText.h"

#include <functional>

// What a read of the sensor gave.
struct SettingsRead
{
    SensorIdentity identity; // level 0 when the sensor could not be identified
    SensorValues values;     // the values held before the read, each one read since put in
    bool complete = false;   // identified, and every parameter of its level answered with a value
};

// Identifies the sensor, then reads its level's parameters over a copy of `held`, putting in each
// value as it arrives. Incomplete at the first refusal or undecodable reply; what was read before
// it stays in the values. `identified` hears the identity, `progress` of each parameter before it
// is read.
SettingsRead readSettings(AdaptorLink &link, const QString &decimalSep, const SensorValues &held,
                          const StepProgress &progress = {}, const IdentityTaken &identified = {});

// Reads every parameter of the level that the sensor can report, in the table's order, and hands
// each value to `take` before the next command goes out. Serves the read and the check after a
// write alike. False at the first refused, silent, cut off or undecodable reply.
bool readParameters(AdaptorLink &link, const QString &decimalSep, const LevelTable &table,
                    const std::function<void(Parameter, ParameterValue)> &take,
                    const StepProgress &progress = {});
