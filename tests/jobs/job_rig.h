#pragma once
// The logger emulator on a virtual clock with the catalogue of the program (and code 0,
// whose memory size the hand-made rings use), for the logger jobs' tests.
#include "jobs/download_job.h"
#include "link/download_memory.h"
#include "link/emulator_rig.h"
#include "print_jobs.h"
#include "support/catalogue_folder.h"

#include <QFile>

namespace qz::test {

struct JobRig : EmulatorRig {
    explicit JobRig(const sim::MemoryPreset& preset = {}) : EmulatorRig(preset)
    {
        QFile shipped(QStringLiteral(QUORZK_SOURCE_DIR "/data/devices.ini"));
        QByteArray models = shipped.open(QIODevice::ReadOnly) ? shipped.readAll() : QByteArray();
        folder.write(QStringLiteral("devices.ini"), models + "\n[Device 0]\nType=ZK\nDeviceDesc=ZK-0 Test\n");
    }

    DeviceCatalog catalog() const { return DeviceCatalog(ProgramFolder(folder.path())); }

    // The download job on a fresh protocol object.
    DownloadResult download(const DownloadPolicy& policy = {})
    {
        auto q = make();
        return downloadJob(*q, policy, catalog(), progress);
    }

    static int word(const DownloadResult& r, std::size_t address)
    {
        return ConstByteView{r.image.data(), r.image.size()}.u16(address);
    }

    CatalogueFolder folder;
};

} // namespace qz::test
