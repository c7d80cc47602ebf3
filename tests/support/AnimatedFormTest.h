// A fixture that hosts an animated experiment form offscreen and drives it
// with its clock stepped by hand.
#pragma once

#include "common/CadencerEx.h"
#include "runtime/AnimatedForm.h"
#include "runtime/ExperimentForm.h"
#include "runtime/Image32.h"

#include <QAction>
#include <QApplication>
#include <QImage>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace brv::test {

template <class Form>
class AnimatedFormTest : public ::testing::Test {
protected:
    explicit AnimatedFormTest(QSize size) : size_(size) {}

    void SetUp() override
    {
        TNGLCadencer::SetPerformanceCounterSource([this] { return now; });
        form = std::make_unique<Form>();
        form->setAttribute(Qt::WA_DontShowOnScreen);
        form->resize(size_);
        form->show();
        QApplication::processEvents();
    }
    void TearDown() override
    {
        form.reset();
        TNGLCadencer::SetPerformanceCounterSource({});
        SetScreenDpiOverride(0);
    }
    // Advances the hand-held time by seconds in ticks of 1/60 s.
    void Advance(double seconds)
    {
        const double end = now + seconds;
        while (now < end - 1e-9) {
            now = std::min(end, now + 1.0 / 60);
            form->Clock->Progress();
        }
    }
    void Click(QAction* a) { a->trigger(); }
    // The picture as shown: background and layers.
    QImage Picture()
    {
        TBitmap32 b(form->Pic()->width(), form->Pic()->height());
        form->Pic()->PaintTo(b);
        return b.Image().copy();
    }
    void ExpectButtons(bool start, bool stop, bool reset)
    {
        EXPECT_EQ(form->Buttons.StartBtn->isEnabled(), start);
        EXPECT_EQ(form->Buttons.StopBtn->isEnabled(), stop);
        EXPECT_EQ(form->Buttons.ResetBtn->isEnabled(), reset);
    }

    double now = 0;
    std::unique_ptr<Form> form;

private:
    QSize size_;
};

}  // namespace brv::test
