#pragma once
#include "SimConfig.h"

#include <QByteArray>
#include <QMap>

// A parsed command line: "$op,field,field...". op is -1 for a line that is no command.
struct SimCommand
{
    int op = -1;
    int param = 0;
    QList<QByteArray> fields; // after the op code
};

SimCommand parseCommand(const QByteArray &line);

// The sensor's command handling, without timing or line: one command line in (without its
// carriage return), one answer out (without its carriage return). Parameter values are kept
// as text, so a written value reads back as it was sent.
class SimulatedSensor
{
public:
    explicit SimulatedSensor(const SimConfig &config);

    QByteArray answer(const SimCommand &command);

    bool hasParameter(int param) const { return m_values.contains(param); }
    QByteArray value(int param) const { return m_values.value(param); }
    void setValue(int param, const QByteArray &text) { m_values[param] = text; }

    int typeParameter() const { return m_config.level == 12 ? 12 : 5; }
    int serialParameter() const { return m_config.level == 12 ? 1 : 3; }

private:
    QByteArray read(int param) const;
    QByteArray write(const SimCommand &command);

    const SimConfig &m_config;
    QMap<int, QByteArray> m_values;
};
