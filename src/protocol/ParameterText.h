#pragma once
#include "protocol/ParameterTable.h"

#include <QString>

// The text a write sends for a parameter, taken from a set of values.
QString ValueText(const SensorValues &values, const Parameter &parameter, const QString &decimalSep);

// Decodes a read reply and stores it in the parameter's field of the window state. False, and
// nothing stored, when the reply holds no value of the parameter's form.
bool StoreReply(SetupState &state, const Parameter &parameter, const QString &reply);
