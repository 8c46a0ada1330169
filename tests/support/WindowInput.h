#pragma once
#include "ui/Setup.h"

#include <QStringList>

// Port paths that do not exist, so a window under test never reaches a device by accident.
QStringList missingPorts();

// Replaces a box's text as a user would: select everything, delete it, type the new text.
void typeText(Setup &window, Control box, const QString &text);
// The same in a list's edit part; the text need not match any row.
void typeListText(Setup &window, Control list, const QString &text);
