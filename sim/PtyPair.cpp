#include "PtyPair.h"

#include <QtDebug>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

PtyPair::PtyPair()
{
    m_master = posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0) {
        qWarning() << "No pseudo-terminal:" << std::strerror(errno);
        close();
        return;
    }
    fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
    m_slavePath = QString::fromLocal8Bit(ptsname(m_master));

    m_slave = ::open(ptsname(m_master), O_RDWR | O_NOCTTY | O_NONBLOCK);
    termios line{};
    if (m_slave >= 0 && tcgetattr(m_slave, &line) == 0) {
        cfmakeraw(&line);
        tcsetattr(m_slave, TCSANOW, &line);
    }
}

PtyPair::~PtyPair()
{
    close();
}

void PtyPair::close()
{
    if (m_master >= 0)
        ::close(m_master);
    if (m_slave >= 0)
        ::close(m_slave);
    m_master = -1;
    m_slave = -1;
}
