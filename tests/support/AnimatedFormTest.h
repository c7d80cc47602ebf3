// A fixture that hosts an animated experiment form offscreen and drives it
// with its clock stepped by hand.
#pragma once

#include "common/CadencerEx.h"
#include "runtime/AnimatedForm.h"
#include "support/FormHostTest.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QRegion>
#include <QSize>

#include <gtest/gtest.h>

#include <algorithm>

namespace brv::test {

template <class Form>
class AnimatedFormTest : public FormHostTest<Form> {
protected:
    explicit AnimatedFormTest(QSize size) : FormHostTest<Form>(size) {}

    void SetUp() override
    {
        // The form's clock reads the hand-held time from its first tick on.
        TNGLCadencer::SetPerformanceCounterSource([this] { return now; });
        FormHostTest<Form>::SetUp();
    }
    void TearDown() override
    {
        FormHostTest<Form>::TearDown();
        TNGLCadencer::SetPerformanceCounterSource({});
    }
    // One tick of the clock, seconds of hand-held time after the last.
    void Tick(double seconds)
    {
        now += seconds;
        form->Clock->Progress();
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
    // The picture as the screen holds it once the pending repaint is done:
    // each repaint composes only the parts marked as changed, over what the
    // last one left.  The hand-held time runs far faster than the frames the
    // picture waits for, so the repaint is not left to them.
    QImage ShownPicture()
    {
        QApplication::processEvents();
        form->Pic()->PaintNow();
        return form->Pic()->Shown().Image().copy();
    }
    // Runs tick by tick (1/60 s) while the clock runs, at most seconds.
    // After every tick that repaints, the picture the partial repaint leaves
    // must be the whole picture composed afresh: a layer that changed without
    // saying so would stay stale on the screen.  (A tick that marks nothing
    // leaves the screen as it is, as it always has.)  Returns the ticks that
    // repainted only part of the picture.
    int ExpectEachTickShowsTheWholeChange(double seconds)
    {
        int partial = 0;
        const QRegion whole(QRect(QPoint(0, 0), form->Pic()->PixelSize()));
        for (double end = now + seconds; form->Clock->Enabled() && now < end;) {
            Tick(1.0 / 60);
            const QRegion pending = form->Pic()->Pending();
            if (pending.isEmpty())
                continue;
            if (pending != whole)
                ++partial;
            if (ShownPicture() != Picture()) {
                ADD_FAILURE() << "stale picture after the tick at " << now << " s";
                break;
            }
        }
        return partial;
    }
    void ExpectButtons(bool start, bool stop, bool reset)
    {
        EXPECT_EQ(form->Buttons.StartBtn->isEnabled(), start);
        EXPECT_EQ(form->Buttons.StopBtn->isEnabled(), stop);
        EXPECT_EQ(form->Buttons.ResetBtn->isEnabled(), reset);
    }

    using FormHostTest<Form>::form;
    using FormHostTest<Form>::Picture;
    double now = 0;
};

}  // namespace brv::test
