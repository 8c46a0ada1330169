// Replies the simulated sensor never gives, decoded without a line: each must fail and store nothing.
#include "LocaleGuard.h"
#include "protocol/ParameterText.h"

#include <QtTest>

namespace {

const Parameter &ParameterOf(std::int16_t level, int number)
{
    for (const Parameter &parameter : TableForLevel(level).parameters) {
        if (parameter.number == number)
            return parameter;
    }
    qFatal("no parameter %d at level %d", number, level);
}

} // namespace

class ParameterTextTest : public QObject
{
    Q_OBJECT
private slots:
    void oddRepliesStoreNothing_data();
    void oddRepliesStoreNothing();
};

void ParameterTextTest::oddRepliesStoreNothing_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("reply");

    QTest::newRow("12: frequency of one digit") << 12 << 9 << "5";
    QTest::newRow("12: frequency in lower case err") << 12 << 9 << "err";
    QTest::newRow("12: row with stray text") << 12 << 7 << "1x";
    QTest::newRow("20: row beyond 16 bits") << 20 << 44 << "40000";
    QTest::newRow("20: decimal with stray text") << 20 << 37 << "12.5x";
    QTest::newRow("20: decimal beyond single precision") << 20 << 45 << "1e39";
    QTest::newRow("20: grouped decimal") << 20 << 28 << "1,500.5";
}

void ParameterTextTest::oddRepliesStoreNothing()
{
    QFETCH(int, level);
    QFETCH(int, number);
    QFETCH(QString, reply);
    const Parameter &parameter = ParameterOf(std::int16_t(level), number);

    for (const QLocale &locale : {LocaleGuard::english(), LocaleGuard::german()}) {
        LocaleGuard guard(locale);
        SetupState state;
        state.decimalSep = locale.decimalPoint();
        state.settings.noiseRejection = 1;
        const SensorSettings before = state.settings;
        QVERIFY(!StoreReply(state, parameter, reply));
        QCOMPARE(state.settings, before);
    }
}

QTEST_GUILESS_MAIN(ParameterTextTest)
#include "tst_parametertext.moc"
