#pragma once
#include "state/SetupState.h"
#include "state/SetupView.h"

#include <QList>

// The sensor keeps its loop values (4 mA, 20 mA, low flow cutoff) as the pulse rate the flow makes
// at the user's K-factor, in pulses per second, divided by 100. These convert between that and the
// user's flow or velocity unit.

// Inner cross-section of the pipe in square metres; NaN for a pipe unit outside its table.
double pipeArea(const SensorSettings &settings);

// User's loop values to the sensor's unit. Values beyond the sensor's limits are clamped. Returns
// the fields to mark: the boxes whose values were clamped, or the unit list that stopped the
// conversion; none when everything was converted as entered.
QList<Control> toSensorUnits(SetupState &state);

// Sensor's loop values back into the user's unit. A result beyond single precision is stored as an
// infinity, and units outside their tables give NaN: neither is ever shown or written as a number.
void toDisplayUnits(SetupState &state);
