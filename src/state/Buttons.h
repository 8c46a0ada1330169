#pragma once
#include "state/SetupView.h"

// The five action buttons, in the order they are switched, then the entry boxes and lists;
// Exit is never among them.
void disableButtons(SetupView &view);
void enableButtons(SetupView &view);
