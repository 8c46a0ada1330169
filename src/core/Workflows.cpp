#include "core/Workflows.h"

#include "convert/FlowScaling.h"
#include "convert/ShowSettings.h"
#include "convert/Validation.h"
#include "core/Progress.h"
#include "link/AdaptorLink.h"
#include "link/Waits.h"
#include "protocol/ReadSettings.h"
#include "protocol/WriteSettings.h"
#include "state/Buttons.h"
#include "state/Status.h"

namespace {

// The identity boxes as identification left them; both empty when it failed.
IdentityTaken showIdentity(SetupView &view)
{
    return [&view](const SensorIdentity &identity) {
        view.setText(Control::txttype, identity.type);
        view.setText(Control::txtserialnum, identity.serial);
    };
}

// Searches the ports unless a sensor is known to be connected; reports a failed search.
bool connectSensor(SetupContext &ctx)
{
    QList<SkippedPort> skipped;
    // A port the link closed because its line went away (an adaptor unplugged) holds no sensor.
    if (ctx.state.linkState != LinkState::Connected || !ctx.link.isOpen()) {
        showStatus(ctx.view, Message::LookingForSensor);
        const SearchResult found = findSensor(ctx.link, ctx.state.lastComPort, searchProgress(ctx));
        ctx.state.linkState = found.linkState;
        skipped = found.skippedPorts;
        ctx.view.hideProgress();
    }
    if (ctx.state.linkState == LinkState::Connected)
        return true;
    showLinkResult(ctx, skipped);
    return false;
}

// Loop values are meaningless to the sensor when the K-factor, or for a velocity the pipe
// diameter, lies where the window would not even show it (once rounded for showing); writing them
// would program zeros or nonsense into a live loop, and a later read could not show them.
bool installationUsable(SetupContext &ctx)
{
    QList<Control> unusable = unusableEntries(ctx.state.settings);
    if (ctx.state.settings.outputUnit >= 2)
        unusable.removeAll(Control::txtpipeid); // a volume unit does not use the pipe
    markFields(ctx.view, unusable);
    if (!unusable.isEmpty())
        showStatus(ctx.view, Message::SettingsLimited);
    return unusable.isEmpty();
}

void readSensor(SetupContext &ctx)
{
    SetupState &state = ctx.state;
    showStatus(ctx.view, Message::ReadingSettings);
    if (!readSettings(ctx, parameterProgress(ctx.view), showIdentity(ctx.view))) {
        state.linkState = LinkState::NoAdaptor;
        resetSensorIdentity(ctx.view);
        showStatus(ctx.view, Message::ReadIncomplete);
        return;
    }
    if (state.sensorLevel != 12) {
        if (showReadSettings(state, ctx.view))
            showStatus(ctx.view, Message::SettingsRead);
        else
            showStatus(ctx.view, Message::ReadUnshowable);
        return;
    }
    // A level-12 sensor keeps its loop values in its own unit only; the window's application
    // settings are needed to show them in the user's unit.
    if (!validateEntries(state, ctx.view, ValidationMode::ApplicationOnly))
        return;
    toDisplayUnits(state);
    if (showSettings(state, ctx.view, false))
        showStatus(ctx.view, Message::SettingsReadCheckApplication);
    else
        showStatus(ctx.view, Message::ReadUnshowableLevel12);
}

// After the closing command the sensor's own answers decide whether the write took. A value it did
// not keep marks its field and leaves the entries as they are, so that a second click retries them.
void showWriteCheck(SetupContext &ctx, const std::optional<WriteCheck> &check)
{
    SetupState &state = ctx.state;
    if (!check || !check->readAll) {
        state.linkState = LinkState::NoAdaptor;
        showStatus(ctx.view, Message::WriteIncomplete);
        return;
    }
    for (const Parameter &parameter : check->differing)
        ctx.view.setMarked(parameter.entry, true);
    if (check->differing.empty())
        showStatus(ctx.view, Message::SettingsWritten);
    else
        showStatus(ctx.view, Message::WriteNotKept);
}

void writeSensor(SetupContext &ctx)
{
    SetupState &state = ctx.state;
    showStatus(ctx.view, Message::WritingSettings);
    const ValidationMode mode = state.hasLoopOutput ? ValidationMode::WithLoop : ValidationMode::NoLoop;
    if (!validateEntries(state, ctx.view, mode) || !installationUsable(ctx))
        return;
    const QList<Control> clamped = toSensorUnits(state);
    markFields(ctx.view, clamped);
    if (!clamped.isEmpty()) {
        showStatus(ctx.view, Message::SettingsLimited);
        // Show the limited values, converted back, so the user sees what would have been sent.
        toDisplayUnits(state);
        showSettings(state, ctx.view, false);
        return;
    }
    const SensorValues sent = valuesOf(state);
    // Exit once a value has gone out waits for the write and its check: the program ends only on
    // settings the sensor has kept, and otherwise stays open to show what went wrong.
    std::optional<Waits::EndDeferral> untilChecked;
    std::optional<WriteCheck> check;
    if (writeSettings(ctx, sent, parameterProgress(ctx.view), showIdentity(ctx.view), &untilChecked)) {
        showStatus(ctx.view, Message::CheckingWrite);
        check = checkWrittenSettings(ctx, sent, parameterProgress(ctx.view));
    }
    if (!check || !check->readAll || !check->differing.empty())
        ctx.link.waits().dropEndRequest();
    untilChecked.reset();
    showWriteCheck(ctx, check);
}

} // namespace

void finishAction(SetupContext &ctx)
{
    ctx.link.pause(endPauseMs);
    enableButtons(ctx.view);
}

void resetSensorIdentity(SetupView &view)
{
    view.setText(Control::txtserialnum, QStringLiteral("Not Read"));
    view.setText(Control::txttype, QStringLiteral("Not Read"));
}

void showLinkResult(SetupContext &ctx, const QList<SkippedPort> &skipped)
{
    resetSensorIdentity(ctx.view);
    const Message message = ctx.state.linkState == LinkState::NoSensor
        ? Message::NoSensor
        : Message::NoAdaptor;
    showStatus(ctx.view, message);
    ctx.view.showSkippedPorts(skippedPortLines(skipped));
}

void readSensorSettings(SetupContext &ctx)
{
    disableButtons(ctx.view);
    clearFieldMarks(ctx.view);
    if (connectSensor(ctx))
        readSensor(ctx);
    finishAction(ctx);
}

void writeSensorSettings(SetupContext &ctx)
{
    disableButtons(ctx.view);
    clearFieldMarks(ctx.view);
    if (connectSensor(ctx))
        writeSensor(ctx);
    finishAction(ctx);
}

void requestExit(SetupContext &ctx)
{
    clearFieldMarks(ctx.view);
    requestEnd(ctx);
}

bool requestEnd(SetupContext &ctx)
{
    if (ctx.link.waits().endProgram())
        return true;
    showStatus(ctx.view, Message::FinishingWrite);
    return false;
}
