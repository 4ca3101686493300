#pragma once
// Sets the default locale for one test and restores the previous one afterwards.
#include <QLocale>

namespace qz::test {

class LocaleGuard {
public:
    explicit LocaleGuard(const QLocale& locale) : saved_(QLocale()) { QLocale::setDefault(locale); }
    ~LocaleGuard() { QLocale::setDefault(saved_); }
    LocaleGuard(const LocaleGuard&) = delete;
    LocaleGuard& operator=(const LocaleGuard&) = delete;

    static QLocale english() { return QLocale(QLocale::English, QLocale::UnitedStates); }
    static QLocale german() { return QLocale(QLocale::German, QLocale::Germany); }

private:
    QLocale saved_;
};

} // namespace qz::test
