#pragma once
// The graph window's drawing area: the graph is drawn into an off-screen image (the paint
// box) that is shown as it is, with the dotted cursor line and the zoom rectangle drawn
// over it.
#include "graph/graph_layout.h"
#include "graph/graph_texts.h"

#include <QImage>
#include <QRect>
#include <QWidget>

#include <optional>

namespace qz {

class GraphView;

class GraphPaintBox final : public QWidget {
    Q_OBJECT
public:
    explicit GraphPaintBox(QWidget* parent = nullptr);

    // The view drawn (none: the box stays white). The window owning the view keeps it
    // while the box shows it.
    void setView(const GraphView* view) { view_ = view; }

    // A new white image of the box's size; drawn again when blank is false.
    void prepareCanvas(bool blank);
    // Draws the graph into the image and shows it.
    void drawGraph();
    const QImage& image() const { return image_; }
    int drawCount() const { return drawCount_; }
    const GraphLayout& layout() const { return layout_; }
    // The texts of the last drawing, where they stand.
    const std::vector<PlacedText>& texts() const { return texts_; }

    // The dotted vertical line at x, between the frame's inner rows.
    void showCursorLine(int x);
    void hideCursorLine();
    bool cursorLineShown() const { return cursorX_.has_value(); }
    std::optional<int> cursorLine() const { return cursorX_; }

    // The dotted zoom rectangle through the corners of rect (both inside it).
    void showRubberBand(const QRect& rect);
    void hideRubberBand();
    std::optional<QRect> rubberBand() const { return band_; }

signals:
    void resized();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    const GraphView* view_ = nullptr;
    QImage image_;
    GraphLayout layout_;
    std::vector<PlacedText> texts_;
    int drawCount_ = 0;
    std::optional<int> cursorX_;
    std::optional<QRect> band_;
};

} // namespace qz
