// Renders the real window, headless, as a technician leaves it after each everyday task, driven
// by button clicks against simulated sensors, into PNG files in the folder named by the argument:
//   screenshot.png                the window just after start-up
//   task-read-and-save.png        a sensor read and its settings kept in a file
//   task-configure-from-file.png  a new sensor read, given the settings of that file, written
//   task-restore-factory.png      a sensor read, factory settings restored and written
#include "SimulatedPort.h"
#include "ui/Setup.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QTextStream>

namespace {

// The file the technician picks in the open and save dialogs.
struct PickedFile : FileDialogs
{
    QString path;
    std::optional<QString> openSettingsFile() override { return path; }
    std::optional<QString> saveSettingsFile() override { return path; }
};

// A sensor at work in a plant: US gallons per minute in a 4-inch pipe, its own loop span and
// performance settings. A new sensor keeps the simulator's factory values.
void installSettings(SimulatedSensor &sensor)
{
    const std::pair<int, const char *> values[] = {
        {35, "5"},  {44, "1"},   {37, "4.026"}, {53, "1"}, {45, "25.47"}, {33, "0"},
        {27, "0"},  {28, "250"}, {36, "2.5"},   {13, "4"}, {14, "5"},     {16, "1"},
    };
    for (const auto &[parameter, text] : values)
        sensor.setValue(parameter, text);
}

SimConfig sensorConfig(const char *serial)
{
    SimConfig config;
    config.serial = QString::fromLatin1(serial);
    return config;
}

void click(Setup &window, Control button)
{
    // Returns when the button's workflow has ended.
    qobject_cast<QAbstractButton *>(window.control(button))->click();
}

// A palette image: a quarter of the bytes of full colour, and the window has few colours.
bool save(Setup &window, const QDir &folder, const QString &name)
{
    window.resize(window.sizeHint());
    QApplication::processEvents();
    const QString path = folder.filePath(name);
    const QImage image =
        window.grab().toImage().convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
    if (image.save(path))
        return true;
    QTextStream(stderr) << "could not write " << path << "\n";
    return false;
}

// A task's picture shows its success; anything else is reported and leaves the run failed.
bool saveSuccess(Setup &window, const QDir &folder, const QString &name)
{
    if (window.statusKind() == MessageKind::Good)
        return save(window, folder, name);
    QTextStream(stderr) << name << ": the task did not succeed: " << window.text(Control::txtmsg) << "\n";
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() != 2) {
        QTextStream(stderr) << "usage: dravoscreenshot <folder>\n";
        return 2;
    }
    const QDir out(arguments.at(1));
    // A fixed, plain folder, so that the path in the status line reads well and stays the same.
    QDir files(QDir::temp().filePath(QStringLiteral("sensor-settings")));
    PickedFile picked;
    picked.path = files.filePath(QStringLiteral("pump-station-3.bdf"));
    if (!files.mkpath(QStringLiteral("."))) {
        QTextStream(stderr) << "could not make " << files.path() << "\n";
        return 1;
    }

    bool ok = true;
    {
        Setup window{QStringList()};
        window.show();
        ok = save(window, out, QStringLiteral("screenshot.png")) && ok;
    }
    {
        SimulatedPort sensor(sensorConfig("DV20150417"));
        installSettings(sensor.sensor());
        Setup window({sensor.path()});
        window.setFileDialogs(picked);
        window.show();
        click(window, Control::cmdReadSensor);
        click(window, Control::Save_settings);
        ok = saveSuccess(window, out, QStringLiteral("task-read-and-save.png")) && ok;
    }
    {
        SimulatedPort sensor(sensorConfig("DV20161102"));
        Setup window({sensor.path()});
        window.setFileDialogs(picked);
        window.show();
        click(window, Control::cmdReadSensor);
        click(window, Control::Read_file);
        click(window, Control::cmdSaveSensor);
        ok = saveSuccess(window, out, QStringLiteral("task-configure-from-file.png")) && ok;
    }
    {
        SimulatedPort sensor(sensorConfig("DV20150417"));
        installSettings(sensor.sensor());
        Setup window({sensor.path()});
        window.show();
        click(window, Control::cmdReadSensor);
        click(window, Control::default_);
        click(window, Control::cmdSaveSensor);
        ok = saveSuccess(window, out, QStringLiteral("task-restore-factory.png")) && ok;
    }
    QFile::remove(picked.path);
    files.rmdir(QStringLiteral("."));
    return ok ? 0 : 1;
}
