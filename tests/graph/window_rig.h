#pragma once
// A graph window in a document area of its own, over a recording prompt, a virtual clock
// and a colour chooser that answers from a script; the mouse is driven with synthetic
// events at paint-box coordinates.
#include "graph/ui/graph_paint_box.h"
#include "graph/ui/graph_window.h"
#include "graph/ui/graphic_config_dialog.h"
#include "graph_fixture.h"
#include "support/recording_prompt.h"
#include "support/virtual_clock.h"
#include "ui/colour_chooser.h"

#include <QMdiArea>

#include <gtest/gtest.h>

#include <deque>
#include <memory>

namespace qz::test {

class ScriptedColours final : public ColourChooser {
public:
    // The next scripted answer; a cancel when none is left.
    std::optional<QColor> chooseColour(QWidget*, const QColor& initial) override
    {
        offered.push_back(initial);
        if (answers.empty())
            return std::nullopt;
        const std::optional<QColor> c = answers.front();
        answers.pop_front();
        return c;
    }
    std::deque<std::optional<QColor>> answers;
    std::vector<QColor> offered;
};

// Counts the status-line messages (1026) a graph window sends to its main window.
class StatusTarget final : public QObject {
public:
    int draws = 0;
    bool event(QEvent* e) override;
};

class GraphWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A shown, initialized and active window whose paint box is size; the hold-off of
    // the activation has passed. Drawn with each input on its own scale, unless byUnit.
    GraphWindow& open(const ImageBuilder& image, QSize size = QSize(400, 300), bool byUnit = false);
    GraphPaintBox& box() { return *window_->paintBox(); }
    GraphView& rec() { return window_->view(); }
    int level() { return window_->view().currentLevel(); }
    const ViewRecord& view() { return window_->view().currentView(); }

    void move(QPoint at, Qt::MouseButtons held = Qt::NoButton);
    void press(Qt::MouseButton button, QPoint at, Qt::KeyboardModifiers mods = Qt::NoModifier);
    void release(Qt::MouseButton button, QPoint at);
    // Press at from, a move to to, release at to.
    void drag(QPoint from, QPoint to);
    void doubleClick(QPoint at);
    // The user comes back to the document area (after a dialog).
    void reactivate();
    // Posted messages and paints.
    static void settle();

    GraphFixture fixture_;
    RecordingPrompt prompt_;
    VirtualClock clock_;
    ScriptedColours colours_;
    StatusTarget status_;
    std::unique_ptr<GraphicConfigDialog> config_;
    std::unique_ptr<QMdiArea> area_;
    GraphWindow* window_ = nullptr;
};

} // namespace qz::test
