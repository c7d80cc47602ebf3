// The lesson toolbar, HTMLToolbar: the index, forward and back buttons and
// the text size, background colour and index option drop-downs.  Every item
// acts on the lesson pane and shows the pane's state; the main window only
// docks the toolbar, tells it where its buttons start in the dock and which
// button size the pupil chose.
#pragma once

#include "runtime/ExperimentForm.h"

class QAction;
class QMenu;
class QToolButton;

namespace brv {

class TDockOffset;
class TLessonPane;

class TLessonToolbar : public TExperimentToolbar {
    Q_OBJECT
public:
    explicit TLessonToolbar(QWidget* window);

    // Wires every item to pane and follows its command state.  The window
    // makes the toolbar before the panes, so that the toolbar has the first
    // place in the dock.
    void ActOn(TLessonPane& pane);

    // Buttons48 and drop-down texts at 150 % when large; Buttons24 and 100 %
    // otherwise.
    void SetLargeButtons(bool large);
    // Where in the dock the buttons start (above the lesson pane); 0 packs
    // them to the left.
    void SetDockPosition(int x);

    QAction* IndexBtn() const { return IndexBtn_; }
    QAction* FwdBtn() const { return FwdBtn_; }
    QAction* BackBtn() const { return BackBtn_; }
    QToolButton* FontBtn() const { return FontBtn_; }
    QToolButton* TextBackColorBtn() const { return TextBackColorBtn_; }
    QToolButton* IndexOptions() const { return IndexOptions_; }
    QAction* size0() const { return size0_; }
    QAction* Size1() const { return Size1_; }
    QAction* Size2() const { return Size2_; }
    QAction* Size3() const { return Size3_; }
    QAction* Size4() const { return Size4_; }
    QAction* BColWhite() const { return BColWhite_; }
    QAction* BColBlue() const { return BColBlue_; }
    QAction* BColYellow() const { return BColYellow_; }
    QAction* AllowAllExpanded1() const { return AllowAllExpanded1_; }
    QAction* ExpandAll1() const { return ExpandAll1_; }
    QAction* CollapseAll1() const { return CollapseAll1_; }

protected:
    bool event(QEvent* e) override;

private:
    QAction* addButton(int imageIndex, const QString& hint);
    QToolButton* addDropDown(QMenu* menu, int imageIndex, const QString& hint);
    QMenu* buildFontMenu();
    QMenu* buildColourMenu();
    QMenu* buildIndexOptionsMenu();
    void takeTab();
    void CommandStateChange(const TLessonPane& pane);
    void keepHtmlToolbarAtDockPosition();

    QAction* IndexBtn_ = nullptr;
    QAction* FwdBtn_ = nullptr;
    QAction* BackBtn_ = nullptr;
    QToolButton* FontBtn_ = nullptr;
    QToolButton* TextBackColorBtn_ = nullptr;
    QToolButton* IndexOptions_ = nullptr;
    QAction* size0_ = nullptr;
    QAction* Size1_ = nullptr;
    QAction* Size2_ = nullptr;
    QAction* Size3_ = nullptr;
    QAction* Size4_ = nullptr;
    QAction* BColWhite_ = nullptr;
    QAction* BColBlue_ = nullptr;
    QAction* BColYellow_ = nullptr;
    QAction* AllowAllExpanded1_ = nullptr;
    QAction* ExpandAll1_ = nullptr;
    QAction* CollapseAll1_ = nullptr;
    QMenu* fontMenu_ = nullptr;
    QMenu* colourMenu_ = nullptr;
    QMenu* indexOptionsMenu_ = nullptr;
    TDockOffset* htmlSpacer_ = nullptr;
    QAction* htmlSpacerAction_ = nullptr;
    int htmlDockPos_ = 0;
};

}  // namespace brv
