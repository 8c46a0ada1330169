#include "protocol/Identify.h"

#include "link/AdaptorLink.h"
#include "protocol/NumberText.h"
#include "protocol/ParameterTable.h"
#include "protocol/Replies.h"

#include <algorithm>
#include <optional>

namespace {

const QString r2wType = QStringLiteral("R2W");
const QString loopType = QStringLiteral("4-20mA");

Reply ReadParameter(AdaptorLink &link, int parameter, int limit)
{
    return link.Transact(BuildCommand(1, parameter, QString()), limit, transactTimeoutMs);
}

// The answer to a read, or nothing when it did not come whole.
std::optional<QString> WholeAnswer(AdaptorLink &link, int parameter, int limit)
{
    const Reply reply = ReadParameter(link, parameter, limit);
    if (!IsWholeAnswer(reply))
        return std::nullopt;
    return reply.answer;
}

// The type box text for a type answer, or nothing when the answer names no known type.
std::optional<QString> TypeOf(const QString &answer, std::int16_t level)
{
    if (level == 12) {
        if (answer.startsWith(QLatin1Char('S')))
            return r2wType;
        if (answer.startsWith(QLatin1Char('m')))
            return loopType;
        return std::nullopt;
    }
    const std::optional<std::int16_t> type = ParseLocalInt16(answer);
    if (type == 0)
        return r2wType;
    if (type == 1)
        return loopType;
    return std::nullopt;
}

bool Fail(SetupContext &ctx)
{
    ctx.state.sensorLevel = 0;
    ctx.state.hasLoopOutput = true;
    ctx.view.setText(Control::txttype, QString());
    ctx.view.setText(Control::txtserialnum, QString());
    return false;
}

} // namespace

bool IdentifySensor(SetupContext &ctx)
{
    AdaptorLink &link = ctx.link;
    const QString probe = ReadParameter(link, levelProbeParameter, levelProbeLimit).answer;
    link.Pause(50);
    // Any answer but a refusal, even none, means level 20; a silent sensor then fails on its type.
    ctx.state.sensorLevel = IsRefusal(probe) ? 12 : 20;
    const LevelTable &table = TableForLevel(ctx.state.sensorLevel);

    const std::optional<QString> typeAnswer = WholeAnswer(link, table.typeParameter, typeLimit);
    const std::optional<QString> type = typeAnswer ? TypeOf(*typeAnswer, table.level) : std::nullopt;
    if (!type)
        return Fail(ctx);
    ctx.state.hasLoopOutput = *type == loopType;
    ctx.view.setText(Control::txttype, *type);

    const std::optional<QString> serial = WholeAnswer(link, table.serialParameter, serialLimit);
    if (!serial || serial->size() < serialLength)
        return Fail(ctx);
    QString shown = serial->left(serialLength);
    std::reverse(shown.begin(), shown.end());
    ctx.view.setText(Control::txtserialnum, shown);
    return true;
}
