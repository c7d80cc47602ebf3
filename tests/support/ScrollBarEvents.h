// A pupil's hand on a scroll bar in tests: the slider dragged, an arrow or
// the track clicked, with real mouse events sent to the bar.
#pragma once

#include <QApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>

#include <initializer_list>

namespace brv::test {

// Where a part of the bar (slider, arrows, track) is drawn, had the slider
// been at sliderPosition.
inline QRect ScrollBarPart(const QScrollBar* bar, QStyle::SubControl part, int sliderPosition)
{
    QStyleOptionSlider opt;
    opt.initFrom(bar);
    opt.subControls = QStyle::SC_All;
    opt.activeSubControls = QStyle::SC_None;
    opt.orientation = bar->orientation();
    opt.minimum = bar->minimum();
    opt.maximum = bar->maximum();
    opt.sliderPosition = sliderPosition;
    opt.sliderValue = bar->value();
    opt.singleStep = bar->singleStep();
    opt.pageStep = bar->pageStep();
    opt.upsideDown = bar->invertedAppearance();
    if (bar->orientation() == Qt::Horizontal)
        opt.state |= QStyle::State_Horizontal;
    return bar->style()->subControlRect(QStyle::CC_ScrollBar, &opt, part, bar);
}

inline void SendMouse(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButtons buttons)
{
    const QPointF local(at);
    QMouseEvent e(type, local, w->mapToGlobal(local),
                  type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

// Presses the slider, moves it through the positions given (each reached
// as nearly as the bar's pixels allow) and, if release, lets it go.
// Events queued by the bar are handled after the release.
inline void DragSlider(QScrollBar* bar, std::initializer_list<int> positions, bool release = true)
{
    QPoint at = ScrollBarPart(bar, QStyle::SC_ScrollBarSlider, bar->sliderPosition()).center();
    const QPoint grip = at - ScrollBarPart(bar, QStyle::SC_ScrollBarSlider, bar->sliderPosition()).topLeft();
    SendMouse(bar, QEvent::MouseButtonPress, at, Qt::LeftButton);
    for (int p : positions) {
        at = ScrollBarPart(bar, QStyle::SC_ScrollBarSlider, p).topLeft() + grip;
        SendMouse(bar, QEvent::MouseMove, at, Qt::LeftButton);
    }
    if (release) {
        SendMouse(bar, QEvent::MouseButtonRelease, at, Qt::NoButton);
        QApplication::processEvents();
    }
}

// Clicks a part of the bar (an arrow: SC_ScrollBarAddLine / SubLine; the
// track: SC_ScrollBarAddPage / SubPage) once, press and release.
inline void ClickScrollBar(QScrollBar* bar, QStyle::SubControl part)
{
    const QPoint at = ScrollBarPart(bar, part, bar->sliderPosition()).center();
    SendMouse(bar, QEvent::MouseButtonPress, at, Qt::LeftButton);
    SendMouse(bar, QEvent::MouseButtonRelease, at, Qt::NoButton);
    QApplication::processEvents();
}

}  // namespace brv::test
