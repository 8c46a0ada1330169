#include "core/ParameterEntry.h"

Control entryOf(Field field)
{
    switch (field) {
    case Field::averaging: return Control::cbAverging;
    case Field::sensitivity: return Control::cbSensitivity;
    case Field::noiseRejection: return Control::cbRejection;
    case Field::sensor4mA:
    case Field::setpoint4mA: return Control::txt4ma;
    case Field::sensor20mA:
    case Field::setpoint20mA: return Control::txt20ma;
    case Field::sensorCutoff:
    case Field::lowFlowCutoff: return Control::txtlowflowcutoff;
    case Field::pipeId: return Control::txtpipeid;
    case Field::kFactor: return Control::txtFactor;
    case Field::outputUnit: return Control::cboutputunit;
    case Field::timeUnit: return Control::cbtimeunit;
    case Field::pipeIdUnit: return Control::cbpipeidunit;
    case Field::kFactorUnit: return Control::cb_k_units;
    }
    return Control::txtmsg; // not reached: every field has its entry
}
