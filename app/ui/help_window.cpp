#include "app/ui/help_window.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace qz {

HelpWindow::HelpWindow(QString folder, QWidget* parent)
    : QWidget(parent, Qt::Window), folder_(std::move(folder))
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Quorvant ZK Help"));
    resize(560, 480);
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(QStringLiteral("Search:"), this);
    searchBox_ = new QLineEdit(this);
    searchBox_->setObjectName(QStringLiteral("SearchBox"));
    browser_ = new QTextBrowser(this);
    browser_->setOpenLinks(true);
    layout->addWidget(label);
    layout->addWidget(searchBox_);
    layout->addWidget(browser_, 1);
    connect(searchBox_, &QLineEdit::returnPressed, this, &HelpWindow::search);
}

bool HelpWindow::open(const QString& anchor)
{
    const QString index = QDir(folder_).filePath(QStringLiteral("index.html"));
    if (!QFileInfo::exists(index)) {
        browser_->setPlainText(QStringLiteral("The help pages were not found in ") + folder_);
        show();
        return false;
    }
    QUrl url = QUrl::fromLocalFile(index);
    if (!anchor.isEmpty())
        url.setFragment(anchor);
    browser_->setSource(url);
    if (!anchor.isEmpty())
        browser_->scrollToAnchor(anchor);
    show();
    raise();
    activateWindow();
    return true;
}

bool HelpWindow::showContext(int context)
{
    return open(anchorFor(context));
}

bool HelpWindow::showContents()
{
    const bool ok = open(QString());
    searchBox_->clear();
    searchBox_->setFocus();
    return ok;
}

void HelpWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void HelpWindow::search()
{
    const QString word = searchBox_->text().trimmed();
    if (word.isEmpty())
        return;
    // From the top, so each search finds the first place.
    browser_->moveCursor(QTextCursor::Start);
    browser_->find(word);
}

} // namespace qz
