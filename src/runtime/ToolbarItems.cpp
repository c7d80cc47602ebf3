#include "runtime/ToolbarItems.h"

#include <QAction>
#include <QDoubleSpinBox>
#include <QEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QScrollBar>
#include <QSpinBox>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolTip>

#include <memory>
#include <utility>

namespace brv {

namespace {

constexpr const char* kHintsHidden = "brvHintsHidden";

// Swallows tool-tip events of a toolbar's items while its hints are off.
class HintFilter : public QObject {
public:
    explicit HintFilter(QToolBar* toolbar) : QObject(toolbar), toolbar_(toolbar) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::ToolTip && !ToolbarHintsShown(toolbar_))
            return true;
        return QObject::eventFilter(watched, event);
    }

private:
    QToolBar* toolbar_;
};

HintFilter* FilterOf(QToolBar* toolbar)
{
    // Found by name: the filter has no meta-object of its own, so a typed
    // lookup would take any child for it.
    static const QString name = QStringLiteral("brvHintFilter");
    if (QObject* found = toolbar->findChild<QObject*>(name, Qt::FindDirectChildrenOnly))
        return static_cast<HintFilter*>(found);
    auto* filter = new HintFilter(toolbar);
    filter->setObjectName(name);
    toolbar->installEventFilter(filter);
    return filter;
}

void Watch(QToolBar* toolbar, QWidget* item)
{
    item->installEventFilter(FilterOf(toolbar));
}

// A spin edit is named by the caption before it ("Temperature"), so a screen
// reader says what it sets; the hint becomes its description.
void NameByCaption(QToolBar* toolbar, QAbstractSpinBox* spin, const QString& hint)
{
    const QList<QAction*> actions = toolbar->actions();
    if (!actions.isEmpty())
        if (auto* caption = qobject_cast<QLabel*>(toolbar->widgetForAction(actions.last())))
            caption->setBuddy(spin);
    spin->setAccessibleDescription(hint);
}

}  // namespace

QAction* AddToolbarButton(QToolBar* toolbar, const QString& name, int image, const QString& hint,
                          const QString& caption)
{
    QAction* action = toolbar->addAction(caption.isEmpty() ? hint : caption);
    action->setObjectName(name);
    action->setToolTip(hint);
    action->setStatusTip(hint);
    action->setProperty("imageIndex", image);
    if (QWidget* button = toolbar->widgetForAction(action)) {
        // A toolbar makes its buttons mouse-only; a pupil without a mouse
        // reaches them with Tab, and a screen reader says their hint.
        button->setFocusPolicy(Qt::TabFocus);
        button->setAccessibleName(hint);
        Watch(toolbar, button);
    }
    return action;
}

void TRunButtons::SetEnabled(bool start, bool stop, bool reset) const
{
    StartBtn->setEnabled(start);
    StopBtn->setEnabled(stop);
    ResetBtn->setEnabled(reset);
}

TRunButtons AddRunButtons(QToolBar* toolbar, const QString& startHint, const QString& stopHint,
                          const QString& resetHint, std::function<void(QAction* sender)> click)
{
    TRunButtons b;
    b.StartBtn = AddToolbarButton(toolbar, QStringLiteral("StartBtn"), 7, startHint);
    b.StopBtn = AddToolbarButton(toolbar, QStringLiteral("StopBtn"), 6, stopHint);
    b.ResetBtn = AddToolbarButton(toolbar, QStringLiteral("ResetBtn"), 9, resetHint);
    for (QAction* a : {b.StartBtn, b.StopBtn, b.ResetBtn})
        QObject::connect(a, &QAction::triggered, toolbar, [a, click] { click(a); });
    // F9 starts, Shift+F9 stops, Ctrl+F9 resets: keys the lesson pane's
    // browser does not use (it reloads on F5 and Ctrl+R).
    b.StartBtn->setShortcut(QKeySequence(Qt::Key_F9));
    b.StopBtn->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F9));
    b.ResetBtn->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F9));
    for (QAction* a : {b.StartBtn, b.StopBtn, b.ResetBtn}) {
        a->setShortcutContext(Qt::WindowShortcut);
        if (QWidget* button = toolbar->widgetForAction(a))
            button->setAccessibleDescription(a->shortcut().toString(QKeySequence::NativeText));
    }
    b.SetEnabled(true, false, false);
    return b;
}

