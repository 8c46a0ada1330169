#include "convert/Validation.h"

#include "protocol/NumberText.h"
#include "state/Status.h"

#include <optional>

namespace {

enum class Mark { Control, MessageOnly };

class EntryReader
{
public:
    EntryReader(SetupState &state, SetupView &view) : m_state(state), m_view(view) {}

    bool number(Control box, float &field, Message message)
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
    bool list(Control list, std::int16_t &field, Mark mark, Message message)
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

private:
    bool fail(Control control, Mark mark, Message message)
    {
        if (mark == Mark::Control)
            m_view.setMarked(control, true);
        showStatus(m_view, message);
        return false;
    }

    SetupState &m_state;
    SetupView &m_view;
};

bool readApplication(EntryReader &read, SensorSettings &s)
{
    return read.number(Control::txtFactor, s.kFactor, Message::KFactorInvalid)
        && read.number(Control::txtpipeid, s.pipeId, Message::PipeIdInvalid)
        && read.list(Control::cboutputunit, s.outputUnit, Mark::Control, Message::OutputUnitMissing)
        && read.list(Control::cbtimeunit, s.timeUnit, Mark::Control, Message::TimeUnitMissing)
        && read.list(Control::cbpipeidunit, s.pipeIdUnit, Mark::Control, Message::PipeIdUnitMissing)
        && read.list(Control::cb_k_units, s.kFactorUnit, Mark::Control, Message::KFactorUnitMissing);
}

bool readCutoffAndPerformance(EntryReader &read, SensorSettings &s)
{
    return read.number(Control::txtlowflowcutoff, s.lowFlowCutoff, Message::CutoffInvalid)
        && read.list(Control::cbAverging, s.averaging, Mark::MessageOnly, Message::AveragingMissing)
        && read.list(Control::cbSensitivity, s.sensitivity, Mark::MessageOnly, Message::SensitivityMissing)
        && read.list(Control::cbRejection, s.noiseRejection, Mark::MessageOnly, Message::RejectionMissing);
}

} // namespace

bool validateEntries(SetupState &state, SetupView &view, ValidationMode mode)
{
    EntryReader read(state, view);
    SensorSettings &s = state.settings;

    if (!readApplication(read, s))
        return false;
    if (mode != ValidationMode::ApplicationOnly && !readCutoffAndPerformance(read, s))
        return false;
    if (mode == ValidationMode::WithLoop) {
        return read.number(Control::txt20ma, s.setpoint20mA, Message::Setpoint20mAInvalid)
            && read.number(Control::txt4ma, s.setpoint4mA, Message::Setpoint4mAInvalid);
    }
    read.keepUnlessEmpty(Control::txt20ma, s.setpoint20mA);
    read.keepUnlessEmpty(Control::txt4ma, s.setpoint4mA);
    return true;
}
