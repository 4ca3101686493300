#pragma once
// The catalogue of logger models (devices.ini in the program's folder) and the per-model
// settings of the settings file. A model is looked up by its device code. A catalogue that
// cannot be read is told apart from a model it does not list or does not accept, so that
// a missing or damaged catalogue is never reported as a wrong recording or logger.
#include "platform/program_folder.h"

#include <QString>

#include <cstdint>

namespace qz {

enum class CatalogStatus {
    Accepted, // "Type" is exactly "ZK"
    NotListed, // no section for the device code
    NotAccepted, // listed with another model line
    Unreadable, // the catalogue is missing, not a text file, too large or unreadable
};

struct LoggerModel {
    QString catalogPath; // the devices.ini that was read
    QString section; // "Device " and the decimal device code
    QString description; // "DeviceDesc", shown in captions
    bool accepted = false; // status is Accepted
    CatalogStatus status = CatalogStatus::NotListed;
    QString reason; // why the catalogue could not be read
};

// "The logger catalogue devices.ini could not be read: PATH: reason"; empty unless the
// catalogue was unreadable.
QString catalogMessage(const LoggerModel& model);

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
