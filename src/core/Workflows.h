#pragma once
#include "core/FileActions.h"
#include "core/SetupContext.h"
#include "protocol/SensorSearch.h"
#include "state/Buttons.h"

// Both identity boxes back to "Not Read".
void resetSensorIdentity(SetupView &view);
// Reports a failed sensor search, chosen by linkState, and the ports it could not open.
void showLinkResult(SetupContext &ctx, const QList<SkippedPort> &skipped);

void readSensorSettings(SetupContext &ctx);
void writeSensorSettings(SetupContext &ctx);
void restoreFactorySettings(SetupContext &ctx);
// Exit: clears the field marks, then requestEnd.
void requestExit(SetupContext &ctx);
// Ends every running wait; true. A write that has sent its first value runs on to its end and
// its check first: the status says so, and false is returned; the program then ends only if the
// sensor kept what was written. The window releases the port and closes.
bool requestEnd(SetupContext &ctx);
