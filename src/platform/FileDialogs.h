#pragma once
#include <QString>

#include <optional>

// The open and save dialogs of the settings file, behind an interface so tests can answer them.
class FileDialogs
{
public:
    FileDialogs() = default;
    virtual ~FileDialogs() = default;
    // Held and passed by reference; a copy would slice the dialogs away.
    Q_DISABLE_COPY_MOVE(FileDialogs)

    // The chosen path, or nothing when the user cancelled.
    virtual std::optional<QString> openSettingsFile() = 0;
    // The chosen path, or nothing when the user cancelled (also when they refused to replace a file).
    virtual std::optional<QString> saveSettingsFile() = 0;
};
