#include "WindowInput.h"

#include <QComboBox>
#include <QLineEdit>
#include <QtTest>

namespace {

void retype(QLineEdit *edit, const QString &text)
{
    QVERIFY(edit);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

} // namespace

QStringList missingPorts()
{
    QStringList paths;
    for (int port = 1; port <= 8; ++port)
        paths << QStringLiteral("/nonexistent/ttyTest%1").arg(port);
    return paths;
}

void typeText(Setup &window, Control box, const QString &text)
{
    retype(qobject_cast<QLineEdit *>(window.control(box)), text);
}

void typeListText(Setup &window, Control list, const QString &text)
{
    auto *combo = qobject_cast<QComboBox *>(window.control(list));
    retype(combo ? combo->lineEdit() : nullptr, text);
}
