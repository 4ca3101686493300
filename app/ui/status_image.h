#pragma once
// The status line at the bottom of the main window: the cursor readout of the active
// graph window, a time column then one column per drawn input (value above, unit below).
#include "recording/display_settings.h"

#include <QImage>
#include <QStringList>
#include <QWidget>

#include <array>
#include <vector>

namespace qz {

// A column after the drawn inputs: another recording's time and name, or one of its
// values and units.
struct StatusColumn {
    QString value; // the upper line
    QString unit; // the lower line
    Colour colour = 0;
    bool time = false; // as wide as its texts, not the seven characters of a unit

    bool operator==(const StatusColumn&) const = default;
};

struct StatusReadout {
    QStringList texts; // 0: the time column; k >= 1: the k-th drawn input's value
    QStringList units; // indexed like texts; entry 0 is not read
    ColourTable colours{};
    std::array<bool, mem::kInputs> drawn{};
    std::vector<StatusColumn> more; // the further recordings of the graph

    bool operator==(const StatusReadout&) const = default;
};

class StatusImage final : public QWidget {
    Q_OBJECT
public:
    explicit StatusImage(QWidget* parent = nullptr);

    void clearStatus();
    // Draws the readout; the same readout again changes nothing (the main window asks
    // for it on every repaint of its own).
    void drawStatus(const StatusReadout& readout);
    bool isCleared() const { return cleared_; }
    const QImage& image() const { return image_; }
    // x of each drawn column's left edge, after the time column (for tests).
    const QList<int>& columns() const { return columns_; }
    const StatusReadout& readout() const { return readout_; }

    static QColor toColor(Colour c) { return QColor(c & 0xff, (c >> 8) & 0xff, (c >> 16) & 0xff); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void paintReadout();

    QImage image_;
    QFont font_;
    StatusReadout readout_;
    QList<int> columns_;
    bool cleared_ = false;
};

} // namespace qz
