#include "app/ui/status_image.h"

#include "graph/graph_fonts.h"
#include "model/values.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTimer>

#include <algorithm>

namespace qz {

namespace {

// How long a note stays before a readout may take its place.
constexpr int kNoteHeldMs = 4000;

// Blanks only: other characters of a unit or value text stay.
QString trimmed(const QString& text)
{
    return trimLeadingBlanks(trimTrailingBlanks(text));
}

} // namespace

StatusImage::StatusImage(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("StatusImage"));
    // Paints every pixel: a repaint of its own does not repaint the main window.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setUpFontSubstitutions();
    font_ = QFont(QStringLiteral("Courier New"), 9);
    font_.setStyleHint(QFont::TypeWriter);
    image_ = QImage(qMax(1, width()), 29, QImage::Format_RGB32);
    noteTimer_ = new QTimer(this);
    noteTimer_->setSingleShot(true);
    noteTimer_->setInterval(kNoteHeldMs);
    connect(noteTimer_, &QTimer::timeout, this, &StatusImage::expireNote);
    clearStatus();
}

void StatusImage::clearStatus()
{
    image_.fill(palette().color(QPalette::Button));
    columns_.clear();
    note_.clear();
    cleared_ = true;
    setToolTip(QString());
    update();
}

void StatusImage::drawStatus(const StatusReadout& readout)
{
    // Repainting the same readout would only ask for another repaint of the main window,
    // and would take away a note before the user has read it.
    const bool same = readout == readout_ && (!note_.isEmpty() || cleared_ == readout.texts.isEmpty());
    readout_ = readout;
    if (!same && !noteHeld_)
        paintReadout();
}

void StatusImage::showNote(const QString& text)
{
    clearStatus();
    note_ = text;
    noteHeld_ = true;
    noteTimer_->start();
    paintNote();
}

void StatusImage::paintNote()
{
    QPainter p(&image_);
    p.setFont(font_);
    p.setPen(palette().color(QPalette::ButtonText));
    p.drawText(image_.rect().adjusted(4, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, note_);
    cleared_ = note_.isEmpty();
    setToolTip(note_);
    update();
}

void StatusImage::updateToolTip()
{
    // The readout's columns are narrow: the tooltip says whose values they are.
    QStringList lines;
    if (!readout_.texts.isEmpty())
        lines << trimmed(readout_.texts[0]);
    int k = 1;
    for (int i = 1; i <= mem::kInputs; ++i) {
        if (!readout_.drawn[i - 1])
            continue;
        const QString name = trimmed(readout_.names[std::size_t(i - 1)]);
        QString line = QStringLiteral("%1 %2").arg(i).arg(name.isEmpty() ? QStringLiteral("-") : name);
        if (k < readout_.texts.size())
            line += QStringLiteral(": ") + trimmed(readout_.texts[k]);
        if (k < readout_.units.size() && !trimmed(readout_.units[k]).isEmpty())
            line += QLatin1Char(' ') + trimmed(readout_.units[k]);
        lines << line;
        ++k;
    }
    setToolTip(lines.join(QLatin1Char('\n')));
}

void StatusImage::paintReadout()
{
    clearStatus();
    if (readout_.texts.isEmpty())
        return;
    QPainter p(&image_);
    p.setFont(font_);
    const QFontMetrics fm(font_);
    const int h = fm.height();
    const int top = image_.height() / 2 - h;
    int x = 0;
    // Text positions are the top of the text, as the readout was laid out.
    const auto drawAt = [&](int left, int y, const QString& text) {
        p.drawText(QPoint(left, y + fm.ascent()), text);
    };
    p.setPen(toColor(readout_.colours[0]));
    drawAt(x, top + h / 2, readout_.texts[0]);
    x += fm.horizontalAdvance(readout_.texts[0]);
    int k = 1;
    for (int i = 1; i <= mem::kInputs; ++i) {
        if (!readout_.drawn[i - 1])
            continue;
        p.setPen(toColor(readout_.colours[i]));
        const QString unit =
            QStringLiteral("%1").arg(k < readout_.units.size() ? trimmed(readout_.units[k]) : QString(), 7);
        drawAt(x, top + h, unit);
        const int w = fm.horizontalAdvance(unit);
        const QString value = k < readout_.texts.size() ? trimmed(readout_.texts[k]) : QString();
        drawAt(x + w - fm.horizontalAdvance(value), top, value);
        columns_ << x;
        x += w;
        ++k;
    }
    for (const StatusColumn& c : readout_.more) {
        p.setPen(toColor(c.colour));
        if (c.time) {
            // Another recording: its time above its name.
            const int gap = fm.horizontalAdvance(u' ');
            x += gap;
            drawAt(x, top, c.value);
            drawAt(x, top + h, trimmed(c.unit));
            x += std::max(fm.horizontalAdvance(c.value), fm.horizontalAdvance(trimmed(c.unit)));
            continue;
        }
        const QString unit = QStringLiteral("%1").arg(trimmed(c.unit), 7);
        drawAt(x, top + h, unit);
        const int w = fm.horizontalAdvance(unit);
        const QString value = trimmed(c.value);
        drawAt(x + w - fm.horizontalAdvance(value), top, value);
        x += w;
    }
    cleared_ = false;
    updateToolTip();
    update();
}

void StatusImage::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Button));
    p.drawImage(0, (height() - image_.height()) / 2, image_);
}

void StatusImage::resizeEvent(QResizeEvent*)
{
    if (image_.width() == width())
        return;
    image_ = QImage(qMax(1, width()), 29, QImage::Format_RGB32);
    if (!note_.isEmpty())
        showNote(QString(note_));
    else if (cleared_)
        clearStatus();
    else
        paintReadout();
}

} // namespace qz
