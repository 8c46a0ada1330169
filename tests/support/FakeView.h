#pragma once
#include "core/InitialState.h"
#include "state/SetupView.h"

#include <map>

// The rows of each of the window's lists, blanks included: a row is the value the sensor gets.
QStringList listRows(Control list);

// The window as the workflows see it, without a widget: a text per control, the marked fields, the status
// line's kind, and the window's list rows. Start-up has run on `state`. No change handler runs.
class FakeView : public SetupView
{
public:
    FakeView() { initialiseState(state, *this); }

    QString text(Control c) const override { return m_text.count(c) ? m_text.at(c) : QString(); }
    void setText(Control c, const QString &text) override { m_text[c] = text; }
    int currentIndex(Control list) const override;
    void setCurrentIndex(Control list, int row) override { m_text[list] = listRows(list).value(row); }
    int count(Control list) const override { return int(listRows(list).size()); }
    void showStatus(MessageKind k, const QString &t) override { statusKind = k, m_text[Control::txtmsg] = t; }
    void setMarked(Control c, bool on) override { marked[c] = on; }
    void setEnabled(Control, bool) override {} // the logic suites press no buttons
    bool isEnabled(Control) const override { return true; }
    void setBusy(bool) override {}
    void showProgress(int, int, const QString &) override {}
    void hideProgress() override {}
    void showSkippedPorts(const QStringList &) override {}

    SetupState state;
    MessageKind statusKind = MessageKind::Normal;
    std::map<Control, bool> marked;

private:
    std::map<Control, QString> m_text;
};
