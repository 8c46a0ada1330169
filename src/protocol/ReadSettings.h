#pragma once
#include "link/AdaptorLink.h"
#include "protocol/Identify.h"
#include "protocol/ParameterText.h"
#include "state/SetupContext.h"

#include <functional>

// Identifies the sensor, then reads its level's parameters into the window state, storing each
// value as it arrives. False at the first refusal or undecodable reply; what was stored stays.
// `identified` hears the identity, `progress` of each parameter before it is read.
bool readSettings(SetupContext &ctx, const StepProgress &progress = {},
                  const IdentityTaken &identified = {});

// Reads every parameter of the level that the sensor can report, in the table's order, and hands
// each value to `take` before the next command goes out. Serves the read and the check after a
// write alike. False at the first refused, silent, cut off or undecodable reply.
bool readParameters(SetupContext &ctx, const LevelTable &table,
                    const std::function<void(const Parameter &, ParameterValue)> &take,
                    const StepProgress &progress = {});
