#include "runtime/PointerTrap.h"

#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QMouseEvent>

#include <algorithm>

namespace brv {

TPointerTrap::TPointerTrap(QWidget* widget) : widget_(widget) {}

TPointerTrap::~TPointerTrap()
{
    Release();
}

void TPointerTrap::Engage(const QRect& area)
{
    if (widget_ == nullptr || area.isEmpty())
        return;
    area_ = area;
    if (!engaged_) {
        engaged_ = true;
        // Every event passes the application first: the moves to correct, and
        // the deactivation of whatever window the widget sits in by then.
        qApp->installEventFilter(this);
        widget_->grabMouse();
    }
}

void TPointerTrap::Release()
{
    if (!engaged_)
        return;
    engaged_ = false;
    qApp->removeEventFilter(this);
    if (widget_ != nullptr && QWidget::mouseGrabber() == widget_)
        widget_->releaseMouse();
}

QPoint TPointerTrap::Clamped(const QPoint& p) const
{
    return {std::clamp(p.x(), area_.left(), area_.right()), std::clamp(p.y(), area_.top(), area_.bottom())};
}

void TPointerTrap::lose()
{
    Release();
    if (OnLost)
        OnLost();
}

bool TPointerTrap::eventFilter(QObject* watched, QEvent* event)
{
    if (!engaged_ || widget_ == nullptr)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::MouseMove:
            if (watched == widget_) {
                const QPoint p = static_cast<QMouseEvent*>(event)->position().toPoint();
                const QPoint inside = Clamped(p);
                if (inside != p)
                    QCursor::setPos(widget_->mapToGlobal(inside));
            }
            break;
        case QEvent::WindowDeactivate:
            if (watched == widget_->window())
                lose();
            break;
        case QEvent::ApplicationDeactivate:
            lose();
            break;
        case QEvent::Hide:
            if (watched == widget_ || watched == widget_->window() ||
                (watched->isWidgetType() && static_cast<QWidget*>(watched)->isAncestorOf(widget_)))
                lose();
            break;
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace brv
