// Number text, identification, reading and writing: through the real window, byte for byte.
#include "LocaleGuard.h"
#include "ProtocolRig.h"
#include "link/Waits.h"
#include "platform/SerialPort.h"
#include "protocol/Identify.h"
#include "protocol/NumberText.h"
#include "protocol/ParameterText.h"
#include "protocol/ReadSettings.h"
#include "protocol/WriteSettings.h"

#include <QElapsedTimer>
#include <QtTest>

#include <algorithm>

namespace {

struct ReplyCase { int level; int number; bool german; QString reply; bool stored; double field; };
struct IdentifyCase { SimConfig config; bool result; QString type; QString serial; QString traffic; };
struct ReadCase { SimConfig config; bool german; QString values; bool result; SensorValues expected; QString reads; };
struct WriteCase { SimConfig config; bool german; SensorValues values; bool result; QString writes; };

// Every value a read or write touches: the settings record in its order, then the loop values in
// the sensor's unit.
QString summary(const SensorValues &v)
{
    const SensorSettings &s = v.settings;
    return QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8 %9 %10 %11 %12 | %13 %14 %15")
        .arg(s.outputUnit).arg(s.timeUnit).arg(s.pipeId).arg(s.pipeIdUnit).arg(s.kFactor).arg(s.kFactorUnit)
        .arg(s.setpoint4mA).arg(s.setpoint20mA).arg(s.lowFlowCutoff).arg(s.averaging).arg(s.sensitivity)
        .arg(s.noiseRejection).arg(v.sensor4mA).arg(v.sensor20mA).arg(v.sensorCutoff);
}

// What the commands sent take at least: each is echoed at 1.04 ms a character, answered with at
// least two characters 3 ms after its carriage return, and followed by 25 ms.
qint64 leastLineTime(const QString &traffic) { return qint64(1.04 * traffic.size()) + 30 * traffic.count('\r'); }

const Parameter &parameterAt(int level, int number)
{
    const std::vector<Parameter> &table = TableForLevel(std::int16_t(level)).parameters;
    return *std::find_if(table.begin(), table.end(), [number](const Parameter &p) { return p.number == number; });
}

QLocale localeFor(bool german) { return german ? LocaleGuard::german() : LocaleGuard::english(); }

// Values no simulated sensor holds, so every field a read touches shows.
const SensorValues untouched{{7, 3, 11, 1, 22, 0, 33, 44, 55, 9, 8, -1}, 66, 77, 88};
const QString closing = QStringLiteral("$3,0,plomvar\r");
const QString level12Reads = QStringLiteral("$1,7\r$1,8\r$1,9\r$1,10\r$1,11\r$1,6\r");
const QString level20Reads =
    QStringLiteral("$1,13\r$1,14\r$1,16\r$1,27\r$1,28\r$1,36\r$1,37\r$1,45\r$1,35\r$1,44\r$1,53\r$1,33\r");

// A full set of values, each showing one rule of its text form.
SensorValues sample(std::int16_t noiseRejection = 1)
{
    return {{-1, 3, 101.6f, 1, 65.766712f, 0, -2.5f, 1234.567f, 0, 10, -1, noiseRejection}, 0.5f, 250.125f, 0.00002f};
}
const QString sampleAt20 = QStringLiteral(
    "$2,8,plomvar,0.5\r$2,9,plomvar,250.125\r$2,10,plomvar,0.00002\r$2,13,plomvar,10\r$2,14,plomvar,-1\r"
    "$2,16,plomvar,1\r$2,27,plomvar,-2.5\r$2,28,plomvar,1234.567\r$2,36,plomvar,0\r$2,37,plomvar,101.6\r"
    "$2,45,plomvar,65.76671\r$2,35,plomvar,-1\r$2,44,plomvar,3\r$2,53,plomvar,1\r$2,33,plomvar,0\r");
const QString sampleAt12 = QStringLiteral( // %1: the frequency
    "$2,7,plomvar,10\r$2,8,plomvar,-1\r$2,9,plomvar,%1\r$2,10,plomvar,0.5\r$2,11,plomvar,250.125\r$2,6,plomvar,0.00002\r");

} // namespace

