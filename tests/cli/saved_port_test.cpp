// A logger command without --port takes the port the program's Options saved, and says
// so; a port given wins; with neither, it is a usage error that says where it looked.
#include "cli_rig.h"
#include "link/comm_settings.h"

#include <gtest/gtest.h>

namespace qz::test {
namespace {

// The settings as the program's Options dialog writes them, with the given port chosen.
void savePort(const QString& iniPath, const QString& port)
{
    CommSettings settings(iniPath, PortProbe{}, false);
    settings.setCurrentPort(port);
    ASSERT_TRUE(settings.save().ok());
}

TEST(CliSavedPort, IsUsedWhenNoPortIsGiven)
{
    const CliFolder folder;
    const QString ini = folder.settingsFile();
    const QString using_ = "using port sim from " + ini + "\n";
    const QString none = "no port is saved in " + ini + "\n";
    const struct {
        const char* name;
        QString saved; // empty: no settings file
        QStringList args;
        int exitCode;
        QString out; // what standard output begins with
        QString err; // what standard error begins with (all of it when empty)
    } cases[] = {
        {"saved", "sim", {"ping"}, 0, "logger answers on sim\n", using_},
        {"hexdump of the saved port", "sim", {"hexdump", "--length", "16"}, 0, " 0000  00 ", using_},
        {"given wins", "/nonexistent/ttyQZ", {"ping", "--port", "sim"}, 0, "logger answers on sim\n", ""},
        {"saved port that does not open",
         "/nonexistent/ttyQZ",
         {"status"},
         1,
         "",
         "using port /nonexistent/ttyQZ from " + ini + "\nUnable to open com port /nonexistent/ttyQZ: "},
        {"none saved",
         "",
         {"stop"},
         2,
         "",
         "quorzk-cli stop: --port PORT is required (a device such as /dev/ttyUSB0, or sim); " + none},
        {"none saved, no file",
         "",
         {"hexdump"},
         2,
         "",
         "quorzk-cli hexdump: give either a recording file or --port PORT; " + none},
        {"a usage error comes first",
         "sim",
         {"download"},
         2,
         "",
         "quorzk-cli download: --output FILE.qrv is required\n"},
    };
    for (const auto& c : cases) {
        if (c.saved.isEmpty())
            ASSERT_TRUE(folder.setSettings({}));
        else
            savePort(ini, c.saved);
        const CliRun r = cli(c.args, QProcessEnvironment::systemEnvironment(), folder.program());
        EXPECT_EQ(r.exitCode, c.exitCode) << c.name << ": " << r.err.toStdString();
        EXPECT_EQ(r.out.left(c.out.size()), c.out) << c.name;
        EXPECT_EQ(r.err.left(c.err.size()), c.err) << c.name;
        if (c.err.isEmpty()) {
            EXPECT_EQ(r.err, "") << c.name;
        }
    }
}

} // namespace
} // namespace qz::test
