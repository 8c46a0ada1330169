#pragma once
#include <QCoreApplication>
#include <QTimer>

#include <functional>

// The status the program ends with when `action` ends it, as main() has it from the application's event
// loop; -1 when the program has not ended 10 s after the action began.
inline int endStatus(const std::function<void()> &action)
{
    QTimer giveUp;
    QObject::connect(&giveUp, &QTimer::timeout, [] { QCoreApplication::exit(-1); });
    giveUp.start(10000);
    QTimer::singleShot(0, &giveUp, action);
    return QCoreApplication::exec();
}
