#pragma once
#include "core/SetupContext.h"
#include "link/AdaptorLink.h"

// Identifies the sensor, writes its level's parameters with the user key and sends the closing
// command. The values are those the state held when the call began. False when identification
// fails or any command is refused or goes unanswered; the writes sent before it stay sent. Exit
// after the first value has gone out lets the write finish, or fail, before the program ends.
// `progress` hears of each parameter before it is written.
bool WriteSettings(SetupContext &ctx, const StepProgress &progress = {});
