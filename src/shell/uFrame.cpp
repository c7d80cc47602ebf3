#include "shell/uFrame.h"

#include "common/ErrorBox.h"
#include "notebook/ResultsPanel.h"
#include "runtime/AddMaths.h"
#include "runtime/BRV_StrConstants.h"
#include "runtime/Bitmap32.h"
#include "runtime/DataMod.h"
#include "runtime/ExperimentForm.h"
#include "runtime/ExperimentHost.h"
#include "runtime/ProgramFolder.h"
#include "shell/ewb_Index.h"
#include "shell/uAbout.h"
#include "shell/uFlashPanel.h"
#include "shell/uHelp.h"
#include "shell/uLessonPane.h"
#include "shell/uResultsPane.h"
#include "shell/uSettings.h"
#include "shell/uThemes.h"

#include <QActionGroup>
#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QCursor>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWebEngineView>
#include <QWindow>

#include <algorithm>
#include <array>
#include <exception>
#include <utility>

namespace brv {

// --- the splash picture ------------------------------------------------------------

// The picture the left pane shows until the first experiment: at its natural
// size, or scaled down with a windowed-sinc (Lanczos) filter when the pane is
// narrower than the picture.
class TSplashPicture : public QWidget {
public:
    explicit TSplashPicture(QWidget* parent) : QWidget(parent)
    {
        setObjectName(QStringLiteral("Splash"));
        bitmap_.Resampler = TResampler::Lanczos;
    }

    bool Load(const QString& path)
    {
        if (!bitmap_.LoadFromFile(path))
            return false;
        resize(bitmap_.Width(), bitmap_.Height());
        return true;
    }

    const TBitmap32& Bitmap() const { return bitmap_; }

    void SetStretched(bool stretched)
    {
        stretched_ = stretched;
        update();
    }
    bool Stretched() const { return stretched_; }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        if (!stretched_) {
            painter.drawImage(0, 0, bitmap_.Image());
            return;
        }
        if (scaled_.Width() != width() || scaled_.Height() != height()) {
            scaled_.SetSize(width(), height(), true);
            bitmap_.StretchTo(scaled_, scaled_.BoundsRect());
        }
        painter.drawImage(0, 0, scaled_.Image());
    }

private:
    TBitmap32 bitmap_;
    TBitmap32 scaled_;
    bool stretched_ = false;
};

// The empty space at the start of the lesson toolbar that keeps its buttons
// at their dock position.  It gives way first when the window is narrow, so
// it never makes the window wider than it has to be.
class TDockOffset : public QWidget {
public:
    explicit TDockOffset(QWidget* parent) : QWidget(parent)
    {
        setObjectName(QStringLiteral("HTMLToolbarOffset"));
        setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Minimum);
    }
    int Gap() const { return gap_; }
    void SetGap(int gap)
    {
        gap_ = gap;
        updateGeometry();
    }
    QSize sizeHint() const override { return {gap_, 1}; }
    QSize minimumSizeHint() const override { return {0, 1}; }

private:
    int gap_ = 0;
};

// The keyboard focus drawn as a ring over the control that has it, in the
// theme's highlight colour: tool buttons, scroll bars and split buttons draw
// no focus of their own in some themes.  It lies over the window, takes no
// mouse clicks and follows the control when anything moves it.
class TFocusMark : public QWidget {
public:
    explicit TFocusMark(QWidget* window) : QWidget(window), window_(window)
    {
        setObjectName(QStringLiteral("FocusMark"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::NoFocus);
        hide();
        connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { Follow(now); });
    }

    QWidget* Target() const { return target_; }

    void Follow(QWidget* widget)
    {
        for (QWidget* w : watched_)
            if (w != nullptr)
                w->removeEventFilter(this);
        watched_.clear();
        target_ = widget != nullptr && widget->window() == window_ && widget != window_ ? widget : nullptr;
        // The control moves with every parent up to the window.
        for (QWidget* w = target_; w != nullptr && w != window_; w = w->parentWidget()) {
            w->installEventFilter(this);
            watched_.push_back(w);
        }
        Place();
    }

    void Place()
    {
        if (target_.isNull() || !target_->isVisible()) {
            hide();
            return;
        }
        setGeometry(QRect(target_->mapTo(window_, QPoint()), target_->size()));
        raise();
        show();
        update();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
            case QEvent::Move:
            case QEvent::Resize:
            case QEvent::Show:
            case QEvent::Hide:
            case QEvent::ParentChange:
                QTimer::singleShot(0, this, [this] { Place(); });
                break;
            default:
                break;
        }
        return QObject::eventFilter(watched, event);
    }

    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setPen(QPen(palette().color(QPalette::Highlight), kWidth));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(rect()).adjusted(kWidth / 2.0, kWidth / 2.0, -kWidth / 2.0, -kWidth / 2.0));
    }

private:
    static constexpr int kWidth = 2;
    QWidget* window_;
    QPointer<QWidget> target_;
    std::vector<QPointer<QWidget>> watched_;
};

