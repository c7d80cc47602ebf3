// The lesson pane (EWBPanel with its browser EWB): shows the lesson book and
// routes every navigation.  The page a pupil opens decides the experiment in
// the left pane, "!n" links open and close lesson-index headings, "$name"
// links open a picture in the viewer, and the index page receives the index
// as HTML.  The pane also carries the lesson toolbar's browser commands (back,
// forward, index, text size, background colour, copy, print) and the picture
// context menu.
//
// The main window plugs in through TLessonPaneHost; the pane never names it.
#pragma once

#include "shell/uTopicPrint.h"

#include "runtime/Catalogue.h"
#include "runtime/ProgramFolder.h"
#include "shell/ewb_Index.h"
#include "shell/uPageGuard.h"

#include <QByteArray>
#include <QPageLayout>
#include <QPointer>
#include <QSet>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QWidget>

#include <functional>

class QAction;
class QLabel;
class QMenu;
class QPrinter;
class QWebEngineLoadingInfo;

namespace brv {

class TLessonPane;

// What the pane needs from the main window.
struct TLessonPaneHost {
    // The experiment id shown in the left pane (0 before the first).
    std::function<ExperimentId()> currentExperiment;
    // Rebuilds the left pane for id; the pane calls it only when id changes.
    std::function<void(ExperimentId id)> showExperiment;
    // Shows the picture viewer modally on file (which may be missing or
    // empty); default: a TBigPicFrm without owner.
    std::function<void(const QString& file)> openPicture;
    // Shows an error; default: the standard error box over this window.
    std::function<void(const QString& message)> showError;
    // A web link the pupil followed; default: asks, then opens it in the
    // desktop's browser.
    std::function<void(const QUrl& url)> openWebLink;
};

class TPageWatch;

// The browser's page: routes every navigation through the pane and keeps
// every new window request in this pane.
class TEWBPage : public TQuietPage {
    Q_OBJECT
public:
    TEWBPage(TLessonPane& pane, QObject* parent);

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage* createWindow(WebWindowType type) override;

private:
    TLessonPane& pane_;
};

// The browser: its context menu is the pane's picture menu, the engine's own
// menu on selected text only, and nothing elsewhere.
class TEWB : public QWebEngineView {
    Q_OBJECT
public:
    TEWB(TLessonPane& pane, QWidget* parent);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    TLessonPane& pane_;
};

class TLessonPane : public QWidget {
    Q_OBJECT
public:
    static constexpr int DefaultZoomLevel = 2;
    static constexpr int ZoomLevels = 5;  // 0 "Smallest" … 4 "Largest"

    TLessonPane(TLessonPaneHost host, const QString& programFolder = DefaultProgramFolder(),
                QWidget* parent = nullptr);
    ~TLessonPane() override;

    QWebEngineView* EWB() const { return ewb_; }
    TEWBHTMLIndex& Index() { return index_; }

    // --- start-up -------------------------------------------------------
    // Loads "HTML\index.ux" if it exists.  Throws EBadIndexFile; the headings
    // read before the fault stay.
    void LoadIndex();
    // Navigates to "html\index.html"; without it the pane says what is
    // missing and that the experiments still work.
    void OpenStartPage();
    // Navigates to page, a file of the lesson book's html folder.
    void OpenPage(const QString& page);
    // The file name of the lesson book page shown; empty for anything else.
    QString BookPage() const;
    // The text the pane shows in place of a page that is missing (empty while
    // it shows pages).
    QString Notice() const;

    // How long a page may keep the pane waiting before its renderer is
    // asked whether it still answers (TPageWatch).
    void SetPagePatience(int ms);

    // --- routing ----------------------------------------------------------
    // Called for every navigation before it happens; false cancels it.  A
    // local file outside the lesson book is refused with a message; a web
    // link is never shown in the pane, and is offered to the desktop's
    // browser when the page itself asked for it (clicked: not a frame, not
    // a load of the program's own), once per page load.
    bool RouteNavigation(const QUrl& url, bool clicked = true);

