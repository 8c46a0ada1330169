#include "ui/ControlNames.h"

#include <iterator>

namespace {
// In the order of Control: a control added without its name fails to build.
constexpr const char *names[] = {
    "txtFactor", "txtpipeid", "txt4ma", "txt20ma", "txtlowflowcutoff",
    "cboutputunit", "cbtimeunit", "cbpipeidunit", "cb_k_units", "cbAverging", "cbSensitivity",
    "cbRejection",
    "txtserialnum", "txttype", "txtmsg",
    "lbunit1", "lbunit2", "lbunit3",
    "cmdReadSensor", "default", "cmdSaveSensor", "Read_file", "Save_settings", "cmdok",
};
static_assert(std::size(names) == controlCount, "every control needs its name");
} // namespace

QString controlName(Control control)
{
    return QLatin1String(names[static_cast<int>(control)]);
}

std::array<Control, controlCount> allControls()
{
    std::array<Control, controlCount> controls{};
    for (int i = 0; i < controlCount; ++i)
        controls[i] = static_cast<Control>(i);
    return controls;
}
