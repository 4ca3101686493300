#pragma once
// The main window's place on the desktop between starts, kept in the settings file as
// "x,y,width,height" ([Window] Geometry). A saved place is used only where it can still
// be reached: its top edge (where the title bar is) must lie on one of today's screens,
// so that a place saved on a monitor since removed never opens a window nobody can see.
#include <QList>
#include <QRect>
#include <QString>

#include <optional>

namespace qz {

QString geometryText(const QRect& rect);
// The rectangle of "x,y,width,height"; none for anything else or a size below 1.
std::optional<QRect> parseGeometry(const QString& text);

// Where to put a window saved at saved, given the screens' available areas: on the screen
// that shows most of its top edge, shrunk to that screen and moved inside it; none when
// no screen shows enough of it (a quarter of its width, at least 100 pixels wide or the
// whole width of a narrower window).
std::optional<QRect> restoredGeometry(const QRect& saved, const QList<QRect>& screens);

// The window's place the first time: about 80 % of the screen's available area, centred,
// never smaller than least (nor larger than the area).
QRect firstGeometry(const QRect& available, const QSize& least);

} // namespace qz
