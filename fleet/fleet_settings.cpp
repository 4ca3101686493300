#include "fleet/fleet_settings.h"

namespace qz {

namespace {

const QString kSection = QStringLiteral("Fleet");
const QString kFleetFile = QStringLiteral("FleetFile");
const QString kStore = QStringLiteral("Store");

} // namespace

FleetSettings FleetSettings::load(const QString& iniPath)
{
    IniFile ini;
    ini.load(iniPath);
    FleetSettings s;
    s.fleetFile = ini.value(kSection, kFleetFile).trimmed();
    s.store = ini.value(kSection, kStore).trimmed();
    return s;
}

IniResult FleetSettings::save(const QString& iniPath) const
{
    return IniFile::update(iniPath, [this](IniFile& ini) {
        ini.setValue(kSection, kFleetFile, fleetFile);
        ini.setValue(kSection, kStore, store);
    });
}

std::optional<StoreUrl> FleetSettings::storeUrl(QString& error) const
{
    if (!store.isEmpty()) {
        const std::optional<StoreUrl> url = StoreUrl::parse(store, {}, error);
        if (!url)
            error = QStringLiteral("The store %1 of the options is refused: %2")
                        .arg(withoutPassword(store), error);
        return url;
    }
    if (!fleetFile.isEmpty()) {
        FleetError fleetError;
        const std::optional<FleetFile> fleet = readFleetFile(fleetFile, fleetError);
        if (!fleet) {
            error = fleetError.text();
            return std::nullopt;
        }
        if (fleet->store)
            return fleet->store;
    }
    return StoreUrl::defaultUrl();
}

} // namespace qz
