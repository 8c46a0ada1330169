#include "files/SettingsFile.h"

#include "files/SettingsRecord.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

bool hasSettingsExtension(const QString &path)
{
    return QFileInfo(path).suffix().compare(QLatin1String("bdf"), Qt::CaseInsensitive) == 0;
}

FileResult readSettingsFile(const QString &path, SensorSettings &settings)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return FileResult::OpenFailed;
    const std::optional<SensorSettings> loaded = decodeSettingsRecord(file.read(settingsRecordSize));
    if (!loaded)
        return FileResult::TransferFailed;
    settings = *loaded;
    return FileResult::Ok;
}

FileResult writeSettingsFile(const QString &path, const SensorSettings &settings)
{
    QSaveFile file(path);
    // Unbuffered, so a short write (a full disk) shows in write()'s count: a buffered one is lost in
    // commit(), which then replaces the earlier file with a cut record.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return FileResult::OpenFailed;
    const QByteArray record = encodeSettingsRecord(settings);
    if (file.write(record) != record.size() || !file.commit())
        return FileResult::TransferFailed;
    return FileResult::Ok;
}