namespace {

// A control Tab stops at.
bool TakesTab(const QWidget* w)
{
    return (w->focusPolicy() & Qt::TabFocus) != 0 && w->focusProxy() == nullptr;
}

bool Reachable(const QWidget* w)
{
    return w->isVisible() && w->isEnabled();
}

const QString kHelpFile = QStringLiteral("Help\\BRVhelp.chm");
const QString kSplashFile = QStringLiteral("HTML\\Images\\Splash.png");

bool AskCloseProgram(QWidget* parent)
{
    QMessageBox box(QMessageBox::Question, str::sConfirmCaption(), str::sCloseProgram(),
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

void SetHintOf(QAction* action, const QString& hint)
{
    action->setToolTip(hint);
    action->setStatusTip(hint);
}

void ScaleMenuFont(QMenu* menu, int percent)
{
    QFont font = QApplication::font(menu);
    const qreal base = font.pointSizeF() > 0 ? font.pointSizeF() : 9.0;
    font.setPointSizeF(base * percent / 100.0);
    menu->setFont(font);
}

QString HintOf(const QWidget* w)
{
    if (!w->statusTip().isEmpty())
        return w->statusTip();
    if (const auto* button = qobject_cast<const QToolButton*>(w);
        button != nullptr && button->defaultAction())
        return button->defaultAction()->statusTip().isEmpty() ? button->defaultAction()->toolTip()
                                                              : button->defaultAction()->statusTip();
    return w->toolTip();
}

}  // namespace

// Every control of the window (a floating toolbar included) shows its hint
// in the status line while the mouse is over it, as the menu items do.
class THintRouter : public QObject {
public:
    THintRouter(QWidget* window, std::function<void(const QString&)> show)
        : QObject(window), window_(window), show_(std::move(show))
    {
        qApp->installEventFilter(this);
    }
    ~THintRouter() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        if ((type == QEvent::Enter || type == QEvent::Leave) && watched->isWidgetType() &&
            watched != window_) {
            const auto* w = static_cast<const QWidget*>(watched);
            if (belongsToWindow(w))
                show_(type == QEvent::Enter ? HintOf(w) : QString());
        }
        return false;
    }

private:
    // Also true inside the window's floating toolbars, which are windows of their own.
    bool belongsToWindow(const QWidget* w) const
    {
        for (const QWidget* p = w->parentWidget(); p != nullptr; p = p->parentWidget())
            if (p == window_)
                return true;
        return false;
    }

    QWidget* window_;
    std::function<void(const QString&)> show_;
};

// --- construction ------------------------------------------------------------------------

TFrameFrm::TFrameFrm(const QString& programFolder, QWidget* parent)
    : QMainWindow(parent), programFolder_(programFolder.isEmpty() ? DefaultProgramFolder() : programFolder)
{
    setObjectName(QStringLiteral("FrameFrm"));
    ConfirmClose = AskCloseProgram;
    ShowError = [this](const QString& message) { ShowErrorBox(this, message); };
    buildMenus();
    buildHtmlToolbar();
    buildPanes();
    buildStatusBar();
    buildHost();
    Results = AttachResultsPane({this, Splitter, LeftTW, HTMLToolbar, ViewMenu, host_.get()});
    connectLessonPane();
    buildKeyboard();
    FormCreate();
}

TFrameFrm::~TFrameFrm()
{
    delete hintRouter_;
    // The lesson pane asks the host for the current experiment: it goes while
    // the host is still there, and the lesson index with it.
    delete EWBPanel;
    EWBPanel = nullptr;
    // Each experiment's toolbar goes back to its form, so both go together.
    host_->ReleaseExperiments();
}

void TFrameFrm::buildMenus()
{
    MenuToolbar = new QMenuBar(this);
    MenuToolbar->setObjectName(QStringLiteral("MenuToolbar"));
    MenuToolbar->setNativeMenuBar(false);
    setMenuBar(MenuToolbar);
    buildFileMenu();
    buildExperimentsMenu();
    buildViewMenu();
    buildToolbarsMenu();
    buildHelpMenu();
}

namespace {

// A menu bar title with an Alt+letter key on the letter at index: the text
// shows as it stands, that letter underlined.
QString WithMnemonic(const QString& title, int index)
{
    return title.left(index) + QLatin1Char('&') + title.mid(index);
}

}  // namespace

// Its item, the results panel's, comes with the panel (AttachResultsPane).
void TFrameFrm::buildViewMenu()
{
    ViewMenu = MenuToolbar->addMenu(WithMnemonic(str::sResultsMenuView(), 0));
}

void TFrameFrm::buildFileMenu()
{
    QMenu* file = MenuToolbar->addMenu(WithMnemonic(str::sMenuFile(), 0));
    Print1 = file->addAction(str::sPrintTopic());
    Theme1 = file->addMenu(str::sAppearance());
    themeGroup_ = new QActionGroup(this);
    for (const QString& name : ThemeNames()) {
        QAction* item = Theme1->addAction(ThemeCaption(name));
        item->setCheckable(true);
        item->setData(name);
        themeGroup_->addAction(item);
        connect(item, &QAction::triggered, this, [this, name] { ThemeClick(name); });
    }
    connect(Theme1, &QMenu::aboutToShow, this, [this] {
        for (QAction* item : themeGroup_->actions())
            item->setChecked(item->data().toString() == CurrentThemeName());
    });
    file->addSeparator();
    Exit1 = file->addAction(str::sExit(), this, &QWidget::close);

    QMenu* edit = MenuToolbar->addMenu(WithMnemonic(str::sMenuEdit(), 0));
    Copy1 = edit->addAction(str::sCopyTopicText());
    Copy1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
}

void TFrameFrm::buildExperimentsMenu()
{
    ExperimentsMenu = MenuToolbar->addMenu(WithMnemonic(str::sMenuExperiments(), 1));  // Alt+X
    experimentGroup_ = new QActionGroup(this);
    experimentGroup_->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    connect(ExperimentsMenu, &QMenu::aboutToShow, this, &TFrameFrm::checkCurrentExperiment);
}

void TFrameFrm::fillExperimentsMenu()
{
    // In the catalogue's menu order; an experiment that is not part of this
    // build has no item.
    for (const TCatalogueEntry* entry : TCatalogue::Instance().MenuEntries()) {
        QAction* item = ExperimentsMenu->addAction(entry->menuCaption);
        item->setCheckable(true);
        item->setData(entry->id);
        experimentGroup_->addAction(item);
        ExperimentItems.push_back(item);
        connect(item, &QAction::triggered, this, [this, item] { ExperimentItemClick(item); });
    }
}

void TFrameFrm::buildToolbarsMenu()
{
    QMenu* toolbars = MenuToolbar->addMenu(WithMnemonic(str::sMenuToolbars(), 0));
    auto* position = new QActionGroup(this);
    Top1 = toolbars->addAction(str::sToolbarsAtTop());
    Bottom1 = toolbars->addAction(str::sToolbarsAtBottom());
    for (QAction* item : {Top1, Bottom1}) {
        item->setCheckable(true);
        position->addAction(item);
        connect(item, &QAction::triggered, this, [this, item] { TopBottomClick(item); });
    }
    Top1->setChecked(true);
    toolbars->addSeparator();
    Large1 = toolbars->addAction(str::sUseLargeButtons());
    Large1->setCheckable(true);
    connect(Large1, &QAction::triggered, this, &TFrameFrm::Large1Click);
}

void TFrameFrm::buildHelpMenu()
{
    QMenu* help = MenuToolbar->addMenu(WithMnemonic(str::sMenuHelp(), 0));
    Contents1 = help->addAction(str::sHelpContents(), this, &TFrameFrm::Contents1Click);
    Search1 = help->addAction(str::sHelpSearch(), this, &TFrameFrm::Search1Click);
    help->addSeparator();
    About1 = help->addAction(str::sMenuAbout(), this, &TFrameFrm::About1Click);
}

QToolButton* TFrameFrm::addDropDown(QMenu* menu, int imageIndex, const QString& hint)
{
    QAction* action = HTMLToolbar->addAction(hint);
    action->setProperty(kImageIndexProperty, imageIndex);
    SetHintOf(action, hint);
    action->setMenu(menu);
    auto* button = qobject_cast<QToolButton*>(HTMLToolbar->widgetForAction(action));
    button->setPopupMode(QToolButton::InstantPopup);
    unlightAfterMenu(button);
    return button;
}

void TFrameFrm::buildHtmlToolbar()
{
    HTMLToolbar = new TExperimentToolbar(str::sLessonToolbarTitle(), this);
    HTMLToolbar->setObjectName(QStringLiteral("HTMLToolbar"));
    HTMLToolbar->setAllowedAreas(Qt::TopToolBarArea | Qt::BottomToolBarArea);
    HTMLToolbar->setIconSize(QSize(kSmallButtonSize, kSmallButtonSize));
    addToolBar(Qt::TopToolBarArea, HTMLToolbar);

    // Keeps the buttons at their dock position (above the lesson pane) while
    // nothing to their left pushes them further.
    htmlSpacer_ = new TDockOffset(HTMLToolbar);
    htmlSpacerAction_ = HTMLToolbar->addWidget(htmlSpacer_);
    htmlSpacerAction_->setVisible(false);

    const auto addButton = [this](int imageIndex, const QString& hint) {
        QAction* action = HTMLToolbar->addAction(hint);
        action->setProperty(kImageIndexProperty, imageIndex);
        SetHintOf(action, hint);
        return action;
    };
    IndexBtn = addButton(biIndex, str::sMainIndexHint());
    FwdBtn = addButton(biForward, str::sMoveForwardHint());
    BackBtn = addButton(biBack, str::sMoveBackHint());
    FwdBtn->setEnabled(false);
    BackBtn->setEnabled(false);
    FontBtn = addDropDown(buildFontMenu(), biFontSize, str::sSetFontSizeHint());
    TextBackColorBtn = addDropDown(buildColourMenu(), biTextColour, str::sSetTextBackColourHint());
    IndexOptions = addDropDown(buildIndexOptionsMenu(), biIndexOptions, str::sIndexOptionsHint());

    HTMLToolbar->installEventFilter(this);
    connect(HTMLToolbar, &QToolBar::topLevelChanged, this, [this] { keepHtmlToolbarAtDockPosition(); });
}

QMenu* TFrameFrm::buildFontMenu()
{
    fontMenu_ = new QMenu(this);
    auto* sizes = new QActionGroup(this);
    const QString sizeCaptions[] = {str::sSizeSmallest(), str::sSizeSmall(), str::sSizeMedium(),
                                    str::sSizeLarge(), str::sSizeLargest()};
    QAction** sizeItems[] = {&size0, &Size1, &Size2, &Size3, &Size4};
    for (int tag = 0; tag < 5; ++tag) {
        QAction* item = fontMenu_->addAction(sizeCaptions[tag]);
        item->setCheckable(true);
        item->setData(tag);
        sizes->addAction(item);
        *sizeItems[tag] = item;
    }
    return fontMenu_;
}

QMenu* TFrameFrm::buildColourMenu()
{
    colourMenu_ = new QMenu(this);
    auto* colours = new QActionGroup(this);
    const std::pair<QAction**, std::pair<QString, QString>> colourItems[] = {
        {&BColWhite, {str::sColourWhite(), str::sTextBgndWhite()}},
        {&BColBlue, {str::sColourPaleBlue(), str::sTextBgndPaleBlue()}},
        {&BColYellow, {str::sColourPaleYellow(), str::sTextBgndPaleYellow()}}};
    for (const auto& [field, captionAndColour] : colourItems) {
        QAction* item = colourMenu_->addAction(captionAndColour.first);
        item->setCheckable(true);
        item->setData(captionAndColour.second);
        colours->addAction(item);
        *field = item;
    }
    return colourMenu_;
}

QMenu* TFrameFrm::buildIndexOptionsMenu()
{
    indexOptionsMenu_ = new QMenu(this);
    AllowAllExpanded1 = indexOptionsMenu_->addAction(str::sAllowAllExpanded());
    AllowAllExpanded1->setCheckable(true);
    ExpandAll1 = indexOptionsMenu_->addAction(str::sExpandAll());
    CollapseAll1 = indexOptionsMenu_->addAction(str::sCollapseAll());
    return indexOptionsMenu_;
}

void TFrameFrm::buildPanes()
{
    Splitter = new QSplitter(Qt::Horizontal, this);
    Splitter->setObjectName(QStringLiteral("Splitter"));
    Splitter->setHandleWidth(8);
    Splitter->setOpaqueResize(true);
    Splitter->setChildrenCollapsible(false);

    LeftTW = new QFrame(Splitter);
    LeftTW->setObjectName(QStringLiteral("LeftTW"));
    LeftTW->setFrameShape(QFrame::Box);
    LeftTW->setLineWidth(1);
    // A client area of at least 50 × 50: the splitter refuses a left pane
    // of 50 pixels or less.
    LeftTW->setMinimumSize(50 + 2 * LeftTW->frameWidth(), 50 + 2 * LeftTW->frameWidth());
    auto* paneLayout = new QVBoxLayout(LeftTW);
    paneLayout->setContentsMargins(LeftTW->frameWidth(), LeftTW->frameWidth(), LeftTW->frameWidth(),
                                   LeftTW->frameWidth());
    paneLayout->setSpacing(0);
    FlashPanel = new TFlashPanel(programFolder_, LeftTW);
    paneLayout->addWidget(FlashPanel);
    LeftTW->installEventFilter(this);

    TLessonPaneHost lessonHost;
    lessonHost.currentExperiment = [this] { return CurrentExperimentId(); };
    // The pane compares ids first: only a new id rebuilds the left pane.
    lessonHost.showExperiment = [this](ExperimentId id) { ShowExperiment(id); };
    lessonHost.showError = [this](const QString& message) { ShowError(message); };
    EWBPanel = new TLessonPane(std::move(lessonHost), programFolder_, Splitter);

    Splitter->addWidget(LeftTW);
    Splitter->addWidget(EWBPanel);
    // The left pane keeps its width when the window is resized.
    Splitter->setStretchFactor(0, 0);
    Splitter->setStretchFactor(1, 1);
    setCentralWidget(Splitter);
}

void TFrameFrm::buildStatusBar()
{
    StatusBar = new QStatusBar(this);
    StatusBar->setObjectName(QStringLiteral("StatusBar"));
    setStatusBar(StatusBar);
    splitGroup_ = new QButtonGroup(this);
    const auto addSplitButton = [this](int picture, const QString& hint, const char* name) {
        auto* button = new QToolButton(StatusBar);
        button->setObjectName(QLatin1String(name));
        button->setCheckable(true);
        button->setAutoRaise(true);
        button->setIconSize(QSize(16, 16));
        button->setProperty("splitPicture", picture);
        button->setToolTip(hint);
        button->setStatusTip(hint);
        splitGroup_->addButton(button);
        StatusBar->addWidget(button);
        connect(button, &QToolButton::clicked, this, [this, button] { SplitBtnClick(button); });
        return button;
    };
    MaxLeftBtn = addSplitButton(siMaxLeft, str::sMaxLeftHint(), "MaxLeftBtn");
    NormalSplitBtn = addSplitButton(siNormal, str::sNormalSplitHint(), "NormalSplitBtn");
    MaxRightBtn = addSplitButton(siMaxRight, str::sMaxRightHint(), "MaxRightBtn");
    NormalSplitBtn->setChecked(true);
    auto* separator = new QFrame(StatusBar);
    separator->setObjectName(QStringLiteral("StatusSeparator"));
    separator->setFrameShape(QFrame::VLine);
    separator->setFixedWidth(1);
    StatusBar->addWidget(separator);
    StatusLabel = new QLabel(QStringLiteral(" "), StatusBar);
    StatusLabel->setObjectName(QStringLiteral("StatusLabel"));
    StatusBar->addWidget(StatusLabel, 1);
}

void TFrameFrm::buildHost()
{
    TExperimentHost::Parts parts;
    parts.window = this;
    parts.leftPane = LeftTW;
    parts.flashPanel = FlashPanel;
    parts.htmlToolbar = HTMLToolbar;
    parts.toolbarsAtTop = [this] { return Top1->isChecked(); };
    parts.largeButtons = [this] { return Large1->isChecked(); };
    parts.loadMovie = [this](const QString& path) { FlashPanel->LoadMovie(path); };
    parts.programFolder = programFolder_;
    host_ = std::make_unique<TExperimentHost>(std::move(parts));
}

// The lesson toolbar and the File and Edit commands are the lesson pane's own;
// the window keeps the buttons' state and the drop-downs' check marks in step
// with it.
void TFrameFrm::connectLessonPane()
{
    TLessonPane* pane = EWBPanel;
    connect(IndexBtn, &QAction::triggered, pane, &TLessonPane::IndexBtnClick);
    connect(FwdBtn, &QAction::triggered, pane, &TLessonPane::FwdBtnClick);
    connect(BackBtn, &QAction::triggered, pane, &TLessonPane::BackBtnClick);
    connect(pane, &TLessonPane::CommandStateChanged, this, &TFrameFrm::CommandStateChange);

    for (QAction* item : {size0, Size1, Size2, Size3, Size4}) {
        const int level = item->data().toInt();
        connect(item, &QAction::triggered, pane, [pane, level] { pane->SetZoomLevel(level); });
    }
    connect(fontMenu_, &QMenu::aboutToShow, pane, [this, pane] {
        for (QAction* item : {size0, Size1, Size2, Size3, Size4})
            item->setChecked(item->data().toInt() == pane->ZoomLevel());
    });

    for (QAction* item : {BColWhite, BColBlue, BColYellow}) {
        const QString colour = item->data().toString();
        connect(item, &QAction::triggered, pane, [pane, colour] { pane->SetTextBackground(colour); });
    }
    connect(colourMenu_, &QMenu::aboutToShow, pane, [this, pane] {
        for (QAction* item : {BColWhite, BColBlue, BColYellow})
            item->setChecked(item->data().toString() == pane->TextBackground());
    });

    connect(indexOptionsMenu_, &QMenu::aboutToShow, pane,
            [this, pane] { AllowAllExpanded1->setChecked(pane->AllowAllExpanded()); });
    connect(AllowAllExpanded1, &QAction::triggered, pane, &TLessonPane::AllowAllExpandedClick);
    connect(ExpandAll1, &QAction::triggered, pane, &TLessonPane::ExpandAllClick);
    connect(CollapseAll1, &QAction::triggered, pane, &TLessonPane::CollapseAllClick);

    connect(Print1, &QAction::triggered, pane, &TLessonPane::PrintTopic);
    connect(Copy1, &QAction::triggered, pane, &TLessonPane::CopyTopicText);
}

// --- creation and first show ------------------------------------------------------------------

void TFrameFrm::FormCreate()
{
    try {
        routeHints();

        helpPath_ = ResolveInFolder(programFolder_, kHelpFile);
        helpAvailable_ = HelpFileAvailable(helpPath_);
        Contents1->setEnabled(helpAvailable_);
        Search1->setEnabled(helpAvailable_);

        FlashPanel->hide();
        createSplash();
        fillExperimentsMenu();
        openLessonBook();

        setWindowTitle(str::sMainCaption());
        IndexBtn->setEnabled(false);
        IndexOptions->defaultAction()->setEnabled(true);

        if (LoadSettings()) {
            setLeftPaneWidth(width() / 2);
        } else {
            placeOnWorkArea();
            setLeftPaneWidth(width() / 2);
        }
        // The page being opened shows its own experiment; this one is for a
        // page that leaves the experiment as it is.
        if (startExperiment_ != 0 && startExperiment_ != CurrentExperimentId())
            ShowExperiment(startExperiment_);
    } catch (const std::exception& error) {
        reportError(QString::fromLocal8Bit(error.what()));
    }
}

// A damaged index file leaves the lesson index empty.  The pages and the
// pupil's saved settings are sound, so the rest of start-up goes on: skipping
// it would save the defaults over those settings when the window closes.
void TFrameFrm::openLessonBook()
{
    try {
        EWBPanel->LoadIndex();
    } catch (const EBadIndexFile& error) {
        reportError(error.Message());
    }
    const QString page = savedPage();
    if (page.isEmpty())
        EWBPanel->OpenStartPage();
    else
        EWBPanel->OpenPage(page);
}

// The page the pupil left the lesson book on, if it is still there.
QString TFrameFrm::savedPage() const
{
    const std::optional<TSavedSettings> saved = ReadSettings();
    if (!saved || !saved->page)
        return {};
    const QString file = ResolveInFolder(programFolder_, QStringLiteral("html\\") + *saved->page);
    return QFileInfo(file).isFile() ? *saved->page : QString();
}

void TFrameFrm::reportError(const QString& message)
{
    // The box belongs over the window, which is not on the screen while it is
    // being created.
    QTimer::singleShot(0, this, [this, message] { ShowError(message); });
}

void TFrameFrm::createSplash()
{
    const QString path = ResolveInFolder(programFolder_, kSplashFile);
    if (!QFileInfo(path).isFile())
        return;
    auto* splash = new TSplashPicture(LeftTW);
    if (!splash->Load(path)) {
        delete splash;
        return;
    }
    splash_ = splash;
    host_->SetSplash(splash);
}

void TFrameFrm::placeOnWorkArea()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        setGeometry(screen->availableGeometry());
        frameFit_ = TFrameFit::FillWorkArea;
        return;
    }
    maximiseOnShow_ = true;
}

