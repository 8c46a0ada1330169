#pragma once
#include "FakeDialogs.h"
#include "ui/Setup.h"

// The texts of the twelve entries, boxes and lists, in the order of Control.
QStringList entryTexts(const Setup &window);

// Clicks "Load Settings From File" with `path` chosen; the status line's last message.
QString loadThroughWindow(Setup &window, FakeDialogs &dialogs, const QString &path);

// Clicks "Save Settings To File" with `path` chosen. A refused save must end in errorColor and
// leave no file; a saved file must hold only finite numbers and load into a fresh window as the
// very record and entries that were saved. Whether it saved: QFile::exists(path).
void saveMustRoundTrip(Setup &window, FakeDialogs &dialogs, const QString &path);
