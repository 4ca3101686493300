#pragma once
// What the command-line tests share: quorzk-sim on a pseudo-terminal, a run of quorzk-cli,
// the memory quorzk-sim serves, and a file's bytes.
#include "model/memory_image.h"
#include "sim/emulator.h"
#include "sim/presets.h"

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace qz::test {

inline const QString kBin = QStringLiteral(QUORZK_BINARY_DIR);

// A quorzk-sim process, stopped with the test.
class SimProcess {
public:
    explicit SimProcess(const QStringList& args)
    {
        p_.setProgram(kBin + "/quorzk-sim");
        p_.setArguments(args);
        p_.start();
        if (p_.waitForStarted(10000) && p_.waitForReadyRead(10000))
            path_ = QString::fromUtf8(p_.readLine()).trimmed();
    }
    ~SimProcess()
    {
        p_.terminate();
        if (!p_.waitForFinished(5000)) {
            p_.kill();
            p_.waitForFinished(5000);
        }
    }
    const QString& path() const { return path_; }

private:
    QProcess p_;
    QString path_;
};

struct CliRun {
    int exitCode = -1;
    QString out;
    QString err;
};

// quorzk-cli in the given environment (the test's own by default).
inline CliRun cli(const QStringList& args,
                  const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment())
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(kBin + "/quorzk-cli", args);
    CliRun r;
    if (!p.waitForFinished(120000)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

// The memory quorzk-sim generates for the same options, made here in-process.
inline QByteArray loggerMemory(const sim::MemoryPreset& preset)
{
    sim::Emulator emulator;
    sim::loadMemory(emulator.logger(), preset);
    return QByteArray(reinterpret_cast<const char*>(emulator.logger().memory()),
                      qsizetype(mem::kLoggerMemorySize));
}

inline QByteArray readFile(const QString& name)
{
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace qz::test
