#include "shell/uWindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <utility>

namespace brv {

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

TWindowPlacement::TWindowPlacement(QWidget& window, std::function<void(int width)> widthChanged)
    : QObject(&window), window_(window), widthChanged_(std::move(widthChanged))
{
}

void TWindowPlacement::PlaceOnWorkArea()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        window_.setGeometry(screen->availableGeometry());
        frameFit_ = TFrameFit::FillWorkArea;
        return;
    }
    maximiseOnShow_ = true;
}

void TWindowPlacement::PlaceAt(const QRect& bounds)
{
    window_.setGeometry(bounds);
    frameFit_ = TFrameFit::KeepOnWorkArea;
}

void TWindowPlacement::MaximiseIfAsked()
{
    if (maximiseOnShow_)
        window_.setWindowState(window_.windowState() | Qt::WindowMaximized);
}

void TWindowPlacement::FitFrameOnceFramed()
{
    if (frameFit_ != TFrameFit::None) {
        frameFitTimer_ = new QTimer(this);
        frameFitTimer_->setInterval(50);
        connect(frameFitTimer_, &QTimer::timeout, this, &TWindowPlacement::fitFrameToWorkArea);
        frameFitTimer_->start();
        fitFrameToWorkArea();
    }
}

// Once the window manager has framed the window, its outer bounds (the title
// bar and borders included) go on the work area, so the title bar can always
// be reached.  Without a window manager there is no frame and nothing to do.
void TWindowPlacement::fitFrameToWorkArea()
{
    // About ten seconds for the window manager to frame the window.
    constexpr int kTries = 200;
    if (frameFit_ == TFrameFit::None || window_.windowHandle() == nullptr)
        return;
    const QMargins frame = window_.windowHandle()->frameMargins();
    if (frame.isNull()) {
        if (++frameFitTries_ >= kTries) {
            frameFit_ = TFrameFit::None;
            frameFitTimer_->stop();
        }
        return;
    }
    const TFrameFit fit = std::exchange(frameFit_, TFrameFit::None);
    frameFitTimer_->stop();
    const QScreen* screen = window_.screen();
    if (screen == nullptr)
        return;
    const QRect work = screen->availableGeometry();
    const QRect bounds = fit == TFrameFit::FillWorkArea
                             ? ClientBoundsForFrame(work, frame)
                             : ClientBoundsKeepingFrameOn(work, window_.geometry(), frame);
    if (bounds == window_.geometry())
        return;
    const bool narrower = bounds.width() != window_.width();
    window_.setGeometry(bounds);
    if (narrower)
        widthChanged_(bounds.width());
}

}  // namespace brv
