// A fixture that hosts an experiment form without a clock (redrawn on every
// change, or moved through time on a scroll bar) offscreen, and drives its
// scroll bars with real mouse and keyboard events.
#pragma once

#include "runtime/ExperimentForm.h"
#include "runtime/Image32.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace brv::test {

template <class Form>
class FormHostTest : public ::testing::Test {
protected:
    explicit FormHostTest(QSize size) : size_(size) {}

    void SetUp() override
    {
        form = std::make_unique<Form>();
        form->setAttribute(Qt::WA_DontShowOnScreen);
        form->resize(size_);
        form->show();
        QApplication::processEvents();
    }
    void TearDown() override
    {
        form.reset();
        SetScreenDpiOverride(0);
    }
    // The picture as shown: background and layers.
    QImage Picture()
    {
        TBitmap32 b(form->Pic()->width(), form->Pic()->height());
        form->Pic()->PaintTo(b);
        return b.Image().copy();
    }

    std::unique_ptr<Form> form;

private:
    QSize size_;
};

// The pointer moved over w with no button down.  (QTest moves the real
// cursor for that, which an offscreen window never sees.)
inline void Hover(QWidget* w, QPoint at)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(at), w->mapToGlobal(QPointF(at)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(w, &move);
}

// The middle of a scroll bar's slider, in the bar's own coordinates.
inline QPoint SliderCentre(QScrollBar* bar)
{
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.subControls = QStyle::SC_All;
    option.orientation = bar->orientation();
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = bar->sliderPosition();
    option.sliderValue = bar->value();
    option.singleStep = bar->singleStep();
    option.pageStep = bar->pageStep();
    option.upsideDown = bar->invertedAppearance();
    if (bar->orientation() == Qt::Horizontal)
        option.state |= QStyle::State_Horizontal;
    return bar->style()
        ->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, bar)
        .center();
}

// A drag of the slider as the mouse makes it: press on the slider, moves of
// dx pixels each (the button held), and the release.
struct SliderDrag {
    explicit SliderDrag(QScrollBar* bar) : bar_(bar), at_(SliderCentre(bar))
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
