#pragma once
// Sets an environment variable for one test and puts the old value back.
#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <optional>

namespace qz::test {

class ScopedEnv {
public:
    ScopedEnv(const char* name, const QString& value)
        : name_(name), old_(qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt)
    {
        qputenv(name_, value.toLocal8Bit());
    }
    ~ScopedEnv()
    {
        if (old_)
            qputenv(name_, *old_);
        else
            qunsetenv(name_);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    std::optional<QByteArray> old_;
};

} // namespace qz::test
