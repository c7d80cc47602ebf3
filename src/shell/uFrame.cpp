#include "shell/uFrame.h"

#include "common/ErrorBox.h"
#include "notebook/ResultsPanel.h"
#include "runtime/BRV_StrConstants.h"
#include "runtime/DataMod.h"
#include "runtime/ExperimentForm.h"
#include "runtime/ExperimentHost.h"
#include "runtime/ProgramFolder.h"
#include "shell/ewb_Index.h"
#include "shell/uAbout.h"
#include "shell/uFlashPanel.h"
#include "shell/uHelp.h"
#include "shell/uHintRouter.h"
#include "shell/uLessonPane.h"
#include "shell/uLessonToolbar.h"
#include "shell/uMenuToolbar.h"
#include "shell/uResultsPane.h"
#include "shell/uSettings.h"
#include "shell/uSplash.h"
#include "shell/uThemes.h"
#include "shell/uWindowPlacement.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QMessageBox>
#include <QSplitter>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWebEngineView>

#include <algorithm>
#include <exception>
#include <utility>

namespace brv {

namespace {

const QString kHelpFile = QStringLiteral("Help\\BRVhelp.chm");

bool AskCloseProgram(QWidget* parent)
{
    QMessageBox box(QMessageBox::Question, str::sConfirmCaption(), str::sCloseProgram(),
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

}  // namespace

// --- construction ------------------------------------------------------------------------

TFrameFrm::TFrameFrm(const QString& programFolder, QWidget* parent)
    : QMainWindow(parent), programFolder_(programFolder.isEmpty() ? DefaultProgramFolder() : programFolder)
{
    setObjectName(QStringLiteral("FrameFrm"));
    ConfirmClose = AskCloseProgram;
    ShowError = [this](const QString& message) { ShowErrorBox(this, message); };
    placement_ = new TWindowPlacement(*this, [this](int width) { setLeftPaneWidth(width / 2); });
    buildMenus();
    HTMLToolbar_ = new TLessonToolbar(this);
    addToolBar(Qt::TopToolBarArea, HTMLToolbar_);
    buildPanes();
    buildStatusBar();
    buildHost();
    Results_ =
        AttachResultsPane({this, Splitter_, LeftTW_, HTMLToolbar_, MenuToolbar_->ViewMenu(), host_.get()});
    HTMLToolbar_->ActOn(*EWBPanel_);
    buildKeyboard();
    FormCreate();
}

TFrameFrm::~TFrameFrm()
{
    delete hintRouter_;
    // The lesson pane asks the host for the current experiment: it goes while
    // the host is still there, and the lesson index with it.
    delete EWBPanel_;
    EWBPanel_ = nullptr;
    // Each experiment's toolbar goes back to its form, so both go together.
    host_->ReleaseExperiments();
}

// Print and copy act on the lesson pane and are wired with it; every other
// item is the window's.
void TFrameFrm::buildMenus()
{
    MenuToolbar_ = new TMenuToolbar([this] { return CurrentExperimentId(); }, this);
    setMenuBar(MenuToolbar_);
    TMenuToolbar* menus = MenuToolbar_;
    connect(menus, &TMenuToolbar::ThemeChosen, this, &TFrameFrm::ThemeClick);
    connect(menus->Exit1(), &QAction::triggered, this, &QWidget::close);
    connect(menus, &TMenuToolbar::ExperimentChosen, this, &TFrameFrm::ExperimentItemClick);
    for (QAction* item : {menus->Top1(), menus->Bottom1()})
        connect(item, &QAction::triggered, this, [this, item] { TopBottomClick(item); });
    connect(menus->Large1(), &QAction::triggered, this, &TFrameFrm::Large1Click);
    connect(menus->Contents1(), &QAction::triggered, this, &TFrameFrm::Contents1Click);
    connect(menus->Search1(), &QAction::triggered, this, &TFrameFrm::Search1Click);
    connect(menus->About1(), &QAction::triggered, this, &TFrameFrm::About1Click);
}

void TFrameFrm::buildPanes()
{
    Splitter_ = new QSplitter(Qt::Horizontal, this);
    Splitter_->setObjectName(QStringLiteral("Splitter"));
    Splitter_->setHandleWidth(8);
    Splitter_->setOpaqueResize(true);
    Splitter_->setChildrenCollapsible(false);

    LeftTW_ = new QFrame(Splitter_);
    LeftTW_->setObjectName(QStringLiteral("LeftTW"));
    LeftTW_->setFrameShape(QFrame::Box);
    LeftTW_->setLineWidth(1);
    // A client area of at least 50 × 50: the splitter refuses a left pane
    // of 50 pixels or less.
    LeftTW_->setMinimumSize(50 + 2 * LeftTW_->frameWidth(), 50 + 2 * LeftTW_->frameWidth());
    auto* paneLayout = new QVBoxLayout(LeftTW_);
    paneLayout->setContentsMargins(LeftTW_->frameWidth(), LeftTW_->frameWidth(), LeftTW_->frameWidth(),
                                   LeftTW_->frameWidth());
    paneLayout->setSpacing(0);
    FlashPanel_ = new TFlashPanel(programFolder_, LeftTW_);
    paneLayout->addWidget(FlashPanel_);

    TLessonPaneHost lessonHost;
    lessonHost.currentExperiment = [this] { return CurrentExperimentId(); };
    // The pane compares ids first: only a new id rebuilds the left pane.
    lessonHost.showExperiment = [this](ExperimentId id) { ShowExperiment(id); };
    lessonHost.showError = [this](const QString& message) { ShowError(message); };
    EWBPanel_ = new TLessonPane(std::move(lessonHost), programFolder_, Splitter_);
    connect(MenuToolbar_->Print1(), &QAction::triggered, EWBPanel_, &TLessonPane::PrintTopic);
    connect(MenuToolbar_->Copy1(), &QAction::triggered, EWBPanel_, &TLessonPane::CopyTopicText);

    Splitter_->addWidget(LeftTW_);
    Splitter_->addWidget(EWBPanel_);
    // The left pane keeps its width when the window is resized.
    Splitter_->setStretchFactor(0, 0);
    Splitter_->setStretchFactor(1, 1);
    setCentralWidget(Splitter_);
}

void TFrameFrm::buildStatusBar()
{
    StatusBar_ = new QStatusBar(this);
    StatusBar_->setObjectName(QStringLiteral("StatusBar"));
    setStatusBar(StatusBar_);
    splitGroup_ = new QButtonGroup(this);
    const auto addSplitButton = [this](int picture, const QString& hint, const char* name) {
        auto* button = new QToolButton(StatusBar_);
        button->setObjectName(QLatin1String(name));
        button->setCheckable(true);
        button->setAutoRaise(true);
        button->setIconSize(QSize(16, 16));
        button->setProperty("splitPicture", picture);
        button->setToolTip(hint);
        button->setStatusTip(hint);
        splitGroup_->addButton(button);
        StatusBar_->addWidget(button);
        connect(button, &QToolButton::clicked, this, [this, button] { SplitBtnClick(button); });
        return button;
    };
    MaxLeftBtn_ = addSplitButton(siMaxLeft, str::sMaxLeftHint(), "MaxLeftBtn");
    NormalSplitBtn_ = addSplitButton(siNormal, str::sNormalSplitHint(), "NormalSplitBtn");
    MaxRightBtn_ = addSplitButton(siMaxRight, str::sMaxRightHint(), "MaxRightBtn");
    NormalSplitBtn_->setChecked(true);
    auto* separator = new QFrame(StatusBar_);
    separator->setObjectName(QStringLiteral("StatusSeparator"));
    separator->setFrameShape(QFrame::VLine);
    separator->setFixedWidth(1);
    StatusBar_->addWidget(separator);
    StatusLabel_ = new QLabel(QStringLiteral(" "), StatusBar_);
    StatusLabel_->setObjectName(QStringLiteral("StatusLabel"));
    StatusBar_->addWidget(StatusLabel_, 1);
}

void TFrameFrm::buildHost()
{
    TExperimentHost::Parts parts;
    parts.window = this;
    parts.leftPane = LeftTW_;
    parts.flashPanel = FlashPanel_;
    parts.htmlToolbar = HTMLToolbar_;
    parts.toolbarsAtTop = [this] { return MenuToolbar_->Top1()->isChecked(); };
    parts.largeButtons = [this] { return MenuToolbar_->Large1()->isChecked(); };
    parts.loadMovie = [this](const QString& path) { FlashPanel_->LoadMovie(path); };
    parts.programFolder = programFolder_;
    host_ = std::make_unique<TExperimentHost>(std::move(parts));
}

void TFrameFrm::buildKeyboard()
{
    TKeyboardRegions::Parts parts;
    parts.window = this;
    parts.experimentToolbar = [this] { return experimentToolbar(); };
    parts.experiment = LeftTW_;
    parts.results = Results_->Panel();
    parts.lessonToolbar = HTMLToolbar_;
    parts.lesson = EWBPanel_;
    parts.lessonBrowser = EWB();
    parts.splitButtonBar = StatusBar_;
    parts.splitButtons = {MaxLeftBtn_, NormalSplitBtn_, MaxRightBtn_};
    keyboard_ = new TKeyboardRegions(std::move(parts));
}

QToolBar* TFrameFrm::experimentToolbar() const
{
    TExperimentForm* form = host_->CurrentForm();
    return form != nullptr ? form->Toolbar() : nullptr;
}

// --- creation and first show ------------------------------------------------------------------

void TFrameFrm::FormCreate()
{
    try {
        routeHints();

        helpPath_ = ResolveInFolder(programFolder_, kHelpFile);
        helpAvailable_ = HelpFileAvailable(helpPath_);
        MenuToolbar_->Contents1()->setEnabled(helpAvailable_);
        MenuToolbar_->Search1()->setEnabled(helpAvailable_);

        FlashPanel_->hide();
        splash_ = TSplashPicture::Create(programFolder_, LeftTW_,
                                         [this](const QString& message) { reportError(message); });
        host_->SetSplash(splash_);
        MenuToolbar_->FillExperimentsMenu();
        const std::optional<TSavedSettings> saved = ReadSettings();
        openLessonBook(saved);

        setWindowTitle(str::sMainCaption());
        HTMLToolbar_->IndexBtn()->setEnabled(false);
        HTMLToolbar_->IndexOptions()->defaultAction()->setEnabled(true);

        ApplySettings(saved);
        if (saved && saved->position)
            placement_->PlaceAt(*saved->position);
        else
            placement_->PlaceOnWorkArea();
        setLeftPaneWidth(width() / 2);
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
void TFrameFrm::openLessonBook(const std::optional<TSavedSettings>& saved)
{
    try {
        EWBPanel_->LoadIndex();
    } catch (const EBadIndexFile& error) {
        reportError(error.Message());
    }
    const QString page = savedPage(saved);
    if (page.isEmpty())
        EWBPanel_->OpenStartPage();
    else
        EWBPanel_->OpenPage(page);
}

// The page the pupil left the lesson book on, if it is still there.
QString TFrameFrm::savedPage(const std::optional<TSavedSettings>& saved) const
{
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
    placement_->MaximiseIfAsked();
    if (pendingLeftWidth_ >= 0)
        setLeftPaneWidth(pendingLeftWidth_);
    attachImages();
    if (!splash_.isNull())
        splash_->SplashFit();
    if (QApplication::overrideCursor() != nullptr)
        QApplication::restoreOverrideCursor();
    HTMLToolbar_->SetDockPosition(LeftTW_->width());
    if (MenuToolbar_->Large1()->isChecked())
        Large1Click();
    placement_->FitFrameOnceFramed();
    restorePlace();
    keyboard_->OrderTabStops();
}

void TFrameFrm::restorePlace()
{
    if (startSplit_ == 1)
        SplitBtnClick(MaxLeftBtn_);
    else if (startSplit_ == 2)
        SplitBtnClick(MaxRightBtn_);
}

void TFrameFrm::attachImages()
{
    ApplyImageList(HTMLToolbar_, TDataMod::Instance().Buttons(MenuToolbar_->Large1()->isChecked()));
    for (QToolButton* button : {MaxLeftBtn_, NormalSplitBtn_, MaxRightBtn_})
        button->setIcon(SplitIcon(button->property("splitPicture").toInt()));
}

int TFrameFrm::LeftPaneWidth() const
{
    return LeftTW_->width();
}

void TFrameFrm::setLeftPaneWidth(int width)
{
    // Until the window is laid out the splitter does not know its own width.
    if (!isVisible()) {
        pendingLeftWidth_ = width;
        return;
    }
    pendingLeftWidth_ = -1;
    const int rest = Splitter_->width() - Splitter_->handleWidth() - width;
    Splitter_->setSizes({width, std::max(0, rest)});
}

// --- settings -----------------------------------------------------------------------------------

// Everything saved but the window's bounds, which are the placement's.
void TFrameFrm::ApplySettings(const std::optional<TSavedSettings>& saved)
{
    for (const QString& file : IgnoredSchoolSettingsFiles())
        reportError(str::sSchoolSettingsIgnored().arg(file));
    if (!saved) {
        ApplyTheme(DefaultThemeName());
        EWBPanel_->SetZoomLevel(TLessonPane::DefaultZoomLevel);
        return;
    }
    if (const QString unusable = UnusableSettingsMessage(*saved); !unusable.isEmpty())
        reportError(unusable);
    // The colour reaches the page when the start page has loaded.
    if (saved->textBackground)
        EWBPanel_->RestoreTextBackground(*saved->textBackground);
    if (saved->zoom)
        EWBPanel_->SetZoomLevel(*saved->zoom);
    if (saved->toolbarsAtTop && !*saved->toolbarsAtTop)
        MenuToolbar_->Bottom1()->trigger();
    ApplyTheme(saved->skin.value_or(DefaultThemeName()));
    if (saved->large && *saved->large)
        MenuToolbar_->Large1()->setChecked(true);
    if (saved->experiment) {
        const TCatalogueEntry* entry = TCatalogue::Instance().Find(*saved->experiment);
        if (entry != nullptr)
            startExperiment_ = *saved->experiment;
    }
    startSplit_ = saved->split.value_or(0);
}

void TFrameFrm::SaveSettings()
{
    TSettingsToSave values;
    values.zoom = EWBPanel_->ZoomLevel();
    values.textBackground = EWBPanel_->TextBackground();
    values.toolbarsAtTop = MenuToolbar_->Top1()->isChecked();
    values.skin = CurrentThemeName();
    values.large = MenuToolbar_->Large1()->isChecked();
    values.position = geometry();
    values.page = EWBPanel_->BookPage();
    values.experiment = CurrentExperimentId();
    values.split = MaxLeftBtn_->isChecked() ? 1 : MaxRightBtn_->isChecked() ? 2 : 0;
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
    keyboard_->OrderTabStops();
}

ExperimentId TFrameFrm::CurrentExperimentId() const
{
    return host_->CurrentId();
}

void TFrameFrm::ExperimentItemClick(QAction* item)
{
    item->setChecked(true);
    EWBPanel_->ShowExperimentPage(item->data().toInt());
}

// --- toolbars, split and theme ----------------------------------------------------------------------

void TFrameFrm::TopBottomClick(QAction* item)
{
    QAction* const top1 = MenuToolbar_->Top1();
    const bool top = item == top1;
    top1->setChecked(top);
    MenuToolbar_->Bottom1()->setChecked(!top);
    if (top == toolbarsAtTop_)
        return;
    toolbarsAtTop_ = top;
    addToolBar(top ? Qt::TopToolBarArea : Qt::BottomToolBarArea, HTMLToolbar_);
    // Moving the toolbar shows it again; with the lesson pane hidden (the
    // experiment maximised) it stays hidden with its pane.
    HTMLToolbar_->setVisible(!EWBPanel_->isHidden());
    host_->ToolbarsMoved();
    keyboard_->OrderTabStops();
}

void TFrameFrm::Large1Click()
{
    HTMLToolbar_->SetLargeButtons(MenuToolbar_->Large1()->isChecked());
    host_->LargeButtonsToggled();
}

void TFrameFrm::SplitBtnClick(QToolButton* button)
{
    button->setChecked(true);
    bool leftShown = true;
    if (button == NormalSplitBtn_) {
        LeftTW_->show();
        EWBPanel_->show();
        HTMLToolbar_->show();
        // Half the window, not half the screen: a window narrower than the
        // screen would otherwise squeeze the lesson pane, or leave it nothing.
        setLeftPaneWidth(width() / 2);
    } else if (button == MaxLeftBtn_) {
        EWBPanel_->hide();
        LeftTW_->show();
        HTMLToolbar_->hide();
    } else {
        EWBPanel_->show();
        LeftTW_->hide();
        HTMLToolbar_->show();
        leftShown = false;
    }
    host_->SplitChanged(leftShown);
    keyboard_->OrderTabStops();
}

void TFrameFrm::ThemeClick(const QString& name)
{
    ApplyTheme(name);
    Splitter_->update();
}

// --- hints -------------------------------------------------------------------------------------------------

void TFrameFrm::setHint(const QString& hint)
{
    StatusLabel_->setText(hint.isEmpty() ? QStringLiteral(" ") : hint);
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

// --- the lesson pane and the keyboard
// ------------------------------------------------------------------------

QWebEngineView* TFrameFrm::EWB() const
{
    return EWBPanel_->EWB();
}

bool TFrameFrm::focusNextPrevChild(bool next)
{
    return keyboard_->MoveTab(next) || QMainWindow::focusNextPrevChild(next);
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
        MenuToolbar_->Contents1()->setEnabled(false);
        MenuToolbar_->Search1()->setEnabled(false);
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

}  // namespace brv
