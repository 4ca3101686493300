#pragma once
// The main window: the document area with the graph windows, the tool panel, the status
// line and the menus. It owns every user command.
#include "app/ui/app_services.h"
#include "app/ui/document_dialogs.h"
#include "jobs/download_job.h"
#include "jobs/logger_ports.h"
#include "model/memory_image.h"

#include <QMainWindow>
#include <QPointer>
#include <QPrinter>

#include <array>
#include <map>
#include <memory>

class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QTimer;
class QToolButton;
class QFrame;

namespace qz {

class FleetWindow;

// What the graph window made of a downloaded image.
enum class ImageUse {
    Shown, // taken as a recording
    TooFewMeasurements, // fewer than two measurements
    UnknownModel, // the catalogue does not accept the logger's model
};

struct StopPolicy;
class ConfigurationDialog;
class DateSettings;
class OptionsDialog;
class LoggerProtocol;
class ReadingsLauncher;
class DiagnosticPanel;
class DialerDialog;
class DocumentWindow;
class GraphWindow;
class GraphicConfigDialog;
class HelpWindow;
class LoggerStatusWindow;
class StatusImage;

class MainWindow final : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(AppServices services, QWidget* parent = nullptr);
    ~MainWindow() override;

    // --- Operations used by the document windows --------------------------------------
    void renumberGraphs();
    void updateMenuItems();
    void setDocumentCommands(bool hasGraph);
    bool commandBusy() const { return commandBusy_; }

    // --- Commands ---------------------------------------------------------------------
    void openFile();
    // Opens a recording file in a new graph window with the checks and messages of Open
    // (also for files named on the command line); false when it was refused.
    bool openRecording(const QString& name);
    // The files named on the command line, in order, each in its own graph window.
    void openRecordings(const QStringList& names);
    // Add to graph...: another recording file overlaid on the active graph.
    void addToGraph();
    // Recording files overlaid on a graph (added with Add to graph... or dropped on it),
    // with the checks and messages of Open; those refused are told and left out.
    void addRecordings(GraphWindow* graph, const QStringList& names);
    void save();
    void saveAs();
    // Saves a graph window's recording to a file the user chooses (title: the dialog's);
    // true when it was written.
    bool saveGraph(GraphWindow* graph, const QString& title);
    void closeDocument();
    void print();
    void printNow();
    void printSetup();
    void copy();
    void copyTo();
    void openGraphView();
    // The information window of the active graph window, made or filled again.
    void showLoggerInfos();
    // Exports the data window's recording to a file and type the user chooses.
    void exportRecording();
    void download();
    // Reads the logger and shows the configuration dialog.
    void configure();
    void stopLogger();
    // Shows the Logger status window and reads the logger's state into it.
    void loggerStatus();
    // Tells on the status line what a command did.
    void showStatusNote(const QString& text);
    // Dials the logger's modem (the dialer dialog), and hangs it up.
    void connectModem();
    void disconnectModem();
    // Reads the logger and shows its current readings.
    void currentReading();
    // One logger command of this window at a time, from its start to its last message or
    // question (CommandBusy): false while another runs; otherwise the Logger menu is
    // disabled until endLoggerCommand. The port itself needs no such guard: its jobs queue.
    bool beginLoggerCommand();
    void endLoggerCommand();
    void editOptions();
    // The Fleet window over the store of the options, made or brought to the front.
    void showFleet();
    void closeAllWindows();
    void minimizeAllWindows();
    void arrangeIcons();
    void about();
    void updateLoggerMenu();
    void showHelp(int context);
    void showHelpContents();
    // Service tools: the memory panel (shown after the access code, hidden without a
    // question) and the raw memory dump to a file.
    void toggleDiagnosticPanel();
    void setDiagnosticPanelVisible(bool on);
    void rawDownload();