QRect ClientBoundsForFrame(const QRect& workArea, const QMargins& frame)
{
    return workArea.marginsRemoved(frame);
}

QRect ClientBoundsKeepingFrameOn(const QRect& workArea, const QRect& client, const QMargins& frame)
{
    const QRect outer = client.marginsAdded(frame);
    const QSize size = outer.size().boundedTo(workArea.size());
    const QPoint topLeft(
        std::clamp(outer.left(), workArea.left(), workArea.left() + workArea.width() - size.width()),
        std::clamp(outer.top(), workArea.top(), workArea.top() + workArea.height() - size.height()));
    return QRect(topLeft, size).marginsRemoved(frame);
}

// Once the window manager has framed the window, its outer bounds (the title
// bar and borders included) go on the work area, so the title bar can always
// be reached.  Without a window manager there is no frame and nothing to do.
void TFrameFrm::fitFrameToWorkArea()
{
    // About ten seconds for the window manager to frame the window.
    constexpr int kTries = 200;
    if (frameFit_ == TFrameFit::None || windowHandle() == nullptr)
        return;
    const QMargins frame = windowHandle()->frameMargins();
    if (frame.isNull()) {
        if (++frameFitTries_ >= kTries) {
            frameFit_ = TFrameFit::None;
            frameFitTimer_->stop();
        }
        return;
    }
    const TFrameFit fit = std::exchange(frameFit_, TFrameFit::None);
    frameFitTimer_->stop();
    const QScreen* screen = this->screen();
    if (screen == nullptr)
        return;
    const QRect work = screen->availableGeometry();
    const QRect bounds = fit == TFrameFit::FillWorkArea ? ClientBoundsForFrame(work, frame)
                                                        : ClientBoundsKeepingFrameOn(work, geometry(), frame);
    if (bounds == geometry())
        return;
    const bool narrower = bounds.width() != width();
    setGeometry(bounds);
    if (narrower)
        setLeftPaneWidth(bounds.width() / 2);
}

