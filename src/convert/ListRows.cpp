#include "convert/ListRows.h"

#include "convert/Units.h"

namespace {

constexpr const char *averagingRows[] = {
    "1/10  second", " 1/4   second ", " 1/2   second", "    1   second", "1 1/2 seconds", "   3   seconds",
    "   7   seconds", "  14  seconds", "  25  seconds", "  50  seconds", "100  seconds",
};
constexpr const char *sensitivityRows[] = {
    "100 %", "  50 %", "  30 %", "  25 % ", "  20 %", "  15 %", "  10 %", "    8 %", "    5 %", "    2 %",
};
constexpr const char *rejectionRows[] = {"60 Hz", "50 Hz"};

const char *rowText(const char *text) { return text; }
template <typename Unit> const char *rowText(const Unit &unit) { return unit.row; }

template <typename Row, std::size_t count> QStringList rowsOf(const Row (&rows)[count])
{
    QStringList texts;
    for (const Row &row : rows)
        texts << QLatin1String(rowText(row));
    return texts;
}

} // namespace

QStringList listRows(Control list)
{
    switch (list) {
    case Control::cboutputunit: return rowsOf(outputUnits);
    case Control::cbtimeunit: return rowsOf(timeUnits);
    case Control::cbpipeidunit: return rowsOf(pipeIdUnits);
    case Control::cb_k_units: return rowsOf(kFactorUnits);
    case Control::cbAverging: return rowsOf(averagingRows);
    case Control::cbSensitivity: return rowsOf(sensitivityRows);
    case Control::cbRejection: return rowsOf(rejectionRows);
    default: return {};
    }
}
