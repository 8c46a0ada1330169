#pragma once
#include "state/SetupState.h"
#include "state/SetupView.h"

// Change handlers of the application settings: they warn that the set points may no longer match,
// and convert nothing. Only the technician's own changes warn; the program's own selections (showing
// a record) still store the unit row and refresh the unit labels, but must not claim a change.
enum class ChangedBy { User, Program };
void cboutputunit_Click(SetupState &state, SetupView &view, ChangedBy by);
void cbtimeunit_Click(SetupState &state, SetupView &view, ChangedBy by);
void cbpipeidunit_Click(SetupState &state, SetupView &view);
void txtpipeid_Change(SetupState &state, SetupView &view);
void txtFactor_Change(SetupState &state, SetupView &view);
