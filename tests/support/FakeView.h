#pragma once
#include "convert/ListRows.h"
#include "core/InitialState.h"
#include "state/SetupView.h"

#include <map>

// The window as the workflows see it, without a widget: a text and colour per control, and
// the window's list rows. Start-up has run on `state`. No change handler runs.
class FakeView : public SetupView
{
public:
    FakeView() { initialiseState(state, *this); }

    QString text(Control c) const override { return m_text.count(c) ? m_text.at(c) : QString(); }
    void setText(Control c, const QString &text) override { m_text[c] = text; }
    int currentIndex(Control list) const override;
    void setCurrentIndex(Control list, int row) override { m_text[list] = listRows(list).value(row); }
    int count(Control list) const override { return int(listRows(list).size()); }
    void setBackground(Control c, ColourValue colour) override { m_colour[c] = colour; }
    ColourValue background(Control c) const override
    {
        return m_colour.count(c) ? m_colour.at(c) : systemWindowColour();
    }
    void setEnabled(Control, bool) override {} // the logic suites press no buttons
    bool isEnabled(Control) const override { return true; }
    ColourValue systemWindowColour() const override { return rgbColour(255, 255, 254); }
    void setBusy(bool) override {}
    void showProgress(int, int, const QString &) override {}
    void hideProgress() override {}
    void showSkippedPorts(const QStringList &) override {}

    SetupState state;

private:
    std::map<Control, QString> m_text;
    std::map<Control, ColourValue> m_colour;
};
