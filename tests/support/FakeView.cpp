#include "FakeView.h"

int FakeView::currentIndex(Control list) const
{
    const QString shown = text(list).trimmed();
    const QStringList rows = listRows(list);
    for (int row = 0; row < rows.size() && !shown.isEmpty(); ++row)
        if (rows[row].trimmed() == shown)
            return row;
    return -1;
}

QStringList listRows(Control list)
{
    switch (list) {
    case Control::cboutputunit: return {"meter", "feet", "meter^3", "liter", "feet^3", "US gal", "Imp gal", "acre in"};
    case Control::cbtimeunit: return {"sec", "min", "hour", "day"};
    case Control::cbpipeidunit: return {"mm", "inch"};
    case Control::cb_k_units: return {"pulses/gallon", "pulses/liter"};
    case Control::cbAverging:
        return {"1/10  second", " 1/4   second ", " 1/2   second", "    1   second", "1 1/2 seconds", "   3   seconds",
                "   7   seconds", "  14  seconds", "  25  seconds", "  50  seconds", "100  seconds"};
    case Control::cbSensitivity:
        return {"100 %", "  50 %", "  30 %", "  25 % ", "  20 %", "  15 %", "  10 %", "    8 %", "    5 %", "    2 %"};
    case Control::cbRejection: return {"60 Hz", "50 Hz"};
    default: return {};
    }
}
