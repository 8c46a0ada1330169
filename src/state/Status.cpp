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

void updateUnitLabels(SetupView &view, const SetupState &state)
{
    const int output = state.settings.outputUnit;
    const int time = state.settings.timeUnit;
    const bool known = output >= 0 && output < outputUnitCount && time >= 0 && time < timeUnitCount;
    const QString unit = known ? state.unitName[output][time] : QString();
    for (Control label : {Control::lbunit1, Control::lbunit2, Control::lbunit3})
        view.setText(label, unit);
}
