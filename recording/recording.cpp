#include "recording/recording.h"

#include "model/datetime_number.h"
#include "model/simulated_logger.h"
#include "model/values.h"

#include <QLocale>

#include <algorithm>

namespace qz {

namespace {

bool validInput(int input)
{
    return input >= 0 && input < mem::kInputs;
}

} // namespace

Recording::Recording(ProgramFolder folder)
    : catalog_(std::move(folder)), image_(mem::kImageSize, 0), reader_(image())
{}

void Recording::rebind()
{
    reader_ = ImageReader(image());
}

QByteArray Recording::imageBytes() const
{
    return QByteArray(reinterpret_cast<const char*>(image_.data()), qsizetype(image_.size()));
}

void Recording::setImage(const QByteArray& bytes)
{
    const auto n = std::min<qsizetype>(bytes.size(), qsizetype(image_.size()));
    std::fill(image_.begin(), image_.end(), 0);
    std::copy_n(reinterpret_cast<const std::uint8_t*>(bytes.constData()), n, image_.begin());
    rebind();
}

void Recording::copyFrom(const Recording& other)
{
    image_ = other.image_; // same size: the buffer stays where it is
    rebind();
    created_ = other.created_;
    fileName_ = other.fileName_;
    saved_ = true;
}

InitResult Recording::initialize()
{
    rebind();
    model_ = catalog_.lookUp(reader_.deviceCode());
    if (model_.status == CatalogStatus::Unreadable)
        return {InitError::CatalogUnreadable};
    if (!model_.accepted)
        return {InitError::NotAccepted};
    const int count = reader_.recordCount();
    if (count < 2)
        return {InitError::TooFewMeasurements};

    for (int i = 0; i < mem::kInputs; ++i) {
        const double low = reader_.scaleLow(i);
        const double high = reader_.scaleHigh(i);
        formats_[i] = chooseFloatFormat((high - low) / 200).left(20);
        enabled_[i] = reader_.isInputRecorded(i);
        conversion_[i] = Conversion{};
        rawSum_[i] = 0;
        if (enabled_[i])
            conversion_[i] = makeConversion(low, high, reader_.calLow(i), reader_.calHigh(i));
    }
    measurementCount_ = count;

    views_.fill(ViewRecord{});
    currentLevel_ = 0;
    ViewRecord& v = views_[0];
    v.first = 1;
    v.last = count;
    settings_ = initDisplaySettings(reader_.inputMask());
    searchMaxMin(v);
    updateScalingMode(v);
    computeAverages(v);
    initialized_ = true;
    return {};
}

QString Recording::createdText() const
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

QString Recording::description() const
{
    if (!fileName_.isEmpty())
        return fileName_;
    return reader_.serialNumber() + createdText();
}

QString Recording::simulatedMark() const
{
    if (!isSimulatedSerial(reader_.serialNumber()))
        return {};
    return QStringLiteral(" (") + simulatedLoggerText() + QLatin1Char(')');
}

void Recording::childTitle(int n)
{
    if (titleSet_)
        return;
    const QString number = QString::number(n).leftJustified(3, ' ');
    const QString name = reader_.recordName().left(30);
    if (!fileName_.isEmpty()) {
        const QString base = fileName_.mid(fileName_.lastIndexOf(QLatin1Char('/')) + 1);
        caption_ = base + simulatedMark() + QStringLiteral(" - ") + name + QStringLiteral(" #") + number;
    } else {
        caption_ = QStringLiteral("S/N:") + reader_.serialNumber() + simulatedMark() + QStringLiteral(" - ")
            + name + QStringLiteral(" #") + number + QStringLiteral(" (") + createdText()
            + QStringLiteral(" )");
    }
    titleSet_ = true;
}

bool Recording::isEnabled(int input) const
{
    return validInput(input) && enabled_[input];
}

const QString& Recording::valueFormat(int input) const
{
    static const QString none = QStringLiteral("0");
    return validInput(input) ? formats_[input] : none;
}

const Conversion& Recording::conversion(int input) const
{
    static const Conversion none{};
    return validInput(input) ? conversion_[input] : none;
}

long double Recording::rawSum(int input) const
{
    return validInput(input) ? rawSum_[input] : 0;
}

long double Recording::normalize(int input, long double v) const
{
    return qz::normalize(v, conversion(input).resolution);
}

void Recording::applyGraphicConfig(const ColourTable& colours, const DisplaySettings& settings)
{
    colours_ = colours;
    settings_ = settings;
    updateScalingMode(currentView());
}

ViewRecord& Recording::view(int level)
{
    return views_[std::clamp(level, 0, kViewLevels - 1)];
}

const ViewRecord& Recording::view(int level) const
{
    return views_[std::clamp(level, 0, kViewLevels - 1)];
}

void Recording::setCurrentLevel(int level)
{
    currentLevel_ = std::clamp(level, 0, kViewLevels - 1);
}

int Recording::levelOf(const ViewRecord& view) const
{
    for (int l = 0; l < kViewLevels; ++l)
        if (&views_[l] == &view)
            return l;
    return currentLevel_;
}

} // namespace qz
