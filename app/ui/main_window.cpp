#include "app/ui/main_window.h"

#include "app/ui/document_dialogs.h"
#include "app/ui/help_window.h"
#include "app/ui/logger_status_window.h"
#include "app/ui/options_dialog.h"
#include "app/ui/status_image.h"
#include "app/ui/window_geometry.h"
#include "config/ui/configuration_dialog.h"
#include "fleet/ui/fleet_window.h"
#include "graph/ui/graph_window.h"
#include "graph/ui/graphic_config_dialog.h"
#include "jobs/job_runner.h"
#include "link/comm_settings.h"
#include "link/line_registry.h"
#include "model/settings_file.h"
#include "platform/date_settings.h"
#include "realtime/ui/readings_launcher.h"
#include "ui/document_window.h"
#include "ui/internal_messages.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <optional>

namespace qz {

namespace {
const QString kWindowSection = QStringLiteral("Window");
const QString kGeometryKey = QStringLiteral("Geometry");
} // namespace

MainWindow::MainWindow(AppServices services, QWidget* parent)
    : QMainWindow(parent), services_(std::move(services)), printer_(QPrinter::HighResolution)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Quorvant ZK Software / 32"));
    printer_.setPageSize(QPageSize(QPageSize::A4));
    buildPanels();
    buildMenus();
    buildDiagnosticPanel();

    const bool modem = QFileInfo::exists(services_.folder.dataFile(QStringLiteral("Default.mdm")));
    const QString settingsPath = services_.folder.settingsFile();
    // A settings file the program does not use is told about once, at start; every later
    // reader uses the defaults and every writer leaves the file as it is.
    if (const QString warning = settingsReadWarning(settingsPath, checkSettingsFile(settingsPath));
        !warning.isEmpty())
        services_.prompt.tell(warning, PromptSymbol::Warning);
    CommSettings comm(settingsPath, PortProbe::forRegistry(services_.lines), modem);
    comm.onSaveFailed([this, settingsPath](const IniResult& failed) {
        services_.prompt.tell(settingsWriteMessage(settingsPath, failed), PromptSymbol::Error);
    });
    options_ = new OptionsDialog(std::move(comm), this);
    help_ =
        new HelpWindow(QFileInfo(services_.folder.dataFile(QStringLiteral("help/index.html"))).path(), this);
    options_->setFleetSettingsFile(settingsPath);
    connect(options_, &OptionsDialog::fleetChanged, this, [this](const FleetSettings& fleet) {
        if (fleet_)
            fleet_->showFleet(fleet);
    });
    connect(options_, &OptionsDialog::fleetNotSaved, this, [this, settingsPath](const IniResult& failed) {
        services_.prompt.tell(settingsWriteMessage(settingsPath, failed), PromptSymbol::Error);
    });
    connect(options_, &OptionsDialog::helpRequested, this, &MainWindow::showHelp);
    connect(options_, &OptionsDialog::storeRefused, this,
            [this](const QString& message) { services_.prompt.tell(message, PromptSymbol::Error); });
    connect(options_, &OptionsDialog::portRefused, this,
            [this](const QString& message) { services_.prompt.tell(message, PromptSymbol::Error); });
    buildConfiguration();
    buildDialer();
    graphicConfig_ = new GraphicConfigDialog(services_.dialogs, this);
    connect(graphicConfig_, &GraphicConfigDialog::helpRequested, this, &MainWindow::showHelp);
    buildReadings();
    statusWindow_ = new LoggerStatusWindow(this);
    connect(statusWindow_, &LoggerStatusWindow::refreshRequested, this,
            [this] { readStatus(ConnectPolicy::Ask); });
    connect(config_, &ConfigurationDialog::configured, this, &MainWindow::showStatusNote);

    connect(mdi_, &QMdiArea::subWindowActivated, this, [this] { updateMenuItems(); });
    sysTimer_ = new QTimer(this);
    sysTimer_->setObjectName(QStringLiteral("SysTimer"));
    sysTimer_->setInterval(1000);
    connect(sysTimer_, &QTimer::timeout, this, &MainWindow::onTimer);
    sysTimer_->start();

    // The first time, most of the screen: a graph needs room.
    if (!restorePlace()) {
        const QSize least(708, 536 + menuBar()->sizeHint().height());
        resize(least);
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect placed = firstGeometry(screen->availableGeometry(), least);
            resize(placed.size());
            move(placed.topLeft());
        }
    }
    fillRecentFiles();
    updateMenuItems();
}

MainWindow::~MainWindow()
{
    // Documents go before the services they use; a graph window takes its information
    // window with it.
    QList<QPointer<QMdiSubWindow>> all;
    for (QMdiSubWindow* w : mdi_->subWindowList())
        all << w;
    for (const QPointer<QMdiSubWindow>& w : all)
        delete w.data();
}

