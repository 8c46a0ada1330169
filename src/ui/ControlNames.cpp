#include "ui/ControlNames.h"

QString controlName(Control control)
{
    static const char *const names[controlCount] = {
        "txtFactor", "txtpipeid", "txt4ma", "txt20ma", "txtlowflowcutoff",
        "cboutputunit", "cbtimeunit", "cbpipeidunit", "cb_k_units", "cbAverging", "cbSensitivity",
        "cbRejection",
        "txtserialnum", "txttype", "txtmsg",
        "lbunit1", "lbunit2", "lbunit3",
        "cmdReadSensor", "default", "cmdSaveSensor", "Read_file", "Save_settings", "cmdok",
    };
    return QLatin1String(names[static_cast<int>(control)]);
}
