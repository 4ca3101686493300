#include "model/device_catalog.h"

#include "model/ini_file.h"

namespace qz {

QString catalogMessage(const LoggerModel& model)
{
    if (model.status != CatalogStatus::Unreadable)
        return QString();
    return QStringLiteral("The logger catalogue devices.ini could not be read: ") + model.catalogPath
        + QStringLiteral(": ") + model.reason;
}

LoggerModel DeviceCatalog::lookUp(std::uint16_t deviceCode) const
{
    LoggerModel model;
    model.catalogPath = folder_.dataFile(QStringLiteral("devices.ini"));
    model.section = QStringLiteral("Device ") + QString::number(deviceCode);
    IniFile catalogue;
    // A missing catalogue is as unreadable as a damaged one: no logger can be told by it.
    if (const IniResult read = catalogue.read(model.catalogPath); !read.ok()) {
        model.status = CatalogStatus::Unreadable;
        model.reason = read.reason;
        return model;
    }
    model.accepted = catalogue.value(model.section, QStringLiteral("Type")) == QLatin1String("ZK");
    model.description = catalogue.value(model.section, QStringLiteral("DeviceDesc"));
    if (model.accepted)
        model.status = CatalogStatus::Accepted;
    else
        model.status =
            catalogue.hasSection(model.section) ? CatalogStatus::NotAccepted : CatalogStatus::NotListed;
    return model;
}

QString DeviceCatalog::deviceSetting(const LoggerModel& model, const QString& key,
                                     const QString& defaultValue) const
{
    return IniFile::readValue(folder_.settingsFile(), model.section, key, defaultValue);
}

} // namespace qz
