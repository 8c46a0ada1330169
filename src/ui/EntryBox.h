#pragma once
#include <QLineEdit>

// An entry box that limits what the user types to maxChars characters, while a text set by the
// program is shown whole: cutting "-12345.68" to "-12345.6" would show, and later write, a
// different number. Once such a long text is edited back to maxChars, the limit applies again.
class EntryBox : public QLineEdit
{
    Q_OBJECT
public:
    EntryBox(int maxChars, QWidget *parent);

    int maxChars() const { return m_maxChars; }
    void showText(const QString &text);

    QSize sizeHint() const override;

private:
    void restoreLimit(const QString &text);

    int m_maxChars;
};
