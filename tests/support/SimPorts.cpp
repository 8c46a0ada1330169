#include "SimPorts.h"

#include <QTimer>

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

std::unique_ptr<QTimer> onCommand(SimulatedPort &port, const QByteArray &start, std::function<void()> action)
{
    auto watch = std::make_unique<QTimer>();
    QTimer *timer = watch.get();
    QObject::connect(timer, &QTimer::timeout, &port, [&port, timer, start, action = std::move(action)] {
        if (port.received().contains(start)) {
            timer->stop();
            action();
        }
    });
    timer->start(2);
    return watch;
}
