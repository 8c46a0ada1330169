#pragma once
#include "state/SetupView.h"

#include <QList>
#include <QObject>
#include <QString>

#include <functional>

class Setup;

// Every message the status line showed, with its colour and whether the five action buttons
// were enabled at that moment.
struct StatusEntry
{
    QString text;
    ColourValue colour;
    bool actionButtonsEnabled;
};

class StatusRecorder : public QObject
{
public:
    // Records from now on, until the recorder or the window goes.
    explicit StatusRecorder(Setup &window);

    const QList<StatusEntry> &entries() const { return m_entries; }
    QStringList texts() const;
    bool showed(const QString &text) const { return texts().contains(text); }
    void clear() { m_entries.clear(); }
    // Runs once, right after the status line first shows `text`.
    void onText(const QString &text, std::function<void()> action);

private:
    QList<StatusEntry> m_entries;
    QString m_trigger;
    std::function<void()> m_action;
};

// True when every one of the five action buttons is enabled, or every one disabled: mixed states fail both.
bool actionButtonsEnabled(const Setup &window);
bool actionButtonsDisabled(const Setup &window);
