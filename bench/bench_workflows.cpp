// A search, reads and writes through the real window, shown, against the simulated sensor in a
// process of its own (sensorsim), so that the CPU figures are the tool's alone. For each platform
// (offscreen; xcb under Xvfb where xvfb-run is installed) and style (the default, Fusion, Windows):
// wall time against the protocol's own floor, the tool's CPU as a share of wall, the paint events
// of the window and the times the tool slept and woke. A window never shown gives the cost of the
// line alone. A benchmark to read, not a test: a figure over budget is reported, never failed.
#include "PaintCount.h"
#include "ProcessCpu.h"
#include "ProtocolFloor.h"
#include "SimulatedSensor.h"
#include "StatusRecorder.h"
#include "WindowRig.h"
#include "ui/Setup.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QStyle>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

#include <algorithm>
#include <unistd.h>

namespace {

// Waiting on a 9600-baud line should cost the tool next to nothing.
constexpr double cpuBudgetPercent = 0.5;
constexpr int runsPerSession = 3;
// Fixed waits of a workflow on a connected sensor: identification's 50 ms, the 100 ms after
// identification (read) or before the closing command (write), and the 250 ms end pause. The
// read-back after a write adds exchanges only.
constexpr double fixedWaitsMs = 50 + 100 + 250;
constexpr double endOfTransactionMs = 25;
// The search tries a silent COM1, then finds the sensor on COM2.
constexpr double searchFloorMs = silentPortMs + sensorPortMs;

const char *const childOption = "--platform-child";
// Lines a platform's run prints below the table rather than in it.
const QByteArray notePrefix = "note: ";

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
        QStringList arguments{QStringLiteral("--level"), QString::number(config.level),
                              QStringLiteral("--latency"), QString::number(config.latencyMs),
                              QStringLiteral("--log"), logPath};
        if (!config.adaptor)
            arguments << QStringLiteral("--no-adaptor");
        // Past the line that names its port, the simulator's pipes would be the tool's to poll at each
        // wake-up: its warnings go straight to this process's stderr, and its output is closed.
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(QCoreApplication::applicationDirPath() + QStringLiteral("/sensorsim"), arguments);
        if (m_process.waitForReadyRead(5000))
            m_path = QString::fromLocal8Bit(m_process.readLine().trimmed());
        m_process.closeReadChannel(QProcess::StandardOutput);
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

// Line time, sensor latency and end of transaction of each exchange; `replay` is a sensor of the
// same kind that has taken every earlier command, so that its answers are as long as the real ones.
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

struct Sample
{
    double wallMs = 0;
    double floorMs = 0;
    double cpuSeconds = 0;
    int paints = 0;
    long wakeUps = 0;
    double cpuPercent() const { return 100.0 * cpuSeconds / (wallMs / 1000.0); }
};

// Wall time, the tool's CPU and the window's paint events from the last start on.
class Probe
{
public:
    explicit Probe(const PaintCount &paints) : m_paints(paints) { start(); }
    void start()
    {
        m_cpu = cpuSeconds();
        m_painted = m_paints.count;
        m_slept = sleepsSoFar();
        m_clock.start();
    }
    Sample sample() const
    {
        return {m_clock.nsecsElapsed() / 1e6, 0, cpuSeconds() - m_cpu, m_paints.count - m_painted,
                sleepsSoFar() - m_slept};
    }

private:
    const PaintCount &m_paints;
    QElapsedTimer m_clock;
    double m_cpu = 0;
    int m_painted = 0;
    long m_slept = 0;
};

// The samples of one workflow in one style, and the status it ended on last.
struct Row
{
    QString workflow;
    QList<Sample> samples;
    QString status;
};

class Rows
{
public:
    void add(const QString &workflow, const Sample &sample, const QString &status)
    {
        auto row = std::find_if(m_rows.begin(), m_rows.end(),
                                [&](const Row &r) { return r.workflow == workflow; });
        if (row == m_rows.end())
            row = m_rows.insert(m_rows.end(), Row{workflow, {}, {}});
        row->samples << sample;
        row->status = status;
    }
    const QList<Row> &rows() const { return m_rows; }

private:
    QList<Row> m_rows;
};

// One sensor of `level` found by a search, then read and written `runs` times.
void runSession(Rows &rows, const QString &logPath, int level, int runs, bool shown)
{
    SimConfig config;
    config.level = level;
    config.latencyMs = int(latencyMs);
    SimConfig silent = config;
    silent.adaptor = false;
    SensorProcess nothing(silent, logPath + QStringLiteral(".silent"));
    SensorProcess sensor(config, logPath);
    Setup window(QStringList{nothing.path(), sensor.path()});
    if (shown) {
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            return;
    }
    fillEntries(window);
    const QString levelName = QStringLiteral(", level %1").arg(level);
    const auto click = [&window](Control button) {
        QTest::mouseClick(window.control(button), Qt::LeftButton);
    };
    const auto status = [&window] { return window.text(Control::txtmsg); };

    PaintCount paints(window, true);
    Probe probe(paints);
    StatusRecorder recorder(window);
    SimulatedSensor replay(config); // takes every command the real one takes, to learn answer lengths

    // The search: from the click until the sensor is found and its read begins.
    Sample search;
    recorder.onText(QStringLiteral("Reading The Sensor Settings"), [&] { search = probe.sample(); });
    sensor.mark();
    probe.start();
    click(Control::cmdReadSensor);
    if (search.wallMs == 0)
        search = probe.sample(); // not found: the whole action
    search.floorMs = searchFloorMs;
    rows.add(QStringLiteral("search, sensor on COM2"), search, status());
    exchangesMs(sensor.commandsSinceMark(), config, replay);

    for (int run = 0; run < runs; ++run) {
        sensor.mark();
        probe.start();
        click(Control::cmdReadSensor);
        Sample read = probe.sample();
        read.floorMs = fixedWaitsMs + exchangesMs(sensor.commandsSinceMark(), config, replay);
        rows.add(QStringLiteral("read") + levelName, read, status());

        Probe check(paints);
        Sample readBack;
        recorder.onText(QStringLiteral("Checking The Written Settings"), [&] {
            check.start();
            recorder.onText(QStringLiteral("Sensor Settings Written"), [&] { readBack = check.sample(); });
        });
        fillEntries(window); // what the read showed may be out of range for a write
        sensor.mark();
        probe.start();
        click(Control::cmdSaveSensor);
        Sample write = probe.sample();
        const QList<QByteArray> lines = sensor.commandsSinceMark();
        const qsizetype afterClosing = lines.indexOf(QByteArrayLiteral("$3,0,plomvar\r")) + 1;
        const double throughClosingMs = exchangesMs(lines.mid(0, afterClosing), config, replay);
        readBack.floorMs = exchangesMs(lines.mid(afterClosing), config, replay);
        write.floorMs = fixedWaitsMs + throughClosingMs + readBack.floorMs;
        rows.add(QStringLiteral("write") + levelName, write, status());
        if (readBack.wallMs > 0)
            rows.add(QStringLiteral("read-back") + levelName, readBack, QString());
    }
}

QString range(double low, double high, int precision)
{
    const QString from = QString::number(low, 'f', precision);
    const QString to = QString::number(high, 'f', precision);
    return from == to ? from : from + QStringLiteral("-") + to;
}

// Cells padded to their columns; the last, the status, as it is.
QString tableLine(const QStringList &cells)
{
    static constexpr int widths[] = {-9, -17, -23, 4, 10, 11, 7, 9};
    QString line;
    for (int i = 0; i < cells.size(); ++i)
        line += i < int(std::size(widths)) ? QStringLiteral("%1 ").arg(cells[i], widths[i]) : cells[i];
    return line;
}

// Every row of one style; over-budget notes go below the table.
void printRows(QTextStream &out, const QString &platform, const QString &style, const Rows &rows)
{
    for (const Row &row : rows.rows()) {
        double worstRatio = 0, lowCpu = 1e9, highCpu = 0;
        int fewestPaints = INT_MAX, mostPaints = 0;
        long fewestWakeUps = LONG_MAX, mostWakeUps = 0;
        for (const Sample &s : row.samples) {
            worstRatio = std::max(worstRatio, s.wallMs / s.floorMs);
            lowCpu = std::min(lowCpu, s.cpuPercent());
            highCpu = std::max(highCpu, s.cpuPercent());
            fewestPaints = std::min(fewestPaints, s.paints);
            mostPaints = std::max(mostPaints, s.paints);
            fewestWakeUps = std::min(fewestWakeUps, s.wakeUps);
            mostWakeUps = std::max(mostWakeUps, s.wakeUps);
        }
        out << tableLine({platform, style, row.workflow, QString::number(row.samples.size()),
                          QString::number(worstRatio, 'f', 4), range(lowCpu, highCpu, 2),
                          range(fewestPaints, mostPaints, 0), range(fewestWakeUps, mostWakeUps, 0),
                          row.status})
            << '\n';
        if (highCpu > cpuBudgetPercent)
            out << notePrefix
                << QStringLiteral("over budget: %1, %2, %3: the tool's CPU reached %4 % of wall"
                                  " (budget %5 %)\n")
                       .arg(platform, style, row.workflow)
                       .arg(highCpu, 0, 'f', 2)
                       .arg(cpuBudgetPercent);
    }
    out.flush();
}

// One platform, in this process: every style in turn.
int runStyles(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QTextStream out(stdout);
    const QString platform = QGuiApplication::platformName();
    {
        Setup window(SimPorts().devicePaths());
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            return 1;
        out << notePrefix
            << QStringLiteral("%1: window shown %2 s after the process started\n")
                   .arg(platform)
                   .arg(secondsSinceProcessStart(), 0, 'f', 3);
    }
    // The default first, by the name the style list gives it; a window never shown, for reference,
    // paints nothing: what remains is the cost of the line alone.
    const QString defaultStyle = QApplication::style()->name();
    QStringList styles;
    for (const QString &key : QStyleFactory::keys())
        if (key.compare(defaultStyle, Qt::CaseInsensitive) == 0)
            styles << key;
    for (const QString &style : {QStringLiteral("Fusion"), QStringLiteral("Windows")})
        if (!styles.contains(style, Qt::CaseInsensitive))
            styles << style;
    if (platform == QLatin1String("offscreen"))
        styles.prepend(QString());

    QTemporaryDir logs;
    for (const QString &style : styles) {
        if (!style.isEmpty())
            QApplication::setStyle(style);
        const QString name = style.isEmpty() ? QStringLiteral("(not shown)")
            : style.compare(defaultStyle, Qt::CaseInsensitive) == 0 ? style + QStringLiteral(" (default)")
                                                                      : style;
        Rows rows;
        for (int level : {12, 20})
            runSession(rows, logs.filePath(QStringLiteral("level%1.log").arg(level)), level, runsPerSession,
                       !style.isEmpty());
        printRows(out, platform, name, rows);
    }
    out << notePrefix
        << QStringLiteral("%1: peak memory %2 MB\n").arg(platform).arg(peakMegabytes(), 0, 'f', 1);
    return 0;
}

// Runs each platform in a process of its own (a process has one platform) and prints one table.
int runPlatforms(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    out << tableLine({QStringLiteral("platform"), QStringLiteral("style"), QStringLiteral("workflow"),
                      QStringLiteral("runs"), QStringLiteral("wall/floor"), QStringLiteral("CPU % wall"),
                      QStringLiteral("paints"), QStringLiteral("wake-ups"), QStringLiteral("status")})
        << '\n';
    out.flush();

    const QString self = QCoreApplication::applicationFilePath();
    struct Platform
    {
        QString name;
        QString program;
        QStringList arguments;
    };
    QList<Platform> platforms{{QStringLiteral("offscreen"), self, {QLatin1String(childOption)}}};
    QStringList notes;
    const QString xvfbRun = QStandardPaths::findExecutable(QStringLiteral("xvfb-run"));
    if (xvfbRun.isEmpty())
        notes << QStringLiteral("xcb: not measured, xvfb-run is not installed");
    else
        platforms.append({QStringLiteral("xcb"), xvfbRun,
                          {QStringLiteral("-a"), QStringLiteral("-s"),
                           QStringLiteral("-screen 0 1280x1024x24"), self, QLatin1String(childOption)}});

    int failures = 0;
    for (const Platform &platform : platforms) {
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), platform.name);
        child.setProcessEnvironment(environment);
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(platform.program, platform.arguments);
        const auto take = [&](const QByteArray &line) {
            if (line.startsWith(notePrefix))
                notes << QString::fromLocal8Bit(line.mid(notePrefix.size()).trimmed());
            else if (!line.trimmed().isEmpty())
                out << QString::fromLocal8Bit(line.trimmed()) << Qt::endl;
        };
        for (;;) {
            while (child.canReadLine())
                take(child.readLine());
            if (child.state() == QProcess::NotRunning)
                break;
            child.waitForReadyRead(1000);
        }
        take(child.readAllStandardOutput());
        if (child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0) {
            notes << QStringLiteral("%1: the run stopped early (%2)").arg(platform.name, child.errorString());
            ++failures;
        }
    }
    // Waits of a workflow: characters 1 ms apart, 25 ms between transactions.
    for (int intervalMs : {1, 25}) {
        const int wakes = 2000 / intervalMs;
        const double percent = timerWakePercent(intervalMs, wakes);
        notes << QStringLiteral("waking alone: a timer every %1 ms costs %2 % of wall here (%3 us a wake)")
                     .arg(intervalMs)
                     .arg(percent, 0, 'f', 2)
                     .arg(percent * intervalMs * 10, 0, 'f', 0);
    }
    out << QStringLiteral("\nwall/floor: the slowest run against the protocol's floor; CPU % wall: the "
                          "tool's CPU time over wall time, lowest-highest run; paints: paint events of the "
                          "window's widgets; wake-ups: times the tool's threads slept and woke (serial "
                          "characters, timers, painting threads)\n\n")
        << notes.join(QLatin1Char('\n')) << '\n';
    return failures == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc > 1 && qstrcmp(argv[argc - 1], childOption) == 0)
        return runStyles(argc, argv);
    return runPlatforms(argc, argv);
}