namespace {

// Draws a toolbar separator as empty space; everything else as the
// application's style does.
class BlankSeparatorStyle : public QProxyStyle {
public:
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override
    {
        if (element != PE_IndicatorToolBarSeparator)
            QProxyStyle::drawPrimitive(element, option, painter, widget);
    }
};

}  // namespace

QAction* AddToolbarGap(QToolBar* toolbar, const QString& name)
{
    // A separator still, to the toolbar and to a screen reader: only its
    // line is left out.
    QAction* gap = toolbar->addSeparator();
    gap->setObjectName(name);
    if (QWidget* widget = toolbar->widgetForAction(gap)) {
        // Owned by the toolbar and made after the separator, so it goes
        // after the separator that uses it.
        auto* style = new BlankSeparatorStyle;
        style->setParent(toolbar);
        widget->setStyle(style);
    }
    return gap;
}

QLabel* AddToolbarLabel(QToolBar* toolbar, const QString& caption, const QString& name)
{
    auto* label = new QLabel(caption);
    label->setObjectName(name);
    label->setToolTip(QString());
    toolbar->addWidget(label);
    return label;
}

QSpinBox* AddIntSpinEdit(QToolBar* toolbar, const QString& name, int min, int max, int value,
                         const QString& hint, const QString& postfix)
{
    auto* spin = new QSpinBox;
    spin->setObjectName(name);
    spin->setRange(min, max);
    spin->setValue(value);
    spin->setSuffix(postfix);
    spin->setToolTip(hint);
    spin->setStatusTip(hint);
    spin->setAccelerated(true);
    NameByCaption(toolbar, spin, hint);
    toolbar->addWidget(spin);
    Watch(toolbar, spin);
    return spin;
}

QDoubleSpinBox* AddFloatSpinEdit(QToolBar* toolbar, const QString& name, double min, double max, double step,
                                 int decimals, double value, const QString& hint, const QString& postfix)
{
    auto* spin = new QDoubleSpinBox;
    spin->setObjectName(name);
    spin->setDecimals(decimals);
    spin->setRange(min, max);
    spin->setSingleStep(step);
    spin->setValue(value);
    spin->setSuffix(postfix);
    spin->setToolTip(hint);
    spin->setStatusTip(hint);
    spin->setAccelerated(true);
    NameByCaption(toolbar, spin, hint);
    toolbar->addWidget(spin);
    Watch(toolbar, spin);
    return spin;
}

void SetArrowsOnly(QAbstractSpinBox* spin)
{
    if (auto* text = spin->findChild<QLineEdit*>())
        text->setReadOnly(true);
}

void SetToolbarHintsShown(QToolBar* toolbar, bool shown)
{
    FilterOf(toolbar);
    toolbar->setProperty(kHintsHidden, !shown);
}

bool ToolbarHintsShown(const QToolBar* toolbar)
{
    return !toolbar->property(kHintsHidden).toBool();
}

namespace {

// The end of a scroll that is not a drag: Qt's scroll bar says when the
// slider is let go, but not when an arrow, the track or a key is.  A step
// taken since the button or key went down ends when it comes up; wheel
// turns end when the wheel has rested for a moment.
class ScrollEndFilter : public QObject {
public:
    ScrollEndFilter(QScrollBar* bar, std::function<void()> end)
        : QObject(bar), bar_(bar), end_(std::move(end))
    {
        wheelRest_.setSingleShot(true);
        wheelRest_.setInterval(kWheelRestMs);
        connect(&wheelRest_, &QTimer::timeout, this, [this] { endIfStepped(); });
        bar->installEventFilter(this);
    }
    // A step was notified that is not part of a drag.
    void Stepped(bool byWheel)
    {
        stepped_ = true;
        if (byWheel)
            wheelRest_.start();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
            case QEvent::Wheel:
                wheel_ = true;
                break;
            case QEvent::MouseButtonRelease:
                // The bar handles the release first (and stops repeating).
                if (!bar_->isSliderDown())
                    QMetaObject::invokeMethod(
                        this, [this] { endIfStepped(); }, Qt::QueuedConnection);
                break;
            case QEvent::KeyRelease:
                if (!static_cast<QKeyEvent*>(event)->isAutoRepeat())
                    endIfStepped();
                break;
            default:
                break;
        }
        return QObject::eventFilter(watched, event);
    }

public:
    // True while a wheel event is being handled.
    bool TakeWheel()
    {
        const bool w = wheel_;
        wheel_ = false;
        return w;
    }

private:
    static constexpr int kWheelRestMs = 250;
    void endIfStepped()
    {
        if (!stepped_)
            return;
        stepped_ = false;
        wheelRest_.stop();
        end_();
    }
    QScrollBar* bar_;
    std::function<void()> end_;
    QTimer wheelRest_;
    bool stepped_ = false;
    bool wheel_ = false;
};

}  // namespace

