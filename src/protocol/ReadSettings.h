#pragma once
#include "core/SetupContext.h"
#include "protocol/ParameterText.h"

#include <functional>

// Identifies the sensor, then reads its level's parameters into the window state, storing each
// value as it arrives. False at the first refusal or undecodable reply; what was stored stays.
bool ReadSettings(SetupContext &ctx);

// Reads every parameter of the level that the sensor can report, in the table's order, and hands
// each value to `take` before the next command goes out. Serves the read and the check after a
// write alike. False at the first refused, silent, cut off or undecodable reply.
bool ReadParameters(SetupContext &ctx, const LevelTable &table,
                    const std::function<void(const Parameter &, const ParameterValue &)> &take);
