// Number text, reply rules, identification, reading and writing: through the real window, byte for byte.
#include "LocaleGuard.h"
#include "WindowRig.h"
#include "link/Waits.h"
#include "platform/SerialPort.h"
#include "protocol/NumberText.h"
#include "protocol/ReadSettings.h"
#include "protocol/WriteSettings.h"

#include <QtTest>

#include <algorithm>
#include <map>

namespace {

struct ReplyCase { int level, number; bool german; QString reply; double sent; bool decodes, agrees; };
struct ReadCase { SimConfig config; bool german, result; QString shown; SensorValues values;
                  QString traffic; };
struct WriteCase { SimConfig config; bool german; std::int16_t noiseRejection; bool result; QString writes; };

const Parameter &parameterAt(int level, int number)
{
    const std::vector<Parameter> &table = tableForLevel(std::int16_t(level)).parameters;
    return *std::find_if(table.begin(), table.end(), [number](auto &p) { return p.number == number; });
}

QLocale localeFor(bool german) { return german ? LocaleGuard::german() : LocaleGuard::english(); }

// Values no simulated sensor holds, so every field a read touches shows; then what sensors hold for a read.
const SensorValues untouched{{7, 3, 11, 1, 22, 0, 33, 44, 55, 9, 8, -1}, 66, 77, 88};
using Held = std::map<int, QByteArray>;
const Held held12{{7, "4"}, {8, "7"}, {9, "50 Hz"}, {10, "1.25"}, {11, "80.5"}, {6, "0.125"}};
const Held held20{{13, "5"}, {14, "6"}, {16, "0"}, {27, "-2.5"}, {28, "150.75"}, {36, "0.5"}, {37, "101.6"},
                  {45, "65.7667"}, {35, "3"}, {44, "2"}, {53, "0"}, {33, "-1"}};

// A full set of values, each showing one rule of its text form.
SensorValues sample(std::int16_t noiseRejection)
{
    return {{-1, 3, 101.6f, 1, 65.766712f, 0, -2.5f, 1234.567f, 0, 10, -1, noiseRejection},
            0.5f, 250.125f, 0.00002f};
}
const QString sampleAt20 = QStringLiteral("$2,8,plomvar,0.5\r$2,9,plomvar,250.125\r$2,10,plomvar,0.00002\r"
    "$2,13,plomvar,10\r$2,14,plomvar,-1\r$2,16,plomvar,1\r$2,27,plomvar,-2.5\r$2,28,plomvar,1234.567\r"
    "$2,36,plomvar,0\r$2,37,plomvar,101.6\r$2,45,plomvar,65.76671\r$2,35,plomvar,-1\r$2,44,plomvar,3\r"
    "$2,53,plomvar,1\r$2,33,plomvar,0\r$3,0,plomvar\r");
const QString sampleAt12 = QStringLiteral(
    "$2,7,plomvar,10\r$2,8,plomvar,-1\r$2,9,plomvar,%1\r$2,10,plomvar,0.5\r$2,11,plomvar,250.125\r"
    "$2,6,plomvar,0.00002\r$3,0,plomvar\r");

} // namespace

Q_DECLARE_METATYPE(ReplyCase)
Q_DECLARE_METATYPE(ReadCase)
Q_DECLARE_METATYPE(WriteCase)

class ProtocolTest : public QObject
{
    Q_OBJECT
private slots:
    // The window's text follows the user's separator; the wire text always has ".".
    void numberText()
    {
        const std::tuple<double, QString, QString> cases[] = { // value, its text with ".", its wire text
            {1.2345678, "1.234568", "1.23457"},   // seven significant digits, five decimals
            {12345.678, "12345.68", "12345.68"},
            {12345678.0, "12345680", "12345680"}, // zeros beyond the seventh digit, no exponent
            {-0.000004, "-0.000004", "0"}, {-0.0, "0", "0"}};
        for (const auto &[value, local, wire] : cases) {
            QCOMPARE(localNumberText(value, "."), local);
            QCOMPARE(localNumberText(value, ","), QString(local).replace('.', ','));
            QCOMPARE(encodeDecimal(float(value), "."), wire);
            QCOMPARE(encodeDecimal(float(value), ","), wire);
        }
    }

