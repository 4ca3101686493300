#include "platform/program_folder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace qz {

TEST(ProgramFolder, SettingsAndDataLiveBesideAWritableProgram)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ProgramFolder folder(dir.path());
    EXPECT_EQ(folder.settingsFile(), QDir(dir.path()).filePath("QUORZK.INI"));

    QFile f(QDir(dir.path()).filePath("devices.ini"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    EXPECT_EQ(folder.dataFile("devices.ini"), f.fileName());
}

} // namespace qz
