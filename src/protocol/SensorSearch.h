#pragma once
#include "link/AdaptorLink.h"
#include "platform/SerialPort.h"
#include "state/LinkState.h"

#include <QList>
#include <QString>

// A port a search could not open, for a reason the user can mend.
struct SkippedPort
{
    int number;
    QString device;
    OpenFailure reason; // Denied or Busy
};

// What a search found, and the ports it had to pass by.
struct SearchResult
{
    LinkState linkState = LinkState::NoAdaptor;
    QList<SkippedPort> skippedPorts;
};

// The handshakes on the port the link has open: the adaptor answers its greeting, the sensor
// behind it the sensor check. False on a closed port.
bool adaptorAnswers(AdaptorLink &link);
bool sensorAnswers(AdaptorLink &link);

// Asks the system for its ports first, then tries numbers 1 to lastComPort, each announced to
// `progress` before it is tried, until a sensor answers; that port stays open, every other port
// the search opened is closed again.
SearchResult findSensor(AdaptorLink &link, int lastComPort, const StepProgress &progress = {});
