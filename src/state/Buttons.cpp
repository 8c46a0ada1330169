#include "state/Buttons.h"

namespace {

constexpr Control actionButtons[] = {
    Control::cmdSaveSensor, Control::cmdReadSensor, Control::default_, Control::Read_file,
    Control::Save_settings,
};
// Locked with the buttons: an edit made while an action waits would not be what it read, wrote or
// saved, yet the window would show it afterwards.
constexpr Control entryControls[] = {
    Control::txtFactor, Control::txtpipeid, Control::txt4ma, Control::txt20ma, Control::txtlowflowcutoff,
    Control::cboutputunit, Control::cbtimeunit, Control::cbpipeidunit, Control::cb_k_units,
    Control::cbAverging, Control::cbSensitivity, Control::cbRejection,
};

} // namespace

void disableButtons(SetupView &view)
{
    view.setBusy(true);
    view.showSkippedPorts({});
    for (Control button : actionButtons)
        view.setEnabled(button, false);
    for (Control entry : entryControls)
        view.setEnabled(entry, false);
}

void enableButtons(SetupView &view)
{
    for (Control button : actionButtons)
        view.setEnabled(button, true);
    for (Control entry : entryControls)
        view.setEnabled(entry, true);
    view.hideProgress();
    view.setBusy(false);
}
