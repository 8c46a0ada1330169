#pragma once
#include <QLocale>

// Switches every default QLocale for the life of the guard, so a test can run under another locale.
class LocaleGuard
{
public:
    explicit LocaleGuard(const QLocale &locale) : m_previous(QLocale()) { QLocale::setDefault(locale); }
    ~LocaleGuard() { QLocale::setDefault(m_previous); }
    LocaleGuard(const LocaleGuard &) = delete;
    LocaleGuard &operator=(const LocaleGuard &) = delete;

    static QLocale english() { return QLocale(QLocale::English, QLocale::UnitedStates); }
    static QLocale german() { return QLocale(QLocale::German, QLocale::Germany); }

private:
    QLocale m_previous;
};
