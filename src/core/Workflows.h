#pragma once
#include "core/SetupContext.h"

// The five action buttons switched off while a workflow runs, and on again at every end.
void DisableButtons(SetupView &view);
void EnableButtons(SetupView &view);

void cmdReadSensor_Click(SetupContext &ctx);
void cmdSaveSensor_Click(SetupContext &ctx);
void default_Click(SetupContext &ctx);
void Read_file_Click(SetupContext &ctx);
void Save_settings_Click(SetupContext &ctx);
// Exit: clears the field marks, releases the port and ends every running wait.
void cmdok_Click(SetupContext &ctx);
