#include "protocol/NumberText.h"

#include <QLocale>

#include <cfloat>
#include <cmath>

namespace {

QString replaceFirst(QString text, const QString &from, const QString &to)
{
    const qsizetype at = text.indexOf(from);
    if (at >= 0 && !from.isEmpty())
        text.replace(at, from.size(), to);
    return text;
}

} // namespace

QString toLocalDecimal(const QString &text, const QString &decimalSep)
{
    return replaceFirst(text, QStringLiteral("."), decimalSep);
}

QString toSensorDecimal(const QString &text, const QString &decimalSep)
{
    return replaceFirst(text, decimalSep, QStringLiteral("."));
}

bool hasWrongSeparator(const QString &text, const QString &decimalSep)
{
    const QChar wrong = decimalSep == QLatin1String(",") ? QLatin1Char('.') : QLatin1Char(',');
    return text.contains(wrong);
}

double roundHalfEven(double value, int decimals)
{
    if (!std::isfinite(value))
        return value;
    const double scale = std::pow(10.0, decimals);
    const double scaled = value * scale;
    if (!std::isfinite(scaled))
        return value; // too large to carry that many decimals: nothing to round
    // nearbyint follows the default rounding mode, which rounds halves to even.
    return std::nearbyint(scaled) / scale;
}

QString localNumberText(double value, const QString &decimalSep)
{
    // Zero has no sign: a tiny negative value rounded away for showing or sending is -0.0, shown "0".
    // Any other value keeps seven significant digits below, so its text is never all zeros.
    if (value == 0 || !std::isfinite(value))
        return value == 0 ? QStringLiteral("0") : QString::number(value);

    constexpr int significant = 7;
    const int exponent = static_cast<int>(std::floor(std::log10(std::fabs(value))));
    QString text;
    if (exponent >= significant - 1) {
        // Whole digits beyond the seventh become zeros rather than an exponent.
        const double unit = std::pow(10.0, exponent - (significant - 1));
        text = QString::number(std::nearbyint(value / unit) * unit, 'f', 0);
    } else {
        text = QString::number(value, 'f', significant - 1 - exponent);
    }
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    return toLocalDecimal(text, decimalSep);
}

namespace {

std::optional<double> parseFinite(const QString &text)
{
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() | QLocale::RejectGroupSeparator);
    bool ok = false;
    const double value = locale.toDouble(text, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace

std::optional<double> parseLocalNumber(const QString &text)
{
    const std::optional<double> value = parseFinite(text);
    if (value && std::fabs(*value) > FLT_MAX)
        return std::nullopt;
    return value;
}

std::optional<std::int16_t> parseLocalInt16(const QString &text)
{
    const std::optional<double> value = parseLocalNumber(text);
    if (!value)
        return std::nullopt;
    const double whole = std::nearbyint(*value);
    if (whole < INT16_MIN || whole > INT16_MAX)
        return std::nullopt;
    return static_cast<std::int16_t>(whole);
}

QString encodeDecimal(float value, const QString &decimalSep)
{
    const float rounded = static_cast<float>(roundHalfEven(value, 5));
    return toSensorDecimal(localNumberText(rounded, decimalSep), decimalSep);
}

std::optional<double> decodeDecimal(const QString &reply, const QString &decimalSep)
{
    return parseFinite(toLocalDecimal(reply, decimalSep));
}
