#include "core/Workflows.h"

#include "convert/FlowScaling.h"
#include "convert/ShowSettings.h"
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
    // A port the link closed because its line went away (an adaptor unplugged) holds no sensor.
    if (ctx.state.linkState != LinkState::Connected || !ctx.link.isOpen()) {
        showStatus(ctx.view, QStringLiteral("Looking For A Sensor"), ctx.state.busyColor);
        ctx.state.linkState = ctx.link.findSensor(ctx.state.lastComPort, searchProgress(ctx));
        ctx.view.hideProgress();
    }
    if (ctx.state.linkState == LinkState::Connected)
        return true;
    showLinkResult(ctx);
    return false;
}

// Loop values are meaningless to the sensor when the K-factor, or for a velocity the pipe
// diameter, lies where the window would not even show it (once rounded for showing); writing them
// would program zeros or nonsense into a live loop, and a later read could not show them.
QList<Control> unusableInstallation(const SensorSettings &settings)
{
    QList<Control> unusable = unusableEntries(settings);
    if (settings.outputUnit >= 2)
        unusable.removeAll(Control::txtpipeid); // a volume unit does not use the pipe
    return unusable;
}

void readSensor(SetupContext &ctx)
{
    SetupState &state = ctx.state;
    showStatus(ctx.view, QStringLiteral("Reading The Sensor Settings"), state.busyColor);
    const SettingsRead read = readSettings(ctx.link, state.decimalSep, valuesOf(state),
                                           parameterProgress(ctx.view), takeIdentity(ctx));
    storeValues(state, read.values); // the values read before a failed reply are kept too
    if (!read.complete) {
        state.linkState = LinkState::NoAdaptor;
        resetSensorIdentity(ctx.view);
        showStatus(ctx.view, QStringLiteral("Could Not Read All Of The Settings - Check Wiring"),
                   state.errorColor);
        return;
    }
    if (state.sensorLevel != 12) {
        if (showReadSettings(state, ctx.view))
            showStatus(ctx.view, QStringLiteral("Sensor Settings Read "), state.goodColor);
        else
            showStatus(ctx.view, QStringLiteral("Some Settings Are Incorrect - Try Agian or Manually Edit"),
                       state.errorColor);
        return;
    }
    // A level-12 sensor keeps its loop values in its own unit only; the window's application
    // settings are needed to show them in the user's unit.
    if (!takeValidEntries(ctx, ValidationMode::ApplicationOnly))
        return;
    toDisplayUnits(state);
    if (showSettings(state, ctx.view, false))
        showStatus(ctx.view,
                   QStringLiteral("Sensor Settings Read - Make Sure The Application Settings Match The Installation"),
                   state.goodColor);
    else
        showStatus(ctx.view, QStringLiteral("Some Settings Could Not Be Read Properly - Try Agian"),
                   state.errorColor);
}

// After the closing command the sensor's own answers decide whether the write took. A value it did
// not keep marks its field and leaves the entries as they are, so that a second click retries them.
void showWriteCheck(SetupContext &ctx, const std::optional<WriteCheck> &check)
{
    SetupState &state = ctx.state;
    if (!check || !check->readAll) {
        state.linkState = LinkState::NoAdaptor;
        showStatus(ctx.view, QStringLiteral("Could Not Write All Of The Settings - Check Power and Wiring"),
                   state.errorColor);
        return;
    }
    for (const Parameter &parameter : check->differing)
        ctx.view.setBackground(entryOf(parameter.field), state.errorColor);
    if (check->differing.empty())
        showStatus(ctx.view, QStringLiteral("Sensor Settings Written"), state.goodColor);
    else
        showStatus(ctx.view, QStringLiteral("Sensor Did Not Keep All Of The Settings - Write Again"),
                   state.errorColor);
}

void writeSensor(SetupContext &ctx)
{
    SetupState &state = ctx.state;
    showStatus(ctx.view, QStringLiteral("Writing Settings To Sensor"), state.busyColor);
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
        showStatus(ctx.view, QStringLiteral("Checking The Written Settings"), state.busyColor);
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

void showLinkResult(SetupContext &ctx)
{
    resetSensorIdentity(ctx.view);
    const QString message = ctx.state.linkState == LinkState::NoSensor
        ? QStringLiteral("Could Not Talk To Sensor - Check Sensor Type, Power and Wiring")
        : QStringLiteral("Could Not Find A 7-0410 R2W Adaptor");
    showStatus(ctx.view, message, ctx.state.errorColor);
    ctx.view.showSkippedPorts(skippedPortLines(ctx.link.skippedPorts()));
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
    clearFieldMarks(ctx.view, ctx.state);
    requestEnd(ctx);
}

bool requestEnd(SetupContext &ctx)
{
    if (ctx.link.waits().endProgram())
        return true;
    showStatus(ctx.view, QStringLiteral("Finishing The Write - Please Wait"), ctx.state.busyColor);
    return false;
}
