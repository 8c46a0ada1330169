#pragma once
#include "state/SetupContext.h"

// Learns the connected sensor's command-set level, type and serial number, shows type and serial
// and sets sensorLevel and hasLoopOutput. On failure sensorLevel is 0, hasLoopOutput true and both
// boxes are empty. Shows no status message.
bool IdentifySensor(SetupContext &ctx);
