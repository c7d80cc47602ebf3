#include "shell/uLessonToolbar.h"

#include "runtime/BRV_StrConstants.h"
#include "runtime/DataMod.h"
#include "shell/uLessonPane.h"

#include <QActionGroup>
#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QStyle>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <utility>

namespace brv {

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

namespace {

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

// A drop-down's menu takes the mouse while it is open, so the button never
// hears that the pointer left it and stays lit as if still pressed.
void UnlightAfterMenu(QToolButton* button)
{
    QMenu* menu = button->defaultAction() != nullptr ? button->defaultAction()->menu() : button->menu();
    if (menu == nullptr)
        return;
    QObject::connect(menu, &QMenu::aboutToHide, button, [button] {
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

}  // namespace

TLessonToolbar::TLessonToolbar(QWidget* window) : TExperimentToolbar(str::sLessonToolbarTitle(), window)
{
    setObjectName(QStringLiteral("HTMLToolbar"));
    setAllowedAreas(Qt::TopToolBarArea | Qt::BottomToolBarArea);
    setIconSize(QSize(kSmallButtonSize, kSmallButtonSize));

    // Keeps the buttons at their dock position (above the lesson pane) while
    // nothing to their left pushes them further.
    htmlSpacer_ = new TDockOffset(this);
    htmlSpacerAction_ = addWidget(htmlSpacer_);
    htmlSpacerAction_->setVisible(false);

    IndexBtn_ = addButton(biIndex, str::sMainIndexHint());
    FwdBtn_ = addButton(biForward, str::sMoveForwardHint());
    BackBtn_ = addButton(biBack, str::sMoveBackHint());
    FwdBtn_->setEnabled(false);
    BackBtn_->setEnabled(false);
    FontBtn_ = addDropDown(buildFontMenu(), biFontSize, str::sSetFontSizeHint());
    TextBackColorBtn_ = addDropDown(buildColourMenu(), biTextColour, str::sSetTextBackColourHint());
    IndexOptions_ = addDropDown(buildIndexOptionsMenu(), biIndexOptions, str::sIndexOptionsHint());

    connect(this, &QToolBar::topLevelChanged, this, [this] { keepHtmlToolbarAtDockPosition(); });
    takeTab();
}

QAction* TLessonToolbar::addButton(int imageIndex, const QString& hint)
{
    QAction* action = addAction(hint);
    action->setProperty(kImageIndexProperty, imageIndex);
    SetHintOf(action, hint);
    return action;
}

QToolButton* TLessonToolbar::addDropDown(QMenu* menu, int imageIndex, const QString& hint)
{
    QAction* action = addButton(imageIndex, hint);
    action->setMenu(menu);
    auto* button = qobject_cast<QToolButton*>(widgetForAction(action));
    button->setPopupMode(QToolButton::InstantPopup);
    UnlightAfterMenu(button);
    return button;
}

QMenu* TLessonToolbar::buildFontMenu()
{
    fontMenu_ = new QMenu(this);
    auto* sizes = new QActionGroup(this);
    const QString sizeCaptions[] = {str::sSizeSmallest(), str::sSizeSmall(), str::sSizeMedium(),
                                    str::sSizeLarge(), str::sSizeLargest()};
    QAction** sizeItems[] = {&size0_, &Size1_, &Size2_, &Size3_, &Size4_};
    for (int tag = 0; tag < 5; ++tag) {
        QAction* item = fontMenu_->addAction(sizeCaptions[tag]);
        item->setCheckable(true);
        item->setData(tag);
        sizes->addAction(item);
        *sizeItems[tag] = item;
    }
    return fontMenu_;
}

QMenu* TLessonToolbar::buildColourMenu()
{
    colourMenu_ = new QMenu(this);
    auto* colours = new QActionGroup(this);
    const std::pair<QAction**, std::pair<QString, QString>> colourItems[] = {
        {&BColWhite_, {str::sColourWhite(), str::sTextBgndWhite()}},
        {&BColBlue_, {str::sColourPaleBlue(), str::sTextBgndPaleBlue()}},
        {&BColYellow_, {str::sColourPaleYellow(), str::sTextBgndPaleYellow()}}};
    for (const auto& [field, captionAndColour] : colourItems) {
        QAction* item = colourMenu_->addAction(captionAndColour.first);
        item->setCheckable(true);
        item->setData(captionAndColour.second);
        colours->addAction(item);
        *field = item;
    }
    return colourMenu_;
}

QMenu* TLessonToolbar::buildIndexOptionsMenu()
{
    indexOptionsMenu_ = new QMenu(this);
    AllowAllExpanded1_ = indexOptionsMenu_->addAction(str::sAllowAllExpanded());
    AllowAllExpanded1_->setCheckable(true);
    ExpandAll1_ = indexOptionsMenu_->addAction(str::sExpandAll());
    CollapseAll1_ = indexOptionsMenu_->addAction(str::sCollapseAll());
    return indexOptionsMenu_;
}

// Toolbars make their buttons mouse-only; these take Tab and have the name a
// screen reader says.
void TLessonToolbar::takeTab()
{
    for (QAction* action : actions()) {
        QWidget* button = widgetForAction(action);
        if (button == nullptr || button == htmlSpacer_)
            continue;
        button->setFocusPolicy(Qt::TabFocus);
        button->setAccessibleName(action->toolTip());
    }
}

// The drop-downs' check marks are read from the pane each time they open, so
// they show what the pane does even when it changed by another way.
void TLessonToolbar::ActOn(TLessonPane& pane)
{
    TLessonPane* const lesson = &pane;
    connect(IndexBtn_, &QAction::triggered, lesson, &TLessonPane::IndexBtnClick);
    connect(FwdBtn_, &QAction::triggered, lesson, &TLessonPane::FwdBtnClick);
    connect(BackBtn_, &QAction::triggered, lesson, &TLessonPane::BackBtnClick);
    connect(lesson, &TLessonPane::CommandStateChanged, this, [this, lesson] { CommandStateChange(*lesson); });

    for (QAction* item : {size0_, Size1_, Size2_, Size3_, Size4_}) {
        const int level = item->data().toInt();
        connect(item, &QAction::triggered, lesson, [lesson, level] { lesson->SetZoomLevel(level); });
    }
    connect(fontMenu_, &QMenu::aboutToShow, lesson, [this, lesson] {
        for (QAction* item : {size0_, Size1_, Size2_, Size3_, Size4_})
            item->setChecked(item->data().toInt() == lesson->ZoomLevel());
    });

    for (QAction* item : {BColWhite_, BColBlue_, BColYellow_}) {
        const QString colour = item->data().toString();
        connect(item, &QAction::triggered, lesson, [lesson, colour] { lesson->SetTextBackground(colour); });
    }
    connect(colourMenu_, &QMenu::aboutToShow, lesson, [this, lesson] {
        for (QAction* item : {BColWhite_, BColBlue_, BColYellow_})
            item->setChecked(item->data().toString() == lesson->TextBackground());
    });

    connect(indexOptionsMenu_, &QMenu::aboutToShow, lesson,
            [this, lesson] { AllowAllExpanded1_->setChecked(lesson->AllowAllExpanded()); });
    connect(AllowAllExpanded1_, &QAction::triggered, lesson, &TLessonPane::AllowAllExpandedClick);
    connect(ExpandAll1_, &QAction::triggered, lesson, &TLessonPane::ExpandAllClick);
    connect(CollapseAll1_, &QAction::triggered, lesson, &TLessonPane::CollapseAllClick);
}

void TLessonToolbar::CommandStateChange(const TLessonPane& pane)
{
    FwdBtn_->setEnabled(pane.FwdEnabled());
    BackBtn_->setEnabled(pane.BackEnabled());
    IndexBtn_->setEnabled(pane.IndexBtnEnabled());
    // Through its action: the button takes its action's state again whenever
    // the action changes (a new icon when the button size is switched).
    IndexOptions_->defaultAction()->setEnabled(pane.IndexOptionsEnabled());
}

void TLessonToolbar::SetLargeButtons(bool large)
{
    setUpdatesEnabled(false);
    ApplyImageList(this, TDataMod::Instance().Buttons(large));
    for (QMenu* menu : {fontMenu_, colourMenu_, indexOptionsMenu_})
        ScaleMenuFont(menu, large ? 150 : 100);
    setUpdatesEnabled(true);
}

void TLessonToolbar::SetDockPosition(int x)
{
    htmlDockPos_ = x;
    keepHtmlToolbarAtDockPosition();
}

bool TLessonToolbar::event(QEvent* e)
{
    if (e->type() == QEvent::Move || e->type() == QEvent::Resize)
        keepHtmlToolbarAtDockPosition();
    return TExperimentToolbar::event(e);
}

// The lesson toolbar starts at its dock position; Qt's docks pack their
// toolbars from the left, so an empty offset inside the toolbar keeps its
// buttons there until the toolbars before it reach that far.
void TLessonToolbar::keepHtmlToolbarAtDockPosition()
{
    int gap = 0;
    if (htmlDockPos_ > 0 && !isFloating() && orientation() == Qt::Horizontal) {
        const int start = x() + contentsRect().left();
        gap = std::max(0, htmlDockPos_ - start - style()->pixelMetric(QStyle::PM_ToolBarHandleExtent));
    }
    if (htmlSpacer_->Gap() == gap && htmlSpacerAction_->isVisible() == (gap > 0))
        return;
    htmlSpacer_->SetGap(gap);
    htmlSpacerAction_->setVisible(gap > 0);
}

}  // namespace brv
