// The main window's menus and tool buttons, with their help contexts, and the enabling
// of the document commands.
#include "app/ui/main_window.h"

#include "app/ui/recent_files.h"
#include "app/ui/tool_glyphs.h"
#include "model/settings_file.h"
#include "ui/document_window.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QDir>
#include <QFrame>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QToolButton>

#include <utility>

namespace qz {

namespace {

constexpr int kNoContext = -1;
constexpr int kMainContext = 19;

// F1 on a highlighted menu entry opens the help at the entry's context.
class MenuHelpFilter final : public QObject {
public:
    MenuHelpFilter(MainWindow* form) : QObject(form), form_(form) {}
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1) {
            if (auto* menu = qobject_cast<QMenu*>(watched)) {
                const QAction* a = menu->activeAction();
                const int context = a ? a->property("helpContext").toInt() : kMainContext;
                menu->close();
                form_->showHelp(context > 0 ? context : kMainContext);
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    MainWindow* form_;
};

} // namespace

QAction* MainWindow::addEntry(QMenu* menu, const QString& name, const QString& caption, int help,
                              void (MainWindow::*slot)())
{
    auto* a = menu->addAction(caption);
    a->setObjectName(name);
    a->setProperty("helpContext", help);
    if (slot)
        connect(a, &QAction::triggered, this, slot);
    actions_[name] = a;
    return a;
}

void MainWindow::addTool(const QString& name, const QString& hint, int x, void (MainWindow::*slot)())
{
    auto* b = new QToolButton(panel1_);
    b->setObjectName(name);
    b->setToolTip(hint);
    b->setIcon(toolGlyph(name));
    b->setIconSize(QSize(24, 24));
    b->setAutoRaise(true);
    b->setGeometry(x, 10, 32, 32);
    if (slot)
        connect(b, &QToolButton::clicked, this, slot);
    tools_[name] = b;
}

void MainWindow::buildMenus()
{
    auto* bar = menuBar();
    const auto top = [&](const QString& key, const QString& caption) {
        QMenu* m = bar->addMenu(caption);
        m->setObjectName(key);
        m->installEventFilter(new MenuHelpFilter(this));
        menus_[key] = m;
        return m;
    };

    QMenu* file = top(QStringLiteral("File"), QStringLiteral("&File"));
    addEntry(file, QStringLiteral("Open1"), QStringLiteral("&Open..."), 19, &MainWindow::openFile);
    addEntry(file, QStringLiteral("AddToGraph1"), QStringLiteral("Add to &graph..."), 19,
             &MainWindow::addToGraph);
    addEntry(file, QStringLiteral("Save1"), QStringLiteral("&Save"), 15, &MainWindow::save);
    addEntry(file, QStringLiteral("SaveAs1"), QStringLiteral("Save &As..."), 15, &MainWindow::saveAs);
    addEntry(file, QStringLiteral("Close1"), QStringLiteral("&Close"), 19, &MainWindow::closeDocument);
    file->addSeparator();
    addEntry(file, QStringLiteral("Print1"), QStringLiteral("&Print..."), 19, &MainWindow::print);
    addEntry(file, QStringLiteral("PrintSetup1"), QStringLiteral("Print Set&up..."), 19,
             &MainWindow::printSetup);
    file->addSeparator();
    addEntry(file, QStringLiteral("meExport"), QStringLiteral("&Export"), 16, &MainWindow::exportRecording);
    file->addSeparator();
    addEntry(file, QStringLiteral("Exit"), QStringLiteral("E&xit"), 19, nullptr);
    connect(actions_[QStringLiteral("Exit")], &QAction::triggered, this, &QWidget::close);
    // A file of the list may have gone since the list was made.
    connect(file, &QMenu::aboutToShow, this, &MainWindow::fillRecentFiles);

    QMenu* edit = top(QStringLiteral("Edit"), QStringLiteral("&Edit"));
    addEntry(edit, QStringLiteral("Copy1"), QStringLiteral("&Copy"), 19, &MainWindow::copy);
    addEntry(edit, QStringLiteral("CoptTo1"), QStringLiteral("Copy &To"), 19, &MainWindow::copyTo);

    QMenu* view = top(QStringLiteral("View"), QStringLiteral("&View"));
    addEntry(view, QStringLiteral("Loggerinfos1"), QStringLiteral("Logger &infos"), 14,
             &MainWindow::showLoggerInfos);
    addEntry(view, QStringLiteral("Graph1"), QStringLiteral("&Graph"), 13, &MainWindow::openGraphView);

    QMenu* logger = top(QStringLiteral("Logger"), QStringLiteral("&Logger"));
    addEntry(logger, QStringLiteral("Configutation1"), QStringLiteral("&Configuration"), 8,
             &MainWindow::configure);
    addEntry(logger, QStringLiteral("Offload1"), QStringLiteral("&Download"), 11, &MainWindow::download);
    addEntry(logger, QStringLiteral("CurrentReading1"), QStringLiteral("Current &Reading"), 10,
             &MainWindow::currentReading);
    addEntry(logger, QStringLiteral("Stop1"), QStringLiteral("&Stop"), 12, &MainWindow::stopLogger);
    addEntry(logger, QStringLiteral("LoggerStatus1"), QStringLiteral("Logger s&tatus"), 12,
             &MainWindow::loggerStatus);
    addEntry(logger, QStringLiteral("Connect1"), QStringLiteral("Modem connection"), kNoContext,
             &MainWindow::connectModem);
    addEntry(logger, QStringLiteral("Disconnect1"), QStringLiteral("Modem disconnection"), kNoContext,
             &MainWindow::disconnectModem);
    logger->addSeparator();
    addEntry(logger, QStringLiteral("Fleet1"), QStringLiteral("&Fleet"), kNoContext, &MainWindow::showFleet);
    connect(logger, &QMenu::aboutToShow, this, &MainWindow::updateLoggerMenu);

    QMenu* options = top(QStringLiteral("Options"), QStringLiteral("&Options"));
    addEntry(options, QStringLiteral("Options1"), QStringLiteral("&Options..."), 19,
             &MainWindow::editOptions);

    windowMenu_ = top(QStringLiteral("Window"), QStringLiteral("&Window"));
    addEntry(windowMenu_, QStringLiteral("Cascade1"), QStringLiteral("&Cascade"), 19, nullptr);
    connect(actions_[QStringLiteral("Cascade1")], &QAction::triggered, mdi_, &QMdiArea::cascadeSubWindows);
    addEntry(windowMenu_, QStringLiteral("TileVertic1"), QStringLiteral("Tile &Vertically"), kNoContext,
             nullptr);
    connect(actions_[QStringLiteral("TileVertic1")], &QAction::triggered, this, [this] { tile(true); });
    addEntry(windowMenu_, QStringLiteral("TileHorizontally1"), QStringLiteral("Tile &Horizontally"), 19,
             nullptr);
    connect(actions_[QStringLiteral("TileHorizontally1")], &QAction::triggered, this,
            [this] { tile(false); });
    addEntry(windowMenu_, QStringLiteral("ArrangeIcons1"), QStringLiteral("&Arrange Icons"), 19,
             &MainWindow::arrangeIcons);
    addEntry(windowMenu_, QStringLiteral("Minimizeallwindows1"), QStringLiteral("&Minimize all windows"), 19,
             &MainWindow::minimizeAllWindows);
    addEntry(windowMenu_, QStringLiteral("Closeallwindows1"), QStringLiteral("&Close all windows"),
             kNoContext, &MainWindow::closeAllWindows);
    connect(windowMenu_, &QMenu::aboutToShow, this, &MainWindow::fillWindowMenu);

    QMenu* help = top(QStringLiteral("Help"), QStringLiteral("&Help"));
    addEntry(help, QStringLiteral("Contents1"), QStringLiteral("&Contents"), 19,
             &MainWindow::showHelpContents);
    addEntry(help, QStringLiteral("Search1"), QStringLiteral("&Search For Help on"), 19, nullptr);
    connect(actions_[QStringLiteral("Search1")], &QAction::triggered, this, [this] { showHelp(19); });
    addEntry(help, QStringLiteral("HowtouseHelp1"), QStringLiteral("&How to use Help"), 19, nullptr);
    connect(actions_[QStringLiteral("HowtouseHelp1")], &QAction::triggered, this, [this] { showHelp(19); });
    help->addSeparator();
    addEntry(help, QStringLiteral("About1"), QStringLiteral("&About"), kNoContext, &MainWindow::about);

    // The desktop's usual keys, besides the menus' accelerators.
    const std::pair<const char*, QKeySequence::StandardKey> keys[] = {
        {"Open1", QKeySequence::Open},   {"Save1", QKeySequence::Save},
        {"Print1", QKeySequence::Print}, {"Copy1", QKeySequence::Copy},
        {"Close1", QKeySequence::Close}, {"Contents1", QKeySequence::HelpContents},
    };
    for (const auto& [name, key] : keys)
        actions_[QString::fromLatin1(name)]->setShortcuts(key);

    // Tool buttons, left to right.
    addTool(QStringLiteral("sbOpen"), QStringLiteral("Open"), 10, &MainWindow::openFile);
    addTool(QStringLiteral("sbSave"), QStringLiteral("Save"), 45, &MainWindow::save);
    addTool(QStringLiteral("sbPrint"), QStringLiteral("Print"), 80, &MainWindow::printNow);
    addTool(QStringLiteral("sbExport"), QStringLiteral("Export Data"), 115, &MainWindow::exportRecording);
    addTool(QStringLiteral("spDownload"), QStringLiteral("Download  Quorvant"), 166, &MainWindow::download);
    addTool(QStringLiteral("spStop"), QStringLiteral("Stop Quorvant"), 202, &MainWindow::stopLogger);
    addTool(QStringLiteral("sbConfig"), QStringLiteral("Config Quorvant"), 237, &MainWindow::configure);
    addTool(QStringLiteral("spGraphic"), QStringLiteral("New Graph"), 272, &MainWindow::openGraphView);
    addTool(QStringLiteral("spInfos"), QStringLiteral("Recording info"), 314, &MainWindow::showLoggerInfos);
    addTool(QStringLiteral("sprealtime"), QStringLiteral("Realtime"), 352, &MainWindow::currentReading);
    addTool(QStringLiteral("SpeedButton2"), QStringLiteral("Help"), 403, nullptr);
    connect(tools_[QStringLiteral("SpeedButton2")], &QToolButton::clicked, this, [this] { showHelp(19); });
    addTool(QStringLiteral("SpeedButton1"), QStringLiteral("Exit Quorvant"), 458, nullptr);
    connect(tools_[QStringLiteral("SpeedButton1")], &QToolButton::clicked, this, &QWidget::close);
}

void MainWindow::setDocumentCommands(bool hasGraph)
{
    const auto set = [&](const QString& name) {
        const bool on = hasGraph;
        if (auto it = actions_.find(name); it != actions_.end())
            it->second->setEnabled(on);
        if (auto it = tools_.find(name); it != tools_.end())
            it->second->setEnabled(on);
    };
    for (const char* name :
         {"Save1", "sbSave", "SaveAs1", "AddToGraph1", "Close1", "Print1", "sbPrint", "meExport", "sbExport"})
        set(QString::fromLatin1(name));
    windowMenu_->menuAction()->setEnabled(hasGraph);
    menus_.at(QStringLiteral("Edit"))->menuAction()->setEnabled(hasGraph);
    menus_.at(QStringLiteral("View"))->menuAction()->setEnabled(hasGraph);
    set(QStringLiteral("spGraphic"));
    set(QStringLiteral("spInfos"));
}

void MainWindow::fillRecentFiles()
{
    QMenu* file = menus_.at(QStringLiteral("File"));
    const QList<QAction*> all = file->actions();
    for (QAction* a : all)
        if (a->property("recentEntry").toBool()) {
            // Out of the menu's children at once; deleted later, as it may be the entry
            // being triggered.
            file->removeAction(a);
            a->setParent(nullptr);
            a->deleteLater();
        }
    const QStringList files = RecentFiles(services_.folder.settingsFile()).files();
    QAction* exit = actions_.at(QStringLiteral("Exit"));
    int n = 0;
    for (const QString& name : files) {
        auto* a = new QAction(QStringLiteral("&%1 %2").arg(++n).arg(QDir::toNativeSeparators(name)), file);
        a->setObjectName(QStringLiteral("Recent%1").arg(n));
        a->setProperty("recentEntry", true);
        connect(a, &QAction::triggered, this, [this, name] { openRecording(name); });
        file->insertAction(exit, a);
    }
    if (n > 0) {
        QAction* separator = file->insertSeparator(exit);
        separator->setProperty("recentEntry", true);
    }
}

void MainWindow::rememberFile(const QString& name)
{
    const QString settings = services_.folder.settingsFile();
    if (const QString failed = settingsWriteMessage(settings, RecentFiles(settings).add(name));
        !failed.isEmpty())
        services_.prompt.tell(failed, PromptSymbol::Error);
    fillRecentFiles();
}

void MainWindow::fillWindowMenu()
{
    // The fixed entries, then one entry per document window.
    const QList<QAction*> all = windowMenu_->actions();
    for (QAction* a : all)
        if (a->property("windowEntry").toBool() || a->isSeparator())
            windowMenu_->removeAction(a), a->deleteLater();
    const QList<QMdiSubWindow*> windows = mdi_->subWindowList();
    if (windows.isEmpty())
        return;
    windowMenu_->addSeparator()->setProperty("windowEntry", true);
    int n = 0;
    for (QMdiSubWindow* w : windows) {
        QAction* a = windowMenu_->addAction(QStringLiteral("&%1 %2").arg(++n).arg(w->windowTitle()));
        a->setProperty("windowEntry", true);
        a->setCheckable(true);
        a->setChecked(w == mdi_->activeSubWindow());
        QPointer<QMdiSubWindow> target(w);
        connect(a, &QAction::triggered, this, [this, target] {
            if (target) {
                if (target->isMinimized())
                    target->showNormal();
                mdi_->setActiveSubWindow(target);
            }
        });
    }
}

void MainWindow::tile(bool sideBySide)
{
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* w : mdi_->subWindowList())
        if (!w->isMinimized())
            windows << w;
    if (windows.isEmpty())
        return;
    const QRect area = mdi_->viewport()->rect();
    const int n = static_cast<int>(windows.size());
    for (int i = 0; i < n; ++i) {
        QMdiSubWindow* w = windows[i];
        if (w->isMaximized())
            w->showNormal();
        if (sideBySide) {
            const int width = area.width() / n;
            w->setGeometry(i * width, 0, width, area.height());
        } else {
            const int height = area.height() / n;
            w->setGeometry(0, i * height, area.width(), height);
        }
    }
}

void MainWindow::arrangeIcons()
{
    // Minimised windows in a row along the bottom of the document area.
    const QRect area = mdi_->viewport()->rect();
    int x = 0;
    for (QMdiSubWindow* w : mdi_->subWindowList()) {
        if (!w->isMinimized())
            continue;
        const QSize size = w->size();
        w->move(x, area.height() - size.height());
        x += size.width();
    }
}

void MainWindow::about()
{
    services_.prompt.tell(QStringLiteral("Quorvant ZK Software / 32\rVersion 0.1"),
                          PromptSymbol::Information);
}

QAction* MainWindow::action(const QString& name) const
{
    auto it = actions_.find(name);
    return it == actions_.end() ? nullptr : it->second;
}

QToolButton* MainWindow::toolButton(const QString& name) const
{
    auto it = tools_.find(name);
    return it == tools_.end() ? nullptr : it->second;
}

QMenu* MainWindow::menu(const QString& name) const
{
    auto it = menus_.find(name);
    return it == menus_.end() ? nullptr : it->second;
}

} // namespace qz
