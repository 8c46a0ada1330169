#pragma once
#include <QColor>
#include <QPoint>
#include <QString>

class QComboBox;
class QWidget;

// Drives the real window the way a user does, for tests.

// Opens the list's drop-down, moves to `row` and presses Return, as a keyboard user chooses.
void chooseEntry(QComboBox *list, int row);

// The colour drawn at a point of a widget (in its own coordinates), as the screen would show it.
QColor shownColour(QWidget *widget, const QPoint &point);
