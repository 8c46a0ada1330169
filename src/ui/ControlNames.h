#pragma once
#include "state/SetupView.h"

#include <QString>

#include <array>
#include <utility>

constexpr int controlCount = static_cast<int>(Control::cmdok) + 1;

// The object name of a control, as the window and its tests know it.
QString controlName(Control control);

// Every control, in the order of Control.
std::array<Control, controlCount> allControls();

// Each box that has a unit label beside it, and that label.
inline constexpr std::pair<Control, Control> unitLabelOf[] = {
    {Control::txt4ma, Control::lbunit1},
    {Control::txt20ma, Control::lbunit2},
    {Control::txtlowflowcutoff, Control::lbunit3}};
