#pragma once
#include "state/SetupView.h"

#include <QString>

constexpr int controlCount = static_cast<int>(Control::cmdok) + 1;

// The object name of a control, as the window and its tests know it.
QString controlName(Control control);
