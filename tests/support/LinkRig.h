#pragma once
#include "link/AdaptorLink.h"
#include "link/Waits.h"
#include "platform/SerialPort.h"
#include "SimPorts.h"

#include <QTest>

// The tool's side of the line as the window builds it: one port, one timer, one link.
struct LinkRig
{
    explicit LinkRig(PortList ports) : port(std::move(ports)), link(port, waits) {}
    explicit LinkRig(const QStringList &devicePaths) : LinkRig(fixedPorts(devicePaths)) {}

    SerialPort port;
    Waits waits;
    AdaptorLink link;
};

// A link whose COM1 is the given simulated port, already open as a search would leave it.
struct OpenRig
{
    explicit OpenRig(const SimConfig &config = {}) : sim(sims.add(1, config)), rig(sims.devicePaths())
    {
        QVERIFY(rig.link.OpenPort(1) == 1);
    }
    Reply transact(const QString &cmd, int count = 4) { return rig.link.Transact(cmd, count, 150); }

    SimPorts sims;
    SimulatedPort &sim;
    LinkRig rig;
};
