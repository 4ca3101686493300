#pragma once
// What the command-line tests share: quorzk-sim on a pseudo-terminal, a run of quorzk-cli,
// the memory quorzk-sim serves, and a file's bytes.
#include "model/memory_image.h"
#include "sim/emulator.h"
#include "sim/presets.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <unistd.h>

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

// quorzk-cli in a folder of its own, with the data files beside it: the settings file it
// reads is the folder's QUORZK.INI, which a test may write, and no settings file left in
// the build folder can name a port for it. The program is a hard link where it can be.
class CliFolder {
public:
    CliFolder() : dir_(kBin + "/cli-folder-XXXXXX")
    {
        const QString program = dir_.filePath("quorzk-cli");
        if (::link(QFile::encodeName(kBin + "/quorzk-cli").constData(),
                   QFile::encodeName(program).constData())
            != 0)
            QFile::copy(kBin + "/quorzk-cli", program);
        for (const QString& name : QDir(kBin).entryList({"*.ini", "*.mdm"}, QDir::Files))
            if (name != "QUORZK.INI")
                QFile::copy(kBin + "/" + name, dir_.filePath(name));
    }
    QString program() const { return dir_.filePath("quorzk-cli"); }
    QString settingsFile() const { return dir_.filePath("QUORZK.INI"); }
    // Writes the settings file, or removes it for empty text.
    bool setSettings(const QByteArray& text) const
    {
        QFile::remove(settingsFile());
        QFile f(settingsFile());
        return text.isEmpty() || (f.open(QIODevice::WriteOnly) && f.write(text) == text.size());
    }

private:
    QTemporaryDir dir_;
};

// The folder the command-line tests run quorzk-cli from, with no settings file.
inline const CliFolder& cliFolder()
{
    static const CliFolder folder;
    return folder;
}

struct CliRun {
    int exitCode = -1;
    QString out;
    QString err;
};

// quorzk-cli in the given environment (the test's own by default).
inline CliRun cli(const QStringList& args,
                  const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment(),
                  const QString& program = cliFolder().program())
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program, args);
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
