// The main window without a mouse: F6 and Shift+F6 move the focus between
// the window's regions (the experiment's toolbar, the experiment, the lesson
// toolbar, the lesson, the split buttons), Tab goes through each region's
// controls in their order on the screen, and a ring marks the control that
// has the focus.
#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QToolBar>

#include <functional>
#include <optional>

class QAction;

namespace brv {

class TFocusMark;

class TKeyboardRegions : public QObject {
    Q_OBJECT
public:
    // In their order on the screen.
    enum class TRegion { ExperimentToolbar, Experiment, Results, LessonToolbar, Lesson, SplitButtons };

    // The widgets that make up the regions.  The window lets its lesson pane
    // go first when it closes; a region whose widget has gone is empty.
    struct Parts {
        QWidget* window = nullptr;
        std::function<QToolBar*()> experimentToolbar;  // null while none is shown
        QPointer<QWidget> experiment;                  // LeftTW
        QPointer<QWidget> results;                     // the results panel
        QPointer<QToolBar> lessonToolbar;              // HTMLToolbar
        QPointer<QWidget> lesson;                      // EWBPanel
        QPointer<QWidget> lessonBrowser;               // EWB
        QPointer<QWidget> splitButtonBar;              // StatusBar
        QList<QWidget*> splitButtons;                  // MaxLeftBtn, NormalSplitBtn, MaxRightBtn
    };

    // Adds the F6 and Shift+F6 shortcuts to the window, names the regions
    // for a screen reader and starts the focus ring.
    explicit TKeyboardRegions(Parts parts);

    // F6 (forwards) or Shift+F6: the focus goes to the first control of the
    // next region that shows one; the hidden ones are skipped.
    void NextRegion(bool forwards);
    // The region holding the keyboard focus (none outside them).
    std::optional<TRegion> FocusRegion() const;
    // Every control Tab visits, in the order it visits them.
    QList<QWidget*> TabStops() const;
    // Puts Qt's own Tab order in step with TabStops, after controls came,
    // went or moved.
    void OrderTabStops();
    // Tab (next) or Shift+Tab from the control with the focus; false when
    // that control is none of the stops and Qt's own walk should decide.
    bool MoveTab(bool next);
    // The control the focus ring is drawn around (none when the focus is
    // outside the window).
    QWidget* FocusMarkTarget() const;

    QAction* NextRegionAction() const { return NextRegionAction_; }
    QAction* PreviousRegionAction() const { return PreviousRegionAction_; }

private:
    void nameControls();
    QList<QWidget*> regionStops(TRegion region) const;
    QWidget* regionWidget(TRegion region) const;

    Parts parts_;
    QAction* NextRegionAction_ = nullptr;
    QAction* PreviousRegionAction_ = nullptr;
    TFocusMark* focusMark_ = nullptr;
};

}  // namespace brv
