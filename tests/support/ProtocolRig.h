#pragma once
#include "SimPorts.h"
#include "ui/Setup.h"

#include <QTest>

// The real window on a simulated sensor at COM1, its port open as a search leaves it, to drive the protocol directly.
struct ProtocolRig
{
    explicit ProtocolRig(const SimConfig &config = {}) : sim(sims.add(1, config)), window(sims.devicePaths())
    {
        QVERIFY(window.link().OpenPort(1) == 1);
    }

    SetupContext &ctx() { return window.context(); }
    // Every byte the tool sent, in order, and the least time it takes: echoes at 1.04 ms a character,
    // answers of two characters or more after 3 ms, and 25 ms after each command.
    QString traffic() const { return QString::fromLatin1(sim.received()); }
    qint64 leastLineTime() const { return qint64(1.04 * traffic().size()) + 30 * traffic().count('\r'); }

    SimPorts sims;
    SimulatedPort &sim;
    Setup window;
};

// A simulated sensor of this level; a type answer, when given, replaces that of the 4-20 mA type.
inline SimConfig sensorAt(int level, const QByteArray &typeAnswer = {}, const QString &serial = "DV12345678")
{
    SimConfig config;
    config.level = level;
    config.typeAnswer = typeAnswer;
    config.serial = serial;
    return config;
}

// The commands with which a sensor of `level` is identified.
inline QString identification(int level)
{
    return level == 12 ? QStringLiteral("$1,25\r$1,12\r$1,1\r") : QStringLiteral("$1,25\r$1,5\r$1,3\r");
}
