#pragma once

#include <QMargins>
#include <QRect>
#include <QString>

class QWidget;

namespace corvanta::windows {

// Keeps a top-level window on the screen and where the user left it: its place and
// size (the client rectangle) are kept under `key` in the user's settings (not the
// ledger: a restored backup does not move windows) when it hides or closes and
// shortly after it moves, and put back whenever it shows, moved inside the
// available geometry of the current screens, frame included. A window shown for
// the first time opens centred on the screen, inside it too.
void rememberPlace(QWidget* window, const QString& key);

// Forgets every remembered place: the windows open as on a first start.
void forgetPlaces();

// The window's frame (its client rectangle grown by `frame`) moved, and shrunk when
// larger, into `available`; returned as the client rectangle.
QRect placedInside(const QRect& client, const QMargins& frame, const QRect& available);

} // namespace corvanta::windows
