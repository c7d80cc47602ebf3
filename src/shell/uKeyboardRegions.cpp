#include "shell/uKeyboardRegions.h"

#include "runtime/BRV_StrConstants.h"

#include <QAction>
#include <QApplication>
#include <QPainter>
#include <QPointer>
#include <QTimer>
#include <QToolBar>
#include <QWidget>

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

namespace brv {

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

}  // namespace

TKeyboardRegions::TKeyboardRegions(Parts parts) : QObject(parts.window), parts_(std::move(parts))
{
    QWidget* window = parts_.window;
    NextRegionAction_ = new QAction(window);
    NextRegionAction_->setObjectName(QStringLiteral("NextRegion"));
    NextRegionAction_->setShortcut(QKeySequence(Qt::Key_F6));
    PreviousRegionAction_ = new QAction(window);
    PreviousRegionAction_->setObjectName(QStringLiteral("PreviousRegion"));
    PreviousRegionAction_->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F6));
    for (QAction* action : {NextRegionAction_, PreviousRegionAction_}) {
        action->setShortcutContext(Qt::WindowShortcut);
        window->addAction(action);
    }
    connect(NextRegionAction_, &QAction::triggered, this, [this] { NextRegion(true); });
    connect(PreviousRegionAction_, &QAction::triggered, this, [this] { NextRegion(false); });
    nameControls();
    focusMark_ = new TFocusMark(window);
}

QWidget* TKeyboardRegions::FocusMarkTarget() const
{
    return focusMark_->Target();
}

// Toolbars and status bars make their buttons mouse-only; here the split
// buttons take Tab, and every control and region has the name a screen
// reader says.
void TKeyboardRegions::nameControls()
{
    for (QWidget* button : parts_.splitButtons) {
        button->setFocusPolicy(Qt::TabFocus);
        button->setAccessibleName(button->toolTip());
    }
    parts_.splitButtonBar->setAccessibleName(str::sSplitButtonsName());
    parts_.experiment->setAccessibleName(str::sExperimentPaneName());
    parts_.lesson->setAccessibleName(str::sLessonPaneName());
    parts_.lessonBrowser->setAccessibleName(str::sLessonPaneName());
    parts_.lessonBrowser->setAccessibleDescription(str::sLessonPaneDescription());
}

QWidget* TKeyboardRegions::regionWidget(TRegion region) const
{
    switch (region) {
        case TRegion::ExperimentToolbar:
            return parts_.experimentToolbar();
        case TRegion::Experiment:
            return parts_.experiment;
        case TRegion::Results:
            return parts_.results;
        case TRegion::LessonToolbar:
            return parts_.lessonToolbar;
        case TRegion::Lesson:
            return parts_.lesson;
        case TRegion::SplitButtons:
            return parts_.splitButtonBar;
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

QList<QWidget*> TKeyboardRegions::regionStops(TRegion region) const
{
    QWidget* container = regionWidget(region);
    if (container == nullptr)
        return {};
    switch (region) {
        case TRegion::ExperimentToolbar:
        case TRegion::LessonToolbar:
            return ToolbarStops(static_cast<QToolBar*>(container));
        case TRegion::SplitButtons:
            return parts_.splitButtons;
        case TRegion::Experiment:
        case TRegion::Results:
        case TRegion::Lesson:
            return ContainerStops(container);
    }
    return {};
}

namespace {

constexpr std::array kRegions{TKeyboardRegions::TRegion::ExperimentToolbar,
                              TKeyboardRegions::TRegion::Experiment,
                              TKeyboardRegions::TRegion::Results,
                              TKeyboardRegions::TRegion::LessonToolbar,
                              TKeyboardRegions::TRegion::Lesson,
                              TKeyboardRegions::TRegion::SplitButtons};

}  // namespace

// Tab goes through the experiment's toolbar and its picture, then the lesson
// toolbar and the lesson, then the split buttons: each pane's controls
// together, the way F6 moves between them.  Qt's own order follows the
// order the controls were made in, which mixes the panes as experiments
// come and go.
void TKeyboardRegions::OrderTabStops()
{
    QList<QWidget*> stops;
    for (TRegion region : kRegions)
        stops += regionStops(region);
    for (qsizetype i = 0; i + 1 < stops.size(); ++i)
        QWidget::setTabOrder(stops[i], stops[i + 1]);
}

QList<QWidget*> TKeyboardRegions::TabStops() const
{
    QList<QWidget*> stops;
    for (TRegion region : kRegions)
        for (QWidget* w : regionStops(region))
            if (Reachable(w))
                stops.push_back(w);
    return stops;
}

std::optional<TKeyboardRegions::TRegion> TKeyboardRegions::FocusRegion() const
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
bool TKeyboardRegions::MoveTab(bool next)
{
    const QList<QWidget*> stops = TabStops();
    const qsizetype at = stops.indexOf(QApplication::focusWidget());
    if (at < 0)
        return false;
    const qsizetype count = stops.size();
    stops[((at + (next ? 1 : -1)) % count + count) % count]->setFocus(next ? Qt::TabFocusReason
                                                                           : Qt::BacktabFocusReason);
    return true;
}

void TKeyboardRegions::NextRegion(bool forwards)
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

}  // namespace brv
