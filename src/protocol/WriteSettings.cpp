#include "protocol/WriteSettings.h"

#include "link/Waits.h"
#include "protocol/Commands.h"
#include "protocol/ParameterText.h"
#include "protocol/ReadSettings.h"
#include "protocol/Replies.h"

bool writeSettings(SetupContext &ctx, const SensorValues &values, const StepProgress &progress,
                   const IdentityTaken &identified, std::optional<Waits::EndDeferral> *heldOn)
{
    const QString decimalSep = ctx.state.decimalSep;

    if (!takeIdentity(ctx, identified))
        return false;

    const LevelTable &table = tableForLevel(ctx.state.sensorLevel);
    const int total = int(table.parameters.size());
    int step = 0;
    // From the first value on, Exit waits for the closing command (or a failure) before it ends.
    std::optional<Waits::EndDeferral> ownHold;
    (heldOn ? *heldOn : ownHold).emplace(ctx.link.waits());
    for (const Parameter &parameter : table.parameters) {
        if (progress)
            progress(++step, total);
        const QString command =
            buildCommand(writeOp, parameter.number, valueText(values, parameter, decimalSep));
        if (!isAccepted(ctx.link.transact(command, writeReplyLimit, transactTimeoutMs)))
            return false;
    }
    ctx.link.pause(beforeClosingPauseMs);
    return isAccepted(ctx.link.transact(buildCommand(closeOp, 0, QString()), writeReplyLimit,
                                        table.closingTimeoutMs));
}

WriteCheck checkWrittenSettings(SetupContext &ctx, const SensorValues &sent, const StepProgress &progress)
{
    const QString decimalSep = ctx.state.decimalSep;
    WriteCheck check;
    check.readAll = readParameters(ctx, tableForLevel(ctx.state.sensorLevel),
                                   [&](const Parameter &parameter, ParameterValue value) {
                                       if (!readBackAgrees(sent, parameter, value, decimalSep))
                                           check.differing.push_back(parameter);
                                   },
                                   progress);
    return check;
}
