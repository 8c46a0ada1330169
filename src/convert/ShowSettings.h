#pragma once
#include "core/SetupState.h"
#include "core/SetupView.h"

// The installation values the window can hold and the sensor can work with (open bounds, compared
// in single precision). The write workflow refuses to write from values outside them.
bool KFactorInRange(float kFactor);
bool PipeIdInRange(float pipeId);

// Puts state.settings into the window: numbers rounded to four decimals (and stored back, so record
// and window agree), list rows selected through the view so the change handlers run. showAll false
// leaves the installation fields as they are. False when a value could not be shown as it is: a
// K-factor or pipe ID out of range (box left as it was), a list row out of range (first row
// selected), or a loop value beyond single precision or no number at all (its box then shows a text
// that validation refuses).
bool ShowSettings(SetupState &state, SetupView &view, bool showAll);
