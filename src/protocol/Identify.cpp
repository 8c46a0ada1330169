#include "protocol/Identify.h"

#include "link/AdaptorLink.h"
#include "protocol/Commands.h"
#include "protocol/NumberText.h"
#include "protocol/ParameterTable.h"
#include "protocol/Replies.h"

#include <algorithm>
#include <optional>

namespace {

constexpr QLatin1String r2wType("R2W");
constexpr QLatin1String loopType("4-20mA");

Reply readParameter(AdaptorLink &link, int parameter, int limit)
{
    return link.transact(buildCommand(readOp, parameter, QString()), limit, transactTimeoutMs);
}

// The answer to a read, or nothing when it did not come whole.
std::optional<QString> wholeAnswer(AdaptorLink &link, int parameter, int limit)
{
    const Reply reply = readParameter(link, parameter, limit);
    if (!isWholeAnswer(reply))
        return std::nullopt;
    return reply.answer;
}

// The type box text for a type answer, or nothing when the answer names no known type.
std::optional<QString> typeOf(const QString &answer, std::int16_t level)
{
    if (level == 12) {
        if (answer.startsWith(QLatin1Char('S')))
            return r2wType;
        if (answer.startsWith(QLatin1Char('m')))
            return loopType;
        return std::nullopt;
    }
    const std::optional<std::int16_t> type = parseLocalInt16(answer);
    if (type == 0)
        return r2wType;
    if (type == 1)
        return loopType;
    return std::nullopt;
}

} // namespace

SensorIdentity identifySensor(AdaptorLink &link)
{
    const QString probe = readParameter(link, levelProbeParameter, levelProbeLimit).answer;
    link.pause(afterProbePauseMs);
    // Any answer but a refusal, even none, means level 20; a silent sensor then fails on its type.
    const LevelTable &table = tableForLevel(isRefusal(probe) ? 12 : 20);

    const std::optional<QString> typeAnswer = wholeAnswer(link, table.typeParameter, typeLimit);
    const std::optional<QString> type = typeAnswer ? typeOf(*typeAnswer, table.level) : std::nullopt;
    if (!type)
        return {};

    const std::optional<QString> serial = wholeAnswer(link, table.serialParameter, serialLimit);
    if (!serial || serial->size() < serialLength)
        return {};
    QString shown = serial->left(serialLength);
    std::reverse(shown.begin(), shown.end());
    return {table.level, *type == loopType, *type, shown};
}
