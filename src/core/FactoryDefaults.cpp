#include "core/FactoryDefaults.h"

#include "convert/FlowScaling.h"
#include "convert/ShowSettings.h"
#include "convert/Validation.h"
#include "core/Workflows.h"
#include "link/AdaptorLink.h"
#include "state/Status.h"

bool applicationSettingsBlank(const SetupView &view)
{
    for (Control control : {Control::txtFactor, Control::txtpipeid, Control::cboutputunit,
                            Control::cbtimeunit, Control::cbpipeidunit, Control::cb_k_units}) {
        if (!view.text(control).isEmpty())
            return false;
    }
    return true;
}

void restoreFactorySettings(SetupContext &ctx)
{
    SetupState &state = ctx.state;
    SetupView &view = ctx.view;
    disableButtons(view);
    clearFieldMarks(view);

    if (applicationSettingsBlank(view)) {
        // A default installation: a 44 mm bore with its K-factor, velocity in metres per second.
        const bool comma = state.decimalSep == QLatin1String(",");
        view.setText(Control::txtFactor, comma ? QStringLiteral("65,7667") : QStringLiteral("65.7667"));
        view.setText(Control::txtpipeid, comma ? QStringLiteral("44,0") : QStringLiteral("44.0"));
        view.setCurrentIndex(Control::cboutputunit, 0);
        view.setCurrentIndex(Control::cbtimeunit, 0);
        view.setCurrentIndex(Control::cbpipeidunit, 0);
        view.setCurrentIndex(Control::cb_k_units, 1);
    }

    if (validateEntries(state, view, ValidationMode::ApplicationOnly)) {
        state.sensorCutoff = 0.05f;
        state.sensor20mA = 5.0f;
        state.sensor4mA = 0.0f;
        state.settings.averaging = 7;
        state.settings.sensitivity = 3;
        state.settings.noiseRejection = 0;
        toDisplayUnits(state);
        showSettings(state, view, true);
        showStatus(view, Message::DefaultsShown);
    }

    finishAction(ctx);
}
