#include "app/ui/child_form.h"

#include <QCloseEvent>

namespace qz {

TChildForm::TChildForm(QWidget* parent) : QMdiSubWindow(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
    resize(435, 300);
}

void TChildForm::ChildSize(int top, int height)
{
    sized_ = true;
    resize(width(), height);
    move(x(), top);
}

void TChildForm::FreeWindow()
{
    freeing_ = true;
    hide();
    delete this;
}

void TChildForm::closeEvent(QCloseEvent* event)
{
    if (!freeing_ && !MayClose()) {
        event->ignore();
        return;
    }
    QMdiSubWindow::closeEvent(event);
}

} // namespace qz
