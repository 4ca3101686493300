#include "link/modem_init.h"

#include "link/dialer_texts.h"
#include "platform/regular_file.h"

#include <QFileInfo>

namespace qz {

namespace {

// Far above any real file: a few dozen short lines.
constexpr qint64 kMaxInitFileSize = 64 * 1024;

bool isCommand(const QByteArray& line)
{
    return line.size() >= 2 && (line[0] == 'A' || line[0] == 'a') && (line[1] == 'T' || line[1] == 't');
}

} // namespace

QList<QByteArray> modemInitCommands(const QByteArray& content)
{
    QList<QByteArray> commands;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= content.size(); ++i) {
        if (i < content.size() && content[i] != '\n' && content[i] != '\r')
            continue;
        const QByteArray line = content.mid(start, i - start);
        if (isCommand(line))
            commands << line;
        start = i + 1;
    }
    return commands;
}

ModemInit readModemInit(const QString& path)
{
    ModemInit init;
    if (path.isEmpty())
        return init;
    // A file moved or deleted since it was chosen: its commands cannot be had, and a modem
    // that answers without them is more use than no call at all.
    if (!QFileInfo(path).exists()) {
        init.notFound = true;
        return init;
    }
    QFile file;
    const FileOpenResult opened = openRegularFile(file, path);
    if (!opened.ok()) {
        init.ok = false;
        init.reason = opened.reason;
        return init;
    }
    const QByteArray content = file.read(kMaxInitFileSize + 1);
    if (content.size() > kMaxInitFileSize) {
        init.ok = false;
        init.reason = QStringLiteral("File too large for a modem initialisation file");
        return init;
    }
    init.commands = modemInitCommands(content);
    return init;
}

QString modemInitMessage(const QString& path, const ModemInit& init)
{
    if (init.ok)
        return texts::modemInitError();
    return texts::modemInitError() + QStringLiteral("\n%1: %2").arg(path, init.reason);
}

QString modemInitNotFoundMessage(const QString& path)
{
    return texts::modemInitNotFound(path);
}

bool isModemInitFile(const QString& path)
{
    return QFileInfo(path).suffix().compare(QLatin1String("mdm"), Qt::CaseInsensitive) == 0;
}

QString modemInitShownName(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.indexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.left(dot);
}

} // namespace qz
