#include "core/Progress.h"

#include "state/Messages.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace {

// Windows names its ports "COMn" itself, and the search's numbers need not match them: such a port is
// shown by its own name only, so that no text shows it under two COM numbers.
bool hasComName(const QString &device)
{
    static const QRegularExpression comName(QStringLiteral("^COM[0-9]+$"));
    return comName.match(device).hasMatch();
}

} // namespace

StepProgress searchProgress(SetupContext &ctx)
{
    return [&ctx](int port, int total) {
        const QString device = ctx.link.port().devicePath(port);
        QString text = QStringLiteral("COM%1 of %2").arg(port).arg(total);
        if (hasComName(device))
            text = QStringLiteral("%1 (port %2 of %3)").arg(device).arg(port).arg(total);
        else if (!device.isEmpty())
            text += QStringLiteral(" (%1)").arg(device);
        ctx.view.showProgress(port, total, text);
    };
}

StepProgress parameterProgress(SetupView &view)
{
    return [&view](int step, int total) {
        view.showProgress(step, total, QStringLiteral("Parameter %1 of %2").arg(step).arg(total));
    };
}

QStringList skippedPortLines(const QList<SkippedPort> &skipped)
{
    QStringList lines;
    for (const SkippedPort &port : skipped) {
        const QString name = hasComName(port.device)
            ? port.device + QStringLiteral(": ")
            : QStringLiteral("COM%1 (%2): ").arg(port.number).arg(port.device);
        if (port.reason == OpenFailure::Busy) {
            lines << name + messageText(Message::PortInUse);
            continue;
        }
        // Serial devices belong to a group whose members may open them; root's is no cure to give.
        QString group = QFileInfo(port.device).group();
        if (group.isEmpty() || group == QLatin1String("root"))
            group = QStringLiteral("dialout");
        lines << name + messageText(Message::PortNotPermitted, group);
    }
    return lines;
}
