#pragma once
#include "core/SetupContext.h"
#include "link/AdaptorLink.h"

// Identifies the sensor, then reads its level's parameters into the window state, storing each
// value as it arrives. False at the first refusal or undecodable reply; what was stored stays.
// `progress` hears of each parameter before it is read.
bool ReadSettings(SetupContext &ctx, const StepProgress &progress = {});
