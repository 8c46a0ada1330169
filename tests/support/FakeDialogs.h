#pragma once
#include "platform/FileDialogs.h"

#include <QStringList>

// Answers the file dialogs from a script instead of asking a user: a path, or cancel.
class FakeDialogs : public FileDialogs
{
public:
    void answer(const QString &path) { m_answer = path; }
    void cancel() { m_answer.reset(); }
    int asked() const { return m_asked; }

    std::optional<QString> openSettingsFile() override { return ask(); }
    std::optional<QString> saveSettingsFile() override { return ask(); }

private:
    std::optional<QString> ask()
    {
        ++m_asked;
        return m_answer;
    }

    std::optional<QString> m_answer;
    int m_asked = 0;
};
