#pragma once
#include "state/SetupView.h"

#include <QString>

#include <array>

constexpr int controlCount = static_cast<int>(Control::cmdok) + 1;

// The object name of a control, as the window and its tests know it.
QString controlName(Control control);

// Every control, in the order of Control.
std::array<Control, controlCount> allControls();
