// Read and write workflows through the real window against the simulated sensor: wall time
// against the protocol's own floor, CPU, peak memory, and the time until the window is shown.
// A benchmark to read, not a test.
#include "SimPorts.h"
#include "WindowInput.h"
#include "ui/Setup.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>
#include <QTextStream>

#include <sys/resource.h>
#include <unistd.h>

namespace {

constexpr double latencyMs = 3.0;
// Fixed waits of a workflow on a connected sensor: identification's 50 ms, the 100 ms after
// identification (read) or before the closing command (write), and the 250 ms end pause.
constexpr double fixedWaitsMs = 50 + 100 + 250;
constexpr double endOfTransactionMs = 25;

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec
           + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

// Seconds since this process started, from the kernel's record of its start.
double secondsSinceProcessStart()
{
    QFile stat(QStringLiteral("/proc/self/stat"));
    QFile uptime(QStringLiteral("/proc/uptime"));
    if (!stat.open(QIODevice::ReadOnly) || !uptime.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray line = stat.readAll();
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    const double started = fields.value(19).toDouble() / sysconf(_SC_CLK_TCK);
    return uptime.readAll().split(' ').value(0).toDouble() - started;
}

// Line time, sensor latency and end pause of every exchange the sensor saw, replayed on a fresh
// sensor of the same kind to learn the length of each answer.
double protocolFloorMs(SimulatedPort &port)
{
    SimulatedSensor replay(port.config());
    double ms = fixedWaitsMs;
    for (const QByteArray &line : port.commands()) {
        const QByteArray answer = replay.answer(parseCommand(line.chopped(1)));
        ms += (line.size() + answer.size() + 1) * port.config().charMs + latencyMs + endOfTransactionMs;
    }
    return ms;
}

void fillEntries(Setup &window)
{
    typeText(window, Control::txtFactor, QStringLiteral("100"));
    typeText(window, Control::txtpipeid, QStringLiteral("100"));
    typeText(window, Control::txt4ma, QStringLiteral("0"));
    typeText(window, Control::txt20ma, QStringLiteral("5"));
    typeText(window, Control::txtlowflowcutoff, QStringLiteral("0.05"));
    const std::pair<Control, int> rows[] = {
        {Control::cboutputunit, 3}, {Control::cbtimeunit, 0}, {Control::cbpipeidunit, 0},
        {Control::cb_k_units, 1},   {Control::cbAverging, 7}, {Control::cbSensitivity, 3},
        {Control::cbRejection, 0},
    };
    for (const auto &[list, row] : rows)
        window.setCurrentIndex(list, row);
}

void runWorkflow(QTextStream &out, int level, Control button, const QString &name)
{
    SimConfig config;
    config.level = level;
    config.latencyMs = int(latencyMs);
    SimPorts sims;
    SimulatedPort &port = sims.add(1, config);
    Setup window(sims.devicePaths());
    fillEntries(window);
    QTest::mouseClick(window.control(Control::cmdReadSensor), Qt::LeftButton); // connects
    fillEntries(window);
    port.clearLog();

    const double cpuBefore = cpuSeconds();
    QElapsedTimer clock;
    clock.start();
    QTest::mouseClick(window.control(button), Qt::LeftButton);
    const double wallMs = clock.nsecsElapsed() / 1e6;
    const double cpu = cpuSeconds() - cpuBefore;
    const double floorMs = protocolFloorMs(port);

    out << QStringLiteral("%1 %2 %3 %4 %5 %6  %7\n")
               .arg(name, -16)
               .arg(wallMs, 9, 'f', 1)
               .arg(floorMs, 9, 'f', 1)
               .arg(wallMs / floorMs, 7, 'f', 4)
               .arg(cpu, 7, 'f', 3)
               .arg(100.0 * cpu / (wallMs / 1000.0), 6, 'f', 2)
               .arg(window.text(Control::txtmsg));
    out.flush();
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QTextStream out(stdout);

    {
        Setup window(missingPorts());
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            return 1;
        out << QStringLiteral("window shown %1 s after the process started\n\n")
                   .arg(secondsSinceProcessStart(), 0, 'f', 3);
    }

    out << QStringLiteral("%1 %2 %3 %4 %5 %6  %7\n")
               .arg(QStringLiteral("workflow"), -16)
               .arg(QStringLiteral("wall ms"), 9)
               .arg(QStringLiteral("floor ms"), 9)
               .arg(QStringLiteral("ratio"), 7)
               .arg(QStringLiteral("CPU s"), 7)
               .arg(QStringLiteral("CPU %"), 6)
               .arg(QStringLiteral("status"));
    runWorkflow(out, 12, Control::cmdReadSensor, QStringLiteral("read, level 12"));
    runWorkflow(out, 20, Control::cmdReadSensor, QStringLiteral("read, level 20"));
    runWorkflow(out, 12, Control::cmdSaveSensor, QStringLiteral("write, level 12"));
    runWorkflow(out, 20, Control::cmdSaveSensor, QStringLiteral("write, level 20"));
    out << QStringLiteral("\npeak memory %1 MB\n").arg(peakMegabytes(), 0, 'f', 1);
    return 0;
}
