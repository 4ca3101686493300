#pragma once
// A tiny file system that fills up after a few kilobytes, to see what a write does on a
// full disk: a tmpfs mounted over a temporary folder. Mounting needs the right to mount
// (root in CI); where it is missing, mounted() is false and the test skips.
#include <QString>
#include <QTemporaryDir>

namespace qz::test {

class SmallFileSystem {
public:
    explicit SmallFileSystem(int kilobytes = 16);
    ~SmallFileSystem();
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;

    bool mounted() const { return mounted_; }
    QString filePath(const QString& name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
    bool mounted_ = false;
};

} // namespace qz::test
