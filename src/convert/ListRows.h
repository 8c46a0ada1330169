#pragma once
#include "state/SetupView.h"

#include <QStringList>

// The rows of each of the window's lists, blanks included; none for a control that is not a list.
// A row's index is the value the sensor gets. The window builds its lists from these.
QStringList listRows(Control list);
