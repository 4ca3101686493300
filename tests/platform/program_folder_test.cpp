#include "platform/program_folder.h"

#include "support/print_qt.h"
#include "support/scoped_env.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <optional>
#include <ostream>

namespace qz {

namespace {

using test::ScopedEnv;

// A throwaway machine: a program in PREFIX/bin, the installation's PREFIX/share/quorzk,
// a desktop data folder and the user's configuration folder, all inside one temporary
// folder so nothing of the real user's is read or written.
class ProgramFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root_.isValid());
        ASSERT_TRUE(QDir(root_.path()).mkpath("prefix/bin"));
    }

    QString path(const QString& relative) const { return QDir(root_.path()).filePath(relative); }
    QString bin() const { return path("prefix/bin"); }
    QString installedFolder() const { return path("prefix/share/quorzk"); }
    QString desktopData() const { return path("xdg-data"); }
    QString userConfig() const { return path("xdg-config"); }

    void touch(const QString& file)
    {
        ASSERT_TRUE(QDir().mkpath(QFileInfo(file).path()));
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << file.toStdString();
    }

    QTemporaryDir root_;
    ScopedEnv dataDirs_{"XDG_DATA_DIRS", desktopData()};
    ScopedEnv dataHome_{"XDG_DATA_HOME", path("xdg-data-home")};
    ScopedEnv configHome_{"XDG_CONFIG_HOME", userConfig()};
};

enum class Where {
    Beside,
    Installed,
    DesktopData
};

struct DataCase {
    const char* what;
    QString name;
    bool beside, installed, desktop;
    Where found;
};

void PrintTo(const DataCase& c, std::ostream* os)
{
    *os << c.what;
}

class DataFileTest : public ProgramFolderTest, public ::testing::WithParamInterface<DataCase> {};

TEST_P(DataFileTest, FindsTheNearestCopy)
{
    const DataCase& c = GetParam();
    const QString beside = QDir(bin()).filePath(c.name);
    const QString installed = QDir(installedFolder()).filePath(c.name);
    const QString desktop = QDir(desktopData()).filePath("quorzk/" + c.name);
    if (c.beside)
        touch(beside);
    if (c.installed)
        touch(installed);
    if (c.desktop)
        touch(desktop);

    const QString expected = c.found == Where::Beside ? beside
        : c.found == Where::Installed                 ? installed
                                                      : desktop;
    EXPECT_EQ(QDir::cleanPath(ProgramFolder(bin()).dataFile(c.name)), QDir::cleanPath(expected));
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, DataFileTest,
    ::testing::Values(DataCase{"BuildFolder", "devices.ini", true, false, false, Where::Beside},
                      DataCase{"BesideWinsOverInstalled", "devices.ini", true, true, true, Where::Beside},
                      DataCase{"InstalledProgram", "devices.ini", false, true, false, Where::Installed},
                      DataCase{"InstalledWinsOverDesktop", "Default.mdm", false, true, true,
                               Where::Installed},
                      DataCase{"InstalledHelpPage", "help/index.html", false, true, false, Where::Installed},
                      DataCase{"DesktopDataFolder", "devices.ini", false, false, true, Where::DesktopData},
                      // The message about a missing catalogue then names the program's own folder.
                      DataCase{"NowhereNamesBeside", "devices.ini", false, false, false, Where::Beside}),
    [](const auto& info) { return std::string(info.param.what); });

TEST_F(ProgramFolderTest, InstallationFolderIsShareQuorzkBesideBin)
{
    EXPECT_EQ(ProgramFolder(bin()).installedDataFolder(), QDir::cleanPath(installedFolder()));
}

enum class Settings {
    Beside,
    UserConfig
};

struct SettingsCase {
    const char* what;
    bool installed; // PREFIX/share/quorzk exists
    bool iniBeside; // QUORZK.INI already beside the program
    bool missing; // the program's folder does not exist
    Settings expected;
};

void PrintTo(const SettingsCase& c, std::ostream* os)
{
    *os << c.what;
}

class SettingsFileTest : public ProgramFolderTest, public ::testing::WithParamInterface<SettingsCase> {};

TEST_P(SettingsFileTest, LivesBesideOnlyAnUninstalledProgram)
{
    const SettingsCase& c = GetParam();
    if (c.installed) {
        ASSERT_TRUE(QDir().mkpath(installedFolder()));
    }
    if (c.iniBeside)
        touch(QDir(bin()).filePath("QUORZK.INI"));
    const QString folder = c.missing ? path("prefix/gone") : bin();

    const QString file = ProgramFolder(folder).settingsFile();
    if (c.expected == Settings::Beside) {
        EXPECT_EQ(file, QDir(folder).filePath("QUORZK.INI"));
    } else {
        // One file for the desktop program and the command-line tool, whatever the
        // running program is called; its folder is there to be written.
        EXPECT_EQ(file, QDir(userConfig()).filePath("quorzk/QUORZK.INI"));
        EXPECT_TRUE(QFileInfo(QFileInfo(file).path()).isDir());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, SettingsFileTest,
    ::testing::Values(SettingsCase{"WritableBuildFolder", false, false, false, Settings::Beside},
                      // Even where the folder is writable (root running /usr/bin/quorzk).
                      SettingsCase{"InstalledProgram", true, false, false, Settings::UserConfig},
                      SettingsCase{"InstalledWithIniBeside", true, true, false, Settings::Beside},
                      SettingsCase{"ProgramFolderMissing", false, false, true, Settings::UserConfig}),
    [](const auto& info) { return std::string(info.param.what); });

TEST_F(ProgramFolderTest, ReadOnlyProgramFolderKeepsSettingsInTheUserConfiguration)
{
    QFile::setPermissions(bin(), QFile::ReadOwner | QFile::ExeOwner);
    if (QFileInfo(bin()).isWritable()) {
        QFile::setPermissions(bin(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        GTEST_SKIP() << "permissions do not stop this user (root)";
    }
    const QString file = ProgramFolder(bin()).settingsFile();
    QFile::setPermissions(bin(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(file, QDir(userConfig()).filePath("quorzk/QUORZK.INI"));
}

} // namespace

} // namespace qz
