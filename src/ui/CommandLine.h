#pragma once
#include <QCommandLineParser>
#include <QStringList>

// How the program ends, for scripts and desktop sessions; `--help` lists them.
enum ExitStatus : int {
    ExitOk = 0, // ended by Exit or the close box, or help or the version printed
    ExitBadCommandLine = 1, // an unknown option, a missing value, more than one file
    ExitNoWindow = 2, // the window could not open: no graphical display
};

// The program's arguments, read before any window exists: help and the version need no display,
// and Qt's own options (-platform, -style, ...) are accepted here and left for QApplication.
class CommandLine
{
public:
    enum class Request { OpenWindow, ShowHelp, ShowVersion, Refuse };

    explicit CommandLine(const QStringList &arguments);

    Request request() const { return m_request; }
    // The settings file to load into the window, as an absolute path; empty when none was given.
    QString settingsFile() const { return m_settingsFile; }
    // Prints the help, the version or the complaint with the usage, and returns the exit status.
    int answer() const;

private:
    QCommandLineParser m_parser;
    QString m_program;
    Request m_request = Request::OpenWindow;
    QString m_settingsFile;
    QString m_complaint;
};
