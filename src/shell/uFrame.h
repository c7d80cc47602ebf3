// The main window: menu bar, the two toolbar docks with the lesson toolbar,
// the experiment pane and the lesson pane side by side with a splitter
// between them, and a status bar with the window-split buttons and the hint
// line.  It hosts the experiments (through TExperimentHost), keeps the user's
// settings and asks before closing.
#pragma once

#include "runtime/Catalogue.h"

#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QAction;
class QActionGroup;
class QButtonGroup;
class QFrame;
class QLabel;
class QMenu;
class QMenuBar;
class QSplitter;
class QStatusBar;
class QTimer;
class QToolBar;
class QToolButton;
class QWebEngineView;

namespace brv {

class TDockOffset;
class TFocusMark;
class TExperimentHost;
class TFlashPanel;
class THelpWindow;
class THintRouter;
class TLessonPane;
class TResultsPane;
class TSplashPicture;

// The client bounds that give a window of frame thickness outer bounds equal
// to workArea.
QRect ClientBoundsForFrame(const QRect& workArea, const QMargins& frame);
// The client bounds nearest to client whose outer bounds (frame included) lie
// on workArea: moved onto it, and shrunk to it where they are larger.
QRect ClientBoundsKeepingFrameOn(const QRect& workArea, const QRect& client, const QMargins& frame);

class TFrameFrm : public QMainWindow {
    Q_OBJECT
public:
    // programFolder: where the lesson book, help file and movies are looked
    // for (the executable's folder when empty).
    explicit TFrameFrm(const QString& programFolder = {}, QWidget* parent = nullptr);
    ~TFrameFrm() override;

    QString ProgramFolder() const { return programFolder_; }

    // --- the experiment pane -------------------------------------------------
    // Replaces what the left pane shows by the experiment or movie of id;
    // always rebuilds, callers compare with the current id first.
    void ShowExperiment(ExperimentId id);
    ExperimentId CurrentExperimentId() const;
    TExperimentHost& Host() { return *host_; }

    // --- the lesson pane ---------------------------------------------------------
    // EWBPanel is the lesson pane: the browser EWB with its page routing and the
    // lesson index.  The lesson toolbar and the File, Edit and Experiments
    // commands act on it.
    QWebEngineView* EWB() const;

    // Asks "Close program?"; true lets the window close.  Replaceable so that
    // a test can answer without a dialog.
    std::function<bool(QWidget* parent)> ConfirmClose;
    // The standard error box.  Replaceable so that a test can read the message;
    // an error of the window's creation is shown once the event loop runs.
    std::function<void(const QString& message)> ShowError;

    // --- window state --------------------------------------------------------
    // The lesson text size and background colour are the lesson pane's
    // (EWBPanel->ZoomLevel(), EWBPanel->TextBackground()).
    int LeftPaneWidth() const;
    bool HelpAvailable() const { return helpAvailable_; }
    THelpWindow* HelpWindow() const { return help_; }

    // --- components ------------------------------------------------------------
    QMenuBar* MenuToolbar = nullptr;
    QToolBar* HTMLToolbar = nullptr;
    QFrame* LeftTW = nullptr;
    TFlashPanel* FlashPanel = nullptr;
    QSplitter* Splitter = nullptr;
    TLessonPane* EWBPanel = nullptr;
    QStatusBar* StatusBar = nullptr;
    QToolButton* MaxLeftBtn = nullptr;
    QToolButton* NormalSplitBtn = nullptr;
    QToolButton* MaxRightBtn = nullptr;
    QLabel* StatusLabel = nullptr;
    // The results notebook under the experiment pane.
    TResultsPane* Results = nullptr;
    // PicPopUp with CopyImage1 belongs to the lesson pane (EWBPanel->PicPopUp()).

    // File, Edit, Experiments, Toolbars and Help menus.
    QAction* Print1 = nullptr;
    QMenu* Theme1 = nullptr;
    QAction* Exit1 = nullptr;
    QAction* Copy1 = nullptr;
    QMenu* ExperimentsMenu = nullptr;
    QMenu* ViewMenu = nullptr;              // the results panel's item
    std::vector<QAction*> ExperimentItems;  // tagged (data) with their ExperimentId
    QAction* Top1 = nullptr;
    QAction* Bottom1 = nullptr;
    QAction* Large1 = nullptr;
    QAction* Contents1 = nullptr;
    QAction* Search1 = nullptr;
    QAction* About1 = nullptr;

