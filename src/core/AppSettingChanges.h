#pragma once
#include "state/SetupState.h"
#include "state/SetupView.h"

// Change handlers of the application settings: they warn that the set points may no longer match,
// and convert nothing. Only the technician's own changes warn; the program's own selections (showing
// a record) still store the unit row and refresh the unit labels, but must not claim a change.
enum class ChangedBy { User, Program };
void outputUnitChosen(SetupState &state, SetupView &view, ChangedBy by);
void timeUnitChosen(SetupState &state, SetupView &view, ChangedBy by);
void pipeUnitChosen(SetupView &view);
void pipeIdEdited(SetupView &view);
void kFactorEdited(SetupView &view);