Q_DECLARE_METATYPE(ReplyCase)
Q_DECLARE_METATYPE(IdentifyCase)
Q_DECLARE_METATYPE(ReadCase)
Q_DECLARE_METATYPE(WriteCase)

class ProtocolTest : public QObject
{
    Q_OBJECT
private slots:
    void numberText_data();
    void numberText();
    void replies_data();
    void replies();
    void readBack_data();
    void readBack();
    void identify_data();
    void identify();
    void read_data();
    void read();
    void write_data();
    void write();
    void exitEndsReadAtOnceAndWriteAtItsEnd();
};

void ProtocolTest::numberText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("local"); // with "." as the separator
    QTest::addColumn<QString>("wire");
    QTest::newRow("seven digits") << 1.2345678 << "1.234568" << "1.23457";
    QTest::newRow("no grouping") << 1234567.5 << "1234568" << "1234568";
    QTest::newRow("eight digits, no exponent") << 12345678.0 << "12345680" << "12345680";
    QTest::newRow("more than seven digits") << 12345.678 << "12345.68" << "12345.68";
    QTest::newRow("below five decimals") << 0.000004 << "0.000004" << "0";
    QTest::newRow("negative zero") << -0.0 << "0" << "0";
}

// The window's text follows the user's separator; the wire text always has ".".
void ProtocolTest::numberText()
{
    QFETCH(double, value);
    QFETCH(QString, local);
    QFETCH(QString, wire);
    QCOMPARE(LocalNumberText(value, "."), local);
    QCOMPARE(LocalNumberText(value, ","), QString(local).replace('.', ','));
    QCOMPARE(EncodeDecimal(float(value), "."), wire);
    QCOMPARE(EncodeDecimal(float(value), ","), wire);
}

void ProtocolTest::replies_data()
{
    QTest::addColumn<ReplyCase>("c"); // field: its value afterwards
    QTest::newRow("12: frequency of one digit") << ReplyCase{12, 9, false, "5", false, -1};
    QTest::newRow("12: row with stray text") << ReplyCase{12, 7, true, "1x", false, 9};
    QTest::newRow("20: lower-case err") << ReplyCase{20, 13, false, "err", false, 9};
    QTest::newRow("20: row, half to even, down") << ReplyCase{20, 13, false, "2.5", true, 2};
    QTest::newRow("20: row, half to even, up") << ReplyCase{20, 14, false, "3.5", true, 4};
    QTest::newRow("20: unit row beyond 16 bits") << ReplyCase{20, 35, true, "32768", false, 7};
    QTest::newRow("20: decimal with stray text") << ReplyCase{20, 37, true, "12.5x", false, 11};
    QTest::newRow("20: decimal with blanks") << ReplyCase{20, 37, true, " 12.5 ", true, 12.5};
    QTest::newRow("20: grouped decimal") << ReplyCase{20, 28, false, "1,500.5", false, 44};
    QTest::newRow("20: infinity") << ReplyCase{20, 45, false, "inf", false, 22};
    QTest::newRow("20: largest float") << ReplyCase{20, 45, true, "3.4e38", true, 3.4e38};
    QTest::newRow("20: beyond single precision") << ReplyCase{20, 45, true, "3.5e38", false, 22};
}

// A reply holding no value of its parameter's form fails and leaves the field as it was.
void ProtocolTest::replies()
{
    QFETCH(ReplyCase, c);
    LocaleGuard guard(localeFor(c.german));
    SetupState state;
    state.decimalSep = QLocale().decimalPoint();
    load(state, untouched);
    const Parameter &parameter = parameterAt(c.level, c.number);
    const std::optional<ParameterValue> value = DecodeReply(parameter, c.reply, state.decimalSep);
    QCOMPARE(value.has_value(), c.stored);
    if (value)
        StoreValue(state, parameter, *value);
    const std::int16_t *whole = WholeField(state, parameter.field);
    QCOMPARE(whole ? double(*whole) : double(*DecimalField(state, parameter.field)), double(float(c.field)));
}

