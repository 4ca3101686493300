#pragma once
// The catalogue of logger models (devices.ini in the program's folder) and the per-model
// settings of the settings file. A model is looked up by its device code; a missing file,
// section or key reads as empty, so an unknown logger is simply not accepted.
#include "platform/program_folder.h"

#include <QString>

#include <cstdint>

namespace qz {

struct LoggerModel {
    QString catalogPath;  // the devices.ini that was read
    QString section;      // "Device " and the decimal device code
    QString description;  // "DeviceDesc", shown in captions
    bool accepted = false; // "Type" is exactly "ZK"
};

class DeviceCatalog {
public:
    explicit DeviceCatalog(ProgramFolder folder) : folder_(std::move(folder)) {}

    LoggerModel lookUp(std::uint16_t deviceCode) const;
    // The key in the model's section of the settings file, or defaultValue.
    QString deviceSetting(const LoggerModel& model, const QString& key, const QString& defaultValue) const;

    const ProgramFolder& folder() const { return folder_; }

private:
    ProgramFolder folder_;
};

} // namespace qz
