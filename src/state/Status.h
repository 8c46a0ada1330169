#pragma once
#include "state/Messages.h"
#include "state/SetupState.h"
#include "state/SetupView.h"

#include <QList>

// The status line shows `message`, `detail` in its variable part; it replaces the old one.
void showStatus(SetupView &view, Message message, const QString &detail = QString());

// Unmarks the markable fields: the nine that validation marks, then the three performance lists
// (a row the window could not show, a row the sensor did not keep). The status line is left alone.
void clearFieldMarks(SetupView &view);

// Marks each of `fields`; the status line is left alone.
void markFields(SetupView &view, const QList<Control> &fields);

// Shows unitName(outputUnit, timeUnit) in the three unit labels. While either index lies outside
// its table (a list with no selection) the labels are emptied: no unit is chosen, so none is shown.
void updateUnitLabels(SetupView &view, const SetupState &state);
