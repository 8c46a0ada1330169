#pragma once
#include "state/Messages.h"
#include "state/SetupState.h"

#include <QString>
#include <QStringList>

// The controls that the workflows read and set; the names are the controls' object names.
enum class Control {
    // entry boxes
    txtFactor, txtpipeid, txt4ma, txt20ma, txtlowflowcutoff,
    // drop-down lists
    cboutputunit, cbtimeunit, cbpipeidunit, cb_k_units, cbAverging, cbSensitivity, cbRejection,
    // read-only boxes
    txtserialnum, txttype, txtmsg,
    // unit labels
    lbunit1, lbunit2, lbunit3,
    // buttons ("default" is a C++ keyword, hence the trailing underscore)
    cmdReadSensor, default_, cmdSaveSensor, Read_file, Save_settings, cmdok,
};

// What core sees of the window. The widget implements it; workflows are written against it only.
class SetupView
{
public:
    virtual ~SetupView() = default;
    // Held by reference only: a copy would slice the window off and keep a bare interface.
    SetupView(const SetupView &) = delete;
    SetupView &operator=(const SetupView &) = delete;

    // Text of a box, caption of a label or button, shown text of a list (typed text included).
    virtual QString text(Control control) const = 0;
    // Sets a box's text or a label's caption. Only the user's own edits warn that an application
    // setting changed.
    virtual void setText(Control control, const QString &text) = 0;

    // The row of a list whose text is the shown text, blanks at either end ignored; -1 when the shown
    // text is blank or matches no row.
    virtual int currentIndex(Control list) const = 0;
    // Selects a row (-1 clears the list). A unit list then stores its row and refreshes the unit
    // labels, also when the row was already selected; only the user's own choice warns.
    virtual void setCurrentIndex(Control list, int row) = 0;
    virtual int count(Control list) const = 0;

    // The status line: its kind first (the window shows it as a colour), then its text.
    virtual void showStatus(MessageKind kind, const QString &text) = 0;
    // A field marked as refused, or back to normal.
    virtual void setMarked(Control field, bool marked) = 0;
    virtual void setEnabled(Control control, bool enabled) = 0;
    virtual bool isEnabled(Control control) const = 0;

    // While an action runs: a busy cursor over the window (Exit keeps its own), and how far the
    // action has come, as step of total with a text. Neither touches the status line. Busy is set
    // before the buttons lock and cleared after they unlock: keyboard focus waits where no key starts
    // or ends anything, then goes back to the control that started the action.
    virtual void setBusy(bool busy) = 0;
    virtual void showProgress(int step, int total, const QString &text) = 0;
    virtual void hideProgress() = 0;
    // Lines below the status line, one per port a search had to skip; none hides them.
    virtual void showSkippedPorts(const QStringList &lines) = 0;

protected:
    SetupView() = default;
};
