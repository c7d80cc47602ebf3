// The main window: menu bar, the two toolbar docks with the lesson toolbar,
// the experiment pane and the lesson pane side by side with a splitter
// between them, and a status bar with the window-split buttons and the hint
// line.  It hosts the experiments (through TExperimentHost), keeps the user's
// settings and asks before closing.  Its parts with a job of their own live
// in units of their own: the menu bar (uMenuToolbar), the lesson toolbar
// (uLessonToolbar), the splash (uSplash), the keyboard regions and focus
// ring (uKeyboardRegions), the hints (uHintRouter) and the placement on the
// work area (uWindowPlacement).
#pragma once

#include "runtime/Catalogue.h"
#include "shell/uKeyboardRegions.h"

#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <memory>
#include <optional>

class QButtonGroup;
class QFrame;
class QLabel;
class QSplitter;
class QStatusBar;
class QToolBar;
class QToolButton;
class QWebEngineView;

namespace brv {

class TExperimentHost;
class TFlashPanel;
class THelpWindow;
class THintRouter;
class TLessonPane;
class TLessonToolbar;
class TResultsPane;
class TMenuToolbar;
class TSplashPicture;
class TWindowPlacement;
struct TSavedSettings;

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
    // (EWBPanel()->ZoomLevel(), EWBPanel()->TextBackground()).
    int LeftPaneWidth() const;
    bool HelpAvailable() const { return helpAvailable_; }
    THelpWindow* HelpWindow() const { return help_; }

    // --- components ------------------------------------------------------------
    // The menu items are the menu bar's, the lesson toolbar's items the
    // toolbar's; PicPopUp with CopyImage1 belongs to the lesson pane.
    TMenuToolbar* MenuToolbar() const { return MenuToolbar_; }
    TLessonToolbar* HTMLToolbar() const { return HTMLToolbar_; }
    QFrame* LeftTW() const { return LeftTW_; }
    TFlashPanel* FlashPanel() const { return FlashPanel_; }
    QSplitter* Splitter() const { return Splitter_; }
    TLessonPane* EWBPanel() const { return EWBPanel_; }
    QStatusBar* StatusBar() const { return StatusBar_; }
    QToolButton* MaxLeftBtn() const { return MaxLeftBtn_; }
    QToolButton* NormalSplitBtn() const { return NormalSplitBtn_; }
    QToolButton* MaxRightBtn() const { return MaxRightBtn_; }
    QLabel* StatusLabel() const { return StatusLabel_; }
    // The results notebook under the experiment pane.
    TResultsPane* Results() const { return Results_; }

    // --- keyboard ------------------------------------------------------------------
    // F6 and Shift+F6 between the regions, Tab through their controls, and
    // the focus ring.
    const TKeyboardRegions& Keyboard() const { return *keyboard_; }

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
    bool focusNextPrevChild(bool next) override;

private:
    void buildMenus();
    void buildPanes();
    void buildStatusBar();
    void buildHost();
    void buildKeyboard();

    void FormCreate();
    void FormShow();
    void ApplySettings(const std::optional<TSavedSettings>& saved);
    void SaveSettings();
    void setLeftPaneWidth(int width);
    void attachImages();
    void setHint(const QString& hint);
    void routeHints();

    void openLessonBook(const std::optional<TSavedSettings>& saved);
    THelpWindow* openHelp();
    void reportError(const QString& message);

    QToolBar* experimentToolbar() const;
    void restorePlace();
    QString savedPage(const std::optional<TSavedSettings>& saved) const;

    TMenuToolbar* MenuToolbar_ = nullptr;
    TLessonToolbar* HTMLToolbar_ = nullptr;
    QFrame* LeftTW_ = nullptr;
    TFlashPanel* FlashPanel_ = nullptr;
    QSplitter* Splitter_ = nullptr;
    TLessonPane* EWBPanel_ = nullptr;
    QStatusBar* StatusBar_ = nullptr;
    QToolButton* MaxLeftBtn_ = nullptr;
    QToolButton* NormalSplitBtn_ = nullptr;
    QToolButton* MaxRightBtn_ = nullptr;
    QLabel* StatusLabel_ = nullptr;
    TResultsPane* Results_ = nullptr;

    QString programFolder_;
    std::unique_ptr<TExperimentHost> host_;
    QPointer<TSplashPicture> splash_;  // gone with the first experiment
    THelpWindow* help_ = nullptr;
    THintRouter* hintRouter_ = nullptr;
    TKeyboardRegions* keyboard_ = nullptr;
    TWindowPlacement* placement_ = nullptr;
    QString helpPath_;
    bool helpAvailable_ = false;
    QButtonGroup* splitGroup_ = nullptr;
    bool toolbarsAtTop_ = true;
    bool shown_ = false;
    int pendingLeftWidth_ = -1;
    ExperimentId startExperiment_ = 0;
    int startSplit_ = 0;
};

}  // namespace brv
