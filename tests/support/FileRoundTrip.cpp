#include "FileRoundTrip.h"

#include "StatusRecorder.h"
#include "WindowInput.h"
#include "files/SettingsRecord.h"

#include <QtTest>

#include <cmath>

QStringList entryTexts(const Setup &window)
{
    QStringList texts;
    for (int c = int(Control::txtFactor); c <= int(Control::cbRejection); ++c)
        texts << window.text(Control(c));
    return texts;
}

QString loadThroughWindow(Setup &window, FakeDialogs &dialogs, const QString &path)
{
    StatusRecorder status(window);
    dialogs.answer(path);
    QTest::mouseClick(window.control(Control::Read_file), Qt::LeftButton);
    return status.texts().value(status.texts().size() - 1);
}

void saveMustRoundTrip(Setup &window, FakeDialogs &dialogs, const QString &path)
{
    QFile::remove(path);
    StatusRecorder status(window);
    dialogs.answer(path);
    QTest::mouseClick(window.control(Control::Save_settings), Qt::LeftButton);
    QVERIFY(actionButtonsEnabled(window));
    if (status.texts().last() != QStringLiteral("Settings Saved To File") + path) {
        QVERIFY(!QFile::exists(path));
        QCOMPARE(status.entries().last().colour, window.state().errorColor);
        return;
    }
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const std::optional<SensorSettings> saved = DecodeSettingsRecord(file.readAll());
    QVERIFY(saved);
    for (float v : {saved->pipeId, saved->kFactor, saved->setpoint4mA, saved->setpoint20mA, saved->lowFlowCutoff})
        QVERIFY(std::isfinite(v));
    QVERIFY(*saved == window.state().settings);

    Setup fresh(missingPorts());
    fresh.setFileDialogs(dialogs);
    QCOMPARE(loadThroughWindow(fresh, dialogs, path), QStringLiteral("Settings Read From File"));
    QVERIFY(fresh.state().settings == *saved);
    QCOMPARE(entryTexts(fresh), entryTexts(window));
}