void ProtocolTest::readBack_data()
{
    QTest::addColumn<ReplyCase>("c"); // field: the value written; stored: whether the reply agrees
    for (bool german : {false, true}) {
        QTest::addRow("20: trailing zeros%s", german ? ", German" : "") << ReplyCase{20, 36, german, "0.050000", true, 0.05};
        QTest::addRow("12: single precision printed long%s", german ? ", German" : "") << ReplyCase{12, 11, german, "1234.5670166", true, 1234.567};
        QTest::addRow("12: fifth decimal off%s", german ? ", German" : "") << ReplyCase{12, 10, german, "5.00001", false, 5};
    }
    QTest::newRow("20: below the fifth decimal") << ReplyCase{20, 37, false, "0.000004", true, 0};
    QTest::newRow("20: seventh digit off") << ReplyCase{20, 45, false, "1234.568", false, 1234.567};
    QTest::newRow("20: other row") << ReplyCase{20, 14, false, "3", false, 2};
    QTest::newRow("12: 60 Hz for no selection") << ReplyCase{12, 9, false, "60 Hz", true, -1};
    QTest::newRow("12: 50 Hz for 60") << ReplyCase{12, 9, false, "50", false, 0};
}

// A value read back after a write agrees with the one sent when the sensor merely writes it otherwise.
void ProtocolTest::readBack()
{
    QFETCH(ReplyCase, c);
    LocaleGuard guard(localeFor(c.german));
    const QString sep = QLocale().decimalPoint();
    const Parameter &parameter = parameterAt(c.level, c.number);
    SensorValues sent = untouched;
    if (std::int16_t *whole = WholeField(sent, parameter.field))
        *whole = std::int16_t(c.field);
    else
        *DecimalField(sent, parameter.field) = float(c.field);
    const std::optional<ParameterValue> value = DecodeReply(parameter, c.reply, sep);
    QVERIFY(value);
    QCOMPARE(Agrees(sent, parameter, *value, sep), c.stored);
}

void ProtocolTest::identify_data()
{
    QTest::addColumn<IdentifyCase>("c");
    const QString all20 = identification(20), all12 = identification(12);
    const QString probe20 = "$1,25\r$1,5\r", probe12 = "$1,25\r$1,12\r";
    QTest::newRow("20: 4-20mA, first ten of twelve reversed") << IdentifyCase{sensorAt(20, {}, "BA0123456789"), true, "4-20mA", "0123456789", all20};
    QTest::newRow("20: R2W, blanks around the type") << IdentifyCase{sensorAt(20, " 0 "), true, "R2W", "DV12345678", all20};
    QTest::newRow("20: any probe answer but ERR") << IdentifyCase{sensorAt(20).withFault(1, 25, SimFault::Garbage), true, "4-20mA", "DV12345678", all20};
    QTest::newRow("12: R2W") << IdentifyCase{sensorAt(12, "S1", "JIHGFEDCBA"), true, "R2W", "JIHGFEDCBA", all12};
    QTest::newRow("20: type 2") << IdentifyCase{sensorAt(20, "2"), false, "", "", probe20};
    QTest::newRow("20: nine-character serial") << IdentifyCase{sensorAt(20, {}, "123456789"), false, "", "", all20};
    QTest::newRow("12: ERR to the type") << IdentifyCase{sensorAt(12).withFault(1, 12, SimFault::Refuse), false, "", "", probe12};
    QTest::newRow("12: capital M is no type") << IdentifyCase{sensorAt(12, "M1"), false, "", "", probe12};
    QTest::newRow("no sensor: taken for 20, fails on the type") << IdentifyCase{adaptorOnly(), false, "", "", probe20};
}

