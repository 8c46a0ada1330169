#include "core/InitialState.h"

#include "state/Status.h"

#include <QLocale>

#include <algorithm>
#include <iterator>

QString localDecimalSeparator()
{
    return QLocale().toString(1.1).contains(QLatin1Char(',')) ? QStringLiteral(",")
                                                               : QStringLiteral(".");
}

namespace {

void fillUnitNames(SetupState &state)
{
    static const char *const units[outputUnitCount] = {
        "m", "ft", "m3", "liter", "ft3", "US gal", "Imp gal", "acre in",
    };
    static const char *const times[timeUnitCount] = {"sec", "min", "hour", "day"};
    for (int time = 0; time < timeUnitCount; ++time)
        for (int output = 0; output < outputUnitCount; ++output)
            state.unitName[output][time] =
                QStringLiteral("%1/%2").arg(QLatin1String(units[output]), QLatin1String(times[time]));
    // The sensor's own manual writes this one entry without the blank.
    state.unitName[7][2] = QStringLiteral("acrein/hour");
}

} // namespace

void initialiseState(SetupState &state, SetupView &view)
{
    fillUnitNames(state);

    const double volumes[outputUnitCount] = {
        1.0, 1.0, 1000.0, 1.0, 28.316847, 3.7854118, 4.54596, 102790.1546449748,
    };
    std::copy(std::begin(volumes), std::end(volumes), state.volumeFactor);

    state.timeFactor[0] = 1.0;
    state.timeFactor[1] = 1.0 / 60.0;
    state.timeFactor[2] = 1.0 / 3600.0;
    state.timeFactor[3] = 1.0 / 86400.0;
    state.timeFactor[4] = 0.0;

    state.linkState = LinkState::NoAdaptor;
    state.sensorLevel = 0;
    state.decimalSep = localDecimalSeparator();
    state.settings.outputUnit = 5;
    state.settings.timeUnit = 1;
    updateUnitLabels(view, state);
    state.hasLoopOutput = true;
    state.lastComPort = 8;
}
