#pragma once
#include "link/AdaptorLink.h"
#include "link/Waits.h"
#include "platform/SerialPort.h"
#include "SimPorts.h"

#include <QSerialPort>
#include <QTest>

#include <ctime>

inline double cpuSeconds() { return double(std::clock()) / CLOCKS_PER_SEC; }

// True when nothing holds the device: another program can open (and so lock) it.
inline bool isFree(const QString &path) { return QSerialPort(path).open(QIODevice::ReadWrite); }

// The tool's side of the line as the window builds it: one port, one timer, one link.
struct LinkRig
{
    explicit LinkRig(PortList ports) : port(std::move(ports)), link(port, waits) {}

    SerialPort port;
    Waits waits;
    AdaptorLink link;
};

// A link whose COM1 is the given simulated port, already open as a search would leave it.
struct OpenRig
{
    explicit OpenRig(const SimConfig &config = {}) : sim(sims.add(1, config)), rig(fixedPorts(sims.devicePaths()))
    {
        QVERIFY(rig.link.OpenPort(1) == 1);
    }
    Reply transact(const QString &cmd, int count = 4) { return rig.link.Transact(cmd, count, 150); }

    SimPorts sims;
    SimulatedPort &sim;
    LinkRig rig;
};
