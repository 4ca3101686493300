// The Logger menu's Fleet: one Fleet window over the store of the options, whose double
// clicks open graph windows like any other.
#include "app/ui/main_window.h"

#include "fleet/ui/fleet_window.h"
#include "graph/ui/graph_window.h"
#include "link/line_registry.h"

#include <QMdiArea>

namespace qz {

void MainWindow::showFleet()
{
    if (fleet_) {
        fleet_->showNormal();
        mdi_->setActiveSubWindow(fleet_);
        return;
    }
    const LineRegistry& lines = services_.lines;
    fleet_ = new FleetWindow(FleetWindowServices{services_.jobs, services_.clock,
                                                 [&lines](const QString& port) { return lines.make(port); },
                                                 services_.folder});
    fleet_->onOpenRecording([this](std::shared_ptr<const RecordingData> data) {
        // In the store as it is: nothing to ask before it closes.
        newGraphWindow()->showRecording(std::move(data), true);
    });
    placeDocument(fleet_);
    fleet_->showFleet(FleetSettings::load(services_.folder.settingsFile()));
}

} // namespace qz
