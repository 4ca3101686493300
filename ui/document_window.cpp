#include "ui/document_window.h"

#include <QCloseEvent>

namespace qz {

DocumentWindow::DocumentWindow(QWidget* parent) : QMdiSubWindow(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
    resize(435, 300);
}

void DocumentWindow::ChildSize(int top, int height)
{
    sized_ = true;
    resize(width(), height);
    move(x(), top);
}

void DocumentWindow::FreeWindow()
{
    freeing_ = true;
    hide();
    delete this;
}

void DocumentWindow::closeEvent(QCloseEvent* event)
{
    if (!freeing_ && !MayClose()) {
        event->ignore();
        return;
    }
    QMdiSubWindow::closeEvent(event);
}

} // namespace qz
