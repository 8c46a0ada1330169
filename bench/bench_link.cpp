// Port search against simulated adaptors: wall time against the protocol's own floor, CPU use,
// and the accuracy of the shortest pause. A benchmark to read, not a test.
#include "LinkRig.h"
#include "ProcessCpu.h"
#include "ProtocolFloor.h"
#include "SimPorts.h"
#include "protocol/SensorSearch.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>

#include <algorithm>
#include <vector>

namespace {

struct Scenario
{
    QString name;
    int sensorPort;   // 0: none
    int silentPorts;  // ports below the sensor (or all eight) that open but do not answer
    LinkState expected;
    double floorMs;
};

void runSearch(QTextStream &out, const Scenario &s)
{
    SimPorts sims;
    for (int n = 1; n <= s.silentPorts; ++n)
        sims.add(n, silentPort());
    if (s.sensorPort > 0) {
        SimConfig config;
        config.latencyMs = int(latencyMs);
        sims.add(s.sensorPort, config);
    }
    // Plugged in after the link was made: the search finds them by its own look at the list.
    QStringList now;
    LinkRig rig([&now] { return now; });
    now = sims.devicePaths();

    const double cpuBefore = cpuSeconds();
    QElapsedTimer clock;
    clock.start();
    const LinkState found = findSensor(rig.link, 8).linkState;
    const double wallMs = clock.nsecsElapsed() / 1e6;
    const double cpu = cpuSeconds() - cpuBefore;

    out << QStringLiteral("%1 %2 %3 %4 %5 %6 %7\n")
               .arg(s.name, -22)
               .arg(wallMs, 10, 'f', 1)
               .arg(s.floorMs, 10, 'f', 1)
               .arg(wallMs / s.floorMs, 7, 'f', 4)
               .arg(cpu, 8, 'f', 3)
               .arg(100.0 * cpu / (wallMs / 1000.0), 7, 'f', 2)
               .arg(found == s.expected ? QStringLiteral("ok") : QStringLiteral("WRONG RESULT"));
    out.flush();
}

void pauseAccuracy(QTextStream &out, int ms, int runs)
{
    Waits waits;
    std::vector<double> overshoot;
    int early = 0;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer clock;
        clock.start();
        waits.pause(ms);
        const double took = clock.nsecsElapsed() / 1e6;
        early += took < ms;
        overshoot.push_back(took - ms);
    }
    std::sort(overshoot.begin(), overshoot.end());
    out << QStringLiteral("pause(%1) x%2: early %3, overshoot median %4 ms, 95th %5 ms, max %6 ms\n")
               .arg(ms)
               .arg(runs)
               .arg(early)
               .arg(overshoot[overshoot.size() / 2], 0, 'f', 3)
               .arg(overshoot[overshoot.size() * 95 / 100], 0, 'f', 3)
               .arg(overshoot.back(), 0, 'f', 3);
}

// What a search pays to ask the system for its serial ports before it starts.
void portListCost(QTextStream &out, int runs)
{
    std::vector<double> ms;
    int ports = 0;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer clock;
        clock.start();
        ports = int(SerialPort::systemPorts().size());
        ms.push_back(clock.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    out << QStringLiteral("port list x%1 (%2 ports): median %3 ms, max %4 ms\n")
               .arg(runs).arg(ports).arg(ms[ms.size() / 2], 0, 'f', 2).arg(ms.back(), 0, 'f', 2);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);

    out << QStringLiteral("%1 %2 %3 %4 %5 %6 %7\n")
               .arg(QStringLiteral("search"), -22)
               .arg(QStringLiteral("wall ms"), 10)
               .arg(QStringLiteral("floor ms"), 10)
               .arg(QStringLiteral("ratio"), 7)
               .arg(QStringLiteral("CPU s"), 8)
               .arg(QStringLiteral("CPU %"), 7)
               .arg(QStringLiteral("result"));
    const Scenario scenarios[] = {
        {QStringLiteral("sensor on COM1"), 1, 0, LinkState::Connected, sensorPortMs},
        {QStringLiteral("sensor on COM8"), 8, 7, LinkState::Connected, 7 * silentPortMs + sensorPortMs},
        {QStringLiteral("no adaptor (8 ports)"), 0, 8, LinkState::NoAdaptor, 8 * silentPortMs},
    };
    for (const Scenario &s : scenarios)
        runSearch(out, s);
    pauseAccuracy(out, 10, 200);
    portListCost(out, 20);
    return 0;
}
