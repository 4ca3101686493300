// Arbitrary bytes as a recording file: reading, the derived values, a graph view with a
// zoom level from the bytes, both scaling modes, the axis scales, the information text and
// every export layout.
// Nothing may read outside a buffer, divide by zero, overflow or leak.
#include "graph/graph_view.h"
#include "platform/progress.h"
#include "recording/exports.h"
#include "recording/recording_data.h"
#include "recording/recording_file.h"

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

// Where the header's uninterpreted bytes after the record name lie in the file.
constexpr std::size_t kUnusedBytes = qz::kFileSignatureSize + qz::mem::kRecordName + qz::mem::kRecordNameSize;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QLocale::setDefault(QLocale::c());
    QBuffer file;
    file.setData(reinterpret_cast<const char*>(data), qsizetype(size));
    file.open(QIODevice::ReadOnly);
    const qz::LoadResult loaded = qz::RecordingData::fromDevice(
        file, qint64(size), QStringLiteral("fuzz.qrv"), qz::ProgramFolder(Catalogue().path()));
    // What a command would tell about a refusal; the fuzzer only needs it made.
    (void)qz::loadMessage(loaded, QStringLiteral("fuzz.qrv"));
    if (!loaded.ok())
        return 0;

    // A zoom level whose range comes from the header's unused bytes.
    const qz::ConstByteView bytes{data, size};
    qz::GraphView view(loaded.data);
    const int first = bytes.u16(kUnusedBytes) - 100;
    view.showLevel(1, first, first + bytes.u16(kUnusedBytes + 2) % 300);
    for (bool autoScale : {true, false}) {
        qz::DisplaySettings settings = view.settings();
        settings.autoScale = autoScale;
        view.applyGraphicConfig(view.colours(), settings);
        for (int i = -1; i <= qz::mem::kInputs; ++i)
            (void)view.axisScale(i);
    }
    (void)qz::informationLines(view.data(), qz::wholeRecording(view.data()));
    (void)view.data().description();
    view.childTitle(1);

    // The export of the zoom level: the same code as a whole recording's, at a pace that
    // keeps the fuzzer fast.
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    qz::NullProgress progress;
    const auto kind = static_cast<qz::ExportKind>(size % 7); // 6: no date field
    (void)qz::exportTo(out, view.data(), view.range(), kind, progress);
    return 0;
}
