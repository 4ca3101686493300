#include "app/ui/window_geometry.h"

#include <QStringList>

#include <algorithm>

namespace qz {

namespace {
constexpr int kTitleHeight = 24;
constexpr int kReachableWidth = 100;
} // namespace

QString geometryText(const QRect& rect)
{
    return QStringLiteral("%1,%2,%3,%4").arg(rect.x()).arg(rect.y()).arg(rect.width()).arg(rect.height());
}

std::optional<QRect> parseGeometry(const QString& text)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 4)
        return std::nullopt;
    int v[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        v[i] = parts[i].trimmed().toInt(&ok);
        if (!ok)
            return std::nullopt;
    }
    if (v[2] < 1 || v[3] < 1)
        return std::nullopt;
    return QRect(v[0], v[1], v[2], v[3]);
}

std::optional<QRect> restoredGeometry(const QRect& saved, const QList<QRect>& screens)
{
    if (!saved.isValid())
        return std::nullopt;
    const QRect title(saved.x(), saved.y(), saved.width(), std::min(kTitleHeight, saved.height()));
    const int needed = std::min(saved.width(), std::max(kReachableWidth, saved.width() / 4));
    const QRect* best = nullptr;
    int bestShown = 0;
    for (const QRect& screen : screens) {
        const QRect shown = title.intersected(screen);
        // The whole height of the title band must be on the screen, so it can be grabbed.
        if (shown.height() < title.height() || shown.width() < needed)
            continue;
        if (shown.width() > bestShown) {
            bestShown = shown.width();
            best = &screen;
        }
    }
    if (!best)
        return std::nullopt;
    QRect placed(saved.topLeft(), saved.size().boundedTo(best->size()));
    placed.moveLeft(std::clamp(placed.left(), best->left(), best->right() - placed.width() + 1));
    placed.moveTop(std::clamp(placed.top(), best->top(), best->bottom() - placed.height() + 1));
    return placed;
}

QRect firstGeometry(const QRect& available, const QSize& least)
{
    const QSize size = QSize(available.width() * 4 / 5, available.height() * 4 / 5)
                           .expandedTo(least)
                           .boundedTo(available.size());
    QRect placed(QPoint(0, 0), size);
    placed.moveCenter(available.center());
    return placed;
}

} // namespace qz
