#pragma once
// The desktop's date and time settings, where the user sets the PC clock that a logger's
// clock is set from. Opened by a program of the desktop when one is installed.
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace qz {

class DateSettings {
public:
    virtual ~DateSettings() = default;
    // Starts the settings; false when this desktop has none that can be found.
    virtual bool open() = 0;
    // Whether open() finds settings to start on this machine.
    virtual bool available() const = 0;
};

// A settings program of a desktop, with its arguments.
struct DateSettingsCommand {
    QString desktop; // as XDG_CURRENT_DESKTOP names it ("GNOME", "KDE", ...)
    QString program;
    QStringList arguments;
};

// The programs that open the date and time settings of the common Linux desktops.
const std::vector<DateSettingsCommand>& knownDateSettingsCommands();

// The command to start: first one of the running desktops (in their order), then any
// other that is installed. find gives a program's full path, or empty when it is not
// installed; the result's program is that path.
std::optional<DateSettingsCommand> chooseDateSettings(const QStringList& currentDesktops,
                                                      const std::function<QString(const QString&)>& find);

// The running desktop's settings (XDG_CURRENT_DESKTOP), started detached.
class DesktopDateSettings final : public DateSettings {
public:
    bool open() override;
    bool available() const override;
};

} // namespace qz
