#pragma once
// The status line at the bottom of the main window: the cursor readout of the active
// graph window, a time column then one column per drawn input (value above, unit below),
// with each input's number and name in its tooltip; or a note of what a command did, shown
// until the next readout.
#include "recording/display_settings.h"

#include <QImage>
#include <QStringList>
#include <QWidget>

class QTimer;

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
    std::array<QString, mem::kInputs> names{}; // each input's function name

    bool operator==(const StatusReadout&) const = default;
};

class StatusImage final : public QWidget {
    Q_OBJECT
public:
    explicit StatusImage(QWidget* parent = nullptr);

    void clearStatus();
    // Draws the readout; the same readout again changes nothing (the main window asks
    // for it on every repaint of its own), and leaves a note shown.
    void drawStatus(const StatusReadout& readout);
    // A line of text in place of the readout: what a command did. It stays for a few
    // seconds whatever the mouse does over a graph, then gives way to the next readout.
    void showNote(const QString& text);
    // Lets the next readout replace the note now (the note's time is up).
    void expireNote() { noteHeld_ = false; }
    const QString& note() const { return note_; }
    bool isCleared() const { return cleared_; }
    // A graph window's readout is shown (not a note, not blank).
    bool showsReadout() const { return !cleared_ && note_.isEmpty(); }
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
    void paintNote();
    void updateToolTip();

    QImage image_;
    QFont font_;
    StatusReadout readout_;
    QList<int> columns_;
    QString note_;
    bool noteHeld_ = false;
    QTimer* noteTimer_;
    bool cleared_ = false;
};

} // namespace qz
