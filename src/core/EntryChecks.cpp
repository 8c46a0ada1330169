#include "core/EntryChecks.h"

#include "convert/FlowScaling.h"
#include "convert/ShowSettings.h"
#include "state/Status.h"

ValidationMode validationModeFor(const SetupState &state)
{
    return state.hasLoopOutput ? ValidationMode::WithLoop : ValidationMode::NoLoop;
}

bool takeValidEntries(SetupContext &ctx, ValidationMode mode)
{
    const std::optional<EntryFailure> failed = validateEntries(ctx.state, ctx.view, mode);
    if (!failed)
        return true;
    if (failed->marked)
        ctx.view.setMarked(failed->control, true);
    showStatus(ctx.view, failed->message);
    return false;
}

bool allInRange(SetupContext &ctx, const QList<Control> &outOfRange)
{
    markFields(ctx.view, outOfRange);
    if (!outOfRange.isEmpty())
        showStatus(ctx.view, Message::SettingsLimited);
    return outOfRange.isEmpty();
}

bool convertToSensorUnits(SetupContext &ctx)
{
    if (allInRange(ctx, toSensorUnits(ctx.state)))
        return true;
    // Show the limited values, converted back, so the user sees what would have been sent.
    toDisplayUnits(ctx.state);
    showSettings(ctx.state, ctx.view, false);
    return false;
}
