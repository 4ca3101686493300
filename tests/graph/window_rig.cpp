#include "window_rig.h"

#include "graph/graph_fonts.h"
#include "model/internal_messages.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

namespace qz::test {

bool StatusTarget::event(QEvent* e)
{
    if (InternalMessageOf(e->type()) == kMsgDrawStatus) {
        ++draws;
        return true;
    }
    return QObject::event(e);
}

void GraphWindowTest::SetUp()
{
    SetUpFontSubstitutions();
    config_ = std::make_unique<GraphicConfigDialog>(colours_);
    area_ = std::make_unique<QMdiArea>();
    area_->resize(700, 500);
    area_->show();
    area_->activateWindow();
    Settle();
}

void GraphWindowTest::TearDown()
{
    area_.reset();
    config_.reset();
    Settle();
}

GraphWindow& GraphWindowTest::Open(const ImageBuilder& image, QSize size)
{
    window_ = new GraphWindow(ProgramFolder(fixture_.Folder()), prompt_, clock_, config_.get());
    window_->setNotifyTarget(&status_);
    area_->addSubWindow(window_);
    window_->show();
    window_->resize(window_->size() + size - window_->paintBox()->size());
    window_->recording().setImage(image.build());
    EXPECT_TRUE(window_->initialize());
    window_->recording().setColourTable(TestColours());
    window_->drawGraph();
    area_->setActiveSubWindow(window_);
    Settle();
    clock_.advance(kCursorHoldOffMs);
    EXPECT_EQ(window_->paintBox()->size(), size);
    EXPECT_TRUE(window_->isActive());
    return *window_;
}

void GraphWindowTest::Move(QPoint at, Qt::MouseButtons held)
{
    QWidget* box = window_->paintBox();
    QMouseEvent e(QEvent::MouseMove, at, box->mapToGlobal(at), Qt::NoButton, held, Qt::NoModifier);
    QApplication::sendEvent(box, &e);
}

void GraphWindowTest::Press(Qt::MouseButton button, QPoint at, Qt::KeyboardModifiers mods)
{
    QTest::mousePress(window_->paintBox(), button, mods, at);
}

void GraphWindowTest::Release(Qt::MouseButton button, QPoint at)
{
    QTest::mouseRelease(window_->paintBox(), button, Qt::NoModifier, at);
}

void GraphWindowTest::Drag(QPoint from, QPoint to)
{
    Press(Qt::LeftButton, from);
    Move(to, Qt::LeftButton);
    Release(Qt::LeftButton, to);
}

void GraphWindowTest::DoubleClick(QPoint at)
{
    Press(Qt::LeftButton, at);
    Release(Qt::LeftButton, at);
    QTest::mouseDClick(window_->paintBox(), Qt::LeftButton, Qt::NoModifier, at);
    Release(Qt::LeftButton, at);
}

void GraphWindowTest::Reactivate()
{
    area_->activateWindow();
    Settle();
    ASSERT_TRUE(window_->isActiveWindow());
    ASSERT_TRUE(window_->isActive());
}

void GraphWindowTest::Settle()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

} // namespace qz::test
