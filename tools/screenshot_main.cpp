// Renders the window as it opens, with no serial ports, into the PNG file named by the argument.
#include "ui/Setup.h"

#include <QApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() != 2) {
        QTextStream(stderr) << "usage: dravoscreenshot <file.png>\n";
        return 2;
    }
    Setup window{QStringList()};
    window.show();
    // The natural size, even where the virtual screen is smaller than the scaled window.
    window.resize(window.sizeHint());
    QApplication::processEvents();
    if (!window.grab().save(arguments.at(1))) {
        QTextStream(stderr) << "could not write " << arguments.at(1) << "\n";
        return 1;
    }
    return 0;
}
