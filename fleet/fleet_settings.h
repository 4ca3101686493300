#pragma once
// Where the desktop program's Fleet window finds its loggers, kept in the settings file
// (QUORZK.INI, section [Fleet]): the fleet file that says how each logger is reached
// (Collect now), and the store it shows (empty: the fleet file's store, else the default
// store).
#include "fleet/fleet_file.h"
#include "model/ini_file.h"
#include "store/store_url.h"

#include <QString>

#include <optional>

namespace qz {

struct FleetSettings {
    QString fleetFile; // empty: none chosen
    QString store; // a store URL; empty: the fleet file's, else the default

    static FleetSettings load(const QString& iniPath);
    IniResult save(const QString& iniPath) const;

    // The store shown: the one chosen, else the fleet file's, else the default. nullopt
    // with the reason when the chosen URL or the fleet file is refused.
    std::optional<StoreUrl> storeUrl(QString& error) const;
};

} // namespace qz
