#pragma once
#include "SimulatedPort.h"

#include <QStringList>

#include <map>
#include <memory>

// Simulated ports at chosen COM numbers; every other number maps to a path that does not exist,
// so a search fails there at once.
class SimPorts
{
public:
    SimulatedPort &add(int number, const SimConfig &config = {});
    SimulatedPort &at(int number) { return *m_ports.at(number); }
    QStringList devicePaths(int count = 8) const;

private:
    std::map<int, std::unique_ptr<SimulatedPort>> m_ports;
};

// A path no device will ever have, for port number n.
QString missingDevicePath(int number);
