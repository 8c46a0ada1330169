#pragma once
#include "convert/Validation.h"
#include "core/SetupContext.h"

#include <QList>

// The checks an action runs on the window's entries before it uses them, each telling the user
// itself: the failing fields marked, the reason in the status line.

// What a write or a save needs of the entries: the loop set points too, unless the sensor is known
// to be an R2W (a 4-20 mA sensor, or none identified yet, needs them).
ValidationMode validationModeFor(const SetupState &state);

// validateEntries, the entry that failed marked (a performance list is not) and its message shown.
bool takeValidEntries(SetupContext &ctx, ValidationMode mode);

// Marks each of `outOfRange`; when there is any, says that settings were out of range. True when
// there is none.
bool allInRange(SetupContext &ctx, const QList<Control> &outOfRange);

// toSensorUnits. When it limited any value (or met a unit it cannot convert) the fields are marked
// and told as out of range, and the limited values are shown converted back, so that the user sees
// what would have gone out; false then.
bool convertToSensorUnits(SetupContext &ctx);
