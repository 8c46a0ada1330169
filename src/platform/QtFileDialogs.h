#pragma once
#include "platform/FileDialogs.h"

#include <QFileDialog>

class QWidget;

// The settings file dialogs of the platform, modal over the window given.
class QtFileDialogs : public FileDialogs
{
public:
    explicit QtFileDialogs(QWidget *parent = nullptr) : m_parent(parent) {}

    std::optional<QString> openSettingsFile() override;
    // Takes a new name as well; asks before an existing file is replaced.
    std::optional<QString> saveSettingsFile() override;

private:
    std::optional<QString> choose(QFileDialog::AcceptMode mode);

    QWidget *m_parent;
};
