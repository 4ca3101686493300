#include "recording/recording.h"

#include "model/datetime_number.h"
#include "model/values.h"

#include <algorithm>

namespace qz {

namespace {

bool ValidInput(int input)
{
    return input >= 0 && input < kInputCount;
}

} // namespace

Recording::Recording(ProgramFolder folder)
    : folder_(std::move(folder)), image_(kImageSize, 0), data_(folder_)
{
    data_.BindImage(image_.data(), image_.size());
}

QByteArray Recording::ImageBytes() const
{
    return QByteArray(reinterpret_cast<const char*>(image_.data()), qsizetype(image_.size()));
}

void Recording::SetImage(const QByteArray& bytes)
{
    const auto n = std::min<qsizetype>(bytes.size(), kImageSize);
    std::fill(image_.begin(), image_.end(), 0);
    std::copy_n(reinterpret_cast<const std::uint8_t*>(bytes.constData()), n, image_.begin());
}

void Recording::CopyFrom(const Recording& other)
{
    image_ = other.image_; // same size: the buffer stays where it is
    created_ = other.created_;
    fileName_ = other.fileName_;
    saved_ = true;
}

bool Recording::Initialize()
{
    data_.BindImage(image_.data(), image_.size());
    if (!data_.LoadDeviceInfo())
        return false;
    const int count = data_.GetRecordCount();
    if (count < 2)
        return false;

    const std::uint8_t mask = data_.GetInputMask();
    int position = 0;
    for (int i = 0; i < kInputCount; ++i) {
        data_.CurrentInput = i;
        const double low = data_.GetScaleLow();
        const double high = data_.GetScaleHigh();
        formats_[i] = ChooseFloatFormat((high - low) / 200).left(20);
        enabled_[i] = (mask >> i) & 1u;
        position_[i] = position;
        conversion_[i] = Conversion{};
        rawSum_[i] = 0;
        if (enabled_[i]) {
            conversion_[i] = MakeConversion(low, high, data_.GetCalLow(), data_.GetCalHigh());
            ++position;
        }
    }
    measurementCount_ = count;

    views_.fill(ViewRecord{});
    currentLevel_ = 0;
    ViewRecord& v = views_[0];
    v.first = 1;
    v.last = count;
    settings_ = InitDisplaySettings(mask);
    SearchMaxMin(v);
    UpdateScalingMode(v);
    ComputeAverages(v);
    initialized_ = true;
    return true;
}

int Recording::MeasurementCount()
{
    return data_.GetRecordCount();
}

QString Recording::Description() const
{
    if (!fileName_.isEmpty())
        return fileName_;
    return data_.GetSerialNumber()
        + QLocale().toString(FromDateTimeNumber(created_), QLocale::ShortFormat);
}

void Recording::ChildTitle(int n)
{
    if (titleSet_)
        return;
    const QString number = QString::number(n).leftJustified(3, ' ');
    const QString name = data_.GetRecordName().left(30);
    if (!fileName_.isEmpty()) {
        const QString base = fileName_.mid(fileName_.lastIndexOf(QLatin1Char('/')) + 1);
        caption_ = base + QStringLiteral(" - ") + name + QStringLiteral(" #") + number;
    } else {
        caption_ = QStringLiteral("S/N:") + data_.GetSerialNumber() + QStringLiteral(" - ") + name
            + QStringLiteral(" #") + number + QStringLiteral(" (")
            + QLocale().toString(FromDateTimeNumber(created_), QLocale::ShortFormat)
            + QStringLiteral(" )");
    }
    titleSet_ = true;
}

bool Recording::IsEnabled(int input) const
{
    return ValidInput(input) && enabled_[input];
}

const QString& Recording::ValueFormat(int input) const
{
    static const QString none = QStringLiteral("0");
    return ValidInput(input) ? formats_[input] : none;
}

const Conversion& Recording::InputConversion(int input) const
{
    static const Conversion none{};
    return ValidInput(input) ? conversion_[input] : none;
}

long double Recording::RawSum(int input) const
{
    return ValidInput(input) ? rawSum_[input] : 0;
}

int Recording::RecordPosition(int input) const
{
    return ValidInput(input) ? position_[input] : 0;
}

void Recording::SelectInput(int input)
{
    if (!ValidInput(input))
        return;
    data_.CurrentInput = input;
    data_.CurrentOffset = position_[input];
}

std::uint8_t Recording::Sample(int input, int measurement)
{
    SelectInput(input);
    return data_.GetSample(measurement);
}

long double Recording::Normalize(int input, long double v) const
{
    return qz::Normalize(v, InputConversion(input).resolution);
}

void Recording::ApplyGraphicConfig(const ColourTable& colours, const DisplaySettings& settings)
{
    colours_ = colours;
    settings_ = settings;
    UpdateScalingMode(CurrentView());
}

ViewRecord& Recording::View(int level)
{
    return views_[std::clamp(level, 0, kViewLevels - 1)];
}

const ViewRecord& Recording::View(int level) const
{
    return views_[std::clamp(level, 0, kViewLevels - 1)];
}

void Recording::SetCurrentLevel(int level)
{
    currentLevel_ = std::clamp(level, 0, kViewLevels - 1);
}

int Recording::LevelOf(const ViewRecord& view) const
{
    for (int l = 0; l < kViewLevels; ++l)
        if (&views_[l] == &view)
            return l;
    return currentLevel_;
}

} // namespace qz
