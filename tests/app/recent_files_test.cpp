#include "app/ui/recent_files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace qz {
namespace {

class RecentFilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        QFile f(settings());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[Communication]\r\nPort=sim\r\n");
    }
    QString settings() const { return dir_.filePath("QUORZK.INI"); }
    QString file(const QString& name) const
    {
        const QString path = dir_.filePath(name);
        QFile f(path);
        if (f.open(QIODevice::WriteOnly))
            f.write("x");
        return path;
    }

    QTemporaryDir dir_;
};

TEST_F(RecentFilesTest, KeepsTheLastEightNewestFirstAndOnce)
{
    EXPECT_TRUE(RecentFiles(settings()).files().isEmpty());
    QStringList made;
    for (int i = 0; i < 10; ++i) {
        made << file(QStringLiteral("r%1.qrv").arg(i));
        ASSERT_TRUE(RecentFiles(settings()).add(made.back()).ok());
    }
    // Read again, as at the next start: the eight last, newest first.
    QStringList expected;
    for (int i = 9; i >= 2; --i)
        expected << made[i];
    EXPECT_EQ(RecentFiles(settings()).files(), expected);

    // A file opened again moves to the front, not in twice.
    ASSERT_TRUE(RecentFiles(settings()).add(made[5]).ok());
    expected.removeAll(made[5]);
    expected.prepend(made[5]);
    EXPECT_EQ(RecentFiles(settings()).files(), expected);
    // The rest of the settings file is kept.
    EXPECT_EQ(IniFile::readValue(settings(), "Communication", "Port"), "sim");
}

TEST_F(RecentFilesTest, AFileGoneSinceIsNotOffered)
{
    const QString kept = file("kept.qrv");
    const QString gone = file("gone.qrv");
    ASSERT_TRUE(RecentFiles(settings()).add(kept).ok());
    ASSERT_TRUE(RecentFiles(settings()).add(gone).ok());
    ASSERT_TRUE(QFile::remove(gone));
    EXPECT_EQ(RecentFiles(settings()).files(), QStringList{kept});
}

} // namespace
} // namespace qz
