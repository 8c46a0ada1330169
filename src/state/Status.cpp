#include "state/Status.h"

void showStatus(SetupView &view, Message message, const QString &detail)
{
    view.showStatus(messageKind(message), messageText(message, detail));
}

void clearFieldMarks(SetupView &view)
{
    static constexpr Control markable[] = {
        Control::txtlowflowcutoff, Control::txt4ma, Control::txt20ma, Control::txtpipeid,
        Control::txtFactor, Control::cboutputunit, Control::cbpipeidunit, Control::cb_k_units,
        Control::cbtimeunit,
        // marked when a read or file could not show the row, or the sensor did not keep it
        Control::cbAverging, Control::cbSensitivity, Control::cbRejection,
    };
    for (Control control : markable)
        view.setMarked(control, false);
}

void markFields(SetupView &view, const QList<Control> &fields)
{
    for (Control field : fields)
        view.setMarked(field, true);
}
