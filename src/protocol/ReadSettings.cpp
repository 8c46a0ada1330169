#include "protocol/ReadSettings.h"

#include "link/AdaptorLink.h"
#include "protocol/Identify.h"
#include "protocol/ParameterTable.h"
#include "protocol/ParameterText.h"
#include "protocol/Replies.h"

bool ReadSettings(SetupContext &ctx)
{
    if (!IdentifySensor(ctx))
        return false;
    ctx.link.Pause(100);

    for (const Parameter &parameter : TableForLevel(ctx.state.sensorLevel).parameters) {
        if (parameter.readLimit == 0)
            continue;
        const Reply reply = ctx.link.Transact(BuildCommand(1, parameter.number, QString()),
                                              parameter.readLimit, transactTimeoutMs);
        if (!IsWholeAnswer(reply) || IsRefusal(reply.answer))
            return false;
        if (!StoreReply(ctx.state, parameter, reply.answer))
            return false;
    }
    return true;
}
