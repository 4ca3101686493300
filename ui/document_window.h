#pragma once
// A document window inside the main window's document area. The main window prints,
// copies, saves, names and closes documents only through these operations.
#include <QMdiSubWindow>
#include <QString>

class QPrinter;

namespace qz {

class DocumentWindow : public QMdiSubWindow {
    Q_OBJECT
public:
    explicit DocumentWindow(QWidget* parent = nullptr);

    virtual void copyToClipboard() = 0;
    virtual void printTo(QPrinter& printer) = 0;
    virtual QString clipboardFileFilter() const = 0;
    virtual QString clipboardFileExtension() const = 0;
    // False when the file could not be written; saveReason() then says why.
    virtual bool saveToFile(const QString& name) = 0;
    // The system's reason for the last failed saveToFile, when it gave one.
    QString saveReason() const { return saveReason_; }
    virtual QString fileName() const = 0;
    virtual void setFileName(const QString& name) = 0;
    // The graph window that holds this document's recording.
    virtual DocumentWindow* dataWindow() = 0;
    virtual bool isSaved() const = 0;
    virtual bool mayClose() = 0;

    // Marks the window as sized by the program, then sets its height and top edge.
    virtual void setTopAndHeight(int top, int height);
    // The window that receives this window's internal messages.
    void setNotifyTarget(QObject* handle) { notifyTarget_ = handle; }
    QObject* notifyTarget() const { return notifyTarget_; }

    // Closes and frees the window without asking MayClose (the "Close" command and
    // Close all windows, which have already asked).
    void freeWindow();
    bool isBeingFreed() const { return freeing_; }

signals:
    // Something to tell on the main window's status line, which asks nothing of the user.
    void statusNote(const QString& text);

protected:
    void closeEvent(QCloseEvent* event) override;
    void setSaveReason(const QString& reason) { saveReason_ = reason; }
    bool sized_ = false;

private:
    QString saveReason_;
    QObject* notifyTarget_ = nullptr;
    bool freeing_ = false;
};

} // namespace qz
