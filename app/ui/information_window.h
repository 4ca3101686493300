#pragma once
// The recording information window: a document window that shows, read-only, the
// information text of one graph window's zoom level. The main window prints, copies and
// saves it as text; it goes with its graph window.
#include "ui/document_window.h"

#include <QPointer>
#include <QStringList>

class QPlainTextEdit;

namespace qz {

class GraphWindow;
class Prompt;

class InformationWindow final : public DocumentWindow {
    Q_OBJECT
public:
    explicit InformationWindow(Prompt& prompt, QWidget* parent = nullptr);
    ~InformationWindow() override;

    // Binds the window to graph (it becomes the graph's information window and its data
    // window) and fills it with the text of the graph's current zoom level, under the
    // graph's caption. Every later drawing of the graph fills it again.
    void showRecordInfos(GraphWindow& graph);
    // Raises the window, restoring it when it is minimised.
    void bringToFront();
    // As wide as its longest line (every input's column), but no wider than maxWidth.
    void fitWidthToText(int maxWidth);
    // The title: its graph window's, marked as the information window.
    static QString titleFor(const QString& graphTitle);

    const QStringList& lines() const { return lines_; }
    QPlainTextEdit* memo() const { return memo_; }

    // The document window contract.
    void copyToClipboard() override;
    void printTo(QPrinter& printer) override;
    QString clipboardFileFilter() const override { return QStringLiteral("Text files (*.txt)|*.txt"); }
    QString clipboardFileExtension() const override { return QStringLiteral("txt"); }
    bool saveToFile(const QString& name) override;
    QString fileName() const override { return fileName_; }
    void setFileName(const QString& name) override { fileName_ = name; }
    DocumentWindow* dataWindow() override;
    bool isSaved() const override { return true; }
    bool mayClose() override;

private:
    void refill();
    void setMemoLines(const QStringList& lines);

    Prompt& prompt_;
    QPlainTextEdit* memo_;
    QPointer<GraphWindow> graph_;
    QStringList lines_;
    QString fileName_;
};

} // namespace qz
