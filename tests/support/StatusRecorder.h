#pragma once
#include "ui/Setup.h"

#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QTimer>

#include <functional>
#include <tuple>
#include <utility>

// A message the status line showed, its colour, and whether all five action buttons were disabled then.
struct StatusEntry
{
    QString text;
    QColor colour;
    bool buttonsLocked;
    bool operator==(const StatusEntry &o) const
    {
        return std::tie(text, colour, buttonsLocked) == std::tie(o.text, o.colour, o.buttonsLocked);
    }
};

inline int enabledActionButtons(const Setup &window)
{
    int enabled = 0;
    for (Control button : {Control::cmdSaveSensor, Control::cmdReadSensor, Control::default_,
                           Control::Read_file, Control::Save_settings})
        enabled += window.isEnabled(button);
    return enabled;
}
// True when every one of the five action buttons is enabled, or every one disabled: mixed states fail both.
inline bool actionButtonsEnabled(const Setup &window) { return enabledActionButtons(window) == 5; }
inline bool actionButtonsDisabled(const Setup &window) { return enabledActionButtons(window) == 0; }

class StatusRecorder : public QObject
{
public:
    // Records from now on, until the recorder or the window goes.
    explicit StatusRecorder(Setup &window)
    {
        auto *line = qobject_cast<QPlainTextEdit *>(window.control(Control::txtmsg));
        connect(line, &QPlainTextEdit::textChanged, this, [this, &window] {
            const QString text = window.text(Control::txtmsg);
            if (text.isEmpty())
                return; // replacing a text passes through an empty document
            m_entries.append({text, window.background(Control::txtmsg), actionButtonsDisabled(window)});
            if (m_action && text == m_trigger)
                std::exchange(m_action, nullptr)();
        });
    }

    const QList<StatusEntry> &entries() const { return m_entries; }
    QStringList texts() const
    {
        QStringList texts;
        for (const StatusEntry &entry : m_entries)
            texts << entry.text;
        return texts;
    }
    void clear() { m_entries.clear(); }
    // Runs once, right after the status line first shows `text`.
    void onText(const QString &text, std::function<void()> action)
    {
        m_trigger = text;
        m_action = std::move(action);
    }

private:
    QList<StatusEntry> m_entries;
    QString m_trigger;
    std::function<void()> m_action;
};

// The status the program ends with when `action` ends it, as main() has it from the application's event
// loop; -1 when the program has not ended 10 s after the action began.
inline int endStatus(const std::function<void()> &action)
{
    QTimer giveUp;
    QObject::connect(&giveUp, &QTimer::timeout, [] { QCoreApplication::exit(-1); });
    giveUp.start(10000);
    QTimer::singleShot(0, &giveUp, action);
    return QCoreApplication::exec();
}
