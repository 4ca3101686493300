#include "window_rig.h"

#include "graph/graph_fonts.h"
#include "ui/internal_messages.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

namespace qz::test {

bool StatusTarget::event(QEvent* e)
{
    if (internalMessageOf(e->type()) == kMsgDrawStatus) {
        ++draws;
        return true;
    }
    return QObject::event(e);
}

void GraphWindowTest::SetUp()
{
    setUpFontSubstitutions();
    config_ = std::make_unique<GraphicConfigDialog>(colours_);
    area_ = std::make_unique<QMdiArea>();
    area_->resize(700, 500);
    area_->show();
    area_->activateWindow();
    settle();
}

void GraphWindowTest::TearDown()
{
    area_.reset();
    config_.reset();
    settle();
}

GraphWindow& GraphWindowTest::open(const ImageBuilder& image, QSize size, bool byUnit)
{
    window_ = new GraphWindow(prompt_, clock_, config_.get());
    window_->setNotifyTarget(&status_);
    area_->addSubWindow(window_);
    window_->show();
    window_->resize(window_->size() + size - window_->paintBox()->size());
    const RecordingResult made = RecordingData::fromImage(image.build(), 0, fixture_.programFolder());
    EXPECT_TRUE(made.ok());
    window_->showRecording(made.data, true);
    window_->view().setColourTable(testColours());
    if (!byUnit)
        window_->view().setDisplaySettings(ownScales(window_->view().settings()));
    window_->drawGraph();
    area_->setActiveSubWindow(window_);
    settle();
    clock_.advance(kCursorHoldOffMs);
    EXPECT_EQ(window_->paintBox()->size(), size);
    EXPECT_TRUE(window_->isActive());
    return *window_;
}

void GraphWindowTest::move(QPoint at, Qt::MouseButtons held)
{
    QWidget* box = window_->paintBox();
    QMouseEvent e(QEvent::MouseMove, at, box->mapToGlobal(at), Qt::NoButton, held, Qt::NoModifier);
    QApplication::sendEvent(box, &e);
}

void GraphWindowTest::press(Qt::MouseButton button, QPoint at, Qt::KeyboardModifiers mods)
{
    QTest::mousePress(window_->paintBox(), button, mods, at);
}

void GraphWindowTest::release(Qt::MouseButton button, QPoint at)
{
    QTest::mouseRelease(window_->paintBox(), button, Qt::NoModifier, at);
}

void GraphWindowTest::drag(QPoint from, QPoint to)
{
    press(Qt::LeftButton, from);
    move(to, Qt::LeftButton);
    release(Qt::LeftButton, to);
}

void GraphWindowTest::doubleClick(QPoint at)
{
    press(Qt::LeftButton, at);
    release(Qt::LeftButton, at);
    QTest::mouseDClick(window_->paintBox(), Qt::LeftButton, Qt::NoModifier, at);
    release(Qt::LeftButton, at);
}

void GraphWindowTest::reactivate()
{
    area_->activateWindow();
    settle();
    ASSERT_TRUE(window_->isActiveWindow());
    ASSERT_TRUE(window_->isActive());
}

void GraphWindowTest::settle()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

} // namespace qz::test
