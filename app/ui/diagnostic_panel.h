#pragma once
// The hidden memory panel of the main window, for service staff: hexadecimal dumps of the
// logger's memory and clock, or of a recording file, in a memo beside a column of two
// layers (logger in front, file behind).
#include <QFrame>

#include <functional>
#include <memory>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QStackedLayout;

namespace qz {

class DocumentDialogs;
class LoggerPorts;
class Prompt;
struct LinkSettings;
enum class AddressStep;

struct DiagnosticServices {
    Prompt& prompt;
    DocumentDialogs& dialogs;
    // Where the reads run, on the current port.
    LoggerPorts& ports;
    std::function<LinkSettings()> link;
    // The main window's busy flag: a logger read runs only while no other logger command
    // of the window does, and keeps them out until it has ended.
    bool& commandBusy;
};

class DiagnosticPanel final : public QFrame {
    Q_OBJECT
public:
    DiagnosticPanel(DiagnosticServices services, QWidget* parent = nullptr);

    // The logger layer's buttons: OK (Here), "+" (Next), "-" (Previous).
    void dumpLogger(AddressStep step);
    // "Rtc": one clock line under what the memo holds.
    void appendClock();
    // The file layer's buttons; nothing happens until a file is chosen that still exists.
    void dumpFile(AddressStep step);
    // The file layer's open button: choose a recording file, then dump as OK.
    void chooseFile();
    void showFileLayer(bool front);
    bool fileLayerInFront() const;

    QPlainTextEdit* memo() const { return memo_; }
    QLineEdit* loggerAddressBox() const { return loggerBox_; }
    QLineEdit* fileAddressBox() const { return fileBox_; }
    const QString& fileName() const { return fileName_; }

signals:
    // Ctrl + Shift + right button on the panel.
    void toggleRequested();
    // A double click on the memo.
    void hideRequested();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildLoggerLayer();
    QWidget* buildFileLayer();
    QPushButton* addButton(QWidget* layer, const char* name, const QString& caption, int fontPixels);
    void showLines(const QStringList& lines);

    DiagnosticServices services_;
    QPlainTextEdit* memo_ = nullptr;
    QStackedLayout* layers_ = nullptr;
    QWidget* loggerLayer_ = nullptr;
    QWidget* fileLayer_ = nullptr;
    QLineEdit* loggerBox_ = nullptr;
    QLineEdit* fileBox_ = nullptr;
    QString fileName_;
};

// Whether a mouse press is the panel's gesture: right button with Ctrl and Shift held.
bool isPanelGesture(const QMouseEvent& event);

} // namespace qz