void MainWindow::buildPanels()
{
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    panel1_ = new QFrame(central);
    panel1_->setObjectName(QStringLiteral("Panel1"));
    panel1_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel1_->setFixedHeight(55);

    mdi_ = new QMdiArea(central);
    mdi_->setObjectName(QStringLiteral("ClientArea"));
    mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    panStatus_ = new QFrame(central);
    panStatus_->setObjectName(QStringLiteral("PanStatus"));
    panStatus_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panStatus_->setLineWidth(3);
    panStatus_->setFixedHeight(43);
    auto* statusLayout = new QVBoxLayout(panStatus_);
    statusLayout->setContentsMargins(4, 4, 4, 4);
    status_ = new StatusImage(panStatus_);
    statusLayout->addWidget(status_);

    layout->addWidget(panel1_);
    layout->addWidget(mdi_, 1);
    layout->addWidget(panStatus_);
    setCentralWidget(central);
}

QList<DocumentWindow*> MainWindow::documentWindows() const
{
    // Stacking order runs from the back-most to the front-most window.
    QList<DocumentWindow*> out;
    const QList<QMdiSubWindow*> all = mdi_->subWindowList(QMdiArea::StackingOrder);
    for (auto it = all.rbegin(); it != all.rend(); ++it)
        if (auto* child = qobject_cast<DocumentWindow*>(*it); child && !child->isBeingFreed())
            out << child;
    return out;
}

DocumentWindow* MainWindow::activeDocument() const
{
    // The current window stays known while another top-level window (a dialog) is active.
    auto* active = qobject_cast<DocumentWindow*>(mdi_->currentSubWindow());
    if (active && !active->isBeingFreed())
        return active;
    return nullptr;
}

QList<GraphWindow*> MainWindow::graphWindows() const
{
    QList<GraphWindow*> out;
    for (DocumentWindow* w : documentWindows())
        if (auto* g = qobject_cast<GraphWindow*>(w))
            out << g;
    return out;
}

void MainWindow::placeDocument(DocumentWindow* window)
{
    window->setNotifyTarget(this);
    mdi_->addSubWindow(window);
    connect(window, &QObject::destroyed, this, [this] { postInternal(this, kMsgRenumberTitles); });
    connect(window, &DocumentWindow::statusNote, this, &MainWindow::showStatusNote);
    // The document area's width, and its height less 10 pixels.
    const int height = centralWidget()->height() - panel1_->height() - panStatus_->height() - 10;
    window->resize(qMax(window->width(), mdi_->viewport()->width()), window->height());
    window->setTopAndHeight(0, qMax(120, height));
    window->show();
}

GraphWindow* MainWindow::newGraphWindow()
{
    auto* graph = new GraphWindow(services_.prompt, services_.clock, graphicConfig_);
    graph->setSettingsFile(services_.folder.settingsFile());
    connect(graph, &GraphWindow::recordingsDropped, this,
            [this, graph](const QStringList& names) { addRecordings(graph, names); });
    graph->setSaveHandler([this](GraphWindow& g) { return saveGraph(&g, QStringLiteral("Save")); });
    placeDocument(graph);
    return graph;
}

GraphWindow* MainWindow::findGraph(DocumentWindow* handle)
{
    if (!handle)
        return nullptr;
    const QList<DocumentWindow*> list = documentWindows();
    for (auto it = list.rbegin(); it != list.rend(); ++it)
        if (*it == handle)
            return qobject_cast<GraphWindow*>(*it);
    return nullptr;
}

GraphWindow* MainWindow::dataGraph()
{
    DocumentWindow* active = activeDocument();
    GraphWindow* graph = active ? findGraph(active->dataWindow()) : nullptr;
    if (graph && graph != active)
        mdi_->setActiveSubWindow(graph);
    return graph;
}

void MainWindow::renumberGraphs()
{
    const QList<GraphWindow*> list = graphWindows();
    for (GraphWindow* g : list)
        g->clearTitleSet();
    for (int w = list.size() - 1; w >= 0; --w) {
        GraphWindow* W = list[w];
        W->childTitle(1);
        const QString description = W->description();
        int n = 1;
        for (int v = w - 1; v >= 0; --v) {
            GraphWindow* V = list[v];
            if (!V->isTitleSet() && V->description() == description)
                V->childTitle(++n);
        }
    }
}

void MainWindow::updateMenuItems()
{
    // A graph's readout goes with its window; a note of what a command did stays.
    if (status_->showsReadout() && !qobject_cast<GraphWindow*>(activeDocument()))
        status_->clearStatus();
    setDocumentCommands(!graphWindows().isEmpty());
}

void MainWindow::drawStatusForActive()
{
    auto* graph = qobject_cast<GraphWindow*>(activeDocument());
    if (!graph)
        return;
    StatusReadout readout;
    readout.texts = graph->cursorValues();
    readout.units = graph->cursorUnits();
    readout.colours = graph->colours();
    for (int i = 0; i < mem::kInputs; ++i) {
        readout.drawn[i] = graph->isInputDrawn(i);
        if (graph->hasRecording())
            readout.names[std::size_t(i)] = graph->data().input(i).name;
    }
    // The further recordings of the graph: each one's time and name, then its values.
    for (const GraphWindow::OverlayReadout& o : graph->overlayReadouts()) {
        readout.more.push_back({o.values.value(0), o.label, readout.colours[0], true});
        for (int k = 1; k < o.values.size(); ++k)
            readout.more.push_back({o.values[k], o.units.value(k), o.colours.at(std::size_t(k - 1)), false});
    }
    status_->drawStatus(readout);
}

