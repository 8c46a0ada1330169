#include "SimPorts.h"

#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

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

NoAccess::NoAccess(const QString &path) : m_path(path.toLocal8Bit())
{
    constexpr uid_t nobody = 65534;
    struct stat info {};
    ::stat(m_path.constData(), &info);
    m_mode = info.st_mode & 07777;
    ::chmod(m_path.constData(), 0);
    if (::geteuid() == 0)
        ::setfsuid(nobody);
}

NoAccess::~NoAccess()
{
    if (::geteuid() == 0)
        ::setfsuid(0);
    ::chmod(m_path.constData(), m_mode);
}
