// Placeholder bodies until the link is built; the link work replaces this file.
#include "link/AdaptorLink.h"

QString BuildCommand(int, int, const QString &) { return {}; }
AdaptorLink::AdaptorLink(SerialPort &port, Waits &waits) : m_port(port), m_waits(waits) {}
int AdaptorLink::OpenPort(int) { return 0; }
void AdaptorLink::ClosePort() {}
void AdaptorLink::SendText(const QString &) {}
QString AdaptorLink::ReadReply(int, int) { return {}; }
bool AdaptorLink::CheckAdaptor() { return false; }
bool AdaptorLink::CheckSensor() { return false; }
LinkState AdaptorLink::FindSensor(int) { return LinkState::NoAdaptor; }
Reply AdaptorLink::Transact(const QString &, int, int) { return {}; }
void AdaptorLink::Pause(int) {}
bool AdaptorLink::isOpen() const { return false; }
