#pragma once
#include "state/SetupView.h"

// True when the K-factor, pipe ID and the four unit lists all show empty text.
bool applicationSettingsBlank(const SetupView &view);
