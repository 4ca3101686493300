#pragma once
// The help pages (HTML in the program's help folder) in a window of the program, opened
// at a context number's anchor or at the index with its search box.
#include <QWidget>

class QLineEdit;
class QTextBrowser;

namespace qz {

class HelpWindow final : public QWidget {
    Q_OBJECT
public:
    // folder: the help pages' folder (with index.html).
    explicit HelpWindow(QString folder, QWidget* parent = nullptr);

    // Opens the pages at a context number; false (and a plain notice) when the pages
    // are missing.
    bool showContext(int context);
    // The index with its search box focused and empty.
    bool showContents();

    QTextBrowser* browser() const { return browser_; }
    static QString anchorFor(int context) { return QStringLiteral("ctx%1").arg(context); }

protected:
    // Esc closes it, as it closes a dialog.
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool open(const QString& anchor);
    void search();

    QString folder_;
    QLineEdit* searchBox_;
    QTextBrowser* browser_;
};

} // namespace qz
