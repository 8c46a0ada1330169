#include "protocol/ReadSettings.h"

#include "protocol/Replies.h"

#include <algorithm>

bool ReadSettings(SetupContext &ctx, const StepProgress &progress, const IdentityTaken &identified)
{
    if (!TakeIdentity(ctx, identified))
        return false;
    ctx.link.Pause(afterIdentifyPauseMs);

    return ReadParameters(ctx, TableForLevel(ctx.state.sensorLevel),
                          [&state = ctx.state](const Parameter &parameter, ParameterValue value) {
                              StoreValue(state, parameter, value);
                          },
                          progress);
}

bool ReadParameters(SetupContext &ctx, const LevelTable &table,
                    const std::function<void(const Parameter &, ParameterValue)> &take,
                    const StepProgress &progress)
{
    const int total = int(std::count_if(table.parameters.begin(), table.parameters.end(),
                                        [](const Parameter &p) { return p.readLimit > 0; }));
    int step = 0;
    for (const Parameter &parameter : table.parameters) {
        if (parameter.readLimit == 0)
            continue;
        if (progress)
            progress(++step, total);
        const Reply reply = ctx.link.Transact(BuildCommand(readOp, parameter.number, QString()),
                                              parameter.readLimit, transactTimeoutMs);
        if (!IsWholeAnswer(reply) || IsRefusal(reply.answer))
            return false;
        const std::optional<ParameterValue> value =
            DecodeReply(parameter, reply.answer, ctx.state.decimalSep);
        if (!value)
            return false;
        take(parameter, *value);
    }
    return true;
}
