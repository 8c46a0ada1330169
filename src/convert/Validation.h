#pragma once
#include "state/SetupState.h"
#include "state/Messages.h"
#include "state/SetupView.h"

#include <optional>

// Which entries a caller needs: everything but the loop set points (an R2W sensor), everything
// (a 4-20mA sensor), or only the installation's units, pipe and K-factor.
enum class ValidationMode { NoLoop = 0, WithLoop = 1, ApplicationOnly = 2 };

// The entry that stopped validation and what the status line says of it. The performance lists are
// told of only, never marked.
struct EntryFailure
{
    Control control;
    bool marked;
    Message message;
};

// Copies the window's entries into state.settings in a fixed order and stops at the first one that
// fails: its field becomes 0 and it is returned; the caller marks it and shows the message. Nothing
// when every entry of the mode passed.
std::optional<EntryFailure> validateEntries(SetupState &state, const SetupView &view, ValidationMode mode);
