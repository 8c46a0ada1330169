#include "LocaleGuard.h"
#include "protocol/ParameterText.h"

#include <QtTest>

Q_DECLARE_METATYPE(Field)

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
    void valueText_data();
    void valueText();
    void storeReply_data();
    void storeReply();
    void failedReplyStoresNothing();
};

void ParameterTextTest::valueText_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("whole");   // for whole-number fields
    QTest::addColumn<float>("decimal"); // for decimal fields
    QTest::addColumn<QString>("text");

    QTest::newRow("12: 50 Hz") << 12 << 9 << 1 << 0.0f << "50";
    QTest::newRow("12: 60 Hz") << 12 << 9 << 0 << 0.0f << "60";
    QTest::newRow("12: no selection is 60 Hz") << 12 << 9 << -1 << 0.0f << "60";
    QTest::newRow("12: averaging row") << 12 << 7 << 10 << 0.0f << "10";
    QTest::newRow("12: loop value") << 12 << 10 << 0 << 12.5f << "12.5";
    QTest::newRow("20: noise rejection is a row") << 20 << 16 << 1 << 0.0f << "1";
    QTest::newRow("20: sensitivity unselected") << 20 << 14 << -1 << 0.0f << "-1";
    QTest::newRow("20: unit unselected") << 20 << 35 << -1 << 0.0f << "-1";
    QTest::newRow("20: k-factor, six decimals") << 20 << 45 << 0 << 65.766712f << "65.76671";
    QTest::newRow("20: negative set point") << 20 << 27 << 0 << -2.5f << "-2.5";
    QTest::newRow("20: sensor-unit loop value") << 20 << 10 << 0 << 0.25f << "0.25";
}

void ParameterTextTest::valueText()
{
    QFETCH(int, level);
    QFETCH(int, number);
    QFETCH(int, whole);
    QFETCH(float, decimal);
    QFETCH(QString, text);
    const Parameter &parameter = ParameterOf(std::int16_t(level), number);
    SensorValues values;
    if (std::int16_t *field = WholeField(values, parameter.field))
        *field = std::int16_t(whole);
    else
        *DecimalField(values, parameter.field) = decimal;

    // The wire text does not depend on the user's locale.
    {
        LocaleGuard english(LocaleGuard::english());
        QCOMPARE(ValueText(values, parameter, "."), text);
    }
    LocaleGuard german(LocaleGuard::german());
    QCOMPARE(ValueText(values, parameter, ","), text);
}

void ParameterTextTest::storeReply_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("reply");
    QTest::addColumn<bool>("stored");
    QTest::addColumn<double>("value");

    QTest::newRow("12: 50 Hz by its first two characters") << 12 << 9 << "50 Hz" << true << 1.0;
    QTest::newRow("12: 60") << 12 << 9 << "60" << true << 0.0;
    QTest::newRow("12: frequency refused") << 12 << 9 << "ERR" << false << 0.0;
    QTest::newRow("12: frequency of one digit") << 12 << 9 << "5" << false << 0.0;
    QTest::newRow("12: averaging") << 12 << 7 << "4" << true << 4.0;
    QTest::newRow("12: loop value") << 12 << 11 << "12.5" << true << 12.5;
    QTest::newRow("20: lower-case err is no number") << 20 << 13 << "err" << false << 0.0;
    QTest::newRow("20: empty reply") << 20 << 35 << "" << false << 0.0;
    QTest::newRow("20: beyond 16 bits") << 20 << 44 << "40000" << false << 0.0;
    QTest::newRow("20: negative row") << 20 << 53 << "-1" << true << -1.0;
    QTest::newRow("20: k-factor") << 20 << 45 << "65.7667" << true << double(65.7667f);
    QTest::newRow("20: stray text") << 20 << 37 << "12.5x" << false << 0.0;
}

void ParameterTextTest::storeReply()
{
    QFETCH(int, level);
    QFETCH(int, number);
    QFETCH(QString, reply);
    QFETCH(bool, stored);
    QFETCH(double, value);
    const Parameter &parameter = ParameterOf(std::int16_t(level), number);

    // A "," locale must read the sensor's "." as its decimal point.
    for (const QLocale &locale : {LocaleGuard::english(), LocaleGuard::german()}) {
        LocaleGuard guard(locale);
        SetupState state;
        state.decimalSep = locale.decimalPoint();
        QCOMPARE(StoreReply(state, parameter, reply), stored);
        if (!stored)
            continue;
        if (const std::int16_t *field = WholeField(state, parameter.field))
            QCOMPARE(double(*field), value);
        else
            QCOMPARE(double(*DecimalField(state, parameter.field)), value);
    }
}

void ParameterTextTest::failedReplyStoresNothing()
{
    SetupState state;
    state.settings.kFactor = 3.5f;
    state.settings.noiseRejection = 1;
    const SensorSettings before = state.settings;
    QVERIFY(!StoreReply(state, ParameterOf(20, 45), "ERR"));
    QVERIFY(!StoreReply(state, ParameterOf(12, 9), "ERR"));
    QVERIFY(!StoreReply(state, ParameterOf(20, 16), "1x"));
    QCOMPARE(state.settings, before);
}

QTEST_GUILESS_MAIN(ParameterTextTest)
#include "tst_parametertext.moc"
