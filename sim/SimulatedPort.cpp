#include "SimulatedPort.h"

#include <QSocketNotifier>

#include <cerrno>
#include <sys/timerfd.h>
#include <unistd.h>

namespace {
const QByteArray greeting = QByteArrayLiteral("Hello");
constexpr char cr = '\r';
} // namespace

SimulatedPort::SimulatedPort(const SimConfig &config, QObject *parent)
    : QObject(parent), m_config(config), m_sensor(std::make_unique<SimulatedSensor>(m_config))
{
    m_clock.start();
    // A timer of whole milliseconds would hold every character up to a millisecond past its time.
    m_pacerFd = timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    m_pacer = new QSocketNotifier(m_pacerFd, QSocketNotifier::Read, this);
    connect(m_pacer, &QSocketNotifier::activated, this, [this] {
        quint64 expirations = 0;
        (void)::read(m_pacerFd, &expirations, sizeof expirations);
        sendDue();
    });
    if (!m_pty.isOpen())
        return;
    m_notifier = new QSocketNotifier(m_pty.masterFd(), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &SimulatedPort::readMaster);
}

SimulatedPort::~SimulatedPort()
{
    delete m_pacer;
    ::close(m_pacerFd);
}

void SimulatedPort::armPacer(qint64 waitNs)
{
    itimerspec due{}; // all zero: disarmed
    if (waitNs > 0) {
        due.it_value.tv_sec = time_t(waitNs / 1000000000);
        due.it_value.tv_nsec = long(waitNs % 1000000000);
    }
    timerfd_settime(m_pacerFd, 0, &due, nullptr);
}

QList<QByteArray> SimulatedPort::commands() const
{
    QList<QByteArray> lines;
    for (qsizetype start = m_received.indexOf('$'); start >= 0;
         start = m_received.indexOf('$', start + 1)) {
        const qsizetype end = m_received.indexOf(cr, start);
        lines << (end < 0 ? m_received.mid(start) : m_received.mid(start, end - start + 1));
        if (end < 0)
            break;
        start = end;
    }
    return lines;
}

void SimulatedPort::hangUp()
{
    if (m_notifier)
        m_notifier->setEnabled(false);
    m_outgoing.clear();
    armPacer(0);
    m_pty.close();
}

void SimulatedPort::readMaster()
{
    char buffer[256];
    for (;;) {
        const ssize_t n = ::read(m_pty.masterFd(), buffer, sizeof buffer);
        if (n > 0) {
            // Everything written at once still crosses the line one character at a time.
            for (ssize_t i = 0; i < n; ++i) {
                m_inLineFreeNs = std::max(m_inLineFreeNs, m_clock.nsecsElapsed()) + charNs();
                take(buffer[i], m_inLineFreeNs);
            }
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EINTR))
            return;
        // The slave side is gone for good; stop listening rather than wake on every turn.
        m_notifier->setEnabled(false);
        return;
    }
}

void SimulatedPort::take(char c, qint64 arrivalNs)
{
    m_received.append(c);
    if (!m_config.adaptor)
        return;
    // The adaptor answers its greeting itself; anything else passes through to the sensor.
    if (m_line.isEmpty() && greeting.startsWith(m_hello + c)) {
        m_hello.append(c);
        if (m_hello == greeting) {
            m_hello.clear();
            transmit(m_config.helloWithCr ? greeting + cr : greeting,
                     arrivalNs + m_config.helloLatencyMs * 1000000LL);
        }
        return;
    }
    const QByteArray held = m_hello;
    m_hello.clear();
    for (char h : held)
        toSensor(h, arrivalNs);
    toSensor(c, arrivalNs);
}

void SimulatedPort::toSensor(char c, qint64 arrivalNs)
{
    if (!m_config.sensor || m_muted)
        return;
    m_lineArrivals.append(arrivalNs);
    if (c == cr)
        lineComplete(arrivalNs);
    else
        m_line.append(c);
}

void SimulatedPort::lineComplete(qint64 endNs)
{
    const QByteArray line = m_line;
    const QList<qint64> arrivals = m_lineArrivals;
    m_line.clear();
    m_lineArrivals.clear();
    emit lineReceived(line + cr);

    const SimCommand command = parseCommand(line);
    const SimFault fault = m_config.faultFor(command.op, command.param);
    if (fault == SimFault::Silent)
        return;
    const qint64 echoEndNs = transmitAt(line + cr, arrivals);
    if (line.isEmpty())
        return; // a bare carriage return is echoed and not answered
    if (fault == SimFault::HangUp) {
        scheduleHangUp(echoEndNs);
        return;
    }
    if (fault == SimFault::NoAnswer)
        return;

    const QByteArray before = m_sensor->value(command.param);
    QByteArray answer = m_sensor->answer(command);
    if (fault == SimFault::NotKept && m_sensor->hasParameter(command.param))
        m_sensor->setValue(command.param, before);
    if (fault == SimFault::KeptUnanswered)
        return;
    if (command.op == 1 && command.param == m_sensor->serialParameter()
        && m_config.silentAfterIdentification)
        m_muted = true;

    qint64 latencyMs = m_config.latencyMs;
    switch (fault) {
    case SimFault::Refuse: answer = "ERR" + QByteArray(1, cr); break;
    case SimFault::Garbage: answer = QByteArrayLiteral("#~\x7f?x!") + cr; break;
    case SimFault::Truncated: answer.chop(answer.size() > 1 ? 1 : 0); break;
    case SimFault::Extra: answer += cr + QByteArrayLiteral("X9") + cr; break;
    case SimFault::Late: latencyMs = m_config.lateMs; answer += cr; break;
    default: answer += cr; break;
    }
    transmit(answer, std::max(endNs + latencyMs * 1000000LL, echoEndNs));
}

qint64 SimulatedPort::transmitAt(const QByteArray &bytes, const QList<qint64> &startNs)
{
    qint64 lineFreeNs = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i)
        lineFreeNs = transmit(bytes.mid(i, 1), std::max(startNs.value(i), lineFreeNs));
    return lineFreeNs;
}

qint64 SimulatedPort::transmit(const QByteArray &bytes, qint64 startNs)
{
    qint64 dueNs = startNs;
    for (char c : bytes) {
        dueNs += charNs();
        m_outgoing.emplace(dueNs, QByteArray(1, c));
    }
    sendDue();
    return dueNs;
}

void SimulatedPort::scheduleHangUp(qint64 atNs)
{
    m_outgoing.emplace(atNs, QByteArray());
    sendDue();
}

void SimulatedPort::sendDue()
{
    const qint64 now = m_clock.nsecsElapsed();
    QByteArray due;
    while (!m_outgoing.empty() && m_outgoing.begin()->first <= now) {
        if (m_outgoing.begin()->second.isEmpty()) {
            if (!due.isEmpty())
                (void)::write(m_pty.masterFd(), due.constData(), size_t(due.size()));
            hangUp();
            return;
        }
        due += m_outgoing.begin()->second;
        m_outgoing.erase(m_outgoing.begin());
    }
    if (!due.isEmpty() && m_pty.isOpen())
        (void)::write(m_pty.masterFd(), due.constData(), size_t(due.size()));
    armPacer(m_outgoing.empty() ? 0 : m_outgoing.begin()->first - now);
}
