#pragma once
#include "link/Waits.h"
#include "platform/SerialPort.h"
#include "protocol/SensorSearch.h" // the link and the search over it

// The tool's side of the line as the window builds it: one port, one timer, one link.
struct LinkRig
{
    explicit LinkRig(PortList ports) : port(std::move(ports)), link(port, waits) {}

    SerialPort port;
    Waits waits;
    AdaptorLink link;
};
