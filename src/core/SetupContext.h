#pragma once
#include "state/SetupState.h"
#include "state/SetupView.h"

class AdaptorLink;
class FileDialogs;

// What every handler works on: the window's state, its controls, its one serial link and the
// file dialogs. The window owns all four for its lifetime; handlers get them by reference.
struct SetupContext
{
    SetupState &state;
    SetupView &view;
    AdaptorLink &link;
    FileDialogs &dialogs;
};
