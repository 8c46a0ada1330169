#pragma once
#include "core/FileActions.h"
#include "protocol/SensorSearch.h"
#include "state/Buttons.h"
#include "state/SetupContext.h"

// The buttons stay off through this last pause of an action, so that a second click
// cannot start another action on the heels of the first.
constexpr int endPauseMs = 250;
// The end of a workflow that waits: the last pause, then the buttons back on.
void finishAction(SetupContext &ctx);

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
