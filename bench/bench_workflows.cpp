// Read and write workflows through the real window against the simulated sensor, which runs in
// its own process (sensorsim) so that the CPU column is the tool's alone: wall time against the
// protocol's own floor, CPU, peak memory, the cost of reading a write back, and the time until the
// window is shown. A benchmark to read, not a test.
#include "SimulatedSensor.h"
#include "StatusRecorder.h"
#include "WindowRig.h"
#include "ui/Setup.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

#include <sys/resource.h>
#include <unistd.h>

namespace {

constexpr double latencyMs = 3.0;
// Fixed waits of a workflow on a connected sensor: identification's 50 ms, the 100 ms after
// identification (read) or before the closing command (write), and the 250 ms end pause. The
// read-back after a write adds exchanges only.
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

// The simulated adaptor and sensor in a process of their own, logging every command line it receives.
class SensorProcess
{
public:
    SensorProcess(const SimConfig &config, const QString &logPath) : m_logPath(logPath)
    {
        m_process.start(QCoreApplication::applicationDirPath() + QStringLiteral("/sensorsim"),
                        {QStringLiteral("--level"), QString::number(config.level), QStringLiteral("--latency"),
                         QString::number(config.latencyMs), QStringLiteral("--log"), logPath});
        if (m_process.waitForReadyRead(5000))
            m_path = QString::fromLocal8Bit(m_process.readLine().trimmed());
    }
    ~SensorProcess()
    {
        m_process.kill();
        m_process.waitForFinished();
    }
    QString path() const { return m_path; }
    // The command lines received from here on, each with its carriage return.
    void mark() { m_start = QFile(m_logPath).size(); }
    QList<QByteArray> commandsSinceMark() const
    {
        QFile log(m_logPath);
        if (!log.open(QIODevice::ReadOnly) || !log.seek(m_start))
            return {};
        QList<QByteArray> lines;
        for (const QByteArray &line : log.readAll().split('\r'))
            if (!line.isEmpty())
                lines << line + '\r';
        return lines;
    }

private:
    QProcess m_process;
    QString m_logPath;
    QString m_path;
    qint64 m_start = 0;
};

// Line time, sensor latency and end of transaction of each exchange, replayed on a fresh sensor of
// the same kind to learn the length of each answer.
double exchangesMs(const QList<QByteArray> &lines, const SimConfig &config, SimulatedSensor &replay)
{
    double ms = 0;
    for (const QByteArray &line : lines) {
        const QByteArray answer = replay.answer(parseCommand(line.chopped(1)));
        ms += (line.size() + answer.size() + 1) * config.charMs + latencyMs + endOfTransactionMs;
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

// Prints a row; returns, after a write, the read-back's wall time from its busy text to the outcome
// against its floor.
QString runWorkflow(QTextStream &out, const QString &logPath, int level, Control button, const QString &name)
{
    SimConfig config;
    config.level = level;
    config.latencyMs = int(latencyMs);
    SensorProcess sensor(config, logPath);
    Setup window(QStringList{sensor.path()});
    fillEntries(window);
    QTest::mouseClick(window.control(Control::cmdReadSensor), Qt::LeftButton); // connects
    fillEntries(window);
    sensor.mark();

    StatusRecorder status(window);
    QElapsedTimer clock;
    qint64 checkStartNs = 0, checkEndNs = 0;
    status.onText(QStringLiteral("Checking The Written Settings"), [&] {
        checkStartNs = clock.nsecsElapsed();
        status.onText(QStringLiteral("Sensor Settings Written"), [&] { checkEndNs = clock.nsecsElapsed(); });
    });
    const double cpuBefore = cpuSeconds();
    clock.start();
    QTest::mouseClick(window.control(button), Qt::LeftButton);
    const double wallMs = clock.nsecsElapsed() / 1e6;
    const double cpu = cpuSeconds() - cpuBefore;

    // A read leaves the sensor as it was, so a fresh one replays the measured workflow.
    SimulatedSensor replay(config);
    const QList<QByteArray> lines = sensor.commandsSinceMark();
    const qsizetype afterClosing = lines.indexOf(QByteArrayLiteral("$3,0,plomvar\r")) + 1; // 0: a read
    const double throughClosingMs = exchangesMs(lines.mid(0, afterClosing), config, replay);
    const double afterClosingMs = exchangesMs(lines.mid(afterClosing), config, replay);
    const double floorMs = fixedWaitsMs + throughClosingMs + afterClosingMs;

    out << QStringLiteral("%1 %2 %3 %4 %5 %6  %7\n")
               .arg(name, -16)
               .arg(wallMs, 9, 'f', 1)
               .arg(floorMs, 9, 'f', 1)
               .arg(wallMs / floorMs, 7, 'f', 4)
               .arg(cpu, 7, 'f', 3)
               .arg(100.0 * cpu / (wallMs / 1000.0), 6, 'f', 2)
               .arg(window.text(Control::txtmsg));
    out.flush();
    if (checkEndNs == 0)
        return QString();
    return QStringLiteral("read-back, level %1: %2 ms, floor %3 ms\n")
        .arg(level)
        .arg((checkEndNs - checkStartNs) / 1e6, 0, 'f', 1)
        .arg(afterClosingMs, 0, 'f', 1);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QTextStream out(stdout);

    {
        Setup window(SimPorts().devicePaths());
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
    QTemporaryDir logs;
    const QString log = logs.filePath(QStringLiteral("commands.log"));
    runWorkflow(out, log, 12, Control::cmdReadSensor, QStringLiteral("read, level 12"));
    runWorkflow(out, log, 20, Control::cmdReadSensor, QStringLiteral("read, level 20"));
    const QString readBack12 = runWorkflow(out, log, 12, Control::cmdSaveSensor, QStringLiteral("write, level 12"));
    const QString readBack20 = runWorkflow(out, log, 20, Control::cmdSaveSensor, QStringLiteral("write, level 20"));
    out << '\n' << readBack12 << readBack20;
    out << QStringLiteral("\npeak memory %1 MB\n").arg(peakMegabytes(), 0, 'f', 1);
    return 0;
}
