#include "protocol/ReadSettings.h"

#include "protocol/Commands.h"
#include "protocol/Replies.h"

#include <algorithm>

SettingsRead readSettings(AdaptorLink &link, const QString &decimalSep, const SensorValues &held,
                          const StepProgress &progress, const IdentityTaken &identified)
{
    SettingsRead read{identifySensor(link), held};
    if (identified)
        identified(read.identity);
    if (read.identity.level == 0)
        return read;
    link.pause(afterIdentifyPauseMs);

    read.complete = readParameters(link, decimalSep, tableForLevel(read.identity.level),
                                   [&values = read.values](Parameter parameter, ParameterValue value) {
                                       putValue(values, parameter, value);
                                   },
                                   progress);
    return read;
}

bool readParameters(AdaptorLink &link, const QString &decimalSep, const LevelTable &table,
                    const std::function<void(Parameter, ParameterValue)> &take,
                    const StepProgress &progress)
{
    const int total = int(std::count_if(table.parameters.begin(), table.parameters.end(),
                                        [](Parameter p) { return p.readLimit > 0; }));
    int step = 0;
    for (const Parameter &parameter : table.parameters) {
        if (parameter.readLimit == 0)
            continue;
        if (progress)
            progress(++step, total);
        const Reply reply = link.transact(buildCommand(readOp, parameter.number, QString()),
                                          parameter.readLimit, transactTimeoutMs);
        if (!isWholeAnswer(reply) || isRefusal(reply.answer))
            return false;
        const std::optional<ParameterValue> value = decodeReply(parameter, reply.answer, decimalSep);
        if (!value)
            return false;
        take(parameter, *value);
    }
    return true;
}
