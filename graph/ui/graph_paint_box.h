#pragma once
// The graph window's drawing area: the graph is drawn into an off-screen image (the paint
// box) that is shown as it is.
#include "graph/graph_layout.h"

#include <QImage>
#include <QWidget>

namespace qz {

class Recording;

class GraphPaintBox final : public QWidget {
    Q_OBJECT
public:
    explicit GraphPaintBox(const Recording& recording, QWidget* parent = nullptr);

    // A new white image of the box's size; drawn again when blank is false.
    void prepareCanvas(bool blank);
    // Draws the graph into the image and shows it.
    void drawGraph();
    const QImage& image() const { return image_; }
    int drawCount() const { return drawCount_; }
    const GraphLayout& layout() const { return layout_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    const Recording& recording_;
    QImage image_;
    GraphLayout layout_;
    int drawCount_ = 0;
};

} // namespace qz
