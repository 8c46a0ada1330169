#include "ui/CommandLine.h"

#include <QFileInfo>
#include <QTextStream>

#include <cstdio>
#include <utility>

namespace {

// Qt's own options, taken by QApplication (and its platform plugin) from the same arguments; a value
// name means the option takes a value.
const std::pair<const char *, const char *> qtOptions[] = {
    {"platform", "name[:options]"}, {"platformpluginpath", "path"}, {"platformtheme", "theme"},
    {"plugin", "plugin"},
    {"style", "style"}, {"stylesheet", "file"}, {"qwindowgeometry", "geometry"}, {"geometry", "geometry"},
    {"qwindowtitle", "title"}, {"title", "title"}, {"qwindowicon", "icon"}, {"icon", "icon"},
    {"display", "display"}, {"name", "name"}, {"visual", "id"}, {"session", "session"},
    {"qmljsdebugger", "options"}, {"reverse", nullptr}, {"widgetcount", nullptr}, {"testability", nullptr},
    {"nograb", nullptr}, {"dograb", nullptr},
};

const char exitStatuses[] = "\nExit status:\n"
                            "  0  ended by Exit or the close box, or help or the version printed\n"
                            "  1  a wrong command line: unknown option, missing value, two files\n"
                            "  2  the window could not open: no graphical display was reached\n";

} // namespace

CommandLine::CommandLine(const QStringList &arguments) : m_program(QFileInfo(arguments.value(0)).fileName())
{
    m_parser.setApplicationDescription(QStringLiteral(
        "Configures 7-6610 and 7-6620 Dravometer electromagnetic flow sensors"
        " through the 7-0410 serial adaptor."));
    // Qt's options are single-dash words (-platform, -style), which must not read as bundled letters.
    m_parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    m_parser.addHelpOption();
    m_parser.addVersionOption();
    for (const auto &[name, valueName] : qtOptions) {
        QCommandLineOption option(QString::fromLatin1(name), QStringLiteral("Qt's own option."),
                                  QString::fromLatin1(valueName));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        m_parser.addOption(option);
    }
    m_parser.addPositionalArgument(
        QStringLiteral("file"),
        QStringLiteral("A .bdf settings file to load into the window, as \"Load Settings From File\" does; "
                       "nothing is sent to the sensor."),
        QStringLiteral("[file]"));

    const QStringList files = m_parser.parse(arguments) ? m_parser.positionalArguments() : QStringList();
    if (!m_parser.errorText().isEmpty())
        m_complaint = m_parser.errorText();
    else if (files.size() > 1)
        m_complaint = QStringLiteral("Give one settings file at most.");
    if (!m_complaint.isEmpty())
        m_request = Request::Refuse;
    else if (m_parser.isSet(QStringLiteral("help")) || m_parser.isSet(QStringLiteral("help-all")))
        m_request = Request::ShowHelp;
    else if (m_parser.isSet(QStringLiteral("version")))
        m_request = Request::ShowVersion;
    else if (!files.isEmpty())
        // The status line shows the path: where the file is, as the file dialog would tell.
        m_settingsFile = QFileInfo(files.constFirst()).absoluteFilePath();
}

int CommandLine::answer() const
{
    // Qt names the program in the usage line after the application's first argument; before any
    // application exists, as here, it writes a placeholder.
    const QString usage = m_parser.helpText().replace(QStringLiteral("<executable_name>"), m_program);
    switch (m_request) {
    case Request::ShowHelp: {
        QTextStream out(stdout);
        out << usage << exitStatuses;
        if (m_parser.isSet(QStringLiteral("help-all"))) {
            out << "\nQt's options, passed to Qt:\n";
            for (const auto &[name, valueName] : qtOptions)
                out << "  -" << name << (valueName ? " <" + QString::fromLatin1(valueName) + '>' : QString())
                    << '\n';
        }
        return ExitOk;
    }
    case Request::ShowVersion:
        QTextStream(stdout) << m_program << ' ' << APP_VERSION << '\n';
        return ExitOk;
    case Request::Refuse:
        QTextStream(stderr) << m_program << ": " << m_complaint << "\n\n" << usage;
        return ExitBadCommandLine;
    case Request::OpenWindow:
        break;
    }
    return ExitOk;
}
