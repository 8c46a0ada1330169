#pragma once
#include "core/SetupContext.h"

// Identifies the sensor, then reads its level's parameters into the window state, storing each
// value as it arrives. False at the first refusal or undecodable reply; what was stored stays.
bool ReadSettings(SetupContext &ctx);
