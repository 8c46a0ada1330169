#pragma once
#include "PtyPair.h"
#include "SimConfig.h"
#include "SimulatedSensor.h"

#include <QElapsedTimer>
#include <QObject>

#include <map>
#include <memory>

class QSocketNotifier;

// One serial port with a simulated 7-0410 adaptor and, behind it, a Dravometer, served on the
// thread that creates it. The tool opens path(). Replies are paced like a 9600-baud line.
class SimulatedPort : public QObject
{
    Q_OBJECT
public:
    explicit SimulatedPort(const SimConfig &config = {}, QObject *parent = nullptr);
    ~SimulatedPort() override;

    bool isValid() const { return m_pty.isOpen(); }
    QString path() const { return m_pty.slavePath(); }
    int masterFd() const { return m_pty.masterFd(); } // the adaptor's end: the line as the tool set it

    // Faults and timing may change between exchanges; the sensor's values stay.
    SimConfig &config() { return m_config; }
    SimulatedSensor &sensor() { return *m_sensor; }

    QByteArray received() const { return m_received; } // every byte, as it came
    QList<QByteArray> commands() const;               // each "$" line with its carriage return
    void clearLog() { m_received.clear(); }

    // The line goes away: the master is closed, as when the adaptor is unplugged.
    void hangUp();

signals:
    // Every line the sensor receives, with its carriage return, as it completes.
    void lineReceived(const QByteArray &line);

private:
    void readMaster();
    void take(char c, qint64 arrivalNs);
    void toSensor(char c, qint64 arrivalNs);
    void lineComplete(qint64 endNs);
    // Queues bytes on the outgoing line, the first no sooner than startNs, one character time
    // apart; returns when the last is through.
    qint64 transmit(const QByteArray &bytes, qint64 startNs);
    qint64 transmitAt(const QByteArray &bytes, const QList<qint64> &startNs);
    void scheduleHangUp(qint64 atNs);
    void sendDue();
    qint64 charNs() const { return qint64(m_config.charMs * 1e6); }

    SimConfig m_config;
    std::unique_ptr<SimulatedSensor> m_sensor;
    PtyPair m_pty;
    QSocketNotifier *m_notifier = nullptr;
    void armPacer(qint64 waitNs); // 0: disarmed
    int m_pacerFd = -1;
    QSocketNotifier *m_pacer = nullptr;
    QElapsedTimer m_clock;

    qint64 m_inLineFreeNs = 0;  // when the incoming line has carried everything written so far
    std::multimap<qint64, QByteArray> m_outgoing; // by due time; empty bytes: hang up then

    QByteArray m_hello;         // the start of a possible "Hello", held by the adaptor
    QByteArray m_line;          // the sensor's current command line
    QList<qint64> m_lineArrivals;
    bool m_muted = false;
    QByteArray m_received;
};
