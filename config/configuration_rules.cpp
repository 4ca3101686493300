#include "config/configuration_rules.h"

#include "config/config_texts.h"
#include "model/image_reader.h"
#include "model/image_writer.h"
#include "model/memory_image.h"
#include "model/values.h"

namespace qz {

namespace {

constexpr int kLongestInterval = 3600;
constexpr int kSecondsPerDay = 86400;

} // namespace

QString intervalFieldExit(const QString& text, int max)
{
    QString t = text.trimmed();
    if (t.isEmpty())
        return QStringLiteral("00");
    if (t.size() == 1)
        t.prepend(QLatin1Char('0'));
    bool ok = false;
    const int value = t.toInt(&ok);
    if (ok && value > max)
        return QString::number(max);
    return t;
}

IntervalCheck checkInterval(int totalSeconds, int samplingInterval)
{
    if (totalSeconds > kLongestInterval)
        return IntervalCheck::TooLong;
    if (totalSeconds <= 0 || samplingInterval <= 0 || totalSeconds % samplingInterval != 0)
        return IntervalCheck::NotMultiple;
    return IntervalCheck::Ok;
}

QString intervalRefusal(IntervalCheck check, const QString& samplingText)
{
    switch (check) {
    case IntervalCheck::Ok:
        return {};
    case IntervalCheck::TooLong:
        return texts::intervalTooLong();
    case IntervalCheck::NotMultiple:
        return texts::intervalNotMultiple(samplingText);
    }
    return {};
}

QString commentField(const QString& text)
{
    return text.left(int(mem::kRecordNameSize)).leftJustified(int(mem::kRecordNameSize), QLatin1Char(' '));
}

IntervalCheck storeConfiguration(ByteView image, const ConfigurationEntry& entry)
{
    ImageWriter writer = ImageWriter::deviceImage(image);
    writer.setSamplingInterval(std::uint8_t(entry.samplingInterval));
    const IntervalCheck check = checkInterval(entry.intervalSeconds, entry.samplingInterval);
    if (check != IntervalCheck::Ok)
        return check;
    writer.setInterval(entry.intervalSeconds);
    writer.setRecordName(commentField(entry.comment));
    switch (entry.stop) {
    case StopChoice::MemoryFull:
        writer.setStopMode(std::uint16_t(mem::kStopWhenFull));
        break;
    case StopChoice::Cyclic:
        writer.setStopMode(std::uint16_t(mem::kCyclic));
        break;
    case StopChoice::Unchanged:
        break;
    }
    writer.setBlocksUsed(0);
    writer.setFirstBlock(0);
    writer.setResetWord1(0);
    writer.setResetWord2(0);
    return IntervalCheck::Ok;
}

long long recordingSeconds(int blocks, int inputCount, int intervalSeconds)
{
    const int inputs = inputCount >= 1 && inputCount <= mem::kInputs ? inputCount : 1;
    // 64 bits: an interval read from a damaged header must not overflow.
    return (long long)blocks * (long long)mem::kSampleArea * intervalSeconds / inputs;
}

QString recordingDurationText(long long seconds)
{
    const long long days = seconds / kSecondsPerDay;
    const long long hours = seconds % kSecondsPerDay / 3600;
    const long long minutes = seconds % 3600 / 60;
    return QStringLiteral("%1 Days  %2 Hours  %3 Min").arg(days).arg(hours).arg(minutes);
}

QString recordingDurationText(ConstByteView image)
{
    const ImageReader reader = ImageReader::deviceImage(image);
    return recordingDurationText(
        recordingSeconds(reader.memoryBlocks(), reader.inputCount(), reader.interval()));
}

} // namespace qz
