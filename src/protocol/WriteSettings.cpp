#include "protocol/WriteSettings.h"

#include "link/AdaptorLink.h"
#include "protocol/Identify.h"
#include "protocol/ParameterText.h"
#include "protocol/ReadSettings.h"
#include "protocol/Replies.h"

bool WriteSettings(SetupContext &ctx, const SensorValues &values)
{
    const QString decimalSep = ctx.state.decimalSep;

    if (!IdentifySensor(ctx))
        return false;

    const LevelTable &table = TableForLevel(ctx.state.sensorLevel);
    for (const Parameter &parameter : table.parameters) {
        const QString command =
            BuildCommand(2, parameter.number, ValueText(values, parameter, decimalSep));
        if (!IsAccepted(ctx.link.Transact(command, writeReplyLimit, transactTimeoutMs)))
            return false;
    }
    ctx.link.Pause(100);
    return IsAccepted(ctx.link.Transact(BuildCommand(3, 0, QString()), writeReplyLimit,
                                        table.closingTimeoutMs));
}

WriteCheck CheckWrittenSettings(SetupContext &ctx, const SensorValues &sent)
{
    const QString decimalSep = ctx.state.decimalSep;
    WriteCheck check;
    check.readAll = ReadParameters(ctx, TableForLevel(ctx.state.sensorLevel),
                                   [&](const Parameter &parameter, const ParameterValue &value) {
                                       if (!Agrees(sent, parameter, value, decimalSep))
                                           check.differing.push_back(parameter);
                                   });
    return check;
}
