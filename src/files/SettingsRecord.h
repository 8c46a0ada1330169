#pragma once
#include "state/SensorSettings.h"

#include <QByteArray>

#include <optional>

// A .bdf file is the settings record packed: 34 bytes, little-endian, no gaps, nothing else.
constexpr int settingsRecordSize = 34;

QByteArray encodeSettingsRecord(const SensorSettings &settings);
// The record of the first 34 bytes, or nothing when fewer bytes are given.
std::optional<SensorSettings> decodeSettingsRecord(const QByteArray &bytes);