void TFrameFrm::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!shown_) {
        shown_ = true;
        FormShow();
    }
}

void TFrameFrm::FormShow()
{
    if (maximiseOnShow_)
        setWindowState(windowState() | Qt::WindowMaximized);
    if (pendingLeftWidth_ >= 0)
        setLeftPaneWidth(pendingLeftWidth_);
    attachImages();
    SplashFit();
    if (QApplication::overrideCursor() != nullptr)
        QApplication::restoreOverrideCursor();
    htmlDockPos_ = LeftTW->width();
    keepHtmlToolbarAtDockPosition();
    if (Large1->isChecked())
        Large1Click();
    if (frameFit_ != TFrameFit::None) {
        frameFitTimer_ = new QTimer(this);
        frameFitTimer_->setInterval(50);
        connect(frameFitTimer_, &QTimer::timeout, this, &TFrameFrm::fitFrameToWorkArea);
        frameFitTimer_->start();
        fitFrameToWorkArea();
    }
    restorePlace();
    orderTabStops();
}

void TFrameFrm::restorePlace()
{
    if (startSplit_ == 1)
        SplitBtnClick(MaxLeftBtn);
    else if (startSplit_ == 2)
        SplitBtnClick(MaxRightBtn);
}

void TFrameFrm::attachImages()
{
    ApplyImageList(HTMLToolbar, TDataMod::Instance().Buttons(Large1->isChecked()));
    for (QToolButton* button : {MaxLeftBtn, NormalSplitBtn, MaxRightBtn})
        button->setIcon(SplitIcon(button->property("splitPicture").toInt()));
}

