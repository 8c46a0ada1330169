#pragma once
#include "core/SetupContext.h"
#include "files/FileActions.h"

// The five action buttons, in the order they are switched, then the entry boxes and lists;
// Exit is never among them.
void DisableButtons(SetupView &view);
void EnableButtons(SetupView &view);
// Both identity boxes back to "Not Read".
void ResetSensorIdentity(SetupView &view);
// Reports a failed sensor search, chosen by linkState.
void ShowLinkResult(SetupContext &ctx);

void cmdReadSensor_Click(SetupContext &ctx);
void cmdSaveSensor_Click(SetupContext &ctx);
void default_Click(SetupContext &ctx);
// Exit: clears the field marks, then RequestEnd.
void cmdok_Click(SetupContext &ctx);
// Ends every running wait; true. A write that has sent its first value runs on to its end
// first: the status says so, and false is returned. The window releases the port and closes.
bool RequestEnd(SetupContext &ctx);
