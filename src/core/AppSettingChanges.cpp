#include "core/AppSettingChanges.h"

#include "convert/Units.h"
#include "state/Status.h"

namespace {

void warnSettingsChanged(const SetupState &state, SetupView &view)
{
    showStatus(view, QStringLiteral("Application Settings Changed - Check Setpoints and Low Flow Cutoff"),
               state.normalColor);
}

} // namespace

void outputUnitChosen(SetupState &state, SetupView &view, ChangedBy by)
{
    state.settings.outputUnit = static_cast<std::int16_t>(view.currentIndex(Control::cboutputunit));
    updateUnitLabels(view, state);
    if (by == ChangedBy::User)
        warnSettingsChanged(state, view);
}

void timeUnitChosen(SetupState &state, SetupView &view, ChangedBy by)
{
    state.settings.timeUnit = static_cast<std::int16_t>(view.currentIndex(Control::cbtimeunit));
    updateUnitLabels(view, state);
    if (by == ChangedBy::User)
        warnSettingsChanged(state, view);
}

void pipeUnitChosen(SetupState &state, SetupView &view) { warnSettingsChanged(state, view); }
void pipeIdEdited(SetupState &state, SetupView &view) { warnSettingsChanged(state, view); }
void kFactorEdited(SetupState &state, SetupView &view) { warnSettingsChanged(state, view); }
