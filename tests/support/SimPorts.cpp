#include "SimPorts.h"

SimulatedPort &SimPorts::add(int number, const SimConfig &config)
{
    auto &slot = m_ports[number];
    slot = std::make_unique<SimulatedPort>(config);
    return *slot;
}

QStringList SimPorts::devicePaths(int count) const
{
    QStringList paths;
    for (int n = 1; n <= count; ++n) {
        const auto found = m_ports.find(n);
        paths << (found != m_ports.end() ? found->second->path() : missingDevicePath(n));
    }
    return paths;
}

QString missingDevicePath(int number)
{
    return QStringLiteral("/nonexistent/dravo-com%1").arg(number);
}
