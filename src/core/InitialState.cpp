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
    state.normalColor = view.systemWindowColour();
    state.errorColor = rgbColour(255, 0, 0);
    state.goodColor = rgbColour(0, 240, 15);
    state.busyColor = rgbColour(255, 255, 0);

    state.linkState = LinkState::NoAdaptor;
    state.sensorLevel = 0;
    state.decimalSep = localDecimalSeparator();
    state.settings.outputUnit = 5;
    state.settings.timeUnit = 1;
    updateUnitLabels(view, state);
    state.hasLoopOutput = true;
    state.lastComPort = 8;
}
