#include "convert/Units.h"

QString unitName(int outputUnit, int timeUnit)
{
    const OutputUnit *output = unitAt(outputUnits, outputUnit);
    const TimeUnit *time = unitAt(timeUnits, timeUnit);
    if (!output || !time)
        return QString();
    if (outputUnit == oddUnitName.outputUnit && timeUnit == oddUnitName.timeUnit)
        return QLatin1String(oddUnitName.name);
    return QStringLiteral("%1/%2").arg(QLatin1String(output->name), QLatin1String(time->row));
}

void updateUnitLabels(SetupView &view, const SetupState &state)
{
    const QString name = unitName(state.settings.outputUnit, state.settings.timeUnit);
    for (Control label : {Control::lbunit1, Control::lbunit2, Control::lbunit3})
        view.setText(label, name);
}
