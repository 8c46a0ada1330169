#pragma once
#include "SimulatedPort.h"

#include <QStringList>
#include <QTimer>

#include <functional>
#include <map>
#include <memory>

inline QString missingDevicePath(int number) { return QString("/nonexistent/dravo-com%1").arg(number); }

// Simulated ports at chosen COM numbers; any other maps to a missing path, where a search fails at once.
class SimPorts
{
public:
    SimulatedPort &add(int number, const SimConfig &config = {})
    {
        return *(m_ports[number] = std::make_unique<SimulatedPort>(config));
    }
    SimulatedPort &at(int number) { return *m_ports.at(number); }
    QStringList devicePaths(int count = 8) const
    {
        QStringList paths;
        for (int n = 1; n <= count; ++n)
            paths << (m_ports.count(n) ? m_ports.at(n)->path() : missingDevicePath(n));
        return paths;
    }

private:
    std::map<int, std::unique_ptr<SimulatedPort>> m_ports;
};

// Runs `action` once, as soon as `port` has received a command beginning with `start` ("$2,9,"),
// while the tool waits in the event loop; the returned timer watches the line until then.
inline std::unique_ptr<QTimer> onCommand(SimulatedPort &port, const QByteArray &start,
                                         std::function<void()> action)
{
    auto watch = std::make_unique<QTimer>();
    QTimer *w = watch.get();
    QObject::connect(w, &QTimer::timeout, &port, [&port, w, start, action = std::move(action)] {
        if (port.received().contains(start)) {
            w->stop();
            action();
        }
    });
    watch->start(2);
    return watch;
}
