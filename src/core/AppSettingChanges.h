#pragma once
#include "state/SetupState.h"
#include "state/SetupView.h"

// Change handlers of the application settings. They run on every change, by the user or by the
// program, and warn that the set points may no longer match; they convert nothing.
void cboutputunit_Click(SetupState &state, SetupView &view);
void cbtimeunit_Click(SetupState &state, SetupView &view);
void cbpipeidunit_Click(SetupState &state, SetupView &view);
void txtpipeid_Change(SetupState &state, SetupView &view);
void txtFactor_Change(SetupState &state, SetupView &view);
