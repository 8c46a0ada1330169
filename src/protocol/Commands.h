#pragma once
#include <QString>

// The user key carried by every write, and the factory key no operation of the tool sends.
inline const QString userAccessKey = QStringLiteral("plomvar");
inline const QString factoryAccessKey = QStringLiteral("trexil");

// The operation digits of the commands the tool sends.
constexpr int sensorCheckOp = 0; // is a sensor behind the adaptor
constexpr int readOp = 1;        // one parameter's value
constexpr int writeOp = 2;       // one parameter's new value, with the user key
constexpr int closeOp = 3;       // ends a write: the sensor keeps what it was sent

// A command line for op codes 0 to 7; any other op code gives an empty text.
QString buildCommand(int op, int n, const QString &value);
