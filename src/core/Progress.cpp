#include "core/Progress.h"

#include <QFileInfo>

StepProgress SearchProgress(SetupContext &ctx)
{
    return [&ctx](int port, int total) {
        const QString device = ctx.link.port().devicePath(port);
        QString text = QStringLiteral("COM%1 of %2").arg(port).arg(total);
        if (!device.isEmpty())
            text += QStringLiteral(" (%1)").arg(device);
        ctx.view.showProgress(port, total, text);
    };
}

StepProgress ParameterProgress(SetupView &view)
{
    return [&view](int step, int total) {
        view.showProgress(step, total, QStringLiteral("Parameter %1 of %2").arg(step).arg(total));
    };
}

QStringList SkippedPortLines(const QList<SkippedPort> &skipped)
{
    QStringList lines;
    for (const SkippedPort &port : skipped) {
        const QString name = QStringLiteral("COM%1 (%2): ").arg(port.number).arg(port.device);
        if (port.reason == OpenFailure::Busy) {
            lines << name + QStringLiteral("in use by another program");
            continue;
        }
        // Serial devices belong to a group whose members may open them; root's is no cure to give.
        QString group = QFileInfo(port.device).group();
        if (group.isEmpty() || group == QLatin1String("root"))
            group = QStringLiteral("dialout");
        lines << name + QStringLiteral("permission denied - add your user to the '%1' group, then log in again").arg(group);
    }
    return lines;
}
