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
        ctx.view.setBackground(failed->control, ctx.state.errorColor);
    showStatus(ctx.view, QString::fromLatin1(failed->message), ctx.state.errorColor);
    return false;
}

bool allInRange(SetupContext &ctx, const QList<Control> &outOfRange)
{
    markFields(ctx.view, ctx.state, outOfRange);
    if (!outOfRange.isEmpty())
        showStatus(ctx.view, QStringLiteral("Some settings were out of range - Please Re-Check"),
                   ctx.state.errorColor);
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
