#include "protocol/ReadSettings.h"

#include "link/AdaptorLink.h"
#include "protocol/Identify.h"
#include "protocol/ParameterTable.h"
#include "protocol/ParameterText.h"
#include "protocol/Replies.h"

#include <algorithm>

bool ReadSettings(SetupContext &ctx, const StepProgress &progress)
{
    if (!IdentifySensor(ctx))
        return false;
    ctx.link.Pause(100);

    const std::vector<Parameter> &parameters = TableForLevel(ctx.state.sensorLevel).parameters;
    const int total = int(std::count_if(parameters.begin(), parameters.end(),
                                        [](const Parameter &p) { return p.readLimit > 0; }));
    int step = 0;
    for (const Parameter &parameter : parameters) {
        if (parameter.readLimit == 0)
            continue;
        if (progress)
            progress(++step, total);
        const Reply reply = ctx.link.Transact(BuildCommand(1, parameter.number, QString()),
                                              parameter.readLimit, transactTimeoutMs);
        if (!IsWholeAnswer(reply) || IsRefusal(reply.answer))
            return false;
        if (!StoreReply(ctx.state, parameter, reply.answer))
            return false;
    }
    return true;
}