int TFrameFrm::LeftPaneWidth() const
{
    return LeftTW->width();
}

void TFrameFrm::setLeftPaneWidth(int width)
{
    // Until the window is laid out the splitter does not know its own width.
    if (!isVisible()) {
        pendingLeftWidth_ = width;
        return;
    }
    pendingLeftWidth_ = -1;
    const int rest = Splitter->width() - Splitter->handleWidth() - width;
    Splitter->setSizes({width, std::max(0, rest)});
}

void TFrameFrm::SplashFit()
{
    if (splash_.isNull() || splash_->Bitmap().Empty())
        return;
    const QRect pane = LeftTW->contentsRect();
    const int bitmapWidth = splash_->Bitmap().Width();
    const int bitmapHeight = splash_->Bitmap().Height();
    if (bitmapWidth > pane.width()) {
        const int w = pane.width() - 10;
        const int h = Round(double(bitmapHeight) * w / bitmapWidth);
        splash_->setGeometry(pane.left() + (pane.width() - w) / 2, pane.top() + (pane.height() - h) / 2, w,
                             h);
        splash_->SetStretched(true);
    } else {
        splash_->move(pane.left() + (pane.width() - splash_->width()) / 2,
                      pane.top() + (pane.height() - splash_->height()) / 2);
        splash_->resize(bitmapWidth, bitmapHeight);
        splash_->SetStretched(false);
    }
    splash_->show();
    LeftTW->update();
}

