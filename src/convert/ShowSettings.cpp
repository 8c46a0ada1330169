#include "convert/ShowSettings.h"

#include "protocol/NumberText.h"
#include "state/SinglePrecision.h"

#include <cmath>

namespace {

constexpr int shownDecimals = 4;

// Selects the record's row. A row the list does not have is left unchosen and marked, never
// replaced by a stand-in row: the next write or save would send that row though nobody chose it,
// and stops at the empty list instead. False in that case.
bool selectRow(SetupView &view, Control list, std::int16_t row)
{
    const bool inRange = row >= 0 && row < view.count(list);
    view.setCurrentIndex(list, inRange ? row : -1);
    if (!inRange)
        view.setMarked(list, true);
    return inRange;
}

float roundedForShowing(float value) { return toSingle(roundHalfEven(value, shownDecimals)); }

// Shows a number rounded to four decimals and stores the shown value back into the record. A value
// beyond single precision, or none at all, leaves its box empty and marked, so that no stale text
// is left in the box to be written in its place.
bool showNumber(const SetupState &state, SetupView &view, Control box, float &value)
{
    const float shown = roundedForShowing(value);
    if (!std::isfinite(shown)) {
        view.setText(box, QString());
        view.setMarked(box, true);
        return false;
    }
    value = shown;
    view.setText(box, localNumberText(shown, state.decimalSep));
    return true;
}

} // namespace

bool kFactorInRange(float kFactor) { return kFactor > 0.0001f && kFactor < 999999.1f; }
bool pipeIdInRange(float pipeId) { return pipeId > 0.01f && pipeId < 5000.0f; }

QList<Control> unusableEntries(const SensorSettings &s)
{
    QList<Control> unusable;
    if (!kFactorInRange(roundedForShowing(s.kFactor)))
        unusable << Control::txtFactor;
    if (!pipeIdInRange(roundedForShowing(s.pipeId)))
        unusable << Control::txtpipeid;
    return unusable;
}

bool showSettings(SetupState &state, SetupView &view, bool showAll)
{
    SensorSettings &s = state.settings;
    bool ok = true;

    if (showAll) {
        if (kFactorInRange(s.kFactor))
            ok = showNumber(state, view, Control::txtFactor, s.kFactor) && ok;
        else
            ok = false;
        if (pipeIdInRange(s.pipeId))
            ok = showNumber(state, view, Control::txtpipeid, s.pipeId) && ok;
        else
            ok = false;
        // Selecting a unit row runs its handler, which stores the row into the record again.
        ok = selectRow(view, Control::cboutputunit, s.outputUnit) && ok;
        ok = selectRow(view, Control::cbtimeunit, s.timeUnit) && ok;
        ok = selectRow(view, Control::cbpipeidunit, s.pipeIdUnit) && ok;
        ok = selectRow(view, Control::cb_k_units, s.kFactorUnit) && ok;
    }

    ok = showNumber(state, view, Control::txt4ma, s.setpoint4mA) && ok;
    ok = showNumber(state, view, Control::txt20ma, s.setpoint20mA) && ok;
    ok = showNumber(state, view, Control::txtlowflowcutoff, s.lowFlowCutoff) && ok;
    ok = selectRow(view, Control::cbAverging, s.averaging) && ok;
    ok = selectRow(view, Control::cbSensitivity, s.sensitivity) && ok;
    ok = selectRow(view, Control::cbRejection, s.noiseRejection) && ok;
    return ok;
}

bool showReadSettings(SetupState &state, SetupView &view)
{
    const QList<Control> unusable = unusableEntries(state.settings);
    const bool shown = showSettings(state, view, true);
    // A K-factor or pipe ID the window cannot hold must not leave the earlier entry in its box.
    for (Control box : unusable) {
        view.setText(box, QString());
        view.setMarked(box, true);
    }
    return shown && unusable.isEmpty();
}
