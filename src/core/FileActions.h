#pragma once
#include "core/SetupContext.h"

// "Load Settings From File": fills the window from a .bdf file; nothing goes to the sensor.
void loadSettingsFromFile(SetupContext &ctx);
// "Save Settings To File": checks the window's entries and saves them as a .bdf file.
void saveSettingsToFile(SetupContext &ctx);
