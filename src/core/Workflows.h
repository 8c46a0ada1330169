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
// Exit: clears the field marks, releases the port and ends every running wait.
void cmdok_Click(SetupContext &ctx);
