#include "platform/date_settings.h"

#include <QProcess>
#include <QStandardPaths>

namespace qz {

const std::vector<DateSettingsCommand>& knownDateSettingsCommands()
{
    static const std::vector<DateSettingsCommand> commands = {
        {QStringLiteral("GNOME"), QStringLiteral("gnome-control-center"), {QStringLiteral("datetime")}},
        {QStringLiteral("KDE"), QStringLiteral("systemsettings"), {QStringLiteral("kcm_clock")}},
        {QStringLiteral("KDE"), QStringLiteral("kcmshell5"), {QStringLiteral("clock")}},
        {QStringLiteral("X-Cinnamon"), QStringLiteral("cinnamon-settings"), {QStringLiteral("calendar")}},
        {QStringLiteral("XFCE"), QStringLiteral("xfce4-datetime-settings"), {}},
        {QStringLiteral("LXQt"), QStringLiteral("lxqt-admin-time"), {}},
        {QStringLiteral("MATE"), QStringLiteral("time-admin"), {}},
    };
    return commands;
}

std::optional<DateSettingsCommand> chooseDateSettings(const QStringList& currentDesktops,
                                                      const std::function<QString(const QString&)>& find)
{
    const auto& known = knownDateSettingsCommands();
    const auto installed = [&](const DateSettingsCommand& c) -> std::optional<DateSettingsCommand> {
        const QString path = find(c.program);
        if (path.isEmpty())
            return std::nullopt;
        DateSettingsCommand found = c;
        found.program = path;
        return found;
    };
    for (const QString& desktop : currentDesktops)
        for (const DateSettingsCommand& c : known)
            if (c.desktop.compare(desktop, Qt::CaseInsensitive) == 0)
                if (auto found = installed(c))
                    return found;
    for (const DateSettingsCommand& c : known)
        if (auto found = installed(c))
            return found;
    return std::nullopt;
}

namespace {

std::optional<DateSettingsCommand> desktopCommand()
{
    const QStringList desktops =
        qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(QLatin1Char(':'), Qt::SkipEmptyParts);
    return chooseDateSettings(desktops,
                              [](const QString& program) { return QStandardPaths::findExecutable(program); });
}

} // namespace

bool DesktopDateSettings::open()
{
    const auto command = desktopCommand();
    return command && QProcess::startDetached(command->program, command->arguments);
}

bool DesktopDateSettings::available() const
{
    return desktopCommand().has_value();
}

} // namespace qz
