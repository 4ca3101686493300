#include "fleet/fleet_file.h"

#include "model/ini_file.h"

#include <QDir>
#include <QFileInfo>

#include <set>

namespace qz {

namespace {

const QString kStore = QStringLiteral("Store");
const QString kLoggerPrefix = QStringLiteral("Logger ");

bool same(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool isLoggerSection(const QString& name)
{
    return name.startsWith(kLoggerPrefix, Qt::CaseInsensitive) || same(name, kLoggerPrefix.trimmed());
}

class FleetParser {
public:
    FleetParser(const QString& path, FleetError& error)
        : path_(path), folder_(QFileInfo(path).absolutePath()), error_(error)
    {
        fleet_.path = path;
    }

    std::optional<FleetFile> parse(const IniFile& ini);

private:
    bool fail(int line, const QString& reason)
    {
        error_ = {path_, line, reason};
        return false;
    }
    bool section(const IniLine& l);
    bool key(const IniLine& l);
    bool storeKey(const IniLine& l);
    bool loggerKey(const IniLine& l, FleetLogger& logger);
    bool flag(const IniLine& l, bool& out);
    bool finish();

    QString path_;
    QString folder_;
    FleetError& error_;
    FleetFile fleet_;
    QString current_; // the section being read
    int sectionLine_ = 0;
    std::set<QString> keysSeen_; // of the current section, lower case
    std::set<QString> sectionsSeen_;
};

bool FleetParser::section(const IniLine& l)
{
    const QString name = l.section;
    if (!sectionsSeen_.insert(name.toLower()).second)
        return fail(l.number, QStringLiteral("the section [%1] is there twice").arg(name));
    if (isLoggerSection(name)) {
        FleetLogger logger;
        logger.label = name.mid(kLoggerPrefix.size()).trimmed();
        logger.line = l.number;
        if (logger.label.isEmpty())
            return fail(l.number, QStringLiteral("a logger section needs a label: [Logger LABEL]"));
        fleet_.loggers.push_back(logger);
    } else if (!same(name, kStore)) {
        return fail(
            l.number,
            QStringLiteral("unknown section [%1] (sections are [Store] and [Logger LABEL])").arg(name));
    }
    current_ = name;
    sectionLine_ = l.number;
    keysSeen_.clear();
    return true;
}

bool FleetParser::flag(const IniLine& l, bool& out)
{
    if (l.value == QLatin1String("0") || l.value == QLatin1String("1")) {
        out = l.value == QLatin1String("1");
        return true;
    }
    return fail(l.number, QStringLiteral("%1= is 0 or 1, not '%2'").arg(l.key, l.value));
}

bool FleetParser::storeKey(const IniLine& l)
{
    if (!same(l.key, QStringLiteral("Url")))
        return fail(l.number, QStringLiteral("unknown key %1= in [Store] (it has Url=)").arg(l.key));
    QString why;
    fleet_.store = StoreUrl::parse(l.value, folder_, why);
    return fleet_.store ? true : fail(l.number, why);
}

bool FleetParser::loggerKey(const IniLine& l, FleetLogger& logger)
{
    if (same(l.key, QStringLiteral("Port"))) {
        if (l.value.isEmpty())
            return fail(l.number, QStringLiteral("Port= names no port"));
        logger.port = l.value;
        return true;
    }
    if (same(l.key, QStringLiteral("Dial"))) {
        logger.dial = l.value;
        return true;
    }
    if (same(l.key, QStringLiteral("Pulse")))
        return flag(l, logger.pulse);
    if (same(l.key, QStringLiteral("Verify")))
        return flag(l, logger.verify);
    if (same(l.key, QStringLiteral("Init"))) {
        const QString file = QDir(folder_).absoluteFilePath(l.value);
        if (l.value.isEmpty() || !QFileInfo(file).isFile())
            return fail(l.number, QStringLiteral("the modem initialisation file %1 is not there").arg(file));
        logger.initFile = file;
        return true;
    }
    return fail(
        l.number,
        QStringLiteral("unknown key %1= in [%2] (a logger has Port=, Dial=, Pulse=, Init= and Verify=)")
            .arg(l.key, current_));
}

bool FleetParser::key(const IniLine& l)
{
    if (current_.isEmpty())
        return fail(l.number, QStringLiteral("%1= comes before any section").arg(l.key));
    if (!keysSeen_.insert(l.key.toLower()).second)
        return fail(l.number, QStringLiteral("%1= is there twice in [%2]").arg(l.key, current_));
    if (same(current_, kStore))
        return storeKey(l);
    return loggerKey(l, fleet_.loggers.back());
}

bool FleetParser::finish()
{
    if (fleet_.loggers.empty())
        return fail(0, QStringLiteral("no logger: give one [Logger LABEL] section per logger"));
    for (std::size_t i = 0; i < fleet_.loggers.size(); ++i) {
        const FleetLogger& a = fleet_.loggers[i];
        if (a.port.isEmpty())
            return fail(a.line, QStringLiteral("[Logger %1] has no Port=").arg(a.label));
        if (!a.dial.isEmpty() || a.port == QLatin1String("sim"))
            continue;
        // One cable holds one logger; several share a port through a modem only.
        for (std::size_t j = 0; j < i; ++j) {
            const FleetLogger& b = fleet_.loggers[j];
            if (b.dial.isEmpty() && b.port == a.port)
                return fail(a.line,
                            QStringLiteral("[Logger %1] is on the port of [Logger %2] (%3); loggers share "
                                           "a port only through a modem (Dial=)")
                                .arg(a.label, b.label, a.port));
        }
    }
    return true;
}

std::optional<FleetFile> FleetParser::parse(const IniFile& ini)
{
    for (const IniLine& l : ini.parsedLines()) {
        bool ok = true;
        switch (l.kind) {
        case IniLine::Kind::Blank:
        case IniLine::Kind::Comment:
            break;
        case IniLine::Kind::Section:
            ok = section(l);
            break;
        case IniLine::Kind::Key:
            ok = key(l);
            break;
        case IniLine::Kind::Other:
            ok = fail(l.number, QStringLiteral("neither a [section], a Key=value line nor a ; comment"));
            break;
        }
        if (!ok)
            return std::nullopt;
    }
    if (!finish())
        return std::nullopt;
    return fleet_;
}

} // namespace

QString FleetError::text() const
{
    return line > 0 ? QStringLiteral("%1:%2: %3").arg(file).arg(line).arg(reason)
                    : QStringLiteral("%1: %2").arg(file, reason);
}

std::optional<FleetFile> readFleetFile(const QString& path, FleetError& error)
{
    IniFile ini;
    const IniResult read = ini.read(path);
    if (!read.ok()) {
        error = {path, 0, read.error == IniError::Missing ? QStringLiteral("no such file") : read.reason};
        if (error.reason.isEmpty())
            error.reason = QStringLiteral("cannot be read");
        return std::nullopt;
    }
    return FleetParser(path, error).parse(ini);
}

} // namespace qz
