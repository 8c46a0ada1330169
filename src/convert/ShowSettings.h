#pragma once
#include "state/SetupState.h"
#include "state/SetupView.h"

#include <QList>

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

// The installation entries and lists that cannot hold the record's value as an entry the window
// accepts again: a K-factor or pipe ID outside its bounds once rounded for showing (0.00011 shows
// as 0.0001, which is out of range), or a row its list does not have. Averaging is never among
// them: it has a default row.
QList<Control> UnusableEntries(const SensorSettings &settings, const SetupView &view);

// ShowSettings with showAll for a record read from a file or a sensor. The entries that cannot take
// its value are emptied, so that a save or write stops at them instead of taking an earlier entry
// or a stand-in row for the record's value. False when anything could not be shown.
bool ShowReadSettings(SetupState &state, SetupView &view);
