// Which program opens the desktop's date and time settings.
#include "platform/date_settings.h"
#include "support/print_qt.h"

#include <gtest/gtest.h>

#include <set>

namespace qz::test {
namespace {

TEST(DateSettings, TheRunningDesktopsProgramFirstThenAnyInstalled)
{
    struct Case {
        const char* name;
        QStringList desktops;
        std::set<QString> installed;
        QString program; // empty: none
        QStringList arguments;
    } cases[] = {
        {"GNOME",
         {"GNOME"},
         {"gnome-control-center", "systemsettings"},
         "/usr/bin/gnome-control-center",
         {"datetime"}},
        {"KDE before GNOME's program",
         {"KDE"},
         {"gnome-control-center", "systemsettings"},
         "/usr/bin/systemsettings",
         {"kcm_clock"}},
        {"an older KDE", {"KDE"}, {"kcmshell5"}, "/usr/bin/kcmshell5", {"clock"}},
        {"desktops in their order",
         {"ubuntu", "GNOME"},
         {"gnome-control-center"},
         "/usr/bin/gnome-control-center",
         {"datetime"}},
        {"names in any case",
         {"xfce"},
         {"xfce4-datetime-settings", "gnome-control-center"},
         "/usr/bin/xfce4-datetime-settings",
         {}},
        {"unknown desktop, something installed",
         {"sway"},
         {"cinnamon-settings"},
         "/usr/bin/cinnamon-settings",
         {"calendar"}},
        {"no desktop named", {}, {"lxqt-admin-time"}, "/usr/bin/lxqt-admin-time", {}},
        {"nothing installed", {"GNOME"}, {}, "", {}},
    };
    for (const auto& c : cases) {
        const auto found = chooseDateSettings(c.desktops, [&](const QString& program) {
            return c.installed.count(program) ? "/usr/bin/" + program : QString();
        });
        if (c.program.isEmpty()) {
            EXPECT_FALSE(found.has_value()) << c.name;
            continue;
        }
        ASSERT_TRUE(found.has_value()) << c.name;
        EXPECT_EQ(found->program, c.program) << c.name;
        EXPECT_EQ(found->arguments, c.arguments) << c.name;
    }
}

} // namespace
} // namespace qz::test