// --- settings -----------------------------------------------------------------------------------

bool TFrameFrm::LoadSettings()
{
    const std::optional<TSavedSettings> saved = ReadSettings();
    if (!saved) {
        ApplyTheme(DefaultThemeName());
        EWBPanel->SetZoomLevel(TLessonPane::DefaultZoomLevel);
        return false;
    }
    // The colour reaches the page when the start page has loaded.
    if (saved->textBackground)
        EWBPanel->RestoreTextBackground(*saved->textBackground);
    if (saved->zoom)
        EWBPanel->SetZoomLevel(*saved->zoom);
    if (saved->toolbarsAtTop && !*saved->toolbarsAtTop)
        Bottom1->trigger();
    ApplyTheme(saved->skin.value_or(DefaultThemeName()));
    if (saved->large && *saved->large)
        Large1->setChecked(true);
    if (saved->experiment) {
        const TCatalogueEntry* entry = TCatalogue::Instance().Find(*saved->experiment);
        if (entry != nullptr && (entry->create || entry->IsMovie()))
            startExperiment_ = *saved->experiment;
    }
    startSplit_ = saved->split.value_or(0);
    if (saved->position) {
        setGeometry(*saved->position);
        frameFit_ = TFrameFit::KeepOnWorkArea;
        return true;
    }
    return false;
}

void TFrameFrm::SaveSettings()
{
    TSettingsToSave values;
    values.zoom = EWBPanel->ZoomLevel();
    values.textBackground = EWBPanel->TextBackground();
    values.toolbarsAtTop = Top1->isChecked();
    values.skin = CurrentThemeName();
    values.large = Large1->isChecked();
    values.position = geometry();
    values.page = EWBPanel->BookPage();
    values.experiment = CurrentExperimentId();
    values.split = MaxLeftBtn->isChecked() ? 1 : MaxRightBtn->isChecked() ? 2 : 0;
    // An unwritable store keeps the old settings; nothing to tell the user.
    WriteSettings(values);
}

// --- closing ----------------------------------------------------------------------------------------

void TFrameFrm::closeEvent(QCloseEvent* event)
{
    if (ConfirmClose && !ConfirmClose(this)) {
        event->ignore();
        return;
    }
    host_->ReleaseExperiments();
    SaveSettings();
    if (help_ != nullptr)
        help_->close();
    event->accept();
}

// --- experiments ------------------------------------------------------------------------------------

void TFrameFrm::ShowExperiment(ExperimentId id)
{
    host_->ShowExperiment(id);
    orderTabStops();
}

ExperimentId TFrameFrm::CurrentExperimentId() const
{
    return host_->CurrentId();
}

void TFrameFrm::checkCurrentExperiment()
{
    for (QAction* item : ExperimentItems)
        item->setChecked(item->data().toInt() == CurrentExperimentId());
}

void TFrameFrm::ExperimentItemClick(QAction* item)
{
    item->setChecked(true);
    EWBPanel->ShowExperimentPage(item->data().toInt());
}

// --- toolbars, split and theme ----------------------------------------------------------------------

void TFrameFrm::TopBottomClick(QAction* item)
{
    const bool top = item == Top1;
    Top1->setChecked(top);
    Bottom1->setChecked(!top);
    if (top == toolbarsAtTop_)
        return;
    toolbarsAtTop_ = top;
    addToolBar(top ? Qt::TopToolBarArea : Qt::BottomToolBarArea, HTMLToolbar);
    // Moving the toolbar shows it again; with the lesson pane hidden (the
    // experiment maximised) it stays hidden with its pane.
    HTMLToolbar->setVisible(!EWBPanel->isHidden());
    host_->ToolbarsMoved();
    orderTabStops();
}

void TFrameFrm::Large1Click()
{
    const bool large = Large1->isChecked();
    HTMLToolbar->setUpdatesEnabled(false);
    ApplyImageList(HTMLToolbar, TDataMod::Instance().Buttons(large));
    for (QMenu* menu : {fontMenu_, colourMenu_, indexOptionsMenu_})
        ScaleMenuFont(menu, large ? 150 : 100);
    HTMLToolbar->setUpdatesEnabled(true);
    host_->LargeButtonsToggled();
}

