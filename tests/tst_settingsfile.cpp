#include "files/SettingsFile.h"
#include "files/SettingsRecord.h"

#include <QtEndian>
#include <QtTest>

#include <cstring>

namespace {

SensorSettings sample()
{
    SensorSettings s;
    s.outputUnit = 3;
    s.timeUnit = 2;
    s.pipeId = 101.6f;
    s.pipeIdUnit = 1;
    s.kFactor = 65.7667f;
    s.kFactorUnit = 1;
    s.setpoint4mA = -2.5f;
    s.setpoint20mA = 300.25f;
    s.lowFlowCutoff = 0.05f;
    s.averaging = 7;
    s.sensitivity = 3;
    s.noiseRejection = 1;
    return s;
}

float floatAt(const QByteArray &bytes, int offset)
{
    const auto bits = qFromLittleEndian<std::uint32_t>(bytes.constData() + offset);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

qint16 int16At(const QByteArray &bytes, int offset)
{
    return qFromLittleEndian<qint16>(bytes.constData() + offset);
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class SettingsFileTest : public QObject
{
    Q_OBJECT
private slots:
    void layoutHasNoGaps();
    void decodeNeedsWholeRecord_data();
    void decodeNeedsWholeRecord();
    void extension_data();
    void extension();
    void saveThenLoadReproducesEveryField();
    void savingOverLongerFileLeavesExactRecord();
    void failedSaveKeepsOldFile();
    void shortFileChangesNothing();
    void missingFileFailsToOpen();
};

void SettingsFileTest::layoutHasNoGaps()
{
    const QByteArray bytes = EncodeSettingsRecord(sample());
    QCOMPARE(bytes.size(), settingsRecordSize);
    QCOMPARE(int16At(bytes, 0), qint16(3));
    QCOMPARE(int16At(bytes, 2), qint16(2));
    QCOMPARE(floatAt(bytes, 4), 101.6f);
    QCOMPARE(int16At(bytes, 8), qint16(1));
    QCOMPARE(floatAt(bytes, 10), 65.7667f);
    QCOMPARE(int16At(bytes, 14), qint16(1));
    QCOMPARE(floatAt(bytes, 16), -2.5f);
    QCOMPARE(floatAt(bytes, 20), 300.25f);
    QCOMPARE(floatAt(bytes, 24), 0.05f);
    QCOMPARE(int16At(bytes, 28), qint16(7));
    QCOMPARE(int16At(bytes, 30), qint16(3));
    QCOMPARE(int16At(bytes, 32), qint16(1));
}

void SettingsFileTest::decodeNeedsWholeRecord_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("decoded");
    QTest::newRow("empty") << 0 << false;
    QTest::newRow("one short") << 33 << false;
    QTest::newRow("exact") << 34 << true;
    QTest::newRow("longer, first 34 count") << 40 << true;
}

void SettingsFileTest::decodeNeedsWholeRecord()
{
    QFETCH(int, size);
    QFETCH(bool, decoded);
    const QByteArray bytes = (EncodeSettingsRecord(sample()) + QByteArray(64, '\x7f')).left(size);
    const std::optional<SensorSettings> record = DecodeSettingsRecord(bytes);
    QCOMPARE(record.has_value(), decoded);
    if (decoded)
        QVERIFY(*record == sample());
}

void SettingsFileTest::extension_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("bdf") << "/tmp/a.bdf" << true;
    QTest::newRow("upper case") << "/tmp/A.BDF" << true;
    QTest::newRow("mixed case") << "/tmp/a.Bdf" << true;
    QTest::newRow("txt") << "/tmp/a.txt" << false;
    QTest::newRow("no extension") << "/tmp/bdf" << false;
    QTest::newRow("bdf inside the name") << "/tmp/a.bdf.txt" << false;
}

void SettingsFileTest::extension()
{
    QFETCH(QString, path);
    QFETCH(bool, accepted);
    QCOMPARE(HasSettingsExtension(path), accepted);
}

void SettingsFileTest::saveThenLoadReproducesEveryField()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("site.bdf");
    QCOMPARE(SaveSettingsFile(path, sample()), FileResult::Ok);
    QCOMPARE(QFileInfo(path).size(), qint64(settingsRecordSize));
    SensorSettings loaded;
    QCOMPARE(LoadSettingsFile(path, loaded), FileResult::Ok);
    QVERIFY(loaded == sample());
}

void SettingsFileTest::savingOverLongerFileLeavesExactRecord()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("site.bdf");
    writeAll(path, QByteArray(100, 'x'));
    QCOMPARE(SaveSettingsFile(path, sample()), FileResult::Ok);
    QCOMPARE(readAll(path), EncodeSettingsRecord(sample()));
}

void SettingsFileTest::failedSaveKeepsOldFile()
{
    QTemporaryDir dir;
    // A folder cannot be replaced by a file: the save must fail and leave the folder's content alone.
    const QString blocked = dir.filePath("taken.bdf");
    QVERIFY(QDir(dir.path()).mkdir("taken.bdf"));
    QVERIFY(SaveSettingsFile(blocked, sample()) != FileResult::Ok);
    QVERIFY(QFileInfo(blocked).isDir());

    // A path below a plain file has no folder to write into.
    const QString plain = dir.filePath("plain");
    writeAll(plain, "keep");
    QCOMPARE(SaveSettingsFile(plain + "/site.bdf", sample()), FileResult::OpenFailed);
    QCOMPARE(readAll(plain), QByteArray("keep"));
}

void SettingsFileTest::shortFileChangesNothing()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("short.bdf");
    writeAll(path, EncodeSettingsRecord(sample()).left(20));
    SensorSettings settings; // defaults
    QCOMPARE(LoadSettingsFile(path, settings), FileResult::TransferFailed);
    QVERIFY(settings == SensorSettings());
}

void SettingsFileTest::missingFileFailsToOpen()
{
    QTemporaryDir dir;
    SensorSettings settings;
    QCOMPARE(LoadSettingsFile(dir.filePath("none.bdf"), settings), FileResult::OpenFailed);
    QVERIFY(settings == SensorSettings());
}

QTEST_GUILESS_MAIN(SettingsFileTest)
#include "tst_settingsfile.moc"
