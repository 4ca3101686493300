#include "model/device_catalog.h"

#include "model/ini_file.h"

namespace qz {

LoggerModel DeviceCatalog::lookUp(std::uint16_t deviceCode) const
{
    LoggerModel model;
    model.catalogPath = folder_.dataFile(QStringLiteral("devices.ini"));
    model.section = QStringLiteral("Device ") + QString::number(deviceCode);
    IniFile catalogue;
    catalogue.load(model.catalogPath);
    model.accepted = catalogue.value(model.section, QStringLiteral("Type")) == QLatin1String("ZK");
    model.description = catalogue.value(model.section, QStringLiteral("DeviceDesc"));
    return model;
}

QString DeviceCatalog::deviceSetting(const LoggerModel& model, const QString& key,
                                     const QString& defaultValue) const
{
    return IniFile::readValue(folder_.settingsFile(), model.section, key, defaultValue);
}

} // namespace qz
