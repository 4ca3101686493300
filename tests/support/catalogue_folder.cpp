#include "support/catalogue_folder.h"

#include <QFile>

namespace qz::test {

CatalogueFolder::CatalogueFolder()
{
    write(QStringLiteral("devices.ini"),
          "[Device 0]\r\nType=ZK\r\nDeviceDesc=ZK-110\r\n"
          "[Device 224]\r\nType=ZK\r\nDeviceDesc=ZK-380\r\n"
          "[Device 293]\r\nType=ZK\r\nDeviceDesc=ZK-293\r\n"
          "[Device 32]\r\nType=XR\r\nDeviceDesc=Other line\r\n");
}

QString CatalogueFolder::write(const QString& name, const QByteArray& bytes) const
{
    QFile f(dir_.filePath(name));
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
    return f.fileName();
}

} // namespace qz::test
