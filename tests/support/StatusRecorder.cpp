#include "StatusRecorder.h"

#include "ui/Setup.h"

#include <QPlainTextEdit>

#include <utility>

namespace {

int enabledActionButtons(const Setup &window)
{
    int enabled = 0;
    for (Control button : {Control::cmdSaveSensor, Control::cmdReadSensor, Control::default_, Control::Read_file,
                           Control::Save_settings})
        enabled += window.isEnabled(button);
    return enabled;
}

} // namespace

bool actionButtonsEnabled(const Setup &window) { return enabledActionButtons(window) == 5; }
bool actionButtonsDisabled(const Setup &window) { return enabledActionButtons(window) == 0; }

StatusRecorder::StatusRecorder(Setup &window)
{
    const auto record = [this, &window] {
        const QString text = window.text(Control::txtmsg);
        if (text.isEmpty())
            return; // replacing a text passes through an empty document
        m_entries.append({text, window.background(Control::txtmsg), actionButtonsEnabled(window)});
        if (m_action && text == m_trigger)
            std::exchange(m_action, nullptr)();
    };
    connect(qobject_cast<QPlainTextEdit *>(window.control(Control::txtmsg)), &QPlainTextEdit::textChanged, this, record);
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
