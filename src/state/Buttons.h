#pragma once
#include "state/SetupView.h"

// The five action buttons, in the order they are switched, then the entry boxes and lists;
// Exit is never among them.
void DisableButtons(SetupView &view);
void EnableButtons(SetupView &view);
