#include "core/InitialState.h"

#include "convert/Units.h"

#include <QLocale>

QString localDecimalSeparator()
{
    return QLocale().toString(1.1).contains(QLatin1Char(',')) ? QStringLiteral(",")
                                                               : QStringLiteral(".");
}

void initialiseState(SetupState &state, SetupView &view)
{
    state.linkState = LinkState::NoAdaptor;
    state.sensorLevel = 0;
    state.decimalSep = localDecimalSeparator();
    state.settings.outputUnit = 5;
    state.settings.timeUnit = 1;
    updateUnitLabels(view, state);
    state.hasLoopOutput = true;
    state.lastComPort = 8;
}
