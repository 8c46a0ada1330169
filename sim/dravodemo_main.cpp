// The real window wired to a simulated adaptor and sensor, so the tool can be tried without hardware:
// a level-20 4-20 mA sensor on COM3; COM1 is a serial line with no adaptor, COM2 has no device.
#include "SimulatedPort.h"
#include "ui/Artwork.h"
#include "ui/Setup.h"

#include <QApplication>
#include <QTextStream>

int main(int, char *argv[])
{
    int qtArgc = 1;
    char *qtArgv[] = {argv[0], nullptr};
    QApplication app(qtArgc, qtArgv);
    app.setWindowIcon(windowIconArt());

    SimConfig config;
    config.level = 20;
    config.loopOutput = true;
    SimulatedPort sensor(config);
    SimulatedPort noAdaptor(silentPort());
    if (!sensor.isValid() || !noAdaptor.isValid()) {
        QTextStream(stderr) << "Could not open a pseudo-terminal for the simulated sensor\n";
        return 1;
    }
    QTextStream(stdout) << "Simulated sensor on COM3 (" << sensor.path() << ")" << Qt::endl;

    Setup window(fixedPorts({noAdaptor.path(), QString(), sensor.path()}));
    window.setWindowTitle(window.windowTitle() + QStringLiteral(" - demo"));
    window.show();
    window.activateWindow(); // an X server without a window manager activates no window by itself
    return app.exec();
}
