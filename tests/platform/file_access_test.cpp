// Reading only regular files, telling one file behind two names, and writing files whole
// with the system's reason for a failure.
#include "platform/regular_file.h"
#include "platform/safe_file.h"

#include "support/print_qt.h"
#include "support/small_file_system.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <ostream>
#include <sys/stat.h>

namespace qz {

void PrintTo(FileOpenStatus s, std::ostream* os)
{
    const char* names[] = {"Opened", "Missing", "NotRegular", "Failed"};
    *os << names[int(s)];
}

namespace {

class FileAccess : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
    QString pathOf(const QString& name) const { return dir_.filePath(name); }
    QString write(const QString& name, const QByteArray& bytes) const
    {
        QFile f(pathOf(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    }
    QString fifo(const QString& name) const
    {
        const QString path = pathOf(name);
        EXPECT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        return path;
    }
    QByteArray read(const QString& path) const
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir dir_;
};

TEST_F(FileAccess, OnlyRegularFilesAreOpenedForReading)
{
    // A named pipe without a writer would block a plain open forever.
    const struct {
        QString path;
        FileOpenStatus status;
        QString reason;
    } cases[] = {
        {write("plain.qrv", "QUORVANT"), FileOpenStatus::Opened, {}},
        {pathOf("gone.qrv"), FileOpenStatus::Missing, "No such file or directory"},
        {dir_.path(), FileOpenStatus::NotRegular, "Is a directory"},
        {fifo("pipe.qrv"), FileOpenStatus::NotRegular, "Not a regular file"},
        {"/dev/null", FileOpenStatus::NotRegular, "Not a regular file"},
    };
    for (const auto& c : cases) {
        QFile file;
        const FileOpenResult opened = openRegularFile(file, c.path);
        EXPECT_EQ(opened.status, c.status) << c.path.toStdString();
        EXPECT_EQ(opened.reason, c.reason) << c.path.toStdString();
        EXPECT_EQ(file.isOpen(), opened.ok()) << c.path.toStdString();
        EXPECT_EQ(nonRegularKind(c.path), c.status == FileOpenStatus::NotRegular ? c.reason : QString())
            << c.path.toStdString();
    }
    QFile file;
    ASSERT_TRUE(openRegularFile(file, pathOf("plain.qrv")).ok());
    EXPECT_EQ(file.readAll(), QByteArray("QUORVANT"));
}

TEST_F(FileAccess, OneFileBehindTwoNamesIsTheSameFile)
{
    const QString file = write("a.qrv", "x");
    const QString other = write("b.qrv", "x");
    ASSERT_TRUE(QFile::link(file, pathOf("symbolic.qrv")));
    ASSERT_EQ(::link(QFile::encodeName(file).constData(), QFile::encodeName(pathOf("hard.qrv")).constData()),
              0);
    const struct {
        QString second;
        bool same;
    } cases[] = {
        {file, true},
        {pathOf("./a.qrv"), true},
        {pathOf("symbolic.qrv"), true},
        {pathOf("hard.qrv"), true},
        {other, false}, // same content, another file
        {pathOf("missing.qrv"), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(isSameFile(file, c.second), c.same) << c.second.toStdString();
}

TEST_F(FileAccess, SafeFileReplacesTheTargetOnlyWhenCommitted)
{
    const QString path = write("out.txt", "previous");
    {
        SafeFile file(path);
        ASSERT_TRUE(file.open());
        ASSERT_TRUE(file.write(QByteArray("half of it")));
        // Not committed: as a killed program leaves it.
    }
    EXPECT_EQ(read(path), QByteArray("previous"));
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files), QStringList{"out.txt"});

    SafeFile file(path);
    ASSERT_TRUE(file.open());
    ASSERT_TRUE(file.write(QByteArray("new content")));
    ASSERT_TRUE(file.commit());
    EXPECT_EQ(read(path), QByteArray("new content"));
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files), QStringList{"out.txt"});
}

TEST_F(FileAccess, SafeFileNeverReplacesWhatIsNotARegularFile)
{
    // Renaming over a pipe, a device or a folder would replace it with a file.
    const struct {
        QString path;
        QString reason;
    } cases[] = {
        {fifo("pipe.txt"), "Not a regular file"},
        {dir_.path(), "Is a directory"},
        {"/dev/null", "Not a regular file"},
    };
    for (const auto& c : cases) {
        SafeFile file(c.path);
        EXPECT_FALSE(file.open()) << c.path.toStdString();
        EXPECT_EQ(file.reason(), c.reason) << c.path.toStdString();
        EXPECT_FALSE(file.commit());
    }
    EXPECT_FALSE(QFileInfo(pathOf("pipe.txt")).isFile());

    SafeFile nowhere(pathOf("no/such/folder/out.txt"));
    EXPECT_FALSE(nowhere.open());
    EXPECT_FALSE(nowhere.reason().isEmpty());
}

// A device that takes a few bytes and then fails as a full disk does, with the error
// number set and no text of its own.
class FillingDevice final : public QIODevice {
public:
    explicit FillingDevice(qint64 room) : room_(room) { open(QIODevice::WriteOnly); }
    QByteArray written;

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override
    {
        if (room_ == 0) {
            errno = ENOSPC;
            return -1;
        }
        const qint64 n = std::min(size, room_);
        written.append(data, n);
        room_ -= n;
        return n;
    }

private:
    qint64 room_;
};

TEST_F(FileAccess, AWriteThatRunsOutOfSpaceGivesTheSystemsReason)
{
    // The first write goes out in part; the rest meets the full disk.
    FillingDevice device(5);
    QString reason;
    EXPECT_FALSE(writeAll(device, "0123456789", 10, reason));
    EXPECT_EQ(device.written, QByteArray("01234"));
    EXPECT_EQ(reason, "No space left on device");

    QFile full(QStringLiteral("/dev/full"));
    if (!full.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        GTEST_SKIP() << "no /dev/full";
    reason.clear();
    EXPECT_FALSE(writeAll(full, "0123456789", 10, reason));
    EXPECT_EQ(reason, "No space left on device");
}

TEST_F(FileAccess, SafeFileOnAFullDiskKeepsThePreviousFile)
{
    test::SmallFileSystem disk(16);
    if (!disk.mounted())
        GTEST_SKIP() << "cannot mount a small file system here";
    const QString path = disk.filePath("out.txt");
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("previous");
    }
    SafeFile file(path);
    ASSERT_TRUE(file.open());
    EXPECT_FALSE(file.write(QByteArray(64 * 1024, 'x')));
    EXPECT_FALSE(file.commit());
    EXPECT_EQ(file.reason(), "No space left on device");
    EXPECT_EQ(read(path), QByteArray("previous"));
    EXPECT_EQ(QDir(QFileInfo(path).path()).entryList(QDir::Files), QStringList{"out.txt"});
}

} // namespace
} // namespace qz
