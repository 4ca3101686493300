// Asking whether a file can be written tells why not with the system's words, and never
// creates anything.
#include "platform/output_check.h"

#include "support/print_qt.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <ostream>
#include <sys/stat.h>
#include <unistd.h>

namespace qz {

void PrintTo(OutputUse use, std::ostream* os)
{
    const char* names[] = {"Usable", "NoName", "NoFolder", "FolderShut", "NotAFile", "ReadOnly"};
    *os << names[int(use)];
}

namespace {

class OutputCheckTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        QFile f(path("old.txt"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("previous");
        f.close();
        ASSERT_TRUE(QDir().mkpath(path("folder.txt")));
        ASSERT_EQ(::mkfifo(QFile::encodeName(path("pipe.txt")).constData(), 0600), 0);
    }
    QString path(const char* name) const { return dir_.filePath(QLatin1String(name)); }
    QStringList listing() const
    {
        return QDir(dir_.path())
            .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System, QDir::Name);
    }

    QTemporaryDir dir_;
};

TEST_F(OutputCheckTest, TellsWhyAPathCannotBeWritten)
{
    const struct {
        QString path;
        OutputUse use;
        const char* reason;
    } cases[] = {
        {path("new.txt"), OutputUse::Usable, ""},
        {path("old.txt"), OutputUse::Usable, ""},
        {QString(), OutputUse::NoName, "no file name"},
        {path("folder.txt") + "/", OutputUse::NoName, "no file name"},
        {path("missing/new.txt"), OutputUse::NoFolder, "No such file or directory"},
        {path("old.txt/new.txt"), OutputUse::NoFolder, "Not a directory"},
        {path("folder.txt"), OutputUse::NotAFile, "Is a directory"},
        {path("pipe.txt"), OutputUse::NotAFile, "Not a regular file"},
    };
    const QStringList before = listing();
    for (const auto& c : cases) {
        const OutputCheck check = checkOutputFile(c.path);
        EXPECT_EQ(check.use, c.use) << c.path.toStdString();
        EXPECT_EQ(check.reason, QLatin1String(c.reason)) << c.path.toStdString();
        EXPECT_EQ(check.ok(), c.use == OutputUse::Usable);
    }
    // Asking created nothing: no new file, no temporary one.
    EXPECT_EQ(listing(), before);
}

TEST_F(OutputCheckTest, AFolderOrFileThatMayNotBeWrittenIsRefused)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind the superuser";
    ASSERT_TRUE(QDir().mkpath(path("shut")));
    ASSERT_EQ(::chmod(QFile::encodeName(path("shut")).constData(), 0555), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(path("old.txt")).constData(), 0444), 0);
    const OutputCheck shut = checkOutputFile(path("shut/new.txt"));
    EXPECT_EQ(shut.use, OutputUse::FolderShut);
    EXPECT_EQ(shut.reason, QStringLiteral("Permission denied"));
    const OutputCheck readOnly = checkOutputFile(path("old.txt"));
    EXPECT_EQ(readOnly.use, OutputUse::ReadOnly);
    EXPECT_EQ(readOnly.reason, QStringLiteral("Permission denied"));
    ::chmod(QFile::encodeName(path("shut")).constData(), 0755);
}

} // namespace
} // namespace qz
