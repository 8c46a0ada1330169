// Serves one simulated adaptor and sensor on a pseudo-terminal until killed.
#include "SimulatedPort.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Simulated 7-0410 adaptor with a Dravometer behind it, on a pseudo-terminal."));
    parser.addHelpOption();
    const QCommandLineOption level(QStringLiteral("level"), QStringLiteral("Command-set level, 12 or 20."),
                                   QStringLiteral("level"), QStringLiteral("20"));
    const QCommandLineOption type(QStringLiteral("type"), QStringLiteral("Output type: r2w or ma."),
                                  QStringLiteral("type"), QStringLiteral("ma"));
    const QCommandLineOption serial(QStringLiteral("serial"), QStringLiteral("Serial number as shown."),
                                    QStringLiteral("text"), QStringLiteral("DV12345678"));
    const QCommandLineOption latency(QStringLiteral("latency"), QStringLiteral("Answer latency in ms."),
                                     QStringLiteral("ms"), QStringLiteral("3"));
    const QCommandLineOption noSensor(QStringLiteral("no-sensor"),
                                      QStringLiteral("An adaptor with no sensor behind it."));
    const QCommandLineOption noAdaptor(QStringLiteral("no-adaptor"),
                                       QStringLiteral("A port on which nothing answers."));
    const QCommandLineOption log(QStringLiteral("log"),
                                 QStringLiteral("Appends every command line the sensor receives to a file."),
                                 QStringLiteral("file"));
    parser.addOptions({level, type, serial, latency, noSensor, noAdaptor, log});
    parser.process(app);

    SimConfig config;
    config.level = parser.value(level).toInt() == 12 ? 12 : 20;
    config.loopOutput = parser.value(type).compare(QLatin1String("r2w"), Qt::CaseInsensitive) != 0;
    config.serial = parser.value(serial);
    config.latencyMs = config.helloLatencyMs = parser.value(latency).toInt();
    config.sensor = !parser.isSet(noSensor);
    config.adaptor = !parser.isSet(noAdaptor);

    SimulatedPort port(config);
    if (!port.isValid())
        return 1;
    QFile logFile(parser.value(log));
    if (parser.isSet(log)) {
        if (!logFile.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
            return 1;
        QObject::connect(&port, &SimulatedPort::lineReceived, &logFile,
                         [&logFile](const QByteArray &line) { logFile.write(line); });
    }
    QTextStream(stdout) << port.path() << Qt::endl;
    return app.exec();
}
