#include "app/ui/information_window.h"

#include "graph/ui/graph_window.h"
#include "graph/view_texts.h"
#include "platform/prompt.h"
#include "platform/safe_file.h"
#include "ui/internal_messages.h"
#include "ui/text_print.h"

#include <QClipboard>
#include <QFontMetrics>
#include <QScrollBar>
#include <QTextDocument>

#include <QGuiApplication>
#include <QMdiArea>
#include <QPlainTextEdit>
#include <QPrinter>
#include <algorithm>

namespace qz {

InformationWindow::InformationWindow(Prompt& prompt, QWidget* parent)
    : DocumentWindow(parent), prompt_(prompt)
{
    setObjectName(QStringLiteral("MDIinfos"));
    resize(435, 330);
    memo_ = new QPlainTextEdit(this);
    memo_->setObjectName(QStringLiteral("Memo"));
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(15);
    memo_->setFont(font);
    QPalette palette = memo_->palette();
    palette.setColor(QPalette::Text, Qt::black);
    memo_->setPalette(palette);
    // Read-only text shows no caret; the mouse keeps the arrow over it.
    memo_->setReadOnly(true);
    memo_->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo_->viewport()->setCursor(Qt::ArrowCursor);
    setWidget(memo_);
}

InformationWindow::~InformationWindow()
{
    // The graph window forgets this window, so that Logger infos makes a new one.
    if (graph_)
        sendInternal(graph_, kMsgDetachInfoWindow);
}

void InformationWindow::showRecordInfos(GraphWindow& graph)
{
    graph.setInformationWindow(this);
    graph_ = &graph;
    setNotifyTarget(&graph);
    connect(&graph, &GraphWindow::graphDrawn, this, &InformationWindow::refill, Qt::UniqueConnection);
    refill();
}

void InformationWindow::refill()
{
    if (!graph_)
        return;
    setWindowTitle(titleFor(graph_->windowTitle()));
    if (graph_->hasRecording())
        setMemoLines(informationLines(graph_->view()));
}

void InformationWindow::setMemoLines(const QStringList& lines)
{
    lines_ = lines;
    memo_->setPlainText(lines.join(QLatin1Char('\n')));
}

QString InformationWindow::titleFor(const QString& graphTitle)
{
    // The Window menu lists windows by title: a graph and its text are told apart.
    return graphTitle.trimmed() + QStringLiteral(" - information");
}

void InformationWindow::fitWidthToText(int maxWidth)
{
    const QFontMetrics metrics(memo_->font());
    int longest = 0;
    for (const QString& line : lines_)
        longest = std::max(longest, metrics.horizontalAdvance(line));
    // The memo's frame, margins and scroll bar, and the window's own frame.
    const int frame = widget() ? width() - widget()->width() : 0;
    const int chrome = frame + 2 * memo_->frameWidth() + memo_->verticalScrollBar()->sizeHint().width()
        + 2 * int(memo_->document()->documentMargin()) + 4;
    resize(std::clamp(longest + chrome, std::min(width(), maxWidth), std::max(maxWidth, 1)), height());
}

void InformationWindow::bringToFront()
{
    if (isMinimized())
        showNormal();
    show();
    raise();
    if (QMdiArea* area = mdiArea())
        area->setActiveSubWindow(this);
}

DocumentWindow* InformationWindow::dataWindow()
{
    return graph_.data();
}

void InformationWindow::copyToClipboard()
{
    memo_->selectAll();
    QGuiApplication::clipboard()->setText(lines_.join(QLatin1Char('\n')));
}

void InformationWindow::printTo(QPrinter& printer)
{
    printer.setDocName(windowTitle());
    if (!printLines(printer, lines_, memo_->font())) {
        const QString where =
            printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName();
        prompt_.tell(QStringLiteral("Unable to print on ") + where, PromptSymbol::Error);
    }
}

bool InformationWindow::saveToFile(const QString& name)
{
    QByteArray text;
    for (const QString& line : lines_) {
        text += line.toUtf8();
        text += '\n';
    }
    SafeFile file(name);
    if (!file.open() || !file.write(text) || !file.commit()) {
        setSaveReason(file.reason());
        return false;
    }
    return true;
}

bool InformationWindow::mayClose()
{
    // The graph window forgets this window when it is destroyed, not when it is asked: a
    // close that another window refuses afterwards (an exit the user takes back) keeps
    // this window, and it must stay its graph window's.
    return true;
}

} // namespace qz
