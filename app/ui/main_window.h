#pragma once
// The main window: the document area with the graph windows, the tool panel, the status
// line and the menus. It owns every user command.
#include "app/ui/app_services.h"
#include "link/download_sequence.h"

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

class TBtnRightDlg;
class TQuorvant;
class TChildForm;
class TMDIGraph;
class HelpWindow;
class StatusImage;

class TForm1 final : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(AppServices services, QWidget* parent = nullptr);
    ~TForm1() override;

    // --- Operations used by the document windows --------------------------------------
    void RenumberGraphs();
    void UpdateMenuItems();
    void SetDocumentCommands(bool hasGraph);
    bool CommandBusy() const { return commandBusy_; }

    // --- Commands ---------------------------------------------------------------------
    void Open1Click();
    void Save1Click();
    void SaveAs1Click();
    void Close1Click();
    void Print1Click();
    void sbPrintClick();
    void PrintSetup1Click();
    void Copy1Click();
    void CoptTo1Click();
    void Graph1Click();
    void Offload1Click();
    void Options1Click();
    void Closeallwindows1Click();
    void Minimizeallwindows1Click();
    void ArrangeIcons1Click();
    void About1Click();
    void LoggerMenuShow();
    void ShowHelp(int context);
    void ShowHelpContents();

    // --- Parts for tests and the program entry ----------------------------------------
    QMdiArea* mdiArea() const { return mdi_; }
    // Front-most first, as the window list of the document area.
    QList<TChildForm*> documentWindows() const;
    TChildForm* activeDocument() const;
    QList<TMDIGraph*> graphWindows() const;
    QAction* action(const QString& name) const;
    QToolButton* toolButton(const QString& name) const;
    QMenu* menu(const QString& name) const;
    TBtnRightDlg* options() const { return options_; }
    HelpWindow* helpWindow() const { return help_; }
    QPrinter& printer() { return printer_; }
    StatusImage* statusImage() const { return status_; }
    // A new document window sized as every new one: top 0, the document area's height
    // less 10 pixels.
    void placeDocument(TChildForm* window);
    TMDIGraph* newGraphWindow();
    // Takes a downloaded image into a new graph window.
    ImageAcceptance AcceptDownload(const std::vector<std::uint8_t>& image);

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void buildPanels();
    void buildMenus();
    void addToolButtons();
    QAction* addEntry(QMenu* menu, const QString& name, const QString& caption, int help,
                      void (TForm1::*slot)());
    void addTool(const QString& name, const QString& hint, int x, void (TForm1::*slot)());
    void fillWindowMenu();
    void tile(bool sideBySide);
    void saveRecording(const QString& title);
    void onTimer();
    void drawStatusForActive();
    TMDIGraph* findGraph(TChildForm* handle);
    TMDIGraph* dataGraph();
    void setLoggerMenuEnabled(bool on);
    bool AskDocumentsMayClose();

    AppServices services_;
    bool commandBusy_ = false;
    QMdiArea* mdi_ = nullptr;
    QFrame* panel1_ = nullptr;
    QFrame* panStatus_ = nullptr;
    StatusImage* status_ = nullptr;
    QTimer* sysTimer_ = nullptr;
    TBtnRightDlg* options_ = nullptr;
    HelpWindow* help_ = nullptr;
    QPrinter printer_;
    std::map<QString, QAction*> actions_;
    std::map<QString, QToolButton*> tools_;
    std::map<QString, QMenu*> menus_;
    QMenu* windowMenu_ = nullptr;
};

} // namespace qz
