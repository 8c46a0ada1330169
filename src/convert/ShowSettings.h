#pragma once
#include "state/SetupState.h"
#include "state/SetupView.h"

#include <QList>

// The installation values the window can hold and the sensor can work with (open bounds, compared
// in single precision). The write workflow refuses to write from values outside them.
bool kFactorInRange(float kFactor);
bool pipeIdInRange(float pipeId);

// Puts state.settings into the window: numbers rounded to four decimals (and stored back, so record
// and window agree), list rows selected through the view so the change handlers run. showAll false
// leaves the installation fields as they are. False when a value could not be shown as it is: a
// K-factor or pipe ID out of range (box left as it was), a list row the list does not have (left
// unchosen and marked), or a loop value beyond single precision or no number at all (box emptied
// and marked). What cannot be shown is never replaced by a value nobody chose.
bool showSettings(SetupState &state, SetupView &view, bool showAll);

// The K-factor and pipe ID when the window cannot hold the record's value as an entry it accepts
// again: outside its bounds once rounded for showing (0.00011 shows as 0.0001, which is out of range).
QList<Control> unusableEntries(const SensorSettings &settings);

// showSettings with showAll for a record read from a file or a sensor. An unusable K-factor or pipe
// ID empties and marks its box, so that a save or write stops there instead of taking the earlier
// entry for the record's value. False when anything could not be shown.
bool showReadSettings(SetupState &state, SetupView &view);
