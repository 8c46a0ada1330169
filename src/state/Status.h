#pragma once
#include "state/SetupState.h"
#include "state/SetupView.h"

#include <QList>

// The status line: colour first, then text; the new message replaces the old one.
void showStatus(SetupView &view, const QString &text, ColourValue colour);

// Puts the markable fields back to normalColor: the nine that validation marks, then the three
// performance lists (a row the window could not show, a row the sensor did not keep).
// The status line is left alone.
void clearFieldMarks(SetupView &view, const SetupState &state);

// Marks each of `fields` in errorColor; the status line is left alone.
void markFields(SetupView &view, const SetupState &state, const QList<Control> &fields);
