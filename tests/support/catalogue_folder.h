#pragma once
// A temporary program folder whose devices.ini accepts the test device codes kCodeSmall,
// kCodeLarge and kCodeShipped and refuses kCodeRefused (another model line). Free of
// GoogleTest, for the benchmarks too.
#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace qz::test {

class CatalogueFolder {
public:
    CatalogueFolder();
    QString path() const { return dir_.path(); }
    QString filePath(const QString& name) const { return dir_.filePath(name); }
    // Writes a file into the folder; its path.
    QString write(const QString& name, const QByteArray& bytes) const;

private:
    QTemporaryDir dir_;
};

} // namespace qz::test
