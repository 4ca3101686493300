#include "app/ui/diagnostic_panel.h"

#include "app/ui/document_dialogs.h"
#include "app/ui/document_texts.h"
#include "jobs/job_messages.h"
#include "jobs/logger_ports.h"
#include "jobs/memory_job.h"
#include "model/memory_image.h"
#include "platform/prompt.h"
#include "support_tools/dump_address.h"
#include "support_tools/hex_lines.h"
#include "support_tools/memory_reads.h"

#include <QContextMenuEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedLayout>
#include <QStyle>
#include <QVBoxLayout>

namespace qz {

namespace {

constexpr int kColumnWidth = 84;
constexpr int kSignFontPixels = 24;
constexpr int kRtcFontPixels = 13;
const QString kRecordingExt = QStringLiteral("qrv");

} // namespace

bool isPanelGesture(const QMouseEvent& event)
{
    const Qt::KeyboardModifiers both = Qt::ControlModifier | Qt::ShiftModifier;
    return event.button() == Qt::RightButton && (event.modifiers() & both) == both;
}

DiagnosticPanel::DiagnosticPanel(DiagnosticServices services, QWidget* parent)
    : QFrame(parent), services_(std::move(services))
{
    setObjectName(QStringLiteral("Panel2"));
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(3);

    memo_ = new QPlainTextEdit(this);
    memo_->setObjectName(QStringLiteral("Memo1"));
    QFont courier(QStringLiteral("Courier New"));
    courier.setPixelSize(12);
    memo_->setFont(courier);
    memo_->setStyleSheet(QStringLiteral("color: black"));
    memo_->setReadOnly(true);
    memo_->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo_->setTabChangesFocus(false);
    memo_->viewport()->installEventFilter(this);

    auto* column = new QWidget(this);
    column->setObjectName(QStringLiteral("Panel3"));
    column->setFixedWidth(kColumnWidth);
    layers_ = new QStackedLayout(column);
    loggerLayer_ = buildLoggerLayer();
    fileLayer_ = buildFileLayer();
    layers_->addWidget(loggerLayer_);
    layers_->addWidget(fileLayer_);
    layers_->setCurrentWidget(loggerLayer_);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(3, 3, 3, 3);
    layout->setSpacing(0);
    layout->addWidget(memo_, 1);
    layout->addWidget(column);
}

QPushButton* DiagnosticPanel::addButton(QWidget* layer, const char* name, const QString& caption,
                                        int fontPixels)
{
    auto* b = new QPushButton(caption, layer);
    b->setObjectName(QString::fromLatin1(name));
    if (fontPixels > 0) {
        QFont font(QStringLiteral("Arial Black"));
        font.setPixelSize(fontPixels);
        b->setFont(font);
    }
    layer->layout()->addWidget(b);
    return b;
}

QWidget* DiagnosticPanel::buildLoggerLayer()
{
    auto* layer = new QWidget;
    layer->setObjectName(QStringLiteral("LoggerLayer"));
    auto* v = new QVBoxLayout(layer);
    v->setContentsMargins(4, 4, 4, 4);
    loggerBox_ = new QLineEdit(QStringLiteral("0000"), layer);
    loggerBox_->setObjectName(QStringLiteral("Edit2"));
    v->addWidget(loggerBox_);
    connect(addButton(layer, "Button1", QStringLiteral("OK"), 0), &QPushButton::clicked, this,
            [this] { dumpLogger(AddressStep::Here); });
    connect(addButton(layer, "Button2", QStringLiteral("+"), kSignFontPixels), &QPushButton::clicked, this,
            [this] { dumpLogger(AddressStep::Next); });
    connect(addButton(layer, "Button3", QStringLiteral("-"), kSignFontPixels), &QPushButton::clicked, this,
            [this] { dumpLogger(AddressStep::Previous); });
    connect(addButton(layer, "Button4", QStringLiteral("Rtc"), kRtcFontPixels), &QPushButton::clicked, this,
            &DiagnosticPanel::appendClock);
    QPushButton* toFile = addButton(layer, "BitBtn1", QString(), 0);
    toFile->setIcon(style()->standardIcon(QStyle::SP_FileIcon));
    toFile->setToolTip(QStringLiteral("Recording file"));
    connect(toFile, &QPushButton::clicked, this, [this] { showFileLayer(true); });
    v->addStretch(1);
    return layer;
}

QWidget* DiagnosticPanel::buildFileLayer()
{
    auto* layer = new QWidget;
    layer->setObjectName(QStringLiteral("Panel4"));
    auto* v = new QVBoxLayout(layer);
    v->setContentsMargins(4, 4, 4, 4);
    fileBox_ = new QLineEdit(QStringLiteral("0000"), layer);
    fileBox_->setObjectName(QStringLiteral("Edit3"));
    v->addWidget(fileBox_);
    connect(addButton(layer, "Button5", QStringLiteral("OK"), 0), &QPushButton::clicked, this,
            [this] { dumpFile(AddressStep::Here); });
    connect(addButton(layer, "Button6", QStringLiteral("+"), kSignFontPixels), &QPushButton::clicked, this,
            [this] { dumpFile(AddressStep::Next); });
    connect(addButton(layer, "Button7", QStringLiteral("-"), kSignFontPixels), &QPushButton::clicked, this,
            [this] { dumpFile(AddressStep::Previous); });
    QPushButton* open = addButton(layer, "BitBtn3", QString(), 0);
    open->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
    open->setToolTip(QStringLiteral("Open"));
    connect(open, &QPushButton::clicked, this, &DiagnosticPanel::chooseFile);
    QPushButton* back = addButton(layer, "BitBtn2", QString(), 0);
    back->setIcon(style()->standardIcon(QStyle::SP_ComputerIcon));
    back->setToolTip(QStringLiteral("Logger"));
    connect(back, &QPushButton::clicked, this, [this] { showFileLayer(false); });
    v->addStretch(1);
    return layer;
}

void DiagnosticPanel::showFileLayer(bool front)
{
    layers_->setCurrentWidget(front ? fileLayer_ : loggerLayer_);
}

bool DiagnosticPanel::fileLayerInFront() const
{
    return layers_->currentWidget() == fileLayer_;
}

void DiagnosticPanel::showLines(const QStringList& lines)
{
    memo_->clear();
    for (const QString& line : lines)
        memo_->appendPlainText(line);
}

void DiagnosticPanel::dumpLogger(AddressStep step)
{
    const LoggerAddress a = loggerAddress(loggerBox_->text(), step);
    loggerBox_->setText(a.box);
    if (services_.commandBusy)
        return;
    services_.commandBusy = true;
    const std::uint16_t address = a.address;
    services_.ports.run(
        services_.link(), this, nullptr, nullptr,
        [address](LoggerProtocol& q, Progress&) { return memoryReadJob(q, address, kDumpLength); },
        [this, address](MemoryReadResult r) {
            services_.commandBusy = false;
            // A port that does not open is told; a read that fails is said in the memo.
            services_.prompt.tell(messagesOf(static_cast<const JobResult&>(r)));
            if (r.link.status == LinkStatus::CannotOpen)
                return; // told, and nothing follows it
            QStringList lines = hexDumpLines(r.got.bytes, address, kLoggerAddressSpace);
            if (r.got.status != LinkStatus::Ok)
                lines << failedReadLine(r.got.status, address + std::uint32_t(r.got.bytes.size()));
            showLines(lines);
        });
}

void DiagnosticPanel::appendClock()
{
    if (services_.commandBusy)
        return;
    services_.commandBusy = true;
    services_.ports.run(
        services_.link(), this, nullptr, nullptr,
        [](LoggerProtocol& q, Progress&) { return clockReadJob(q); },
        [this](JobResult r) {
            services_.commandBusy = false;
            services_.prompt.tell(messagesOf(r));
            if (r.clock.read())
                memo_->appendPlainText(clockLine(r.clock.logger));
        });
}

void DiagnosticPanel::dumpFile(AddressStep step)
{
    if (fileName_.isEmpty() || !QFileInfo::exists(fileName_))
        return;
    const FileAddress a = fileAddress(fileBox_->text(), step);
    if (!a.valid) {
        services_.prompt.tell(notHexadecimalText(fileBox_->text()), PromptSymbol::Error);
        return;
    }
    fileBox_->setText(a.box);
    const FileBytes got = readFileBytes(fileName_, a.address, kDumpLength);
    if (!got.ok) {
        services_.prompt.tell(QStringLiteral("Cannot read %1: %2").arg(fileName_, got.reason),
                              PromptSymbol::Error);
        return;
    }
    QStringList lines = hexDumpLines(got.bytes, a.address);
    if (got.bytes.size() < kDumpLength)
        lines << endOfFileLine(got.bytes.size());
    showLines(lines);
}

void DiagnosticPanel::chooseFile()
{
    FileDialogRequest request;
    request.title = QStringLiteral("Open");
    request.filter = texts::recordingFilter();
    request.defaultExt = kRecordingExt;
    request.fileMustExist = true;
    const QString name = services_.dialogs.openFile(this, request);
    if (name.isEmpty())
        return;
    if (!hasExtension(name, kRecordingExt)) {
        services_.prompt.tell(texts::notAFileWithExtension(kRecordingExt), PromptSymbol::Error);
        return;
    }
    fileName_ = name;
    dumpFile(AddressStep::Here);
}

void DiagnosticPanel::mousePressEvent(QMouseEvent* event)
{
    if (isPanelGesture(*event)) {
        emit toggleRequested();
        event->accept();
        return;
    }
    QFrame::mousePressEvent(event);
}

bool DiagnosticPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == memo_->viewport()) {
        if (event->type() == QEvent::MouseButtonDblClick) {
            emit hideRequested();
            return true;
        }
        if (event->type() == QEvent::MouseButtonPress && isPanelGesture(*static_cast<QMouseEvent*>(event))) {
            emit toggleRequested();
            return true;
        }
        // The gesture's right button brings no context menu.
        const Qt::KeyboardModifiers both = Qt::ControlModifier | Qt::ShiftModifier;
        if (event->type() == QEvent::ContextMenu
            && (static_cast<QContextMenuEvent*>(event)->modifiers() & both) == both)
            return true;
    }
    return QFrame::eventFilter(watched, event);
}

} // namespace qz
