#include "SimulatedSensor.h"

#include <algorithm>

namespace {
const QByteArray refused = QByteArrayLiteral("ERR");
const QByteArray accepted = QByteArrayLiteral("OK");
const QByteArray userKey = QByteArrayLiteral("plomvar");
constexpr int levelProbe = 25;

// Factory values of the settings each level keeps.
QMap<int, QByteArray> startValues(int level)
{
    if (level == 12)
        return {{7, "2"}, {8, "3"}, {9, "50"}, {10, "0.5"}, {11, "50"}, {6, "0.25"}};
    return {{8, "0.5"},  {9, "50"},  {10, "0.25"}, {13, "2"},  {14, "3"},  {16, "1"},
            {27, "0"},   {28, "100"}, {36, "1"},   {37, "100"}, {45, "1"},  {35, "0"},
            {44, "1"},   {53, "0"},   {33, "1"}};
}
} // namespace

SimCommand parseCommand(const QByteArray &line)
{
    SimCommand command;
    if (line.size() < 2 || line.at(0) != '$' || line.at(1) < '0' || line.at(1) > '9')
        return command;
    command.op = line.at(1) - '0';
    if (line.size() > 2 && line.at(2) == ',')
        command.fields = line.mid(3).split(',');
    if (!command.fields.isEmpty()) {
        bool ok = false;
        command.param = command.fields.first().toInt(&ok);
        if (!ok)
            command.param = -1;
    }
    return command;
}

SimulatedSensor::SimulatedSensor(const SimConfig &config)
    : m_config(config), m_values(startValues(config.level))
{
}

QByteArray SimulatedSensor::answer(const SimCommand &command)
{
    switch (command.op) {
    case 0:
        if (command.fields.value(0) != "0")
            return refused;
        return m_config.answersZero ? QByteArrayLiteral("0") : QByteArrayLiteral("1");
    case 1:
        if (command.fields.size() != 1)
            return refused;
        return read(command.param);
    case 2:
        return write(command);
    case 3:
        return command.fields.size() == 2 && command.fields.at(1) == userKey ? accepted : refused;
    default:
        return refused;
    }
}

QByteArray SimulatedSensor::read(int param) const
{
    if (param == levelProbe)
        return m_config.level == 12 ? refused : QByteArrayLiteral("20");
    if (param == typeParameter()) {
        if (!m_config.typeAnswer.isEmpty())
            return m_config.typeAnswer;
        if (m_config.level == 12)
            return m_config.loopOutput ? QByteArrayLiteral("mA") : QByteArrayLiteral("S1");
        return m_config.loopOutput ? QByteArrayLiteral("1") : QByteArrayLiteral("0");
    }
    if (param == serialParameter()) {
        QByteArray sent = m_config.serial.toLatin1();
        std::reverse(sent.begin(), sent.end());
        return sent;
    }
    return m_values.value(param, refused);
}

QByteArray SimulatedSensor::write(const SimCommand &command)
{
    if (command.fields.size() != 3 || command.fields.at(1) != userKey)
        return refused;
    const int param = command.param;
    const QByteArray &text = command.fields.at(2);
    if (!m_values.contains(param) || text.isEmpty())
        return refused;
    if (m_config.level == 12 && param == 9 && text != "50" && text != "60")
        return refused;
    m_values[param] = text;
    return accepted;
}
