#include "LocaleGuard.h"
#include "protocol/NumberText.h"

#include <QtTest>

class NumberTextTest : public QObject
{
    Q_OBJECT
private slots:
    void separators_data();
    void separators();
    void localText_data();
    void localText();
    void encode_data();
    void encode();
    void parse_data();
    void parse();
    void decodeUnderGermanLocale();
};

void NumberTextTest::separators_data()
{
    QTest::addColumn<QString>("sep");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("local");  // ToLocalDecimal(text)
    QTest::addColumn<QString>("sensor"); // ToSensorDecimal(text)
    QTest::addColumn<bool>("wrong");

    QTest::newRow("comma locale, sensor text") << "," << "0.5" << "0,5" << "0.5" << true;
    QTest::newRow("comma locale, local text") << "," << "0,5" << "0,5" << "0.5" << false;
    QTest::newRow("comma locale, two separators") << "," << "1.2.3" << "1,2.3" << "1.2.3" << true;
    QTest::newRow("comma locale, two commas") << "," << "1,2,3" << "1,2,3" << "1.2,3" << false;
    QTest::newRow("point locale unchanged") << "." << "0.5" << "0.5" << "0.5" << false;
    QTest::newRow("point locale flags comma") << "." << "1,5" << "1,5" << "1,5" << true;
    QTest::newRow("whole number") << "," << "44" << "44" << "44" << false;
    QTest::newRow("empty") << "," << "" << "" << "" << false;
}

void NumberTextTest::separators()
{
    QFETCH(QString, sep);
    QFETCH(QString, text);
    QFETCH(QString, local);
    QFETCH(QString, sensor);
    QFETCH(bool, wrong);
    QCOMPARE(ToLocalDecimal(text, sep), local);
    QCOMPARE(ToSensorDecimal(text, sep), sensor);
    QCOMPARE(HasWrongSeparator(text, sep), wrong);
}

void NumberTextTest::localText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("point");
    QTest::addColumn<QString>("comma");

    QTest::newRow("zero") << 0.0 << "0" << "0";
    QTest::newRow("negative zero") << -0.0 << "0" << "0";
    QTest::newRow("whole") << 44.0 << "44" << "44";
    QTest::newRow("k-factor") << double(65.7667f) << "65.7667" << "65,7667";
    QTest::newRow("negative") << -2.5 << "-2.5" << "-2,5";
    QTest::newRow("seven digits") << 1.2345678 << "1.234568" << "1,234568";
    QTest::newRow("no grouping") << 1234567.5 << "1234568" << "1234568";
    QTest::newRow("eight digits, no exponent") << 12345678.0 << "12345680" << "12345680";
    QTest::newRow("tiny, no exponent") << double(0.00002f) << "0.00002" << "0,00002";
    QTest::newRow("one ten-thousandth") << double(0.0001f) << "0.0001" << "0,0001";
    QTest::newRow("float tenth") << double(0.1f) << "0.1" << "0,1";
}

void NumberTextTest::localText()
{
    QFETCH(double, value);
    QFETCH(QString, point);
    QFETCH(QString, comma);
    QCOMPARE(LocalNumberText(value, "."), point);
    QCOMPARE(LocalNumberText(value, ","), comma);
}

void NumberTextTest::encode_data()
{
    QTest::addColumn<float>("value");
    QTest::addColumn<QString>("wire");

    QTest::newRow("zero") << 0.0f << "0";
    QTest::newRow("minus two and a half") << -2.5f << "-2.5";
    QTest::newRow("six decimals go out with five") << 1.234567f << "1.23457";
    QTest::newRow("below five decimals rounds to zero") << 0.000004f << "0";
    QTest::newRow("smallest step") << 0.00001f << "0.00001";
    QTest::newRow("two hundred-thousandths") << 0.00002f << "0.00002";
    QTest::newRow("more than seven digits") << 12345.678f << "12345.68";
    QTest::newRow("large whole") << 12345678.0f << "12345680";
    QTest::newRow("set point") << 5.0f << "5";
}

void NumberTextTest::encode()
{
    QFETCH(float, value);
    QFETCH(QString, wire);
    // The wire text is the same whatever the user's separator.
    QCOMPARE(EncodeDecimal(value, "."), wire);
    QCOMPARE(EncodeDecimal(value, ","), wire);
}

void NumberTextTest::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<double>("value");

    QTest::newRow("plain") << "1.5" << true << 1.5;
    QTest::newRow("blanks") << " 12.5 " << true << 12.5;
    QTest::newRow("negative") << "-3" << true << -3.0;
    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("letters") << "abc" << false << 0.0;
    QTest::newRow("grouping") << "1,500" << false << 0.0;
    QTest::newRow("infinity") << "inf" << false << 0.0;
    QTest::newRow("nan") << "nan" << false << 0.0;
    QTest::newRow("beyond single precision") << "1e39" << false << 0.0;
    QTest::newRow("largest float") << "3.4e38" << true << 3.4e38;
}

void NumberTextTest::parse()
{
    LocaleGuard english(LocaleGuard::english());
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(double, value);
    const std::optional<double> parsed = ParseLocalNumber(text);
    QCOMPARE(parsed.has_value(), valid);
    if (valid)
        QCOMPARE(*parsed, value);
}

void NumberTextTest::decodeUnderGermanLocale()
{
    LocaleGuard german(LocaleGuard::german());
    QCOMPARE(DecodeDecimal("12.5", ",").value_or(-1), 12.5);
    QCOMPARE(DecodeDecimal("0.5", ",").value_or(-1), 0.5);
    QVERIFY(!DecodeDecimal("", ",").has_value());
    QVERIFY(!DecodeDecimal("err", ",").has_value());
    QCOMPARE(ParseLocalInt16("2").value_or(-1), 2);
    QCOMPARE(ParseLocalInt16("2,5").value_or(-1), 2); // half to even
    QCOMPARE(ParseLocalInt16("3,5").value_or(-1), 4);
    QVERIFY(!ParseLocalInt16("40000").has_value());
    QVERIFY(!ParseLocalInt16("").has_value());
}

QTEST_GUILESS_MAIN(NumberTextTest)
#include "tst_numbertext.moc"
