#include "platform/SerialPort.h"
#include "ui/Artwork.h"
#include "ui/Setup.h"

#include <QApplication>

int main(int, char *argv[])
{
    // The tool takes no command line: Qt sees the program name only.
    int qtArgc = 1;
    char *qtArgv[] = {argv[0], nullptr};
    QApplication app(qtArgc, qtArgv);
    app.setWindowIcon(windowIconArt());
    QGuiApplication::setDesktopFileName(QStringLiteral(APP_ID));
    Setup window(&SerialPort::systemPorts);
    window.show();
    return app.exec();
}
