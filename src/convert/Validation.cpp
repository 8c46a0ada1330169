#include "convert/Validation.h"

#include "protocol/NumberText.h"

namespace {

enum class Mark { Control, MessageOnly };

class EntryReader
{
public:
    EntryReader(const SetupState &state, const SetupView &view) : m_state(state), m_view(view) {}

    bool number(Control box, float &field, const char *message)
    {
        const QString text = m_view.text(box);
        const std::optional<double> value =
            hasWrongSeparator(text, m_state.decimalSep) ? std::nullopt : parseLocalNumber(text);
        if (!value) {
            field = 0;
            return fail(box, Mark::Control, message);
        }
        field = static_cast<float>(*value); // parseLocalNumber refuses what a float cannot hold
        return true;
    }

    // A list passes only with a shown text that is one of its rows; typed text matching none fails.
    bool list(Control list, std::int16_t &field, Mark mark, const char *message)
    {
        const int row = m_view.currentIndex(list);
        if (row < 0) {
            field = 0;
            return fail(list, mark, message);
        }
        field = static_cast<std::int16_t>(row);
        return true;
    }

    // A loop box the caller does not need: an empty box means no set point, any other text is left
    // unread and the record keeps its value.
    void keepUnlessEmpty(Control box, float &field)
    {
        if (m_view.text(box).isEmpty())
            field = 0;
    }

    std::optional<EntryFailure> failure;

private:
    bool fail(Control control, Mark mark, const char *message)
    {
        failure = EntryFailure{control, mark == Mark::Control, message};
        return false;
    }

    const SetupState &m_state;
    const SetupView &m_view;
};

bool readApplication(EntryReader &read, SensorSettings &s)
{
    return read.number(Control::txtFactor, s.kFactor, "Please Enter A Valid Number For The K Factor")
        && read.number(Control::txtpipeid, s.pipeId, "Please Enter A Valid Number For The PipeID")
        && read.list(Control::cboutputunit, s.outputUnit, Mark::Control, "Please Select An Output Unit")
        && read.list(Control::cbtimeunit, s.timeUnit, Mark::Control, "Please Select A Timebase")
        && read.list(Control::cbpipeidunit, s.pipeIdUnit, Mark::Control, "Please Select A Pipe ID Unit")
        && read.list(Control::cb_k_units, s.kFactorUnit, Mark::Control, "Please Select A K Factor Unit");
}

bool readCutoffAndPerformance(EntryReader &read, SensorSettings &s)
{
    return read.number(Control::txtlowflowcutoff, s.lowFlowCutoff,
                       "Please Enter A Valid Number For The Low Flow Cutoff")
        && read.list(Control::cbAverging, s.averaging, Mark::MessageOnly, "Please Select An Averaging Value")
        && read.list(Control::cbSensitivity, s.sensitivity, Mark::MessageOnly,
                     "Please Select A Sensitivity Value")
        && read.list(Control::cbRejection, s.noiseRejection, Mark::MessageOnly,
                     "Please Select A Noise Rejection Value");
}

bool readEntries(EntryReader &read, SensorSettings &s, ValidationMode mode)
{
    if (!readApplication(read, s))
        return false;
    if (mode != ValidationMode::ApplicationOnly && !readCutoffAndPerformance(read, s))
        return false;
    if (mode == ValidationMode::WithLoop) {
        return read.number(Control::txt20ma, s.setpoint20mA, "Please Enter A Valid Number For The 20mA Setting")
            && read.number(Control::txt4ma, s.setpoint4mA, "Please Enter A Valid Number For The 4mA Setting");
    }
    read.keepUnlessEmpty(Control::txt20ma, s.setpoint20mA);
    read.keepUnlessEmpty(Control::txt4ma, s.setpoint4mA);
    return true;
}

} // namespace

std::optional<EntryFailure> validateEntries(SetupState &state, const SetupView &view, ValidationMode mode)
{
    EntryReader read(state, view);
    readEntries(read, state.settings, mode);
    return read.failure;
}
