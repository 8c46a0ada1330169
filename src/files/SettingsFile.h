#pragma once
#include "state/SensorSettings.h"

#include <QString>

enum class FileResult {
    Ok,
    OpenFailed,  // missing, unreadable, or a folder that cannot be written
    TransferFailed, // too short to hold a record, or the bytes could not be written
};

// True when the path ends in ".bdf", in any case.
bool hasSettingsExtension(const QString &path);

// Fills settings only when a whole record was read; otherwise it stays as it was.
FileResult readSettingsFile(const QString &path, SensorSettings &settings);
// Replaces the file in one step: a failed save leaves any earlier file as it was.
FileResult writeSettingsFile(const QString &path, const SensorSettings &settings);
