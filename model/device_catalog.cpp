// The catalogue of logger models (devices.ini) and per-model settings (QUORZK.INI).
#include "model/ini_file.h"
#include "model/quorvant_data.h"

namespace qz {

bool TQuorvantData::LoadDeviceInfo()
{
    catalogPath_ = folder_.dataFile(QStringLiteral("devices.ini"));
    sectionName_ = QStringLiteral("Device ") + GetDeviceCodeText();
    IniFile catalogue;
    catalogue.load(catalogPath_);
    const bool accepted = catalogue.value(sectionName_, QStringLiteral("Type")) == QLatin1String("ZK");
    description_ = catalogue.value(sectionName_, QStringLiteral("DeviceDesc"));
    BindRecord();
    return accepted;
}

QString TQuorvantData::ReadDeviceSetting(const QString& key, const QString& defaultValue) const
{
    return IniFile::readValue(folder_.settingsFile(), sectionName_, key, defaultValue);
}

} // namespace qz
