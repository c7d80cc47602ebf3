#include "shell/uHintRouter.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QToolButton>
#include <QWidget>

#include <utility>

namespace brv {

namespace {

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

THintRouter::THintRouter(QWidget* window, std::function<void(const QString&)> show)
    : QObject(window), window_(window), show_(std::move(show))
{
    qApp->installEventFilter(this);
}

THintRouter::~THintRouter()
{
    qApp->removeEventFilter(this);
}

bool THintRouter::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if ((type == QEvent::Enter || type == QEvent::Leave) && watched->isWidgetType() && watched != window_) {
        const auto* w = static_cast<const QWidget*>(watched);
        if (belongsToWindow(w))
            show_(type == QEvent::Enter ? HintOf(w) : QString());
    }
    return false;
}

// Also true inside the window's floating toolbars, which are windows of their own.
bool THintRouter::belongsToWindow(const QWidget* w) const
{
    for (const QWidget* p = w->parentWidget(); p != nullptr; p = p->parentWidget())
        if (p == window_)
            return true;
    return false;
}

}  // namespace brv