void MainWindow::onTimer()
{
    postInternal(launcher_, kMsgTimerTick);
    if (config_->isVisible())
        postInternal(config_, kMsgTimerTick);
    if (auto* graph = qobject_cast<GraphWindow*>(activeDocument()))
        postInternal(graph, kMsgTimerTick);
}

bool MainWindow::event(QEvent* e)
{
    switch (internalMessageOf(e->type())) {
    case kMsgRenumberTitles:
        renumberGraphs();
        updateMenuItems();
        return true;
    case kMsgDrawStatus:
        drawStatusForActive();
        return true;
    default:
        break;
    }
    return QMainWindow::event(e);
}

void MainWindow::paintEvent(QPaintEvent* e)
{
    QMainWindow::paintEvent(e);
    sendInternal(this, kMsgDrawStatus);
}

void MainWindow::setLoggerMenuEnabled(bool on)
{
    menus_.at(QStringLiteral("Logger"))->menuAction()->setEnabled(on);
    // A button that does nothing while the menu is greyed is greyed with it.
    for (const char* name : {"spDownload", "spStop", "sbConfig", "sprealtime"})
        tools_.at(QString::fromLatin1(name))->setEnabled(on);
    // So is the status window's Refresh, a logger command like the others.
    if (statusWindow_)
        statusWindow_->setReading(!on);
}

void MainWindow::showStatusNote(const QString& text)
{
    status_->showNote(text);
}

void MainWindow::closeDocument()
{
    // The same question as the window's own close box: an unsaved download is not lost
    // to one key.
    DocumentWindow* active = activeDocument();
    if (!active || !active->mayClose())
        return;
    active->freeWindow();
    renumberGraphs();
    updateMenuItems();
}

void MainWindow::closeAllWindows()
{
    const QList<DocumentWindow*> list = documentWindows();
    QList<QPointer<DocumentWindow>> guarded;
    for (DocumentWindow* w : list)
        guarded << w;
    for (int i = guarded.size() - 1; i >= 0; --i) {
        DocumentWindow* w = guarded[i];
        if (!w)
            continue;
        if (w->isSaved()) {
            w->mayClose();
            w->freeWindow();
        } else if (w->mayClose()) {
            w->freeWindow();
        }
    }
    renumberGraphs();
    updateMenuItems();
}

void MainWindow::minimizeAllWindows()
{
    const QList<DocumentWindow*> list = documentWindows();
    for (int i = list.size() - 1; i >= 0; --i)
        list[i]->showMinimized();
}

bool MainWindow::askDocumentsMayClose()
{
    const QList<DocumentWindow*> list = documentWindows();
    for (DocumentWindow* w : list)
        if (!w->mayClose())
            return false;
    return true;
}

void MainWindow::closeEvent(QCloseEvent* e)
{
    if (!askDocumentsMayClose()) {
        e->ignore();
        return;
    }
    // The program ends: the jobs on the ports are cancelled, and ended before the modem is
    // hung up on its port.
    services_.jobs.stop();
    if (CommSettings::readModemPresent(services_.folder.settingsFile()))
        disconnectModem();
    closeAllWindows();
    help_->close();
    options_->hide();
    config_->hide();
    graphicConfig_->hide();
    statusWindow_->hide();
    keepPlace();
    e->accept();
}

bool MainWindow::restorePlace()
{
    const std::optional<QRect> saved =
        parseGeometry(IniFile::readValue(services_.folder.settingsFile(), kWindowSection, kGeometryKey));
    if (!saved)
        return false;
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens << screen->availableGeometry();
    const std::optional<QRect> placed = restoredGeometry(*saved, screens);
    if (!placed)
        return false;
    resize(placed->size());
    move(placed->topLeft());
    return true;
}

void MainWindow::keepPlace()
{
    // The frame's corner, as move() takes it, and the size without the frame, as resize().
    const QRect normal = isMaximized() || isMinimized() ? normalGeometry() : geometry();
    const QRect place(isMaximized() || isMinimized() ? normal.topLeft() : frameGeometry().topLeft(),
                      normal.size());
    const QString settings = services_.folder.settingsFile();
    const QString text = geometryText(place);
    if (IniFile::readValue(settings, kWindowSection, kGeometryKey) == text)
        return;
    if (const QString failed =
            settingsWriteMessage(settings, IniFile::writeValue(settings, kWindowSection, kGeometryKey, text));
        !failed.isEmpty())
        services_.prompt.tell(failed, PromptSymbol::Error);
}

void MainWindow::editOptions()
{
    options_->showOptions();
}

void MainWindow::updateLoggerMenu()
{
    const bool modem = CommSettings::readModemPresent(services_.folder.settingsFile());
    action(QStringLiteral("Connect1"))->setVisible(modem);
    action(QStringLiteral("Disconnect1"))->setVisible(modem);
}

void MainWindow::showHelp(int context)
{
    help_->showContext(context);
}

void MainWindow::showHelpContents()
{
    help_->showContents();
}

} // namespace qz