    // --- Parts for tests and the program entry ----------------------------------------
    QMdiArea* mdiArea() const { return mdi_; }
    // Front-most first, as the window list of the document area.
    QList<DocumentWindow*> documentWindows() const;
    DocumentWindow* activeDocument() const;
    QList<GraphWindow*> graphWindows() const;
    QAction* action(const QString& name) const;
    QToolButton* toolButton(const QString& name) const;
    QMenu* menu(const QString& name) const;
    OptionsDialog* options() const { return options_; }
    ConfigurationDialog* configurationDialog() const { return config_; }
    ReadingsLauncher* readingsLauncher() const { return launcher_; }
    // The logger's header and clock as the Configuration command read them.
    std::array<std::uint8_t, mem::kDeviceImageSize>& deviceImage() { return deviceImage_; }
    GraphicConfigDialog* graphicConfig() const { return graphicConfig_; }
    HelpWindow* helpWindow() const { return help_; }
    QPrinter& printer() { return printer_; }
    StatusImage* statusImage() const { return status_; }
    DiagnosticPanel* diagnosticPanel() const { return panel2_; }
    DialerDialog* dialer() const { return dialer_; }
    LoggerStatusWindow* loggerStatusWindow() const { return statusWindow_; }
    // A new document window sized as every new one: top 0, the document area's height
    // less 10 pixels.
    void placeDocument(DocumentWindow* window);
    GraphWindow* newGraphWindow();
    // Takes a downloaded image into a new graph window (none when it cannot be shown).
    ImageUse acceptDownload(const std::vector<std::uint8_t>& image);
    // Saves a downloaded image that cannot be shown (its model is unknown) to a file the
    // user chooses; false when none was chosen or the file could not be written.
    bool saveDownloadAnyway(const std::vector<std::uint8_t>& image);

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void buildPanels();
    void buildDiagnosticPanel();
    QString dumpFolder() const;
    void buildMenus();
    void buildConfiguration();
    void buildDialer();
    // A protocol object on the chosen port, with the modem timings.
    std::unique_ptr<LoggerProtocol> modemPort();
    void buildReadings();
    // The download on the chosen port, and what its result comes to.
    void startDownload(const DownloadPolicy& policy);
    void downloadDone(DownloadResult result, DownloadPolicy policy);
    void startStop(const StopPolicy& policy);
    void readStatus(ConnectPolicy connect);
    // The File menu's last files, and a file opened or saved that becomes the first.
    void fillRecentFiles();
    void rememberFile(const QString& name);
    // Finds the logger (ping, or the question to connect it) and reads its header and
    // clock into the device image, then calls then; a read that fails leaves the image as
    // it was and ends the command.
    void readDevice(ConnectPolicy connect, std::function<void(const LinkSettings& link)> then);
    void addToolButtons();
    QAction* addEntry(QMenu* menu, const QString& name, const QString& caption, int help,
                      void (MainWindow::*slot)());
    void addTool(const QString& name, const QString& hint, int x, void (MainWindow::*slot)());
    void fillWindowMenu();
    void tile(bool sideBySide);
    void saveRecording(const QString& title);
    // The window's place from the last start, where today's screens still show it (false
    // when there is none); kept again at close.
    bool restorePlace();
    void keepPlace();
    enum class FileDialogKind {
        Open,
        Save
    };
    // The file dialog, started in the last folder used, which it then remembers.
    QString chooseFile(FileDialogRequest request, FileDialogKind kind);
    void onTimer();
    void drawStatusForActive();
    GraphWindow* findGraph(DocumentWindow* handle);
    GraphWindow* dataGraph();
    void setLoggerMenuEnabled(bool on);
    bool askDocumentsMayClose();

    AppServices services_;
    LoggerPorts ports_{services_.jobs, services_.lines, services_.clock};
    bool commandBusy_ = false;
    QMdiArea* mdi_ = nullptr;
    QFrame* panel1_ = nullptr;
    QFrame* panStatus_ = nullptr;
    StatusImage* status_ = nullptr;
    DiagnosticPanel* panel2_ = nullptr;
    QTimer* sysTimer_ = nullptr;
    OptionsDialog* options_ = nullptr;
    QPointer<FleetWindow> fleet_;
    std::array<std::uint8_t, mem::kDeviceImageSize> deviceImage_{};
    std::unique_ptr<DateSettings> dateSettings_;
    ConfigurationDialog* config_ = nullptr;
    GraphicConfigDialog* graphicConfig_ = nullptr;
    ReadingsLauncher* launcher_ = nullptr;
    HelpWindow* help_ = nullptr;
    DialerDialog* dialer_ = nullptr;
    LoggerStatusWindow* statusWindow_ = nullptr;
    QPrinter printer_;
    std::map<QString, QAction*> actions_;
    std::map<QString, QToolButton*> tools_;
    std::map<QString, QMenu*> menus_;
    QMenu* windowMenu_ = nullptr;
};

} // namespace qz