    // --- lesson toolbar and menu commands ----------------------------------
    void IndexBtnClick();
    void FwdBtnClick();
    void BackBtnClick();
    int ZoomLevel() const { return zoomLevel_; }
    // Stores the level (clamped to 0–4) and applies it at once.
    void SetZoomLevel(int level);
    static qreal ZoomFactorForLevel(int level);
    // The stored text background colour ("#FFFFFF", "#D9EAFF", "#FFFFE0").
    QString TextBackground() const { return textBackground_; }
    // The colour menu: applies and stores colour when a document is shown;
    // without a document nothing changes.
    void SetTextBackground(const QString& colour);
    // The saved setting: stored, applied when the next document completes.
    void RestoreTextBackground(const QString& colour) { textBackground_ = colour; }
    void CopyTopicText();
    // Opens a print preview of the page (nothing without a document).
    void PrintTopic();
    // The Experiments menu, after the window checked the item: when id is new,
    // opens its main page and shows id.  A missing page does not keep the
    // experiment from the pupil: it is shown, and the pane says which page is
    // missing.
    void ShowExperimentPage(ExperimentId id);
    // The "Index options" drop-down.
    bool AllowAllExpanded() const { return index_.AllowAllExpanded(); }
    void AllowAllExpandedClick() { index_.InvertAllowAllExpanded(); }
    void ExpandAllClick();
    void CollapseAllClick();
    // Writes the rendered index into the page's element with id "index".
    void RewriteIndex();

    // --- command state ------------------------------------------------------
    bool FwdEnabled() const { return fwdEnabled_; }
    bool BackEnabled() const { return backEnabled_; }
    bool IndexBtnEnabled() const { return indexBtnEnabled_; }
    bool IndexOptionsEnabled() const { return !indexBtnEnabled_; }
    // The file name of the shown page ("index.html").
    QString LocationName() const;
    bool HasDocument() const { return hasDocument_; }

    // --- picture context menu ------------------------------------------------
    QMenu* PicPopUp() const { return picPopUp_; }
    QAction* CopyImage1() const { return copyImage1_; }
    // Right click on a picture whose source is sourceUrl: remembers its file
    // and pops the menu up at globalPos when the file exists.  Returns whether
    // the menu was shown.
    bool PictureContextMenu(const QUrl& sourceUrl, const QPoint& globalPos);
    void ForgetPicture() { picturePath_.clear(); }
    QString PicturePath() const { return picturePath_; }
    void CopyImage1Click();

    // The page layout topics are printed with: the printer's paper, portrait,
    // 19.05 mm margins.
    static QPageLayout TopicPageLayout(const QPageLayout& printerLayout);

signals:
    // FwdBtn, BackBtn, IndexBtn or IndexOptions may have changed state.
    void CommandStateChanged();
    // The document finished loading and its colour and zoom were applied.
    void DocumentComplete(bool ok);
    // RewriteIndex finished; found tells whether the page had an "index" element.
    void IndexRewritten(bool found);
    // A topic was rendered for printing (empty when the engine failed).
    void TopicRendered(const QByteArray& pdf);

private:
    friend class TEWBPage;
    void offerWebLink(const QUrl& url);
    void onPageStopped(const QUrl& stuck, const QUrl& retry);
    void routeIndexLink(const QString& segment);
    void routePictureLink(const QString& segment);
    void routeLessonPage(const QString& segment);
    bool refuseOutsideBook(const QUrl& url);
    void showNotice(const QString& text);
    void showExperimentSafely(ExperimentId id);
    void markIndexFor(const QString& segment, ExperimentId id);
    void navigateToFile(const QString& relative);
    void onLoadingChanged(const QWebEngineLoadingInfo& info);
    void onDocumentComplete(bool ok);
    void applyBodyColour(const QString& colour);
    void applyZoom();
    void updateCommandState();
    void reportError(const QString& message);
    bool firstTimeThisPage(const QString& what);
    void showPrintPreview(const QByteArray& pdf, const TTopicPrintInfo& info, const QPageLayout& layout);
    void runScript(const QString& script, const std::function<void(const QVariant&)>& done = {});

    TLessonPaneHost host_;
    QString programFolder_;
    TEWBHTMLIndex index_;
    TEWB* ewb_ = nullptr;
    TEWBPage* page_ = nullptr;
    TPageWatch* watch_ = nullptr;
    int zoomLevel_ = DefaultZoomLevel;
    QString textBackground_;
    bool hasDocument_ = false;
    bool fwdEnabled_ = false;
    bool backEnabled_ = false;
    bool indexBtnEnabled_ = false;
    QMenu* picPopUp_ = nullptr;
    QAction* copyImage1_ = nullptr;
    QString picturePath_;
    QLabel* notice_ = nullptr;
    // Set while the pane is being destroyed: the page's last callbacks, run as
    // it goes, must leave the pane alone.
    bool closing_ = false;
    bool askingWebLink_ = false;
    QSet<QString> toldThisPage_;
};

}  // namespace brv
