#pragma once
// The graph window: a document window that owns one recording and shows it as a graph.
#include "ui/document_window.h"
#include "platform/program_folder.h"
#include "recording/recording.h"

#include <QImage>
#include <QStringList>

#include <memory>

namespace qz {

class Prompt;
class GraphPaintBox;

class GraphWindow final : public DocumentWindow {
    Q_OBJECT
public:
    GraphWindow(ProgramFolder folder, Prompt& prompt, QWidget* parent = nullptr);
    ~GraphWindow() override;

    Recording& recording() { return *recording_; }
    const Recording& recording() const { return *recording_; }

    // Derives everything from the image and shows the graph; refused (nothing shown) when
    // the catalogue cannot be read or does not accept the logger, or fewer than two
    // measurements are recorded.
    InitResult initialize();
    int measurementCount() const { return recording_->measurementCount(); }
    // Loads a recording file and shows it; the caller tells what went wrong.
    LoadResult load(const QString& name);
    SaveResult save(const QString& name) { return recording_->save(name); }
    QString description() const { return recording_->description(); }
    void childTitle(int n);
    bool isTitleSet() const { return recording_->isTitleSet(); }
    void clearTitleSet() { recording_->clearTitleSet(); }

    // Cursor readout for the main window's status line.
    const QStringList& cursorValues() const { return status_; }
    const QStringList& cursorUnits() const { return units_; }
    const ColourTable& colours() const { return recording_->colours(); }
    bool isInputDrawn(int input) const { return recording_->isInputDrawn(input); }

    // The drawing as shown (the clipboard form).
    QImage snapshot() const;

    // The document window contract.
    void copyToClipboard() override;
    void printTo(QPrinter& printer) override;
    QString clipboardFileFilter() const override { return QStringLiteral("Bitmap files (*.bmp)|*.bmp"); }
    QString clipboardFileExtension() const override { return QStringLiteral("bmp"); }
    bool saveToFile(const QString& name) override;
    QString fileName() const override { return recording_->fileName(); }
    void setFileName(const QString& name) override { recording_->setFileName(name); }
    DocumentWindow* dataWindow() override { return this; }
    bool isSaved() const override { return recording_->isSaved(); }
    bool mayClose() override;
    void setTopAndHeight(int top, int height) override;

    GraphPaintBox* paintBox() const { return paintBox_; }
    // Redraws on the next pass of the event loop; a burst of requests costs one redraw.
    void redrawGraph();

protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    Prompt& prompt_;
    std::unique_ptr<Recording> recording_;
    GraphPaintBox* paintBox_;
    QStringList status_;
    QStringList units_;
    bool resizeSuppressed_ = false;
};

} // namespace qz
