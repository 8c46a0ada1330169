#include "ui/Accessibility.h"

#include "ui/GroupFrame.h"

#include <QAccessibleWidget>
#include <QComboBox>
#include <QPlainTextEdit>

namespace {

bool creatingOwnInterface = false;

// Qt's own interface for a list, but named by the list's caption: on Linux Qt names a list by its
// shown text, so once a row is chosen the caption ("Time Base") is no longer read.
class CaptionedList : public QAccessibleInterface
{
public:
    CaptionedList(QComboBox *list, QAccessibleInterface *own) : m_list(list), m_own(own) {}
    Q_DISABLE_COPY_MOVE(CaptionedList)
    bool isValid() const override { return m_list && m_own->isValid(); }
    QObject *object() const override { return m_list; }
    QWindow *window() const override { return m_own->window(); }
    QList<QPair<QAccessibleInterface *, QAccessible::Relation>>
    relations(QAccessible::Relation match) const override
    {
        return m_own->relations(match);
    }
    QAccessibleInterface *focusChild() const override { return m_own->focusChild(); }
    QAccessibleInterface *childAt(int x, int y) const override { return m_own->childAt(x, y); }
    QAccessibleInterface *parent() const override { return m_own->parent(); }
    QAccessibleInterface *child(int index) const override { return m_own->child(index); }
    int childCount() const override { return m_own->childCount(); }
    int indexOfChild(const QAccessibleInterface *child) const override { return m_own->indexOfChild(child); }
    QString text(QAccessible::Text t) const override
    {
        const bool captioned = t == QAccessible::Name && m_list && !m_list->accessibleName().isEmpty();
        return captioned ? m_list->accessibleName() : m_own->text(t);
    }
    void setText(QAccessible::Text t, const QString &text) override { m_own->setText(t, text); }
    QRect rect() const override { return m_own->rect(); }
    QAccessible::Role role() const override { return m_own->role(); }
    QAccessible::State state() const override { return m_own->state(); }
    void *interface_cast(QAccessible::InterfaceType type) override { return m_own->interface_cast(type); }

private:
    QPointer<QComboBox> m_list;
    QAccessibleInterface *m_own; // kept by Qt's accessibility cache
};

// Qt's accessibility cache owns what a factory returns.
QAccessibleInterface *windowRoles(const QString &, QObject *object)
{
    if (creatingOwnInterface)
        return nullptr;
    if (auto *group = qobject_cast<GroupFrame *>(object))
        return new QAccessibleWidget(group, QAccessible::Grouping);
    auto *status = qobject_cast<QPlainTextEdit *>(object);
    if (status && status->objectName() == QLatin1String("txtmsg"))
        return new QAccessibleWidget(status, QAccessible::Notification);
    auto *list = qobject_cast<QComboBox *>(object);
    if (!list)
        return nullptr;
    creatingOwnInterface = true;
    QAccessibleInterface *own = QAccessible::queryAccessibleInterface(list);
    creatingOwnInterface = false;
    return own ? new CaptionedList(list, own) : nullptr;
}

} // namespace

void installAccessibleRoles()
{
    static const bool installed = [] {
        QAccessible::installFactory(windowRoles);
        return true;
    }();
    Q_UNUSED(installed);
}
