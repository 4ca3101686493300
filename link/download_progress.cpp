#include "link/download_progress.h"

#include "link/link_texts.h"

#include <algorithm>

namespace qz {

namespace {
// Per mille of the bar the header's areas take before the first block.
constexpr int kHeaderShare = 30;

QString twoDigits(std::int64_t n)
{
    return QString::number(n).rightJustified(2, QLatin1Char('0'));
}
} // namespace

QString blockProgressText(int block, int count, std::int64_t secondsLeft)
{
    QString text =
        QStringLiteral("Block ") + QString::number(block) + QStringLiteral(" of ") + QString::number(count);
    if (secondsLeft < 0)
        return text;
    const std::int64_t h = secondsLeft / 3600;
    const std::int64_t m = secondsLeft / 60 % 60;
    const std::int64_t s = secondsLeft % 60;
    text += QStringLiteral(", ");
    text += h > 0 ? QString::number(h) + u':' + twoDigits(m) : QString::number(m);
    text += u':' + twoDigits(s) + QStringLiteral(" left");
    return text;
}

void DownloadProgress::begin()
{
    position_ = 0;
    progress_.setCaption(texts::downloadingCaption());
    progress_.setMaximum(kMaximum);
    progress_.setPosition(0);
    progress_.setText(QString());
    progress_.setCancelEnabled(true);
}

void DownloadProgress::header(int step)
{
    moveTo(kHeaderShare * std::clamp(step, 0, kHeaderSteps) / kHeaderSteps);
}

void DownloadProgress::block(int index, int count)
{
    if (count <= 0)
        return;
    const std::int64_t now = clock_.tickMs();
    if (index == 0)
        firstBlockMs_ = now;
    moveTo(kHeaderShare + int(std::int64_t(kMaximum - kHeaderShare) * index / count));
    // The pace is known once a block has taken measurable time.
    std::int64_t left = -1;
    if (index > 0 && now > firstBlockMs_) {
        const std::int64_t msLeft = (now - firstBlockMs_) * (count - index) / index;
        left = (msLeft + 999) / 1000;
    }
    progress_.setText(blockProgressText(index + 1, count, left));
}

void DownloadProgress::end()
{
    moveTo(kMaximum);
}

void DownloadProgress::moveTo(int position)
{
    // Forward only: a block read again or a step reported twice never moves the bar back.
    position_ = std::max(position_, std::min(position, kMaximum));
    progress_.setPosition(position_);
}

} // namespace qz