void ProtocolTest::identify()
{
    QFETCH(IdentifyCase, c);
    ProtocolRig rig(c.config);
    rig.state().hasLoopOutput = !c.result; // rewritten either way
    SensorIdentity shown{12, false, "Not Read", "Not Read"};
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(TakeIdentity(rig.ctx(), [&](const SensorIdentity &identity) { shown = identity; }), c.result);
    QVERIFY(clock.elapsed() >= 50 + leastLineTime(c.traffic));
    QCOMPARE(int(rig.state().sensorLevel), c.result ? c.config.level : 0);
    QCOMPARE(shown.type, c.type);
    QCOMPARE(shown.serial, c.serial);
    QCOMPARE(rig.state().hasLoopOutput, c.type != QLatin1String("R2W"));
    QCOMPARE(rig.traffic(), c.traffic);
}

void ProtocolTest::read_data()
{
    QTest::addColumn<ReadCase>("c"); // values: parameter=value held by the sensor; reads: after identification
    const QString all12 = "7=4;8=7;9=60;10=1.25;11=80.5;6=0.125";
    const SensorValues read12{{7, 3, 11, 1, 22, 0, 33, 44, 55, 4, 7, 0}, 1.25f, 80.5f, 0.125f};
    const QString all20 = "13=5;14=6;16=0;27=-2.5;28=150.75;36=0.5;37=101.6;45=65.7667;35=3;44=2;53=0;33=-1";
    // Level 20 never reads the loop values in the sensor's unit.
    const SensorValues read20{{3, 2, 101.6f, 0, 65.7667f, -1, -2.5f, 150.75f, 0.5f, 5, 6, 0}, 66, 77, 88};
    for (bool german : {false, true}) {
        QTest::addRow("12%s", german ? ", German" : "") << ReadCase{sensorAt(12), german, all12, true, read12, level12Reads};
        QTest::addRow("20%s", german ? ", German" : "") << ReadCase{sensorAt(20), german, all20, true, read20, level20Reads};
    }
    const SensorValues read50Hz{{7, 3, 11, 1, 22, 0, 33, 44, 55, 4, 7, 1}, 0.5f, 50, 0.25f};
    QTest::newRow("12: 50 Hz by the first two characters") << ReadCase{sensorAt(12), false, "7=4;8=7;9=50 Hz", true, read50Hz, level12Reads};
    // What was read before the failure stays stored.
    const SensorValues partial12{{7, 3, 11, 1, 22, 0, 33, 44, 55, 4, 7, -1}, 66, 77, 88};
    QTest::newRow("12: ERR to the frequency") << ReadCase{sensorAt(12).withFault(1, 9, SimFault::Refuse), false, "7=4;8=7", false, partial12, "$1,7\r$1,8\r$1,9\r"};
    const SensorValues partial20{{7, 3, 11, 1, 22, 0, 33, 44, 55, 5, 6, 0}, 66, 77, 88};
    QTest::newRow("20: ERR to the fourth") << ReadCase{sensorAt(20).withFault(1, 27, SimFault::Refuse), false, "13=5;14=6;16=0", false, partial20, "$1,13\r$1,14\r$1,16\r$1,27\r"};
    QTest::newRow("20: failed identification") << ReadCase{sensorAt(20, {}, "123456789"), false, "", false, untouched, ""};
}

void ProtocolTest::read()
{
    QFETCH(ReadCase, c);
    LocaleGuard locale(localeFor(c.german));
    ProtocolRig rig(c.config);
    for (const QString &value : c.values.split(';', Qt::SkipEmptyParts))
        rig.sim.sensor().setValue(value.section('=', 0, 0).toInt(), value.section('=', 1).toLatin1());
    load(rig.state(), untouched);
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(ReadSettings(rig.ctx()), c.result);
    // 50 ms after the level probe and 100 ms before the settings, besides the commands.
    QVERIFY(!c.result || clock.elapsed() >= 150 + leastLineTime(rig.traffic()));
    QCOMPARE(summary(ValuesOf(rig.state())), summary(c.expected));
    QCOMPARE(rig.traffic(), identification(c.config.level) + c.reads);
}

