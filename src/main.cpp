#include "platform/SerialPort.h"
#include "ui/Artwork.h"
#include "ui/CommandLine.h"
#include "ui/Setup.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

namespace {

QtMessageHandler qtHandler = nullptr;

// Qt ends the process when the window system cannot be reached (no display, no platform plugin):
// after its own message, say so in one sentence and end with the status of a failed start.
void endFailedStart(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    qtHandler(type, context, message);
    if (type != QtFatalMsg)
        return;
    std::fputs("dravometer-setup: the window could not open: no graphical display could be reached "
               "(start it in a desktop session, or give Qt's -platform option).\n",
               stderr);
    std::fflush(stderr);
    std::_Exit(ExitNoWindow);
}

} // namespace

int main(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const CommandLine command(arguments);
    if (command.request() != CommandLine::Request::OpenWindow)
        return command.answer();

    qtHandler = qInstallMessageHandler(endFailedStart);
    QApplication app(argc, argv); // takes Qt's own options out of the arguments
    qInstallMessageHandler(qtHandler);
    app.setWindowIcon(windowIconArt());
    QGuiApplication::setDesktopFileName(QStringLiteral(APP_ID));
    Setup window(&SerialPort::systemPorts);
    window.show();
    if (!command.settingsFile().isEmpty())
        window.loadSettingsFile(command.settingsFile());
    return app.exec();
}
