#include "core/AppSettingChanges.h"

#include "state/Status.h"

namespace {

void warnSettingsChanged(const SetupState &state, SetupView &view)
{
    ShowStatus(view, QStringLiteral("Application Settings Changed - Check Setpoints and Low Flow Cutoff"),
               state.normalColor);
}

} // namespace

void cboutputunit_Click(SetupState &state, SetupView &view, ChangedBy by)
{
    state.settings.outputUnit = static_cast<std::int16_t>(view.currentIndex(Control::cboutputunit));
    UpdateUnitLabels(view, state);
    if (by == ChangedBy::User)
        warnSettingsChanged(state, view);
}

void cbtimeunit_Click(SetupState &state, SetupView &view, ChangedBy by)
{
    state.settings.timeUnit = static_cast<std::int16_t>(view.currentIndex(Control::cbtimeunit));
    UpdateUnitLabels(view, state);
    if (by == ChangedBy::User)
        warnSettingsChanged(state, view);
}

void cbpipeidunit_Click(SetupState &state, SetupView &view) { warnSettingsChanged(state, view); }
void txtpipeid_Change(SetupState &state, SetupView &view) { warnSettingsChanged(state, view); }
void txtFactor_Change(SetupState &state, SetupView &view) { warnSettingsChanged(state, view); }
