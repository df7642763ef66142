#pragma once

#include <QList>
#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

// Where the windows of the program open.
//
// Each window opens where the operator last left it: its place, and the size
// of a window that can be resized, are kept per user outside the working
// folder (<user configuration folder>/velmora/finestre.ini, by the window's
// object name), written when the window is hidden or moved and when the
// program ends. A window with no kept place opens beside the window it was
// opened from, never over a menu bar. Every window opens inside the room of
// its screen, a window that can be resized made smaller when it would not
// fit.
namespace ui {

// The room a window's frame may take on the screen of `w`: the screen's
// available area (without the panels the desktop reports) and, where the
// desktop reports none, without 40 pixels at the bottom for one.
QRect room(const QWidget *w);

// What the window system puts around `w` (title bar and borders): its own
// once shown with a frame, else those of another framed window of the
// program, else a title bar of 30 pixels and borders of 4.
QMargins frameMargins(const QWidget *w);

// The size of `w` with its frame.
QSize frameSize(const QWidget *w);

// The top-left corner for a frame of `size` beside the frame `opener`: to
// its right, else to its left, else below it, slid along that side to stay
// inside `room` and clear of the `menus`. Where none of the three has room:
// the place inside the room, clear of the menus, that hides the least of the
// opener.
QPoint besideOpener(QSize size, const QRect &opener, const QRect &room, const QList<QRect> &menus);

// Places the hidden window `w` before it is shown: where it was last left,
// else beside `opener` (when given and shown), fitted to the room of its
// screen; from then on its place is kept.
void place(QWidget *w, const QWidget *opener);

// Keeps the place of `w` (and its size, when it can be resized) as it stands
// now, for its next opening.
void keepPlace(const QWidget *w);

} // namespace ui
