#include "realtime/ui/readings_window.h"

#include "jobs/job_messages.h"
#include "jobs/logger_ports.h"
#include "model/device_catalog.h"
#include "model/image_reader.h"
#include "model/values.h"
#include "platform/clock.h"
#include "platform/prompt.h"
#include "realtime/readings_texts.h"
#include "realtime/ui/trend_view.h"
#include "recording/display_settings.h"
#include "ui/internal_messages.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace qz {

namespace {

constexpr int kHelpContext = 10;
// The trend's height stands for at least this many steps of the 1/200 grid, so a count
// of converter noise does not fill it.
constexpr double kTrendMinSteps = 4;

template <class W> W* named(W* widget, const QString& name)
{
    widget->setObjectName(name);
    return widget;
}

QColor fromBgr(Colour c)
{
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

} // namespace

ReadingsWindow::ReadingsWindow(ReadingsServices services, QWidget* parent)
    : QDialog(parent), services_(std::move(services))
{
    setObjectName(QStringLiteral("BtnRightDlg3"));
    baseCaption_ = texts::readingsCaption();
    setWindowTitle(baseCaption_);
    buildControls();
}

ReadingsWindow::~ReadingsWindow() = default;

void ReadingsWindow::buildControls()
{
    const ColourTable colours = defaultColours();
    auto* columns = new QHBoxLayout;
    QGridLayout* grid = nullptr;
    for (int i = 0; i < mem::kInputs; ++i) {
        if (i % 4 == 0) {
            // Inputs 1..4 on the left, 5..8 on the right.
            grid = new QGridLayout;
            grid->setHorizontalSpacing(6);
            grid->setVerticalSpacing(2);
            columns->addLayout(grid);
        }
        InputRow& r = rows_[std::size_t(i)];
        r.number = named(new QLabel(QString::number(i + 1), this), QStringLiteral("Label%1").arg(17 + i));
        // The input's function name beside its number: "3" alone says little.
        r.name = named(new QLabel(this), QStringLiteral("lbName%1").arg(i + 1));
        r.name->setMinimumWidth(r.name->fontMetrics().horizontalAdvance(QStringLiteral("WWWWWWWWW")));
        r.measure = named(new QLineEdit(this), QStringLiteral("ebMEasure%1").arg(i + 1));
        r.measure->setReadOnly(true);
        r.measure->setAlignment(Qt::AlignRight);
        r.measure->setFixedWidth(r.measure->fontMetrics().horizontalAdvance(QStringLiteral("-0000.0000"))
                                 + 12);
        r.unit = named(new QLabel(texts::unitsPlaceholder(), this), QStringLiteral("Label%1").arg(1 + 2 * i));
        r.unit->setMinimumWidth(r.unit->fontMetrics().horizontalAdvance(QStringLiteral("WWWWW")));
        r.rawLabel =
            named(new QLabel(texts::rawCountLabel(), this), QStringLiteral("Label%1").arg(2 + 2 * i));
        r.raw = named(new QLineEdit(this), QStringLiteral("ebAd%1").arg(i + 1));
        r.raw->setReadOnly(true);
        r.raw->setAlignment(Qt::AlignRight);
        r.raw->setFixedWidth(r.raw->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 12);
        r.trend = named(new TrendView(trend_, i, fromBgr(colours[std::size_t(1 + i)]), this),
                        QStringLiteral("Trend%1").arg(i + 1));
        // The arrow over the labels, whatever a window before had set.
        for (QLabel* l : {r.number, r.name, r.unit, r.rawLabel})
            l->setCursor(Qt::ArrowCursor);
        r.unit->installEventFilter(this);
        r.rawLabel->hide();
        r.raw->hide();
        r.measure->setEnabled(false);
        r.unit->hide();
        r.name->hide();
        const int row = 2 * (i % 4);
        grid->addWidget(r.number, row, 0);
        grid->addWidget(r.name, row, 1);
        grid->addWidget(r.measure, row, 2);
        grid->addWidget(r.unit, row, 3);
        grid->addWidget(r.rawLabel, row, 4);
        grid->addWidget(r.raw, row, 5);
        grid->addWidget(r.trend, row + 1, 2);
    }

    displayDc_ = named(new QLabel(texts::diagnosticMark(), this), QStringLiteral("DisplayDc"));
    battery_ = named(new QLabel(this), QStringLiteral("lbBatt"));
    displayDc_->hide();
    battery_->hide();
    auto* cancel = named(new QPushButton(tr("Cancel"), this), QStringLiteral("CancelBtn"));
    auto* help = named(new QPushButton(tr("Help"), this), QStringLiteral("HelpBtn"));
    for (QPushButton* b : {cancel, help})
        b->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, &QDialog::hide);
    connect(help, &QPushButton::clicked, this, [this] { emit helpRequested(kHelpContext); });

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(cancel);
    buttons->addWidget(help);
    buttons->addStretch();
    auto* diagnostic = new QHBoxLayout;
    diagnostic->addWidget(displayDc_);
    diagnostic->addWidget(battery_);
    diagnostic->addStretch();
    auto* left = new QVBoxLayout;
    left->addLayout(columns);
    left->addLayout(diagnostic);
    auto* all = new QHBoxLayout(this);
    all->addLayout(left, 1);
    all->addLayout(buttons);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

bool ReadingsWindow::initialize(const QString& port, ConstByteView deviceImage)
{
    port_ = port;
    const ImageReader image = ImageReader::deviceImage(deviceImage);
    const LoggerModel model = DeviceCatalog(services_.folder).lookUp(image.deviceCode());
    setWindowTitle(insertModelInCaption(model.description, baseCaption_));
    inputs_ = conversionsOf(image);
    trend_.clear();
    for (int i = 0; i < mem::kInputs; ++i) {
        const InputConversion& c = inputs_[std::size_t(i)];
        InputRow& r = rows_[std::size_t(i)];
        r.unit->setText(c.unit);
        r.unit->setVisible(c.enabled);
        r.name->setText(c.name);
        r.name->setVisible(c.enabled);
        r.measure->setEnabled(c.enabled);
        // Another logger's values are not this one's.
        r.measure->clear();
        r.raw->clear();
        r.trend->setVisible(c.enabled);
    }
    battery_->clear();
    showTrends();
    prepared_ = model.accepted;
    if (!prepared_)
        hide();
    return prepared_;
}

void ReadingsWindow::refreshReadings()
{
    if (!prepared_)
        return;
    // The port takes one cycle at a time: a tick that comes while a cycle is queued, runs,
    // or waits in its question is skipped rather than queued behind it.
    if (cyclePending_) {
        ++cyclesSkipped_;
        return;
    }
    ++cyclesRun_;
    startCycle(ConnectPolicy::Ask);
}

void ReadingsWindow::startCycle(ConnectPolicy connect)
{
    cyclePending_ = true;
    const bool diagnostic = diagnosticDisplay();
    services_.ports.run(
        services_.linkFor(port_), this, nullptr, nullptr,
        [connect, diagnostic](LoggerProtocol& q, Progress&) { return readingJob(q, connect, diagnostic); },
        [this](ReadingResult r) { cycleDone(r); });
}

void ReadingsWindow::cycleDone(const ReadingResult& r)
{
    services_.prompt.tell(messagesOf(r));
    if (const std::optional<Message> question = questionOf(r)) {
        // Yes reads once without a second ping; No stops the readings.
        if (services_.prompt.confirm(*question)) {
            startCycle(ConnectPolicy::GoOn);
            return;
        }
        cyclePending_ = false;
        hide();
        return;
    }
    cyclePending_ = false;
    if (r.status == ReadingStatus::Read)
        displayMeasure(r.reading);
    else if (r.link.status == LinkStatus::CannotOpen)
        hide(); // told once; a port that does not open would be told every second
    // A reading that failed was told; the values stay as they were.
}

void ReadingsWindow::displayMeasure(const Reading& reading)
{
    const bool diagnostic = diagnosticDisplay();
    const std::int64_t now = services_.clock.tickMs();
    for (int i = 0; i < mem::kInputs; ++i) {
        const InputConversion& c = inputs_[std::size_t(i)];
        InputRow& r = rows_[std::size_t(i)];
        const std::uint8_t count = reading.input(i);
        if (diagnostic)
            r.raw->setText(QString::number(count));
        if (c.enabled) {
            r.measure->setText(c.text(count));
            trend_.add(i, now, c.value(count));
        }
    }
    if (reading.battery)
        battery_->setText(batteryText(reading.batteryCount()));
    showTrends();
}

void ReadingsWindow::showTrends()
{
    const std::int64_t now = services_.clock.tickMs();
    for (int i = 0; i < mem::kInputs; ++i) {
        const InputConversion& c = inputs_[std::size_t(i)];
        const double step = (c.high - c.low) / 200;
        rows_[std::size_t(i)].trend->showAt(now, kTrendMinSteps * (step < 0 ? -step : step));
    }
}

bool ReadingsWindow::diagnosticDisplay() const
{
    return !displayDc_->isHidden();
}

void ReadingsWindow::setDiagnosticDisplay(bool on)
{
    displayDc_->setVisible(on);
    battery_->setVisible(on);
    for (InputRow& r : rows_) {
        r.raw->setVisible(on);
        r.rawLabel->setVisible(on);
    }
}

bool ReadingsWindow::event(QEvent* event)
{
    if (internalMessageOf(event->type()) == kMsgTimerTick) {
        // The launcher relays ticks only while the window shows; the tick the window
        // posts to itself may find it hidden again.
        if (isVisible())
            refreshReadings();
        return true;
    }
    return QDialog::event(event);
}

void ReadingsWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // The first values come at once rather than with the next tick.
    postInternal(this, kMsgTimerTick);
}

bool ReadingsWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const bool onUnit = std::any_of(rows_.begin(), rows_.end(),
                                        [watched](const InputRow& r) { return r.unit == watched; });
        if (onUnit && mouse->button() == Qt::RightButton && (mouse->modifiers() & Qt::ShiftModifier)) {
            setDiagnosticDisplay(!diagnosticDisplay());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace qz
