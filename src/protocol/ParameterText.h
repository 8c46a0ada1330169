#pragma once
#include "protocol/ParameterTable.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <variant>

// A parameter's value as a read reply gives it: a list row (noise rejection's row for a frequency)
// or a decimal, kept in double precision until it is stored.
using ParameterValue = std::variant<std::int16_t, double>;

// The text a write sends for a parameter, taken from a set of values.
QString valueText(const SensorValues &values, Parameter parameter, const QString &decimalSep);

// The value of a read reply, or nothing when the reply holds no value of the parameter's form.
std::optional<ParameterValue> decodeReply(Parameter parameter, const QString &reply,
                                          const QString &decimalSep);
// Puts a decoded value into the parameter's field.
void putValue(SensorValues &values, Parameter parameter, ParameterValue value);

// Whether a value read back is the one a write sent: the write would send the same text for it.
// So a number the sensor writes otherwise ("5.00000" for "5"), or that differs only beyond the five
// decimals and seven digits a write carries, agrees; noise rejection compares by its frequency.
bool readBackAgrees(const SensorValues &sent, Parameter parameter, ParameterValue readBack,
            const QString &decimalSep);
