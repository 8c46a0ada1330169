#include "platform/QtFileDialogs.h"

std::optional<QString> QtFileDialogs::openSettingsFile() { return choose(QFileDialog::AcceptOpen); }

std::optional<QString> QtFileDialogs::saveSettingsFile() { return choose(QFileDialog::AcceptSave); }

std::optional<QString> QtFileDialogs::choose(QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(m_parent, QStringLiteral("Select The Settings File"), QString(),
                       QStringLiteral("*.bdf"));
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("bdf"));
    // Replacing an existing file is confirmed by the dialog itself (DontConfirmOverwrite stays off).
    const int answer = dialog.exec();
    if (m_parent) // the keyboard goes back to the window, also where no window manager hands it back
        m_parent->activateWindow();
    if (answer != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}
