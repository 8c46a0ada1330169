#include "convert/ShowSettings.h"

#include "convert/SinglePrecision.h"
#include "protocol/NumberText.h"

#include <cmath>

namespace {

constexpr int shownDecimals = 4;
// No number, and short enough for every box: the next validation stops at this box.
const QLatin1String unshowable("######");

bool rowInRange(const SetupView &view, Control list, int row) { return row >= 0 && row < view.count(list); }

// Selects the record's row, or `fallback` when the row is not in the list; false in that case.
bool selectRow(SetupView &view, Control list, std::int16_t row, int fallback)
{
    const bool inRange = rowInRange(view, list, row);
    view.setCurrentIndex(list, inRange ? row : fallback);
    return inRange;
}

// Shows a number rounded to four decimals and stores the shown value back into the record. A value
// beyond single precision, or none at all, gets a text that validation refuses, so that no stale
// text is left in the box to be written in its place.
float roundedForShowing(float value) { return ToSingle(RoundHalfEven(value, shownDecimals)); }

bool showNumber(SetupView &view, Control box, float &value, const QString &decimalSep)
{
    const float shown = roundedForShowing(value);
    if (!std::isfinite(shown)) {
        view.setText(box, unshowable);
        return false;
    }
    value = shown;
    view.setText(box, LocalNumberText(shown, decimalSep));
    return true;
}

} // namespace

bool KFactorInRange(float kFactor) { return kFactor > 0.0001f && kFactor < 999999.1f; }
bool PipeIdInRange(float pipeId) { return pipeId > 0.01f && pipeId < 5000.0f; }

QList<Control> UnusableEntries(const SensorSettings &s, const SetupView &view)
{
    QList<Control> unusable;
    if (!KFactorInRange(roundedForShowing(s.kFactor)))
        unusable << Control::txtFactor;
    if (!PipeIdInRange(roundedForShowing(s.pipeId)))
        unusable << Control::txtpipeid;
    const std::pair<Control, std::int16_t> rows[] = {
        {Control::cboutputunit, s.outputUnit}, {Control::cbtimeunit, s.timeUnit},
        {Control::cbpipeidunit, s.pipeIdUnit}, {Control::cb_k_units, s.kFactorUnit},
        {Control::cbSensitivity, s.sensitivity}, {Control::cbRejection, s.noiseRejection},
    };
    for (const auto &[list, row] : rows)
        if (!rowInRange(view, list, row))
            unusable << list;
    return unusable;
}

bool ShowSettings(SetupState &state, SetupView &view, bool showAll)
{
    SensorSettings &s = state.settings;
    const QString &sep = state.decimalSep;
    bool ok = true;

    if (showAll) {
        if (KFactorInRange(s.kFactor))
            ok = showNumber(view, Control::txtFactor, s.kFactor, sep) && ok;
        else
            ok = false;
        if (PipeIdInRange(s.pipeId))
            ok = showNumber(view, Control::txtpipeid, s.pipeId, sep) && ok;
        else
            ok = false;
        // Selecting a unit row runs its handler, which stores the row into the record again.
        ok = selectRow(view, Control::cboutputunit, s.outputUnit, 0) && ok;
        ok = selectRow(view, Control::cbtimeunit, s.timeUnit, 0) && ok;
        ok = selectRow(view, Control::cbpipeidunit, s.pipeIdUnit, 0) && ok;
        ok = selectRow(view, Control::cb_k_units, s.kFactorUnit, 0) && ok;
    }

    ok = showNumber(view, Control::txt4ma, s.setpoint4mA, sep) && ok;
    ok = showNumber(view, Control::txt20ma, s.setpoint20mA, sep) && ok;
    ok = showNumber(view, Control::txtlowflowcutoff, s.lowFlowCutoff, sep) && ok;

    // An averaging time the list does not hold is left unchosen and marked, not an error: a stand-in
    // would be written to the sensor next time though nobody chose it.
    if (!selectRow(view, Control::cbAverging, s.averaging, -1))
        view.setBackground(Control::cbAverging, state.errorColor);
    ok = selectRow(view, Control::cbSensitivity, s.sensitivity, 0) && ok;
    ok = selectRow(view, Control::cbRejection, s.noiseRejection, 0) && ok;
    return ok;
}

bool ShowReadSettings(SetupState &state, SetupView &view)
{
    const QList<Control> unusable = UnusableEntries(state.settings, view);
    if (ShowSettings(state, view, true) && unusable.isEmpty())
        return true;
    for (Control entry : unusable) {
        if (entry == Control::txtFactor || entry == Control::txtpipeid)
            view.setText(entry, QString());
        else
            view.setCurrentIndex(entry, -1);
    }
    return false;
}
