// A pupil's hand on a scroll bar in tests: the slider dragged, an arrow or
// the track clicked, with real mouse events sent to the bar.
#pragma once

#include "support/MouseDrive.h"

#include <QApplication>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
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

// The slider where it is drawn now.
inline QRect SliderRect(const QScrollBar* bar)
{
    return ScrollBarPart(bar, QStyle::SC_ScrollBarSlider, bar->sliderPosition());
}

// Presses the slider, moves it through the positions given (each reached
// as nearly as the bar's pixels allow) and, if release, lets it go.
// Events queued by the bar are handled after the release.
inline void DragSlider(QScrollBar* bar, std::initializer_list<int> positions, bool release = true)
{
    QPoint at = SliderRect(bar).center();
    const QPoint grip = at - SliderRect(bar).topLeft();
    MousePress(bar, at);
    for (int p : positions) {
        at = ScrollBarPart(bar, QStyle::SC_ScrollBarSlider, p).topLeft() + grip;
        MouseMove(bar, at, Qt::LeftButton);
    }
    if (release) {
        MouseRelease(bar, at);
        QApplication::processEvents();
    }
}

// Clicks a part of the bar (an arrow: SC_ScrollBarAddLine / SubLine; the
// track: SC_ScrollBarAddPage / SubPage) once, press and release.
inline void ClickScrollBar(QScrollBar* bar, QStyle::SubControl part)
{
    const QPoint at = ScrollBarPart(bar, part, bar->sliderPosition()).center();
    MousePress(bar, at);
    MouseRelease(bar, at);
    QApplication::processEvents();
}

// Drags a horizontal or vertical scroll bar's slider with the left button
// toward a value: pressed on the handle when made, let go on Release.
class ScrollBarDrag {
public:
    explicit ScrollBarDrag(QScrollBar* bar) : bar_(bar)
    {
        at_ = QPointF(SliderRect(bar_).center()) + QPointF(0.5, 0.5);
        MousePress(bar_, at_);
        EXPECT_TRUE(bar_->isSliderDown()) << "the press missed the handle";
    }
    // Moves the pointer along the groove, in strides that shrink as the
    // slider nears value, until it shows value (or as near as the bar's
    // pixels allow: the last pixel moved past is kept).
    void MoveTo(int value)
    {
        const bool horizontal = bar_->orientation() == Qt::Horizontal;
        const double span = horizontal ? bar_->width() : bar_->height();
        const double perValue = span / std::max(1, bar_->maximum() - bar_->minimum());
        for (int i = 0; i < 200 && bar_->sliderPosition() != value; ++i) {
            const int missing = value - bar_->sliderPosition();
            const double stride = std::max(1.0, std::abs(missing) * perValue * 0.7);
            const double step = missing > 0 ? stride : -stride;
            at_ += horizontal ? QPointF(step, 0) : QPointF(0, step);
            MouseMove(bar_, at_, Qt::LeftButton);
        }
    }
    void Release() { MouseRelease(bar_, at_); }

private:
    QScrollBar* bar_;
    QPointF at_;
};

// A drag of the slider by pixels, through QTest (the window system's path):
// press on the slider's middle, moves of dx pixels each (the button held),
// and the release.
class SliderDrag {
public:
    explicit SliderDrag(QScrollBar* bar) : bar_(bar), at_(SliderRect(bar).center())
    {
        QTest::mousePress(bar_, Qt::LeftButton, Qt::NoModifier, at_);
    }
    void MoveBy(int dx, int dy = 0)
    {
        at_ += QPoint(dx, dy);
        QTest::mouseMove(bar_, at_);
    }
    void Release() { QTest::mouseRelease(bar_, Qt::LeftButton, Qt::NoModifier, at_); }

private:
    QScrollBar* bar_;
    QPoint at_;
};

}  // namespace brv::test