    void replies_data()
    {
        QTest::addColumn<ReplyCase>("c"); // sent: the value in the window; agrees: the reply reads back as it
        QTest::newRow("12: frequency of one digit") << ReplyCase{12, 9, false, "5", 0, false, false};
        QTest::newRow("12: row with stray text") << ReplyCase{12, 7, true, "1x", 0, false, false};
        QTest::newRow("20: row, half to even, down") << ReplyCase{20, 13, false, "2.5", 2, true, true};
        QTest::newRow("20: row, half to even, up") << ReplyCase{20, 14, false, "3.5", 4, true, true};
        QTest::newRow("20: unit row beyond 16 bits") << ReplyCase{20, 35, true, "32768", 0, false, false};
        QTest::newRow("20: decimal with blanks") << ReplyCase{20, 37, true, " 12.5 ", 12.5, true, true};
        QTest::newRow("20: grouped decimal") << ReplyCase{20, 28, false, "1,500.5", 0, false, false};
        QTest::newRow("20: largest float") << ReplyCase{20, 45, true, "3.4e38", 3.4e38, true, true};
        QTest::newRow("20: past single precision, kept") << ReplyCase{20, 45, true, "3.5e38", 0, true, false};
        QTest::newRow("12: long float") << ReplyCase{12, 11, true, "1234.5670166", 1234.567, true, true};
        QTest::newRow("12: fifth decimal off") << ReplyCase{12, 10, false, "5.00001", 5, true, false};
        QTest::newRow("12: 60 Hz for no selection") << ReplyCase{12, 9, false, "60 Hz", -1, true, true};
    }

    // A reply holding no value of its parameter's form fails; a value read back after a write agrees
    // with the one sent when the sensor merely writes it otherwise.
    void replies()
    {
        QFETCH(ReplyCase, c);
        LocaleGuard guard(localeFor(c.german));
        const QString sep = QLocale().decimalPoint();
        const Parameter &parameter = parameterAt(c.level, c.number);
        SensorValues sent = untouched;
        if (std::int16_t *whole = wholeField(sent, parameter.field))
            *whole = std::int16_t(c.sent);
        else
            *decimalField(sent, parameter.field) = float(c.sent);
        const std::optional<ParameterValue> value = decodeReply(parameter, c.reply, sep);
        QCOMPARE(value.has_value(), c.decodes);
        QVERIFY(!value || readBackAgrees(sent, parameter, *value, sep) == c.agrees);
    }

    void read_data()
    {
        QTest::addColumn<ReadCase>("c"); // shown: type and serial
        const SensorValues read12{{7, 3, 11, 1, 22, 0, 33, 44, 55, 4, 7, 1}, 1.25f, 80.5f, 0.125f};
        // Level 20 never reads the loop values in the sensor's unit; what was read before a failure stays.
        const SensorValues read20{{3, 2, 101.6f, 0, 65.7667f, -1, -2.5f, 150.75f, 0.5f, 5, 6, 0}, 66, 77, 88};
        const SensorValues part20{{7, 3, 11, 1, 22, 0, 33, 44, 55, 5, 6, 0}, 66, 77, 88};
        const QString all12 = identification(12) + "$1,7\r$1,8\r$1,9\r$1,10\r$1,11\r$1,6\r";
        const QString first20 = identification(20) + "$1,13\r$1,14\r$1,16\r$1,27\r";
        const QString all20 = first20 + "$1,28\r$1,36\r$1,37\r$1,45\r$1,35\r$1,44\r$1,53\r$1,33\r";
        const QString loop = "4-20mA DV12345678";
        QTest::newRow("12, German: R2W, 50 Hz by the first two characters")
            << ReadCase{sensorAt(12, "S1", "JIHGFEDCBA"), true, true, "R2W JIHGFEDCBA", read12, all12};
        QTest::newRow("20: R2W, blanks around the type, first ten of twelve reversed")
            << ReadCase{sensorAt(20, " 0 ", "BA0123456789"), false, true, "R2W 0123456789", read20, all20};
        QTest::newRow("20, German: 4-20mA") << ReadCase{sensorAt(20), true, true, loop, read20, all20};
        QTest::newRow("20: ERR to the fourth")
            << ReadCase{sensorAt(20).withFault(1, 27, SimFault::Refuse), false, false, loop, part20, first20};
        QTest::newRow("20: type 2")
            << ReadCase{sensorAt(20, "2"), false, false, "", untouched, "$1,25\r$1,5\r"};
        QTest::newRow("20: nine-character serial")
            << ReadCase{sensorAt(20, {}, "123456789"), false, false, "", untouched, identification(20)};
        QTest::newRow("12: type M1")
            << ReadCase{sensorAt(12, "M1"), false, false, "", untouched, "$1,25\r$1,12\r"};
    }

