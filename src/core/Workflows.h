#pragma once
#include "files/FileActions.h"
#include "state/Buttons.h"
#include "state/SetupContext.h"

// The buttons stay off through this last pause of an action, so that a second click
// cannot start another action on the heels of the first.
constexpr int endPauseMs = 250;
// The end of a workflow that waits: the last pause, then the buttons back on.
void FinishAction(SetupContext &ctx);

// Both identity boxes back to "Not Read".
void ResetSensorIdentity(SetupView &view);
// Reports a failed sensor search, chosen by linkState.
void ShowLinkResult(SetupContext &ctx);

void cmdReadSensor_Click(SetupContext &ctx);
void cmdSaveSensor_Click(SetupContext &ctx);
void default_Click(SetupContext &ctx);
// Exit: clears the field marks, then RequestEnd.
void cmdok_Click(SetupContext &ctx);
// Ends every running wait; true. A write that has sent its first value runs on to its end and
// its check first: the status says so, and false is returned; the program then ends only if the
// sensor kept what was written. The window releases the port and closes.
bool RequestEnd(SetupContext &ctx);
