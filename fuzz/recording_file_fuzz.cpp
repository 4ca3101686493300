// Arbitrary bytes as a recording file: reading, Initialize, a zoom level from the bytes,
// both scaling modes, the axis scales, the information text and every export layout.
// Nothing may read outside a buffer, divide by zero, overflow or leak.
#include "platform/progress.h"
#include "platform/prompt.h"
#include "recording/recording.h"
#include "tests/support/silent_prompt.h"

#include <QBuffer>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

namespace {

// A catalogue that accepts one model of every memory size, the special code 1 and two
// codes with other low bits.
const QTemporaryDir& Catalogue()
{
    static const QTemporaryDir dir = [] {
        QTemporaryDir d;
        QFile f(d.filePath(QStringLiteral("devices.ini")));
        if (f.open(QIODevice::WriteOnly)) {
            for (int code : {0, 1, 32, 64, 96, 128, 160, 192, 224, 293, 485})
                f.write(QStringLiteral("[Device %1]\nType=ZK\nDeviceDesc=ZK\n").arg(code).toLatin1());
        }
        return d;
    }();
    return dir;
}

int Word(const std::uint8_t* data, std::size_t size, std::size_t at)
{
    return at + 1 < size ? data[at] | (data[at + 1] << 8) : 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QLocale::setDefault(QLocale::c());
    qz::Recording recording{qz::ProgramFolder(Catalogue().path())};
    qz::test::SilentPrompt prompt;
    QBuffer file;
    file.setData(reinterpret_cast<const char*>(data), qsizetype(size));
    file.open(QIODevice::ReadOnly);
    if (!recording.LoadFrom(file, qint64(size), prompt))
        return 0;

    // A zoom level whose range comes from the header's unused bytes (image 90..93).
    qz::ViewRecord& zoom = recording.View(1);
    zoom.first = Word(data, size, 8 + 90) - 100;
    zoom.last = zoom.first + Word(data, size, 8 + 92) % 300;
    recording.SetCurrentLevel(1);
    recording.SearchMaxMin(zoom);
    recording.UpdateScalingMode(zoom);
    recording.ComputeAverages(zoom);
    for (bool autoScale : {true, false}) {
        qz::DisplaySettings settings = recording.Settings();
        settings.autoScale = autoScale;
        recording.ApplyGraphicConfig(recording.Colours(), settings);
        for (int i = -1; i <= qz::kInputCount; ++i)
            (void)recording.ComputeAxisScale(i);
    }
    (void)recording.InfosZk300(recording.View(0));
    (void)recording.Description();
    recording.ChildTitle(1);

    // The export of the zoom level: the same code as a whole recording's, at a pace that
    // keeps the fuzzer fast.
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    qz::NullProgress progress;
    const auto kind = static_cast<qz::ExportKind>(size % 6); // 5: no date field
    (void)recording.ExportTo(out, kind, progress);
    return 0;
}