    void read()
    {
        QFETCH(ReadCase, c);
        LocaleGuard locale(localeFor(c.german));
        WindowRig rig(c.config);
        for (const auto &[parameter, text] : c.config.level == 12 ? held12 : held20)
            rig.sim.sensor().setValue(parameter, text);
        QElapsedTimer clock;
        clock.start();
        const SettingsRead read = readSettings(rig.window.link(), QLocale().decimalPoint(), untouched);
        // 50 ms after the level probe and 100 ms before the settings, besides the commands.
        QVERIFY(clock.elapsed() >= (c.shown.isEmpty() ? 50 : 150) + rig.leastLineTime());
        const SensorIdentity &id = read.identity;
        QCOMPARE(read.complete, c.result);
        QCOMPARE((id.type + ' ' + id.serial).trimmed(), c.shown);
        QCOMPARE(int(id.level), c.shown.isEmpty() ? 0 : c.config.level);
        QCOMPARE(id.hasLoopOutput, !c.shown.startsWith("R2W"));
        QCOMPARE(read.values.settings, c.values.settings);
        QCOMPARE(QList<float>({read.values.sensor4mA, read.values.sensor20mA, read.values.sensorCutoff}),
                 QList<float>({c.values.sensor4mA, c.values.sensor20mA, c.values.sensorCutoff}));
        QCOMPARE(rig.traffic(), c.traffic);
    }

    void write_data()
    {
        QTest::addColumn<WriteCase>("c"); // writes: after identification
        QTest::newRow("20, German, closing answer late")
            << WriteCase{sensorAt(20).withFault(3, 0, SimFault::Late), true, 1, true, sampleAt20};
        QTest::newRow("12, 50 Hz, closing answer late")
            << WriteCase{sensorAt(12).withFault(3, 0, SimFault::Late), false, 1, true, sampleAt12.arg(50)};
        QTest::newRow("12, German, no selection: 60 Hz")
            << WriteCase{sensorAt(12), true, -1, true, sampleAt12.arg(60)};
        QTest::newRow("20: failed identification")
            << WriteCase{sensorAt(20, {}, "123456789"), false, 1, false, ""};
    }

    void write()
    {
        QFETCH(WriteCase, c);
        LocaleGuard locale(localeFor(c.german));
        WindowRig rig(c.config);
        // Exit while values go out waits for the closing command; the end comes at the next wait.
        Waits &waits = rig.window.link().waits();
        if (c.result)
            QTimer::singleShot(300, &rig.window, [&waits] { QVERIFY(!waits.endProgram()); });
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(writeSettings(rig.window.link(), QLocale().decimalPoint(), sample(c.noiseRejection)),
                 c.result);
        QCOMPARE(rig.window.link().waits().programEnded(), c.result);
        // 50 ms after the level probe and 100 ms before the closing command, besides the commands.
        QVERIFY(!c.result || clock.elapsed() >= 150 + rig.leastLineTime());
        QCOMPARE(rig.traffic(), identification(c.config.level) + c.writes);
        // The closing command is given 400 ms at level 12, 150 ms at 20: an answer 300 ms late counts at 12.
        if (c.config.faultFor(3, 0) == SimFault::Late) {
            QTest::qWait(300);
            QCOMPARE(rig.window.link().port().waiting() > 0, c.config.level == 20);
        }
    }

    // Exit during a read ends it there: nothing in it swallows the program's end, nothing goes out after.
    void exitEndsReadAtOnce()
    {
        WindowRig rig;
        Waits &waits = rig.window.link().waits();
        QTimer::singleShot(300, &rig.window, [&waits] { QVERIFY(waits.endProgram()); });
        QVERIFY_THROWS_EXCEPTION(ProgramEnded, readSettings(rig.window.link(), ".", untouched));
        const QString sent = rig.traffic();
        QVERIFY2(sent.startsWith(identification(20)) && !sent.endsWith("$1,33\r"), qPrintable(sent));
        QTest::qWait(200);
        QCOMPARE(rig.traffic(), sent);
    }
};

QTEST_MAIN(ProtocolTest)
#include "tst_protocol.moc"
