#include "recording/recording_data.h"

#include "model/datetime_number.h"
#include "model/simulated_logger.h"
#include "model/values.h"

#include <QLocale>

#include <algorithm>

namespace qz {

RecordingData::RecordingData() : image_(mem::kImageSize, 0), reader_(image())
{}

RecordingData::RecordingData(const RecordingData& other, const QString& fileName)
    : image_(other.image_), reader_(image()), model_(other.model_), created_(other.created_),
      fileName_(fileName), readoutUnit_(other.readoutUnit_), count_(other.count_), inputs_(other.inputs_)
{}

std::shared_ptr<const RecordingData> RecordingData::withFileName(const QString& name) const
{
    return std::shared_ptr<const RecordingData>(new RecordingData(*this, name));
}

QByteArray RecordingData::imageBytes() const
{
    return QByteArray(reinterpret_cast<const char*>(image_.data()), qsizetype(image_.size()));
}

RecordingResult RecordingData::fromImage(const QByteArray& image, double created, const ProgramFolder& folder)
{
    std::unique_ptr<RecordingData> data(new RecordingData());
    const auto n = std::min<qsizetype>(image.size(), qsizetype(data->image_.size()));
    std::copy_n(reinterpret_cast<const std::uint8_t*>(image.constData()), n, data->image_.begin());
    data->created_ = created;
    return derive(std::move(data), folder);
}

RecordingResult RecordingData::derive(std::unique_ptr<RecordingData> data, const ProgramFolder& folder)
{
    RecordingData& d = *data;
    d.reader_ = ImageReader(d.image());
    const DeviceCatalog catalog(folder);
    d.model_ = catalog.lookUp(d.reader_.deviceCode());
    if (d.model_.status == CatalogStatus::Unreadable)
        return {InitError::CatalogUnreadable, catalogMessage(d.model_), nullptr};
    if (!d.model_.accepted)
        return {InitError::NotAccepted, QString(), nullptr};
    d.count_ = d.reader_.recordCount();
    if (d.count_ < 2)
        return {InitError::TooFewMeasurements, QString(), nullptr};

    for (int i = 0; i < mem::kInputs; ++i) {
        InputInfo& in = d.inputs_[std::size_t(i)];
        const double low = d.reader_.scaleLow(i);
        const double high = d.reader_.scaleHigh(i);
        in.valueFormat = chooseFloatFormat((high - low) / 200).left(20);
        in.enabled = d.reader_.isInputRecorded(i);
        in.name = d.reader_.inputName(i);
        in.unit = d.reader_.inputUnit(i);
        in.conversion = Conversion{};
        if (in.enabled)
            in.conversion = makeConversion(low, high, d.reader_.calLow(i), d.reader_.calHigh(i));
    }
    // Read here once: the readout of every mouse move shows it.
    const QString key = QStringLiteral("PrimUnit") + QString::number(int(d.reader_.inputMask()) + 1);
    d.readoutUnit_ = catalog.deviceSetting(d.model_, key, QString());
    return {InitError::None, QString(), std::move(data)};
}

const InputInfo& RecordingData::input(int input) const
{
    static const InputInfo none{};
    return input >= 0 && input < mem::kInputs ? inputs_[std::size_t(input)] : none;
}

QString RecordingData::createdText() const
{
    const QLocale locale;
    QString format = locale.dateTimeFormat(QLocale::ShortFormat);
    // The short form with the seconds after the minutes, joined as the locale joins hours
    // and minutes ("HH:mm" -> "HH:mm:ss", "H.mm" -> "H.mm.ss"). Only minutes are 'm'.
    if (!format.contains(QLatin1Char('s'))) {
        const int minutes = int(format.indexOf(QLatin1Char('m')));
        if (minutes >= 0) {
            int end = minutes;
            while (end < format.size() && format.at(end) == QLatin1Char('m'))
                ++end;
            const QChar before = minutes > 0 ? format.at(minutes - 1) : QChar();
            const QChar separator = before.isNull() || before.isLetter() ? QChar(u':') : before;
            format.insert(end, separator + QStringLiteral("ss"));
        } else {
            format += QStringLiteral(" HH:mm:ss");
        }
    }
    return locale.toString(fromDateTimeNumber(created_), format);
}

QString RecordingData::description() const
{
    if (!fileName_.isEmpty())
        return fileName_;
    return reader_.serialNumber() + createdText();
}

QString RecordingData::simulatedMark() const
{
    if (!isSimulatedSerial(reader_.serialNumber()))
        return {};
    return QStringLiteral(" (") + simulatedLoggerText() + QLatin1Char(')');
}

void RecordingData::samples(int i, int first, int count, std::uint8_t* out) const
{
    const int width = reader_.recordWidth();
    const int position = reader_.recordPosition(i);
    const bool inRecord = reader_.isInputRecorded(i) && position < width;
    const int perBlock = int(mem::kSampleArea) / width;
    int n = 0;
    while (n < count) {
        const int k = first + n;
        if (!inRecord || k < 1) {
            out[n++] = inRecord ? sample(i, k) : 0;
            continue;
        }
        // The rest of this block in one go.
        const int m = k - 1;
        const int within = m % perBlock;
        const int run = std::min(count - n, perBlock - within);
        const int p = reader_.physicalBlock(m / perBlock);
        const std::size_t start =
            p < 0 ? 0 : mem::blockAddress(p) + mem::kSamples + std::size_t(within * width + position);
        if (p < 0 || start + std::size_t((run - 1) * width) >= image_.size()) {
            for (int r = 0; r < run; ++r, ++n)
                out[n] = sample(i, first + n);
            continue;
        }
        const std::uint8_t* from = image_.data() + start;
        for (int r = 0; r < run; ++r, from += width)
            out[n++] = *from;
    }
}

} // namespace qz