    // Lesson toolbar items.
    QAction* IndexBtn = nullptr;
    QAction* FwdBtn = nullptr;
    QAction* BackBtn = nullptr;
    QToolButton* FontBtn = nullptr;
    QToolButton* TextBackColorBtn = nullptr;
    QToolButton* IndexOptions = nullptr;
    QAction* size0 = nullptr;
    QAction* Size1 = nullptr;
    QAction* Size2 = nullptr;
    QAction* Size3 = nullptr;
    QAction* Size4 = nullptr;
    QAction* BColWhite = nullptr;
    QAction* BColBlue = nullptr;
    QAction* BColYellow = nullptr;
    QAction* AllowAllExpanded1 = nullptr;
    QAction* ExpandAll1 = nullptr;
    QAction* CollapseAll1 = nullptr;

    // --- keyboard ------------------------------------------------------------------
    // F6 and Shift+F6: the regions focus moves between, in their order on the
    // screen; the hidden ones are skipped.
    enum class TRegion { ExperimentToolbar, Experiment, Results, LessonToolbar, Lesson, SplitButtons };
    void NextRegion(bool forwards);
    // The region holding the keyboard focus (none outside them).
    std::optional<TRegion> FocusRegion() const;
    // Every control Tab visits, in the order it visits them.
    QList<QWidget*> TabStops() const;
    QAction* NextRegionAction = nullptr;
    QAction* PreviousRegionAction = nullptr;
    // The control the focus ring is drawn around (none when the focus is
    // outside the window).
    QWidget* FocusMarkTarget() const;

    // --- handlers ----------------------------------------------------------------
    void TopBottomClick(QAction* item);  // Top1 and Bottom1
    void Large1Click();                  // after Large1 toggled its check mark
    void SplitBtnClick(QToolButton* button);
    void ThemeClick(const QString& name);
    void ExperimentItemClick(QAction* item);
    void Contents1Click();
    void Search1Click();
    void About1Click();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void buildMenus();
    void buildFileMenu();
    void buildExperimentsMenu();
    void fillExperimentsMenu();
    void buildViewMenu();
    void buildToolbarsMenu();
    void buildHelpMenu();
    void buildHtmlToolbar();
    QToolButton* addDropDown(QMenu* menu, int imageIndex, const QString& hint);
    QMenu* buildFontMenu();
    QMenu* buildColourMenu();
    QMenu* buildIndexOptionsMenu();
    void buildPanes();
    void buildStatusBar();
    void buildHost();
    void connectLessonPane();

    void FormCreate();
    void FormShow();
    bool LoadSettings();
    void SaveSettings();
    void placeOnWorkArea();
    void setLeftPaneWidth(int width);
    void SplashFit();
    void createSplash();
    void attachImages();
    void setHint(const QString& hint);
    void routeHints();
    void keepHtmlToolbarAtDockPosition();

    void openLessonBook();
    THelpWindow* openHelp();
    void CommandStateChange();
    void checkCurrentExperiment();
    void reportError(const QString& message);

    void buildKeyboard();
    void nameControls();
    void orderTabStops();
    QList<QWidget*> regionStops(TRegion region) const;
    QWidget* regionWidget(TRegion region) const;
    QToolBar* experimentToolbar() const;
    void fitFrameToWorkArea();
    void unlightAfterMenu(QToolButton* button);
    void restorePlace();
    QString savedPage() const;

    QString programFolder_;
    std::unique_ptr<TExperimentHost> host_;
    QPointer<TSplashPicture> splash_;  // gone with the first experiment
    THelpWindow* help_ = nullptr;
    THintRouter* hintRouter_ = nullptr;
    QString helpPath_;
    bool helpAvailable_ = false;
    QActionGroup* themeGroup_ = nullptr;
    QActionGroup* experimentGroup_ = nullptr;
    QButtonGroup* splitGroup_ = nullptr;
    QMenu* fontMenu_ = nullptr;
    QMenu* colourMenu_ = nullptr;
    QMenu* indexOptionsMenu_ = nullptr;
    TDockOffset* htmlSpacer_ = nullptr;
    QAction* htmlSpacerAction_ = nullptr;
    int htmlDockPos_ = 0;
    bool toolbarsAtTop_ = true;
    bool shown_ = false;
    bool maximiseOnShow_ = false;
    int pendingLeftWidth_ = -1;
    // The window manager tells how thick its frame is only once it has framed
    // the window, and sends nothing the window would see when it does: until
    // then the frame is asked for now and again.  By default the frame fills
    // the work area; saved bounds keep theirs on it.
    enum class TFrameFit { None, FillWorkArea, KeepOnWorkArea };
    TFrameFit frameFit_ = TFrameFit::None;
    QTimer* frameFitTimer_ = nullptr;
    int frameFitTries_ = 0;
    TFocusMark* focusMark_ = nullptr;
    QString startPage_;  // the page the pupil left the lesson book on
    ExperimentId startExperiment_ = 0;
    int startSplit_ = 0;
};

}  // namespace brv
