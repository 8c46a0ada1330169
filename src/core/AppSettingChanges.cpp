#include "core/AppSettingChanges.h"

#include "state/Status.h"

namespace {

void warnSettingsChanged(SetupView &view)
{
    showStatus(view, Message::ApplicationSettingsChanged);
}

} // namespace

void outputUnitChosen(SetupState &state, SetupView &view, ChangedBy by)
{
    state.settings.outputUnit = static_cast<std::int16_t>(view.currentIndex(Control::cboutputunit));
    updateUnitLabels(view, state);
    if (by == ChangedBy::User)
        warnSettingsChanged(view);
}

void timeUnitChosen(SetupState &state, SetupView &view, ChangedBy by)
{
    state.settings.timeUnit = static_cast<std::int16_t>(view.currentIndex(Control::cbtimeunit));
    updateUnitLabels(view, state);
    if (by == ChangedBy::User)
        warnSettingsChanged(view);
}

void pipeUnitChosen(SetupView &view) { warnSettingsChanged(view); }
void pipeIdEdited(SetupView &view) { warnSettingsChanged(view); }
void kFactorEdited(SetupView &view) { warnSettingsChanged(view); }
