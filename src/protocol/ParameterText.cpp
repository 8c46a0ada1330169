#include "protocol/ParameterText.h"

#include "protocol/NumberText.h"
#include "state/SinglePrecision.h"

#include <optional>

namespace {

QString frequencyText(std::int16_t noiseRejection)
{
    return noiseRejection == 1 ? QStringLiteral("50") : QStringLiteral("60");
}

std::optional<std::int16_t> noiseRejectionOf(const QString &reply)
{
    const QStringView hertz = QStringView(reply).left(2);
    if (hertz == QLatin1String("50"))
        return 1;
    if (hertz == QLatin1String("60"))
        return 0;
    return std::nullopt;
}

} // namespace

QString valueText(const SensorValues &values, Parameter parameter, const QString &decimalSep)
{
    switch (parameter.form) {
    case TextForm::Index:
        return toSensorDecimal(localNumberText(*wholeField(values, parameter.field), decimalSep),
                               decimalSep);
    case TextForm::UnitIndex:
        return QString::number(*wholeField(values, parameter.field));
    case TextForm::Decimal:
        return encodeDecimal(*decimalField(values, parameter.field), decimalSep);
    case TextForm::Frequency:
        return frequencyText(*wholeField(values, parameter.field));
    }
    return QString();
}

std::optional<ParameterValue> decodeReply(Parameter parameter, const QString &reply,
                                          const QString &decimalSep)
{
    std::optional<std::int16_t> whole;
    switch (parameter.form) {
    case TextForm::Index:
    case TextForm::UnitIndex:
        whole = parseLocalInt16(reply);
        break;
    case TextForm::Frequency:
        whole = noiseRejectionOf(reply);
        break;
    case TextForm::Decimal:
        if (const std::optional<double> value = decodeDecimal(reply, decimalSep))
            return *value;
        return std::nullopt;
    }
    if (!whole)
        return std::nullopt;
    return *whole;
}

void putValue(SensorValues &values, Parameter parameter, ParameterValue value)
{
    if (const double *number = std::get_if<double>(&value))
        *decimalField(values, parameter.field) = toSingle(*number);
    else
        *wholeField(values, parameter.field) = std::get<std::int16_t>(value);
}

bool readBackAgrees(const SensorValues &sent, Parameter parameter, ParameterValue readBack,
            const QString &decimalSep)
{
    SensorValues held = sent;
    putValue(held, parameter, readBack);
    return valueText(held, parameter, decimalSep) == valueText(sent, parameter, decimalSep);
}
