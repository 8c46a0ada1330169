#include "protocol/WriteSettings.h"

#include "link/Waits.h"
#include "protocol/ParameterText.h"
#include "protocol/ReadSettings.h"
#include "protocol/Replies.h"

bool WriteSettings(SetupContext &ctx, const SensorValues &values, const StepProgress &progress,
                   const IdentityTaken &identified, std::optional<Waits::EndDeferral> *heldOn)
{
    const QString decimalSep = ctx.state.decimalSep;

    if (!TakeIdentity(ctx, identified))
        return false;

    const LevelTable &table = TableForLevel(ctx.state.sensorLevel);
    const int total = int(table.parameters.size());
    int step = 0;
    // From the first value on, Exit waits for the closing command (or a failure) before it ends.
    std::optional<Waits::EndDeferral> ownHold;
    (heldOn ? *heldOn : ownHold).emplace(ctx.link.waits());
    for (const Parameter &parameter : table.parameters) {
        if (progress)
            progress(++step, total);
        const QString command =
            BuildCommand(writeOp, parameter.number, ValueText(values, parameter, decimalSep));
        if (!IsAccepted(ctx.link.Transact(command, writeReplyLimit, transactTimeoutMs)))
            return false;
    }
    ctx.link.Pause(beforeClosingPauseMs);
    return IsAccepted(ctx.link.Transact(BuildCommand(closeOp, 0, QString()), writeReplyLimit,
                                        table.closingTimeoutMs));
}

WriteCheck CheckWrittenSettings(SetupContext &ctx, const SensorValues &sent, const StepProgress &progress)
{
    const QString decimalSep = ctx.state.decimalSep;
    WriteCheck check;
    check.readAll = ReadParameters(ctx, TableForLevel(ctx.state.sensorLevel),
                                   [&](const Parameter &parameter, ParameterValue value) {
                                       if (!Agrees(sent, parameter, value, decimalSep))
                                           check.differing.push_back(parameter);
                                   },
                                   progress);
    return check;
}
