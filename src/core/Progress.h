#pragma once
#include "link/AdaptorLink.h"
#include "core/SetupContext.h"
#include "protocol/SensorSearch.h"

#include <QStringList>

// Shows the port a search tries: "COM3 of 8 (/dev/ttyUSB0)", the system's name in brackets; a port
// Windows names is shown by that name alone: "COM7 (port 1 of 8)".
StepProgress searchProgress(SetupContext &ctx);
// Shows the parameter a read or write exchanges: "Parameter 3 of 12".
StepProgress parameterProgress(SetupView &view);

// Why each skipped port could not be opened, and what cures it.
QStringList skippedPortLines(const QList<SkippedPort> &skipped);
