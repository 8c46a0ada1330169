#include "state/Status.h"

void showStatus(SetupView &view, const QString &text, ColourValue colour)
{
    view.setBackground(Control::txtmsg, colour);
    view.setText(Control::txtmsg, text);
}

void clearFieldMarks(SetupView &view, const SetupState &state)
{
    static constexpr Control markable[] = {
        Control::txtlowflowcutoff, Control::txt4ma, Control::txt20ma, Control::txtpipeid,
        Control::txtFactor, Control::cboutputunit, Control::cbpipeidunit, Control::cb_k_units,
        Control::cbtimeunit,
        // marked when a read or file could not show the row, or the sensor did not keep it
        Control::cbAverging, Control::cbSensitivity, Control::cbRejection,
    };
    for (Control control : markable)
        view.setBackground(control, state.normalColor);
}

void markFields(SetupView &view, const SetupState &state, const QList<Control> &fields)
{
    for (Control field : fields)
        view.setBackground(field, state.errorColor);
}
