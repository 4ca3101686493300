#pragma once
// The small line under an input's value: the last minute of what it showed.
#include "realtime/reading_trend.h"

#include <QColor>
#include <QWidget>

namespace qz {

class TrendView final : public QWidget {
    Q_OBJECT
public:
    TrendView(const ReadingTrend& trend, int input, QColor colour, QWidget* parent = nullptr);

    // Draws the trend as it stands at nowMs, values spread over at least minRange.
    void showAt(std::int64_t nowMs, double minRange);
    // The points drawn last, in widget pixels (for tests).
    const std::vector<QPointF>& line() const { return line_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void layOut();

    const ReadingTrend& trend_;
    int input_;
    QColor colour_;
    std::int64_t nowMs_ = 0;
    double minRange_ = 0;
    std::vector<QPointF> line_;
};

} // namespace qz