void ProtocolTest::write_data()
{
    QTest::addColumn<WriteCase>("c"); // writes: after identification
    // An echoed command with an empty answer counts as accepted; a missing echo as failed.
    QTest::newRow("20") << WriteCase{sensorAt(20), false, sample(), true, sampleAt20 + closing};
    QTest::newRow("20, German, closing answer late") << WriteCase{sensorAt(20).withFault(3, 0, SimFault::Late), true, sample(), true, sampleAt20 + closing};
    QTest::newRow("12, 50 Hz, closing answer late") << WriteCase{sensorAt(12).withFault(3, 0, SimFault::Late), false, sample(1), true, sampleAt12.arg(50) + closing};
    QTest::newRow("12, German, no selection is 60 Hz, a write not answered") << WriteCase{sensorAt(12).withFault(2, 10, SimFault::NoAnswer), true, sample(-1), true, sampleAt12.arg(60) + closing};
    QTest::newRow("12: closing refused") << WriteCase{sensorAt(12).withFault(3, 0, SimFault::Refuse), false, sample(), false, sampleAt12.arg(50) + closing};
    QTest::newRow("12: closing unheard") << WriteCase{sensorAt(12).withFault(3, 0, SimFault::Silent), false, sample(), false, sampleAt12.arg(50) + closing};
    QTest::newRow("20: ERR to 13") << WriteCase{sensorAt(20).withFault(2, 13, SimFault::Refuse), false, sample(), false, "$2,8,plomvar,0.5\r$2,9,plomvar,250.125\r$2,10,plomvar,0.00002\r$2,13,plomvar,10\r"};
    QTest::newRow("20: line gone after the first echo") << WriteCase{sensorAt(20).withFault(2, 8, SimFault::HangUp), false, sample(), false, "$2,8,plomvar,0.5\r"};
    QTest::newRow("20: failed identification") << WriteCase{sensorAt(20, {}, "123456789"), false, sample(), false, ""};
}

void ProtocolTest::write()
{
    QFETCH(WriteCase, c);
    LocaleGuard locale(localeFor(c.german));
    ProtocolRig rig(c.config);
    if (c.config.faultFor(2, 8) == SimFault::HangUp)
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("lost:")));
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(WriteSettings(rig.ctx(), c.values), c.result);
    // 50 ms after the level probe and 100 ms before the closing command, besides the commands.
    QVERIFY(!c.result || clock.elapsed() >= 150 + leastLineTime(rig.traffic()));
    QCOMPARE(rig.traffic(), identification(c.config.level) + c.writes);
    // The closing command is given 400 ms after level 12, 150 ms after level 20: an answer 300 ms
    // late is taken at level 12 and arrives after the write at level 20.
    if (c.config.faultFor(3, 0) == SimFault::Late) {
        QTest::qWait(300);
        QCOMPARE(rig.window.link().port().waiting() > 0, c.config.level == 20);
    }
}

// Exit during a read ends it there: nothing in it swallows the end of the program. A write that has
// sent values goes on to its closing command first, and the end comes at the next wait.
void ProtocolTest::exitEndsReadAtOnceAndWriteAtItsEnd()
{
    for (bool writing : {false, true}) {
        ProtocolRig rig;
        Waits &waits = rig.window.link().waits();
        QTimer::singleShot(300, &rig.window, [&waits, writing] { QVERIFY(waits.EndProgram() != writing && waits.endRequested()); });
        if (writing)
            QVERIFY(WriteSettings(rig.ctx(), sample()) && waits.programEnded());
        else
            QVERIFY_THROWS_EXCEPTION(ProgramEnded, ReadSettings(rig.ctx()));
        const QString sent = rig.traffic();
        QVERIFY2(sent.startsWith(identification(20)) && sent.endsWith(closing) == writing && !sent.endsWith("$1,33\r"),
                 qPrintable(sent));
        QTest::qWait(200);
        QCOMPARE(rig.traffic(), sent); // nothing goes out after Exit
    }
}

QTEST_MAIN(ProtocolTest)
#include "tst_protocol.moc"
