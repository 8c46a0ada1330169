#include "core/Workflows.h"

#include "convert/FlowScaling.h"
#include "convert/ShowSettings.h"
#include "convert/Units.h"
#include "core/ActionFrame.h"
#include "core/EntryChecks.h"
#include "core/ParameterEntry.h"
#include "core/Progress.h"
#include "link/AdaptorLink.h"
#include "link/Waits.h"
#include "protocol/ReadSettings.h"
#include "protocol/WriteSettings.h"
#include "state/Status.h"

namespace {

// Keeps what identification learnt in sensorLevel and hasLoopOutput and shows it in the identity
// boxes; both boxes empty when it failed.
IdentityTaken takeIdentity(SetupContext &ctx)
{
    return [&ctx](const SensorIdentity &identity) {
        ctx.state.sensorLevel = identity.level;
        ctx.state.hasLoopOutput = identity.hasLoopOutput;
        ctx.view.setText(Control::txttype, identity.type);
        ctx.view.setText(Control::txtserialnum, identity.serial);
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
QList<Control> unusableInstallation(const SensorSettings &settings)
{
    QList<Control> unusable = unusableEntries(settings);
    if (!unitUsesPipe(settings.outputUnit))
        unusable.removeAll(Control::txtpipeid);
    return unusable;
}

void readSensor(SetupContext &ctx)
{
    SetupState &state = ctx.state;
    showStatus(ctx.view, Message::ReadingSettings);
    const SettingsRead read = readSettings(ctx.link, state.decimalSep, valuesOf(state),
                                           parameterProgress(ctx.view), takeIdentity(ctx));
    storeValues(state, read.values); // the values read before a failed reply are kept too
    if (!read.complete) {
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
    if (!takeValidEntries(ctx, ValidationMode::ApplicationOnly))
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
        ctx.view.setMarked(entryOf(parameter.field), true);
    if (check->differing.empty())
        showStatus(ctx.view, Message::SettingsWritten);
    else
        showStatus(ctx.view, Message::WriteNotKept);
}

void writeSensor(SetupContext &ctx)
{
    SetupState &state = ctx.state;
    showStatus(ctx.view, Message::WritingSettings);
    if (!takeValidEntries(ctx, validationModeFor(state))
        || !allInRange(ctx, unusableInstallation(state.settings)) || !convertToSensorUnits(ctx))
        return;
    const SensorValues sent = valuesOf(state);
    // Exit once a value has gone out waits for the write and its check: the program ends only on
    // settings the sensor has kept, and otherwise stays open to show what went wrong.
    std::optional<Waits::EndDeferral> untilChecked;
    std::optional<WriteCheck> check;
    if (writeSettings(ctx.link, state.decimalSep, sent, parameterProgress(ctx.view), takeIdentity(ctx),
                      &untilChecked)) {
        showStatus(ctx.view, Message::CheckingWrite);
        check = checkWrittenSettings(ctx.link, state.decimalSep, state.sensorLevel, sent,
                                     parameterProgress(ctx.view));
    }
    if (!check || !check->readAll || !check->differing.empty())
        ctx.link.waits().dropEndRequest();
    untilChecked.reset();
    showWriteCheck(ctx, check);
}

} // namespace

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
    runAction(ctx, EndPause::Wait, [&ctx] {
        if (connectSensor(ctx))
            readSensor(ctx);
    });
}

void writeSensorSettings(SetupContext &ctx)
{
    runAction(ctx, EndPause::Wait, [&ctx] {
        if (connectSensor(ctx))
            writeSensor(ctx);
    });
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