void TFrameFrm::SplitBtnClick(QToolButton* button)
{
    button->setChecked(true);
    bool leftShown = true;
    if (button == NormalSplitBtn) {
        LeftTW->show();
        EWBPanel->show();
        HTMLToolbar->show();
        // Half the window, not half the screen: a window narrower than the
        // screen would otherwise squeeze the lesson pane, or leave it nothing.
        setLeftPaneWidth(width() / 2);
    } else if (button == MaxLeftBtn) {
        EWBPanel->hide();
        LeftTW->show();
        HTMLToolbar->hide();
    } else {
        EWBPanel->show();
        LeftTW->hide();
        HTMLToolbar->show();
        leftShown = false;
    }
    host_->SplitChanged(leftShown);
    orderTabStops();
}

void TFrameFrm::ThemeClick(const QString& name)
{
    ApplyTheme(name);
    Splitter->update();
}

// The lesson toolbar starts at its dock position; Qt's docks pack their
// toolbars from the left, so an empty offset inside the toolbar keeps its
// buttons there until the toolbars before it reach that far.
void TFrameFrm::keepHtmlToolbarAtDockPosition()
{
    int gap = 0;
    if (htmlDockPos_ > 0 && !HTMLToolbar->isFloating() && HTMLToolbar->orientation() == Qt::Horizontal) {
        const int start = HTMLToolbar->x() + HTMLToolbar->contentsRect().left();
        gap = std::max(
            0, htmlDockPos_ - start - HTMLToolbar->style()->pixelMetric(QStyle::PM_ToolBarHandleExtent));
    }
    if (htmlSpacer_->Gap() == gap && htmlSpacerAction_->isVisible() == (gap > 0))
        return;
    htmlSpacer_->SetGap(gap);
    htmlSpacerAction_->setVisible(gap > 0);
}

// --- hints -------------------------------------------------------------------------------------------------

void TFrameFrm::setHint(const QString& hint)
{
    StatusLabel->setText(hint.isEmpty() ? QStringLiteral(" ") : hint);
}

void TFrameFrm::routeHints()
{
    if (hintRouter_ == nullptr)
        hintRouter_ = new THintRouter(this, [this](const QString& hint) { setHint(hint); });
}

bool TFrameFrm::event(QEvent* event)
{
    if (event->type() == QEvent::StatusTip) {
        setHint(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

bool TFrameFrm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == LeftTW && event->type() == QEvent::Resize)
        SplashFit();
    if (watched == HTMLToolbar && (event->type() == QEvent::Move || event->type() == QEvent::Resize))
        keepHtmlToolbarAtDockPosition();
    return QMainWindow::eventFilter(watched, event);
}

// --- the lesson pane ---------------------------------------------------------------------------------------

QWebEngineView* TFrameFrm::EWB() const
{
    return EWBPanel->EWB();
}

void TFrameFrm::CommandStateChange()
{
    FwdBtn->setEnabled(EWBPanel->FwdEnabled());
    BackBtn->setEnabled(EWBPanel->BackEnabled());
    IndexBtn->setEnabled(EWBPanel->IndexBtnEnabled());
    // Through its action: the button takes its action's state again whenever
    // the action changes (a new icon when the button size is switched).
    IndexOptions->defaultAction()->setEnabled(EWBPanel->IndexOptionsEnabled());
}

// --- help
// ----------------------------------------------------------------------------------------------------

void TFrameFrm::Contents1Click()
{
    if (THelpWindow* help = openHelp())
        help->ShowContents();
}

void TFrameFrm::Search1Click()
{
    if (THelpWindow* help = openHelp())
        help->ShowSearch();
}

// The help file is read the first time Help is opened.  One that cannot be
// read is reported once; its two menu items are then disabled, as for a
// missing file.
THelpWindow* TFrameFrm::openHelp()
{
    if (help_ != nullptr || !helpAvailable_)
        return help_;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    auto book = std::make_shared<THelpBook>(ReadHelpBook(helpPath_));
    QApplication::restoreOverrideCursor();
    if (!book->Ok()) {
        helpAvailable_ = false;
        Contents1->setEnabled(false);
        Search1->setEnabled(false);
        ShowError(book->Error);
        return nullptr;
    }
    help_ = new THelpWindow(std::move(book), this);
    return help_;
}

void TFrameFrm::About1Click()
{
    TAboutFrm about(programFolder_, this);
    about.exec();
}

// --- keyboard ----------------------------------------------------------------------------------------------

void TFrameFrm::buildKeyboard()
{
    NextRegionAction = new QAction(this);
    NextRegionAction->setObjectName(QStringLiteral("NextRegion"));
    NextRegionAction->setShortcut(QKeySequence(Qt::Key_F6));
    PreviousRegionAction = new QAction(this);
    PreviousRegionAction->setObjectName(QStringLiteral("PreviousRegion"));
    PreviousRegionAction->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F6));
    for (QAction* action : {NextRegionAction, PreviousRegionAction}) {
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
    }
    connect(NextRegionAction, &QAction::triggered, this, [this] { NextRegion(true); });
    connect(PreviousRegionAction, &QAction::triggered, this, [this] { NextRegion(false); });
    nameControls();
    focusMark_ = new TFocusMark(this);
}

QWidget* TFrameFrm::FocusMarkTarget() const
{
    return focusMark_->Target();
}

// Toolbars make their buttons mouse-only; here every control takes Tab and
// has the name a screen reader says.
void TFrameFrm::nameControls()
{
    for (QAction* action : HTMLToolbar->actions()) {
        QWidget* button = HTMLToolbar->widgetForAction(action);
        if (button == nullptr || button == htmlSpacer_)
            continue;
        button->setFocusPolicy(Qt::TabFocus);
        button->setAccessibleName(action->toolTip());
    }
    for (QToolButton* button : {MaxLeftBtn, NormalSplitBtn, MaxRightBtn}) {
        button->setFocusPolicy(Qt::TabFocus);
        button->setAccessibleName(button->toolTip());
    }
    StatusBar->setAccessibleName(str::sSplitButtonsName());
    LeftTW->setAccessibleName(str::sExperimentPaneName());
    EWBPanel->setAccessibleName(str::sLessonPaneName());
    EWB()->setAccessibleName(str::sLessonPaneName());
    EWB()->setAccessibleDescription(str::sLessonPaneDescription());
}

