#pragma once
#include <QString>

// A pseudo-terminal pair: the tool opens the slave path like a serial device; the simulator
// talks through the master. The slave is put in raw mode and held open here, so the master
// never sees a hang-up while the tool has the device closed.
class PtyPair
{
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair &) = delete;
    PtyPair &operator=(const PtyPair &) = delete;

    bool isOpen() const { return m_master >= 0; }
    int masterFd() const { return m_master; }
    QString slavePath() const { return m_slavePath; }

    // The far end goes away: the tool's next read fails as with an unplugged adaptor.
    void close();

private:
    int m_master = -1;
    int m_slave = -1;
    QString m_slavePath;
};
