// Placeholder bodies until the link is built; the link work replaces this file.
#include "link/Waits.h"

#include <QTimer>

Waits::Waits(QObject *parent) : QObject(parent), m_timer1(new QTimer(this)) {}
void Waits::StartTimer(int) { m_timerDone = true; }
void Waits::Pause(int) {}
void Waits::WaitForEvent() {}
void Waits::EndProgram() { m_ended = true; }
void Waits::Timer1_Timer() { m_timerDone = true; }
