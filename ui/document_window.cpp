#include "ui/document_window.h"

#include <QCloseEvent>

namespace qz {

DocumentWindow::DocumentWindow(QWidget* parent) : QMdiSubWindow(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
    resize(435, 300);
}

void DocumentWindow::setTopAndHeight(int top, int height)
{
    sized_ = true;
    resize(width(), height);
    move(x(), top);
}

void DocumentWindow::freeWindow()
{
    freeing_ = true;
    hide();
    delete this;
}

void DocumentWindow::closeEvent(QCloseEvent* event)
{
    if (!freeing_ && !mayClose()) {
        event->ignore();
        return;
    }
    QMdiSubWindow::closeEvent(event);
}

} // namespace qz
