#pragma once
#include "protocol/ParameterTable.h"
#include "state/SetupView.h"

// Where the user sets a parameter's value: the control marked when the sensor does not keep it.
// The loop values in the sensor's unit belong to the boxes of the user's.
Control entryOf(Field field);
