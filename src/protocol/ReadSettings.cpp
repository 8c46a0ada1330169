#include "protocol/ReadSettings.h"

#include "protocol/Commands.h"
#include "protocol/Replies.h"

#include <algorithm>

bool readSettings(SetupContext &ctx, const StepProgress &progress, const IdentityTaken &identified)
{
    if (!takeIdentity(ctx, identified))
        return false;
    ctx.link.pause(afterIdentifyPauseMs);

    return readParameters(ctx, tableForLevel(ctx.state.sensorLevel),
                          [&state = ctx.state](const Parameter &parameter, ParameterValue value) {
                              storeValue(state, parameter, value);
                          },
                          progress);
}

bool readParameters(SetupContext &ctx, const LevelTable &table,
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
        const Reply reply = ctx.link.transact(buildCommand(readOp, parameter.number, QString()),
                                              parameter.readLimit, transactTimeoutMs);
        if (!isWholeAnswer(reply) || isRefusal(reply.answer))
            return false;
        const std::optional<ParameterValue> value =
            decodeReply(parameter, reply.answer, ctx.state.decimalSep);
        if (!value)
            return false;
        take(parameter, *value);
    }
    return true;
}
