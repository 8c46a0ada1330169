#pragma once
#include <QString>

#include <cstdint>
#include <optional>

// Number text at the boundary with the sensor. The sensor writes and expects "." as its decimal
// point, never grouping, never an exponent; the window writes the user's locale (decimalSep).

// Sensor text to local text: the first "." becomes decimalSep.
QString toLocalDecimal(const QString &text, const QString &decimalSep);
// Local text to sensor text: the first decimalSep becomes ".".
QString toSensorDecimal(const QString &text, const QString &decimalSep);
// True when the text holds the separator the locale does not use ("." for a "," locale, else ",").
bool hasWrongSeparator(const QString &text, const QString &decimalSep);

// Rounds to a number of decimal places, exact halves to the even digit.
double roundHalfEven(double value, int decimals);

// Local text of a value: at most seven significant digits, no trailing zeros, no separator for a
// whole number, no grouping and no exponent (0.00002 stays "0.00002", 12345678 becomes "12345680").
QString localNumberText(double value, const QString &decimalSep);

// Parses local number text with the user's locale; blanks around it are allowed, grouping is not.
// Empty text, letters, infinity, NaN and values beyond single precision give nothing.
std::optional<double> parseLocalNumber(const QString &text);
// The same, as a whole number (a fraction rounds to the nearest, halves to even) in 16 bits.
std::optional<std::int16_t> parseLocalInt16(const QString &text);

// A decimal setting as it goes to the sensor: rounded to five decimals in single precision.
QString encodeDecimal(float value, const QString &decimalSep);
// A decimal reply of the sensor, or nothing when it is no number. A number beyond single precision
// is still the sensor's value, not a fault of the line: it is kept, to be shown as unshowable.
std::optional<double> decodeDecimal(const QString &reply, const QString &decimalSep);
