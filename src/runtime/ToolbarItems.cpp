#include "runtime/ToolbarItems.h"

#include <QAction>
#include <QDoubleSpinBox>
#include <QEvent>
#include <QLabel>
#include <QScrollBar>
#include <QSpinBox>
#include <QToolBar>

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
    auto* filter = toolbar->findChild<HintFilter*>(QString(), Qt::FindDirectChildrenOnly);
    if (filter == nullptr) {
        filter = new HintFilter(toolbar);
        toolbar->installEventFilter(filter);
    }
    return filter;
}

void Watch(QToolBar* toolbar, QWidget* item)
{
    item->installEventFilter(FilterOf(toolbar));
}

QAction* AddButton(QToolBar* toolbar, const QString& name, int image, const QString& hint)
{
    QAction* action = toolbar->addAction(hint);
    action->setObjectName(name);
    action->setToolTip(hint);
    action->setStatusTip(hint);
    action->setProperty("imageIndex", image);
    if (QWidget* button = toolbar->widgetForAction(action))
        Watch(toolbar, button);
    return action;
}

}  // namespace

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
    b.StartBtn = AddButton(toolbar, QStringLiteral("StartBtn"), 7, startHint);
    b.StopBtn = AddButton(toolbar, QStringLiteral("StopBtn"), 6, stopHint);
    b.ResetBtn = AddButton(toolbar, QStringLiteral("ResetBtn"), 9, resetHint);
    for (QAction* a : {b.StartBtn, b.StopBtn, b.ResetBtn})
        QObject::connect(a, &QAction::triggered, toolbar, [a, click] { click(a); });
    b.SetEnabled(true, false, false);
    return b;
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
    toolbar->addWidget(spin);
    Watch(toolbar, spin);
    return spin;
}

QDoubleSpinBox* AddFloatSpinEdit(QToolBar* toolbar, const QString& name, double min, double max,
                                 double step, int decimals, double value, const QString& hint,
                                 const QString& postfix)
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
    toolbar->addWidget(spin);
    Watch(toolbar, spin);
    return spin;
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

void OnScroll(QScrollBar* bar, TScrollHandler handler)
{
    // actionTriggered comes with the new position in sliderPosition() while
    // value() still holds the old one: the handler may replace it.
    QObject::connect(bar, &QAbstractSlider::actionTriggered, bar, [bar, handler](int action) {
        if (action == QAbstractSlider::SliderNoAction || action == QAbstractSlider::SliderMove)
            return;
        int position = bar->sliderPosition();
        const int asked = position;
        handler(position, false);
        if (position != asked)
            bar->setSliderPosition(position);
    });
    QObject::connect(bar, &QAbstractSlider::sliderMoved, bar, [bar, handler](int moved) {
        int position = moved;
        handler(position, false);
        if (position != moved)
            bar->setSliderPosition(position);
    });
    QObject::connect(bar, &QAbstractSlider::sliderReleased, bar, [bar, handler] {
        int position = bar->sliderPosition();
        const int asked = position;
        handler(position, true);
        if (position != asked)
            bar->setSliderPosition(position);
    });
}

}  // namespace brv
