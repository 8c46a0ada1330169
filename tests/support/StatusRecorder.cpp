#include "StatusRecorder.h"

#include "ui/Setup.h"

#include <QPlainTextEdit>

namespace {

constexpr Control actionButtons[] = {
    Control::cmdSaveSensor, Control::cmdReadSensor, Control::default_, Control::Read_file,
    Control::Save_settings,
};

} // namespace

bool actionButtonsEnabled(const Setup &window)
{
    for (Control button : actionButtons)
        if (!window.isEnabled(button))
            return false;
    return true;
}

bool actionButtonsDisabled(const Setup &window)
{
    for (Control button : actionButtons)
        if (window.isEnabled(button))
            return false;
    return true;
}

StatusRecorder::StatusRecorder(Setup &window) : m_window(window)
{
    auto *line = qobject_cast<QPlainTextEdit *>(window.control(Control::txtmsg));
    Q_ASSERT(line);
    connect(line, &QPlainTextEdit::textChanged, this, &StatusRecorder::record);
}

QStringList StatusRecorder::texts() const
{
    QStringList texts;
    for (const StatusEntry &entry : m_entries)
        texts << entry.text;
    return texts;
}

void StatusRecorder::onText(const QString &text, std::function<void()> action)
{
    m_trigger = text;
    m_action = std::move(action);
}

void StatusRecorder::record()
{
    const QString text = m_window.text(Control::txtmsg);
    if (text.isEmpty())
        return; // replacing a text passes through an empty document
    m_entries.append({text, m_window.background(Control::txtmsg), actionButtonsEnabled(m_window)});
    if (m_action && text == m_trigger) {
        auto action = std::move(m_action);
        m_action = nullptr;
        action();
    }
}
