#include "fleet/ui/fleet_window.h"

#include "jobs/job_runner.h"
#include "link/line_backend.h"
#include "platform/safe_file.h"
#include "store/store_image.h"
#include "store/stored_forms.h"
#include "ui/text_print.h"

#include <QClipboard>
#include <QDateTimeEdit>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <set>

namespace qz {

namespace {

const QStringList kHeadings = {
    QStringLiteral("Label"),           QStringLiteral("Serial"),       QStringLiteral("Model"),
    QStringLiteral("Last collection"), QStringLiteral("Outcome"),      QStringLiteral("Battery"),
    QStringLiteral("Drift"),           QStringLiteral("Measurements"), QStringLiteral("Memory full"),
    QStringLiteral("Progress"),
};

} // namespace

FleetWindow::FleetWindow(FleetWindowServices services, QWidget* parent)
    : DocumentWindow(parent), services_(std::move(services)), catalog_(services_.folder)
{
    setObjectName(QStringLiteral("FleetWindow"));
    setWindowTitle(QStringLiteral("Fleet"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* body = new QWidget(this);
    auto* layout = new QVBoxLayout(body);

    auto* bar = new QHBoxLayout;
    collect_ = new QPushButton(QStringLiteral("Collect now"), body);
    collect_->setObjectName(QStringLiteral("CollectNow"));
    collect_->setToolTip(QStringLiteral("Collect the selected loggers, or all of them"));
    cancel_ = new QPushButton(QStringLiteral("Cancel"), body);
    cancel_->setObjectName(QStringLiteral("CancelCollection"));
    bar->addWidget(collect_);
    bar->addWidget(cancel_);
    bar->addStretch();
    // The range a double click opens.
    bar->addWidget(new QLabel(QStringLiteral("Graph from"), body));
    from_ = new QDateTimeEdit(body);
    from_->setObjectName(QStringLiteral("RangeFrom"));
    from_->setDisplayFormat(QStringLiteral("yyyy-MM-dd hh:mm"));
    from_->setCalendarPopup(true);
    bar->addWidget(from_);
    bar->addWidget(new QLabel(QStringLiteral("to"), body));
    to_ = new QDateTimeEdit(body);
    to_->setObjectName(QStringLiteral("RangeTo"));
    to_->setDisplayFormat(QStringLiteral("yyyy-MM-dd hh:mm"));
    to_->setCalendarPopup(true);
    bar->addWidget(to_);
    layout->addLayout(bar);

    table_ = new QTableWidget(0, ColumnCount, body);
    table_->setObjectName(QStringLiteral("FleetTable"));
    table_->setHorizontalHeaderLabels(kHeadings);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(table_);
    message_ = new QLabel(body);
    message_->setObjectName(QStringLiteral("FleetMessage"));
    message_->setWordWrap(true);
    message_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(message_);
    setWidget(body);
    resize(1000, 360);

    connect(collect_, &QPushButton::clicked, this, &FleetWindow::collectNow);
    connect(cancel_, &QPushButton::clicked, this, &FleetWindow::cancelCollection);
    connect(table_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { openRow(row); });
    poll_ = new QTimer(this);
    poll_->setInterval(kPollMs);
    connect(poll_, &QTimer::timeout, this, &FleetWindow::pollStore);
    syncButtons();
}

FleetWindow::~FleetWindow()
{
    // The jobs' ends are dropped with the run; the jobs stop at their next step.
    if (cancelToken_)
        cancelToken_->cancel();
}

void FleetWindow::say(const QString& text)
{
    message_->setText(text);
}

QString FleetWindow::message() const
{
    return message_->text();
}

void FleetWindow::showFleet(const FleetSettings& settings)
{
    if (run_)
        return; // the run keeps the store it writes into
    settings_ = settings;
    store_.reset();
    latestSeen_ = -1;
    const QDateTime now = services_.clock.localNow();
    to_->setDateTime(now);
    from_->setDateTime(now.addDays(-7));
    refresh();
    poll_->start();
}

bool FleetWindow::openStore()
{
    if (store_)
        return true;
    QString error;
    const std::optional<StoreUrl> url = settings_.storeUrl(error);
    if (!url) {
        say(error);
        return false;
    }
    auto store = std::make_unique<FleetStore>();
    if (const StoreResult r = store->open(*url); !r.ok()) {
        say(r.message);
        return false;
    }
    store_ = std::move(store);
    return true;
}

void FleetWindow::refresh()
{
    say({});
    std::vector<LoggerSummary> loggers;
    if (openStore()) {
        if (const StoreResult r = store_->latestAttempt(latestSeen_); !r.ok())
            say(r.message);
        else if (const StoreResult l = store_->loggers(loggers); !l.ok())
            say(l.message);
        else
            setWindowTitle(QStringLiteral("Fleet - %1").arg(store_->url().text()));
    }
    std::optional<FleetFile> fleet;
    if (!settings_.fleetFile.isEmpty()) {
        FleetError error;
        fleet = readFleetFile(settings_.fleetFile, error);
        if (!fleet && message().isEmpty())
            say(error.text());
    }
    rows_ = fleetOverview(loggers, fleet ? &*fleet : nullptr, catalog_, services_.clock.localNow());
    fillTable();
}

void FleetWindow::pollStore()
{
    if (run_ || !store_)
        return;
    std::int64_t latest = 0;
    if (store_->latestAttempt(latest).ok() && latest != latestSeen_)
        refresh();
}

void FleetWindow::setCell(int row, int column, const QString& text, bool marked)
{
    auto* item = new QTableWidgetItem(text);
    if (column == Battery || column == Drift || column == Measurements)
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    if (marked) {
        item->setForeground(Qt::red);
        QFont bold = item->font();
        bold.setBold(true);
        item->setFont(bold);
        item->setToolTip(column == Drift ? QStringLiteral("The logger's clock is more than a minute off")
                                         : QStringLiteral("The logger's memory is full within a week"));
    }
    table_->setItem(row, column, item);
}

void FleetWindow::fillTable()
{
    table_->setRowCount(int(rows_.size()));
    for (int i = 0; i < int(rows_.size()); ++i) {
        const FleetOverviewRow& r = rows_[std::size_t(i)];
        setCell(i, Label, r.label);
        setCell(i, Serial, r.serial);
        setCell(i, Model, r.model);
        setCell(i, LastCollection,
                r.lastCollection.isValid() ? r.lastCollection.toString(QStringLiteral("yyyy-MM-dd hh:mm"))
                                           : QString());
        setCell(i, Outcome, r.outcome);
        setCell(i, Battery, batteryText(r.batteryVolts));
        setCell(i, Drift, driftText(r.driftSeconds), r.driftMarked);
        setCell(i, Measurements, r.serial.isEmpty() ? QString() : QString::number(r.measurements));
        setCell(i, MemoryFull, r.memoryFull ? loggerTimeText(*r.memoryFull) : QString(), r.memoryFullMarked);
        setCell(i, Progress, QString());
    }
    table_->resizeColumnsToContents();
}

void FleetWindow::syncButtons()
{
    collect_->setEnabled(!run_);
    cancel_->setEnabled(run_ != nullptr);
}

void FleetWindow::collectNow()
{
    if (run_)
        return;
    if (settings_.fleetFile.isEmpty()) {
        say(QStringLiteral("Choose the fleet file in Options to collect the loggers"));
        return;
    }
    FleetError error;
    std::optional<FleetFile> fleet = readFleetFile(settings_.fleetFile, error);
    if (!fleet) {
        say(error.text());
        return;
    }
    if (!openStore())
        return;
    std::set<QString> chosen;
    for (const QModelIndex& index : table_->selectionModel()->selectedRows())
        chosen.insert(rows_[std::size_t(index.row())].label);
    if (chosen.empty())
        for (const FleetOverviewRow& r : rows_)
            chosen.insert(r.label);
    FleetFile subset = *fleet;
    subset.loggers.clear();
    runRows_.clear();
    QStringList unreachable;
    for (const QString& label : chosen) {
        const auto it = std::find_if(fleet->loggers.begin(), fleet->loggers.end(),
                                     [&label](const FleetLogger& l) { return l.label == label; });
        if (it == fleet->loggers.end()) {
            unreachable << label;
            continue;
        }
        subset.loggers.push_back(*it);
    }
    // In the fleet file's order, as the command line collects them.
    std::sort(subset.loggers.begin(), subset.loggers.end(),
              [](const FleetLogger& a, const FleetLogger& b) { return a.line < b.line; });
    for (const FleetLogger& l : subset.loggers) {
        const auto row = std::find_if(rows_.begin(), rows_.end(),
                                      [&l](const FleetOverviewRow& r) { return r.label == l.label; });
        runRows_.push_back(int(row - rows_.begin()));
        setCell(runRows_.back(), Progress, QStringLiteral("waiting"));
    }
    say(unreachable.isEmpty() ? QString()
                              : QStringLiteral("Not in the fleet file %1: %2")
                                    .arg(settings_.fleetFile, unreachable.join(QStringLiteral(", "))));
    if (subset.loggers.empty())
        return;

    cancelToken_ = std::make_shared<CancelFlag>();
    FleetCollectionSetup setup;
    setup.runner = &services_.jobs;
    setup.clock = &services_.clock;
    // The jobs may outlive this window by a step: what they use lives as long as they do.
    auto catalog = std::make_shared<DeviceCatalog>(services_.folder);
    setup.catalog = catalog.get();
    setup.cancel = cancelToken_;
    setup.line = [line = services_.line, catalog](const FleetLogger& l) { return line(l.port); };
    FleetRun::Events events;
    events.progress = [this](std::size_t row, int position, int maximum, const QString&) {
        if (maximum > 0)
            setCell(runRows_[row], Progress,
                    QStringLiteral("%1 %").arg(std::clamp(position * 100 / maximum, 0, 100)));
    };
    events.rowDone = [this](std::size_t row, const FleetRow& done) {
        setCell(runRows_[row], Progress, done.ok ? QStringLiteral("done") : done.outcome);
    };
    // The run is ended after its last call, never inside it.
    events.finished = [this](const FleetReport&) {
        QMetaObject::invokeMethod(this, &FleetWindow::collectionEnded, Qt::QueuedConnection);
    };
    run_ = std::make_unique<FleetRun>(subset, *store_, setup, std::move(events));
    syncButtons();
    run_->start();
}

void FleetWindow::collectionEnded()
{
    if (!run_ || run_->running())
        return;
    // What each logger's collection came to, kept beside the rows read again (which may
    // come in another order once the store knows the loggers).
    std::vector<std::pair<QString, QString>> ends;
    for (std::size_t i = 0; i < runRows_.size(); ++i) {
        const FleetRow& done = run_->report().rows[i];
        ends.emplace_back(rows_[std::size_t(runRows_[i])].label,
                          done.ok ? QStringLiteral("done") : done.outcome);
    }
    const QString said = message();
    run_.reset();
    cancelToken_.reset();
    syncButtons();
    refresh();
    if (message().isEmpty())
        say(said);
    for (const auto& [label, text] : ends) {
        const auto row = std::find_if(rows_.begin(), rows_.end(),
                                      [&label](const FleetOverviewRow& r) { return r.label == label; });
        if (row != rows_.end())
            setCell(int(row - rows_.begin()), Progress, text);
    }
}

void FleetWindow::cancelCollection()
{
    if (cancelToken_)
        cancelToken_->cancel();
}

void FleetWindow::openRow(int row)
{
    if (row < 0 || row >= int(rows_.size()) || !openStore())
        return;
    const FleetOverviewRow& r = rows_[std::size_t(row)];
    const LoggerSeconds from = hostSeconds(from_->dateTime());
    const LoggerSeconds to = hostSeconds(to_->dateTime());
    const QString range = QStringLiteral("%1 and %2").arg(loggerTimeText(from), loggerTimeText(to));
    if (r.serial.isEmpty()) {
        say(QStringLiteral("No measurement of %1 is stored").arg(r.label));
        return;
    }
    std::vector<StoredRecording> recordings;
    if (const StoreResult s = store_->recordingsOf(r.serial, recordings); !s.ok()) {
        say(s.message);
        return;
    }
    // The newest recording with measurements in the range, as the command line plots it.
    const auto newest = std::find_if(recordings.rbegin(), recordings.rend(), [&](const StoredRecording& s) {
        return s.measurements > 0 && s.last >= from && s.origin <= to;
    });
    const StoredImage drawn =
        newest == recordings.rend() ? StoredImage{} : storedImage(*store_, *newest, from, to);
    if (drawn.image.isEmpty()) {
        say(drawn.error.isEmpty() ? QStringLiteral("No measurement of %1 lies between %2").arg(r.label, range)
                                  : drawn.error);
        return;
    }
    const RecordingResult made = RecordingData::fromImage(drawn.image, 0, services_.folder);
    if (!made.ok()) {
        say(made.reason.isEmpty()
                ? QStringLiteral("The stored measurements of %1 cannot be drawn").arg(r.label)
                : made.reason);
        return;
    }
    // What the graph leaves out of the range is said, never filled in.
    say(drawn.cut ? QStringLiteral("The range holds a gap; the graph shows %1 to %2")
                        .arg(loggerTimeText(drawn.first), loggerTimeText(drawn.last))
                  : QString());
    if (open_)
        open_(made.data);
}

QStringList FleetWindow::tableLines() const
{
    QStringList lines{kHeadings.join(QLatin1Char('\t'))};
    for (int row = 0; row < table_->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < ColumnCount; ++column) {
            const QTableWidgetItem* item = table_->item(row, column);
            cells << (item ? item->text() : QString());
        }
        lines << cells.join(QLatin1Char('\t'));
    }
    return lines;
}

void FleetWindow::copyToClipboard()
{
    QGuiApplication::clipboard()->setText(tableLines().join(QLatin1Char('\n')));
}

void FleetWindow::printTo(QPrinter& printer)
{
    printer.setDocName(windowTitle());
    if (!printLines(printer, tableLines(), table_->font()))
        say(QStringLiteral("Unable to print on ")
            + (printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName()));
}

bool FleetWindow::saveToFile(const QString& name)
{
    QByteArray text;
    for (const QString& line : tableLines()) {
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

bool FleetWindow::mayClose()
{
    cancelCollection();
    return true;
}

} // namespace qz
