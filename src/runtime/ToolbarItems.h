// The pieces every experiment toolbar is made of: the start / stop / reset
// buttons with one shared click handler, captions, spin edits, and the
// toolbar-wide hint switch.  The form's scroll bars (which may veto a new
// position) and the picture's pointer hint live here too.
#pragma once

#include <QString>

#include <Qt>

#include <functional>

class QAbstractSpinBox;
class QAction;
class QDoubleSpinBox;
class QLabel;
class QScrollBar;
class QSpinBox;
class QToolBar;
class QWidget;

namespace brv {

struct TRunButtons {
    QAction* StartBtn = nullptr;
    QAction* StopBtn = nullptr;
    QAction* ResetBtn = nullptr;

    void SetEnabled(bool start, bool stop, bool reset) const;
};

// A button showing picture image of the shared lists, with its hint as tool
// tip and status text (suppressed during a run like every item's); its text
// is caption, or the hint when there is none.  Make it checkable for a toggle
// or a choice.
QAction* AddToolbarButton(QToolBar* toolbar, const QString& name, int image, const QString& hint,
                          const QString& caption = {});

// Adds the three buttons (images 7, 6, 9) with their hints; click receives the
// sender so one handler serves all three.
TRunButtons AddRunButtons(QToolBar* toolbar, const QString& startHint, const QString& stopHint,
                          const QString& resetHint, std::function<void(QAction* sender)> click);

// A blank separator: a gap between items, without a line.
QWidget* AddToolbarGap(QToolBar* toolbar, const QString& name);

// A caption that never shows a hint.
QLabel* AddToolbarLabel(QToolBar* toolbar, const QString& caption, const QString& name);

QSpinBox* AddIntSpinEdit(QToolBar* toolbar, const QString& name, int min, int max, int value,
                         const QString& hint, const QString& postfix = {});
QDoubleSpinBox* AddFloatSpinEdit(QToolBar* toolbar, const QString& name, double min, double max, double step,
                                 int decimals, double value, const QString& hint,
                                 const QString& postfix = {});

// A spin edit whose value is changed by its arrows (and the arrow keys)
// only: its text cannot be typed over.
void SetArrowsOnly(QAbstractSpinBox* spin);

// Shows or suppresses the hints of every item of the toolbar (experiments
// hide them while running, so they don't pop up over the moving picture).
void SetToolbarHintsShown(QToolBar* toolbar, bool shown);
bool ToolbarHintsShown(const QToolBar* toolbar);

// Scroll notification that sees the new position before the bar takes it and
// may change it (snap to a limit).  Called for every step, page, drag move,
// wheel turn and, with endOfScroll true, once more with the final position
// when the scroll ends: the slider, an arrow or the track let go, the key
// released, the wheel at rest for a quarter of a second.
using TScrollHandler = std::function<void(int& position, bool endOfScroll)>;
void OnScroll(QScrollBar* bar, TScrollHandler handler);

// A scroll bar beside the picture (drop height, gate, time).  It steps by 1,
// pages by largeChange, shows hint as its tool tip and status text, and
// takes the keyboard focus on Tab or a click, so the arrows, Page Up/Down,
// Home and End move it as the mouse does.
QScrollBar* NewScrollBar(QWidget* parent, Qt::Orientation orientation, const QString& name, int min, int max,
                         int position, int largeChange, const QString& hint);

// The hint the picture shows where the pointer is now ("Click to ..." over
// something the pupil can use, none elsewhere).  A tip already on screen goes
// when the hint changes, instead of lingering over a place it no longer
// describes.
void SetPictureHint(QWidget* picture, const QString& hint);

}  // namespace brv
