#pragma once
// The graph window: a document window that shows a graph view of a recording (and of the
// recordings added to it) and knows whether the recording is saved.
// The mouse examines it: a dotted cursor line and the readout of the measurement under
// it for the main window's status line, a dragged rectangle that becomes the next zoom
// level, the right button back one level, a double click for the graphic configuration.
// The wheel zooms the time around the cursor (with Ctrl the values), a drag with the
// middle button or with Shift and the left button moves the picture, Home shows all.
// Recording files dropped on it are handed to whoever adds them (recordingsDropped).
#include "graph/graph_view.h"
#include "recording/exports.h"
#include "ui/document_window.h"

#include <QImage>
#include <QPoint>
#include <QPointer>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>

class QMouseEvent;
class QWheelEvent;

namespace qz {

class Clock;
class GraphPaintBox;
class GraphicConfigDialog;
class Progress;
class Prompt;

// After the window is activated and after every drawing, mouse moves draw no cursor line
// for this long.
inline constexpr std::int64_t kCursorHoldOffMs = 500;

class GraphWindow final : public DocumentWindow {
    Q_OBJECT
public:
    // config: the program's one graphic configuration dialog (none: double clicks do
    // nothing).
    GraphWindow(Prompt& prompt, Clock& clock, GraphicConfigDialog* config, QWidget* parent = nullptr);
    ~GraphWindow() override;

    // Shows a new view of data and draws it, with the display choices kept for it in the
    // settings file (setSettingsFile). saved: the recording is in a file as it is (false
    // for a fresh download, whose window then asks before it closes).
    void showRecording(std::shared_ptr<const RecordingData> data, bool saved);
    // Overlays another recording and shows all again; false when the view holds as many
    // as it can.
    bool addRecording(std::shared_ptr<const RecordingData> data);
    // The user's settings file, where each recording's display choices are kept; none:
    // nothing is kept.
    void setSettingsFile(const QString& path) { settingsFile_ = path; }
    bool hasRecording() const { return view_ != nullptr; }
    // The view shown; only while hasRecording().
    GraphView& view() { return *view_; }
    const GraphView& view() const { return *view_; }
    const RecordingData& data() const { return view_->data(); }
    int measurementCount() const { return view_ ? data().measurementCount() : 0; }
    // Writes the recording to a file; on success the window shows it under that name,
    // saved.
    SaveResult save(const QString& name);
    // Writes the measurements of the zoom level shown to a file, with progress and Cancel.
    ExportOutcome exportFile(const QString& name, ExportKind kind, Progress& progress);
    QString description() const { return view_ ? data().description() : QString(); }
    void childTitle(int n);
    bool isTitleSet() const { return view_ && view_->isTitleSet(); }
    void clearTitleSet()
    {
        if (view_)
            view_->clearTitleSet();
    }

    // Cursor readout for the main window's status line: the primary recording's, then
    // one per further recording that has a measurement under the cursor.
    const QStringList& cursorValues() const { return status_; }
    const QStringList& cursorUnits() const { return units_; }
    struct OverlayReadout {
        QString label; // the recording's name
        QStringList values; // its time, then its drawn inputs' values
        QStringList units; // indexed like values; entry 0 is the label
        std::vector<Colour> colours; // of its drawn inputs
    };
    const std::vector<OverlayReadout>& overlayReadouts() const { return overlays_; }
    ColourTable colours() const { return view_ ? view_->colours() : defaultColours(); }
    bool isInputDrawn(int input) const { return view_ && view_->isInputDrawn(input); }

    // The drawing as shown (the clipboard form).
    QImage snapshot() const;

    // The document window contract.
    void copyToClipboard() override;
    void printTo(QPrinter& printer) override;
    // A picture: PNG (small, read everywhere) first, or BMP.
    QString clipboardFileFilter() const override
    {
        return QStringLiteral("PNG files (*.png)|*.png|Bitmap files (*.bmp)|*.bmp");
    }
    QString clipboardFileExtension() const override { return QStringLiteral("png"); }
    bool saveToFile(const QString& name) override;
    QString fileName() const override { return view_ ? data().fileName() : QString(); }
    void setFileName(const QString& name) override;
    DocumentWindow* dataWindow() override { return this; }
    bool isSaved() const override { return saved_; }
    void setSaved(bool saved) { saved_ = saved; }
    // Asks before an unsaved recording goes (Save, Close without saving, Cancel): true when
    // it is saved, was saved now, or the user agrees to lose it (it then counts as saved).
    bool mayClose() override;
    // How Save in that question saves: true when the recording was written.
    void setSaveHandler(std::function<bool(GraphWindow&)> save) { saveHandler_ = std::move(save); }
    void setTopAndHeight(int top, int height) override;

    GraphPaintBox* paintBox() const { return paintBox_; }
    // Draws the graph now: the cursor line goes, the hold-off starts again and a linked
    // information window follows (graphDrawn).
    void drawGraph();
    // Redraws on the next pass of the event loop; a burst of requests costs one redraw.
    void redrawGraph();

    // The window is the active document window: the mouse reads values out.
    bool isActive() const { return active_; }
    bool isDragging() const { return dragging_; }
    // Values are read out as raw converter counts.
    bool diagnosticReadout() const { return diagnostic_; }
    // Shows the graphic configuration dialog for this window (a double click).
    void openGraphicConfig();

    // The recording information window showing this recording (none: nullptr). It is
    // forgotten when it tells it is closing (message 1032).
    void setInformationWindow(DocumentWindow* window) { information_ = window; }
    DocumentWindow* informationWindow() const { return information_; }

signals:
    // After every drawing of the graph, so that a linked information window shows the
    // current zoom level again.
    void graphDrawn();
    // Recording files (.qrv) were dropped on the graph, to be added to it.
    void recordingsDropped(const QStringList& names);

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The paint box's mouse and the window's keys.
    void imageMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint at);
    void imageMouseMove(QPoint at);
    void imageMouseUp(QPoint at);
    void formKeyDown(Qt::KeyboardModifiers shift);
    void trackCursor(QPoint at);
    void readOut(QPoint at);
    bool insidePlot(QPoint at) const;
    QPoint clampToFrame(QPoint at) const;
    void zoomIn(QPoint end);
    void zoomOut();
    void turnWheel(const QWheelEvent& event);
    void panTo(QPoint at);
    void showAllLevels();
    bool dropEvent(QEvent* event);
    // Remembers the display choices of the primary recording in the settings file.
    void rememberView();

    void applyGraphicConfig();
    void onStateChanged(Qt::WindowStates before, Qt::WindowStates now);
    void onPaintBoxResized();

    Prompt& prompt_;
    Clock& clock_;
    std::function<bool(GraphWindow&)> saveHandler_;
    QPointer<GraphicConfigDialog> config_;
    std::unique_ptr<GraphView> view_;
    bool saved_ = true;
    GraphPaintBox* paintBox_;
    QPointer<DocumentWindow> information_;
    QStringList status_;
    QStringList units_;
    std::vector<OverlayReadout> overlays_;
    QString settingsFile_;
    bool panning_ = false;
    QPoint panLast_;
    bool resizeSuppressed_ = false;
    bool active_ = false;
    bool diagnostic_ = false;
    bool dragging_ = false;
    QPoint dragStart_;
    QPoint dragEnd_;
    std::int64_t holdOffDeadline_ = 0;
};

} // namespace qz