void OnScroll(QScrollBar* bar, TScrollHandler handler)
{
    // A correction made by the handler moves the slider once more; that move
    // is ours, not the pupil's, and is not reported again.
    auto correcting = std::make_shared<bool>(false);
    auto notify = [bar, handler, correcting](int position, bool endOfScroll) {
        if (*correcting)
            return;
        const int asked = position;
        handler(position, endOfScroll);
        if (position != asked) {
            *correcting = true;
            bar->setSliderPosition(position);
            *correcting = false;
        }
    };
    auto* ends = new ScrollEndFilter(bar, [bar, notify] { notify(bar->sliderPosition(), true); });
    // actionTriggered comes with the new position in sliderPosition() while
    // value() still holds the old one: the handler may replace it.  A drag
    // reports through sliderMoved; a move not under the mouse (the wheel)
    // comes only as SliderMove.
    QObject::connect(bar, &QAbstractSlider::actionTriggered, bar, [bar, notify, ends](int action) {
        if (action == QAbstractSlider::SliderNoAction)
            return;
        if (action == QAbstractSlider::SliderMove && bar->isSliderDown())
            return;
        notify(bar->sliderPosition(), false);
        ends->Stepped(ends->TakeWheel());
    });
    QObject::connect(bar, &QAbstractSlider::sliderMoved, bar, [notify](int moved) { notify(moved, false); });
    QObject::connect(bar, &QAbstractSlider::sliderReleased, bar,
                     [bar, notify] { notify(bar->sliderPosition(), true); });
}

namespace {

// Qt's horizontal scroll bar steps backwards on the arrow keys (Right moves
// it to the left, as its controls are inverted for the wheel's sake): the
// arrows step the way they point.
class ArrowKeysFilter : public QObject {
public:
    explicit ArrowKeysFilter(QScrollBar* bar) : QObject(bar), bar_(bar) { bar->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Left || key == Qt::Key_Right) {
                const bool forwards = (key == Qt::Key_Right) != bar_->isRightToLeft();
                bar_->triggerAction(forwards ? QAbstractSlider::SliderSingleStepAdd
                                             : QAbstractSlider::SliderSingleStepSub);
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QScrollBar* bar_;
};

}  // namespace

QScrollBar* NewScrollBar(QWidget* parent, Qt::Orientation orientation, const QString& name, int min, int max,
                         int position, int largeChange, const QString& hint)
{
    auto* bar = new QScrollBar(orientation, parent);
    bar->setObjectName(name);
    bar->setRange(min, max);
    bar->setValue(position);
    bar->setSingleStep(1);
    bar->setPageStep(largeChange);
    bar->setToolTip(hint);
    bar->setStatusTip(hint);
    bar->setAccessibleName(hint);
    // Scroll bars take no focus by default; a pupil without a mouse must
    // still be able to set the height or move a gate.
    bar->setFocusPolicy(Qt::StrongFocus);
    if (orientation == Qt::Horizontal)
        new ArrowKeysFilter(bar);
    return bar;
}

void SetPictureHint(QWidget* picture, const QString& hint)
{
    const QString shown = picture->toolTip();
    if (shown == hint)
        return;
    picture->setToolTip(hint);
    if (!shown.isEmpty() && QToolTip::isVisible() && QToolTip::text() == shown)
        QToolTip::hideText();
}

}  // namespace brv
