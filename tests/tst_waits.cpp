// Timer1 and the waits built on it, on the event loop of the test's own thread.
#include "link/Waits.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QtTest>

#include <algorithm>
#include <ctime>

namespace {
double cpuSeconds()
{
    return double(std::clock()) / CLOCKS_PER_SEC;
}

// Blocks in the event loop for ms without touching Timer1.
void waitBesideTimer1(Waits &waits, int ms)
{
    bool elapsed = false;
    QTimer::singleShot(ms, Qt::PreciseTimer, [&elapsed] { elapsed = true; });
    while (!elapsed)
        waits.WaitForEvent();
}
} // namespace

class WaitsTest : public QObject
{
    Q_OBJECT
private slots:
    void restartAbandonsEarlierWait();
    void pauseIsNeverEarly();
    void pauseCostsNoCpu();
    void exitEndsRunningAndLaterWaits();
};

void WaitsTest::restartAbandonsEarlierWait()
{
    Waits waits;
    QTimer *timer1 = waits.findChild<QTimer *>();
    QVERIFY(timer1);
    QSignalSpy fired(timer1, &QTimer::timeout);

    QElapsedTimer clock;
    clock.start();
    waits.StartTimer(150);
    waitBesideTimer1(waits, 100);
    QVERIFY(!waits.timerDone());

    const qint64 secondStart = clock.nsecsElapsed();
    waits.StartTimer(25);
    while (!waits.timerDone())
        waits.WaitForEvent();
    const double afterSecondMs = (clock.nsecsElapsed() - secondStart) / 1e6;
    QVERIFY2(afterSecondMs >= 25.0 && afterSecondMs < 35.0, qPrintable(QString::number(afterSecondMs)));

    // Past the first interval: the abandoned 150 ms never fired.
    waitBesideTimer1(waits, 80);
    QCOMPARE(fired.count(), 1);
    QVERIFY(waits.timerDone());
}

void WaitsTest::pauseIsNeverEarly()
{
    Waits waits;
    for (int ms : {10, 10, 10, 10, 10, 25, 1, 0}) {
        QElapsedTimer clock;
        clock.start();
        waits.Pause(ms);
        const qint64 ns = clock.nsecsElapsed();
        QVERIFY2(ns >= qint64(ms) * 1000000, qPrintable(QStringLiteral("Pause(%1) took %2 ns").arg(ms).arg(ns)));
        QVERIFY(waits.timerDone());
    }
}

void WaitsTest::pauseCostsNoCpu()
{
    Waits waits;
    const double cpuBefore = cpuSeconds();
    waits.Pause(400);
    const double cpu = cpuSeconds() - cpuBefore;
    QVERIFY2(cpu < 0.02, qPrintable(QStringLiteral("%1 CPU s in a 400 ms pause").arg(cpu)));
}

void WaitsTest::exitEndsRunningAndLaterWaits()
{
    Waits waits;
    QTimer::singleShot(20, &waits, [&waits] { waits.EndProgram(); });
    QElapsedTimer clock;
    clock.start();
    QVERIFY_THROWS_EXCEPTION(ProgramEnded, waits.Pause(2000));
    QVERIFY(clock.elapsed() < 200);
    QVERIFY(waits.programEnded());

    clock.restart();
    QVERIFY_THROWS_EXCEPTION(ProgramEnded, waits.Pause(2000));
    QVERIFY_THROWS_EXCEPTION(ProgramEnded, waits.WaitForEvent());
    QVERIFY(clock.elapsed() < 50);
}

QTEST_GUILESS_MAIN(WaitsTest)
#include "tst_waits.moc"
