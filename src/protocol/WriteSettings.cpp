#include "protocol/WriteSettings.h"

#include "link/Waits.h"
#include "protocol/Commands.h"
#include "protocol/ParameterText.h"
#include "protocol/ReadSettings.h"
#include "protocol/Replies.h"

bool writeSettings(AdaptorLink &link, const QString &decimalSep, const SensorValues &values,
                   const StepProgress &progress, const IdentityTaken &identified,
                   std::optional<Waits::EndDeferral> *heldOn)
{
    const SensorIdentity identity = identifySensor(link);
    if (identified)
        identified(identity);
    if (identity.level == 0)
        return false;

    const LevelTable &table = tableForLevel(identity.level);
    const int total = int(table.parameters.size());
    int step = 0;
    // From the first value on, Exit waits for the closing command (or a failure) before it ends.
    std::optional<Waits::EndDeferral> ownHold;
    (heldOn ? *heldOn : ownHold).emplace(link.waits());
    for (const Parameter &parameter : table.parameters) {
        if (progress)
            progress(++step, total);
        const QString command =
            buildCommand(writeOp, parameter.number, valueText(values, parameter, decimalSep));
        if (!isAccepted(link.transact(command, writeReplyLimit, transactTimeoutMs)))
            return false;
    }
    link.pause(beforeClosingPauseMs);
    return isAccepted(link.transact(buildCommand(closeOp, 0, QString()), writeReplyLimit,
                                    table.closingTimeoutMs));
}

WriteCheck checkWrittenSettings(AdaptorLink &link, const QString &decimalSep, std::int16_t sensorLevel,
                                const SensorValues &sent, const StepProgress &progress)
{
    WriteCheck check;
    check.readAll = readParameters(link, decimalSep, tableForLevel(sensorLevel),
                                   [&](Parameter parameter, ParameterValue value) {
                                       if (!readBackAgrees(sent, parameter, value, decimalSep))
                                           check.differing.push_back(parameter);
                                   },
                                   progress);
    return check;
}