QToolBar* TFrameFrm::experimentToolbar() const
{
    TExperimentForm* form = host_->CurrentForm();
    return form != nullptr ? form->Toolbar() : nullptr;
}

QWidget* TFrameFrm::regionWidget(TRegion region) const
{
    switch (region) {
        case TRegion::ExperimentToolbar:
            return experimentToolbar();
        case TRegion::Experiment:
            return LeftTW;
        case TRegion::Results:
            return Results->Panel();
        case TRegion::LessonToolbar:
            return HTMLToolbar;
        case TRegion::Lesson:
            return EWBPanel;
        case TRegion::SplitButtons:
            return StatusBar;
    }
    return nullptr;
}

namespace {

// The controls of a toolbar Tab stops at, in the toolbar's order.
QList<QWidget*> ToolbarStops(const QToolBar* toolbar)
{
    QList<QWidget*> stops;
    for (QAction* action : toolbar->actions()) {
        QWidget* w = toolbar->widgetForAction(action);
        if (w == nullptr || !action->isVisible())
            continue;
        // A spin edit passes the focus on to its text field.
        while (w->focusProxy() != nullptr)
            w = w->focusProxy();
        if (TakesTab(w))
            stops.push_back(w);
    }
    return stops;
}

// The controls inside container Tab stops at, in the order of the focus chain.
QList<QWidget*> ContainerStops(QWidget* container)
{
    QList<QWidget*> stops;
    for (QWidget* w = container->nextInFocusChain(); w != container; w = w->nextInFocusChain())
        if (container->isAncestorOf(w) && TakesTab(w) && !stops.contains(w))
            stops.push_back(w);
    return stops;
}

}  // namespace

QList<QWidget*> TFrameFrm::regionStops(TRegion region) const
{
    QWidget* container = regionWidget(region);
    if (container == nullptr)
        return {};
    switch (region) {
        case TRegion::ExperimentToolbar:
        case TRegion::LessonToolbar:
            return ToolbarStops(static_cast<QToolBar*>(container));
        case TRegion::SplitButtons:
            return {MaxLeftBtn, NormalSplitBtn, MaxRightBtn};
        case TRegion::Experiment:
        case TRegion::Results:
        case TRegion::Lesson:
            return ContainerStops(container);
    }
    return {};
}

namespace {

constexpr std::array kRegions{
    TFrameFrm::TRegion::ExperimentToolbar, TFrameFrm::TRegion::Experiment, TFrameFrm::TRegion::Results,
    TFrameFrm::TRegion::LessonToolbar,     TFrameFrm::TRegion::Lesson,     TFrameFrm::TRegion::SplitButtons};

}  // namespace

// Tab goes through the experiment's toolbar and its picture, then the lesson
// toolbar and the lesson, then the split buttons: each pane's controls
// together, the way F6 moves between them.  Qt's own order follows the
// order the controls were made in, which mixes the panes as experiments
// come and go.
void TFrameFrm::orderTabStops()
{
    QList<QWidget*> stops;
    for (TRegion region : kRegions)
        stops += regionStops(region);
    for (qsizetype i = 0; i + 1 < stops.size(); ++i)
        QWidget::setTabOrder(stops[i], stops[i + 1]);
}

QList<QWidget*> TFrameFrm::TabStops() const
{
    QList<QWidget*> stops;
    for (TRegion region : kRegions)
        for (QWidget* w : regionStops(region))
            if (Reachable(w))
                stops.push_back(w);
    return stops;
}

std::optional<TFrameFrm::TRegion> TFrameFrm::FocusRegion() const
{
    const QWidget* focus = QApplication::focusWidget();
    if (focus == nullptr)
        return std::nullopt;
    for (TRegion region : kRegions)
        if (const QWidget* container = regionWidget(region);
            container != nullptr && (container == focus || container->isAncestorOf(focus)))
            return region;
    return std::nullopt;
}

// Tab and Shift+Tab from every control of the window, the lesson page's
// engine included when it has passed its last link, come here: they go along
// the stops above.  Qt's own walk would count the browser, which passes its
// focus on to an engine inside it, as a stop of its own and come back into it.
bool TFrameFrm::focusNextPrevChild(bool next)
{
    const QList<QWidget*> stops = TabStops();
    const qsizetype at = stops.indexOf(QApplication::focusWidget());
    if (at < 0)
        return QMainWindow::focusNextPrevChild(next);
    const qsizetype count = stops.size();
    stops[((at + (next ? 1 : -1)) % count + count) % count]->setFocus(next ? Qt::TabFocusReason
                                                                           : Qt::BacktabFocusReason);
    return true;
}

void TFrameFrm::NextRegion(bool forwards)
{
    const int count = int(kRegions.size());
    const std::optional<TRegion> current = FocusRegion();
    int at = forwards ? -1 : count;
    if (current)
        at = int(std::find(kRegions.begin(), kRegions.end(), *current) - kRegions.begin());
    for (int step = 1; step <= count; ++step) {
        const TRegion region =
            kRegions[std::size_t(((at + (forwards ? step : -step)) % count + count) % count)];
        if (region == current)
            continue;
        for (QWidget* w : regionStops(region))
            if (Reachable(w)) {
                w->setFocus(Qt::ShortcutFocusReason);
                return;
            }
    }
}

// A drop-down's menu takes the mouse while it is open, so the button never
// hears that the pointer left it and stays lit as if still pressed.
void TFrameFrm::unlightAfterMenu(QToolButton* button)
{
    QMenu* menu = button->defaultAction() != nullptr ? button->defaultAction()->menu() : button->menu();
    if (menu == nullptr)
        return;
    connect(menu, &QMenu::aboutToHide, button, [button] {
        QTimer::singleShot(0, button, [button] {
            if (button->rect().contains(button->mapFromGlobal(QCursor::pos())))
                return;
            button->setAttribute(Qt::WA_UnderMouse, false);
            QEvent leave(QEvent::Leave);
            QApplication::sendEvent(button, &leave);
            button->update();
        });
    });
}

}  // namespace brv
