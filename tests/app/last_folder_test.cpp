#include "app/ui/last_folder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace qz {
namespace {

TEST(LastFolder, KeepsTheFolderOfTheLastFileChosenAndFallsBackToHome)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString settings = dir.filePath("QUORZK.INI");
    QFile f(settings);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[Communication]\r\nPort=sim\r\n");
    f.close();

    EXPECT_EQ(LastFolder(settings).folder(), QDir::homePath());
    const QString records = dir.filePath("records");
    ASSERT_TRUE(QDir().mkpath(records));
    EXPECT_TRUE(LastFolder(settings).remember(records + "/cold.qrv").ok());
    // Read again, as at the next start.
    EXPECT_EQ(LastFolder(settings).folder(), records);
    EXPECT_EQ(IniFile::readValue(settings, "Communication", "Port"), "sim");
    // Nothing chosen changes nothing.
    EXPECT_TRUE(LastFolder(settings).remember(QString()).ok());
    EXPECT_EQ(LastFolder(settings).folder(), records);
    // A folder that is gone is not offered.
    ASSERT_TRUE(QDir(records).removeRecursively());
    EXPECT_EQ(LastFolder(settings).folder(), QDir::homePath());
}

} // namespace
} // namespace qz
