// Real mouse and key events sent to a widget, as the pupil's hand makes
// them: press, moves with the button held, release; and a scroll bar's slider
// dragged by its handle.
#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace brv::test {

// pos in the widget's own coordinates.
inline void SendMouse(QWidget* w, QEvent::Type type, QPointF pos, Qt::MouseButton button,
                      Qt::MouseButtons buttons)
{
    QMouseEvent e(type, pos, w->mapToGlobal(pos), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

inline void MousePress(QWidget* w, QPointF pos, Qt::MouseButton button = Qt::LeftButton)
{
    SendMouse(w, QEvent::MouseButtonPress, pos, button, button);
}

inline void MouseMove(QWidget* w, QPointF pos, Qt::MouseButtons held = Qt::NoButton)
{
    SendMouse(w, QEvent::MouseMove, pos, Qt::NoButton, held);
}

inline void MouseRelease(QWidget* w, QPointF pos, Qt::MouseButton button = Qt::LeftButton)
{
    SendMouse(w, QEvent::MouseButtonRelease, pos, button, Qt::NoButton);
}

inline void MouseClick(QWidget* w, QPointF pos, Qt::MouseButton button = Qt::LeftButton)
{
    MousePress(w, pos, button);
    MouseRelease(w, pos, button);
}

// A key pressed and let go.
inline void KeyClick(QWidget* w, int key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(w, &release);
}

// Drags a horizontal or vertical scroll bar's slider with the left button:
// pressed on the handle when made, moved to a value, let go on Release.
class ScrollBarDrag {
public:
    explicit ScrollBarDrag(QScrollBar* bar) : bar_(bar)
    {
        at_ = QPointF(HandleRect().center()) + QPointF(0.5, 0.5);
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
    QRect HandleRect() const
    {
        QStyleOptionSlider option;
        option.initFrom(bar_);
        option.orientation = bar_->orientation();
        option.minimum = bar_->minimum();
        option.maximum = bar_->maximum();
        option.sliderPosition = bar_->sliderPosition();
        option.sliderValue = bar_->value();
        option.singleStep = bar_->singleStep();
        option.pageStep = bar_->pageStep();
        option.upsideDown = bar_->invertedAppearance();
        if (option.orientation == Qt::Horizontal)
            option.state |= QStyle::State_Horizontal;
        return bar_->style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, bar_);
    }
    QScrollBar* bar_;
    QPointF at_;
};

}  // namespace brv::test
