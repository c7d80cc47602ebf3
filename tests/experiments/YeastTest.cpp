// Yeast respiration: the model on its numbers, the form driven through its
// time bar, glucose and temperature as a pupil drives it, and the picture
// read on real pixels.
#include "experiments/biology/uYeast.h"

#include "apparatus/Meters.h"
#include "runtime/AddMaths.h"
#include "runtime/BRV_StrConstants.h"
#include "runtime/Image32.h"
#include "support/AnimatedFormTest.h"
#include "support/FormContract.h"
#include "support/MouseDrive.h"
#include "support/Sampling.h"
#include "support/ScrollBarEvents.h"
#include "support/Stopwatch.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QScrollBar>
#include <QSpinBox>

#include <gtest/gtest.h>

#include <cmath>

namespace brv {
namespace {

const bool kContract = test::RegisterFormTraits([] {
    test::TFormTraits t;
    t.id = ids::Yeast;
    t.name = "Yeast";
    t.spins = {{"GlucoseSE", 0.1, 1, 0.3}, {"TempSE", 0, 100, 20, 0, 0, 150, 300}};
    return t;
}());

using Model = TYeastModel;

Model Yeast(float temperature, float glucose, float factor = 1)
{
    Model m;
    m.BathTemp = temperature;
    m.Glucose = glucose;
    m.GasFactor = factor;
    return m;
}

TEST(YeastModel, FactorsPeakAt40DegreesAndHalfMolar)
{
    EXPECT_NEAR(Model::TemperatureFactor(40), 0.8f, 1e-6f);
    EXPECT_NEAR(Model::TemperatureFactor(20), 0.0073f, 0.00005f);
    EXPECT_EQ(Model::TemperatureFactor(0), 0.0f);
    EXPECT_NEAR(Model::GlucoseFactor(0.5f), 0.92f, 1e-6f);
    EXPECT_NEAR(Model::GlucoseFactor(0.3f), 0.370f, 0.0005f);
    // The fastest rate, near 41 ºC and 0.59 M: about 0.0081 of the burette a second.
    float best = 0;
    for (int t = 0; t <= 100; ++t)
        for (int g = 1; g <= 10; ++g)
            best = std::max(
                best, 0.01f * Model::TemperatureFactor(float(t)) * Model::GlucoseFactor(0.1f * float(g)));
    EXPECT_NEAR(best, 0.0081f, 0.0002f);
}

TEST(YeastModel, VolumesAfterTenMinutes)
{
    struct Case {
        float temperature, glucose, factor;
        float seconds;
        float volume, tolerance;
    };
    for (const Case& c : {Case{40, 0.5f, 1, 600, 49.4f, 0.05f}, Case{20, 0.3f, 1, 600, 0.8f, 0.05f},
                          Case{0, 0.5f, 1.3f, 600, 0, 0}, Case{0, 1, 1, 60, 0, 0},
                          // A large factor fills the burette, and it stays full.
                          Case{40, 0.5f, 1.2f, 600, 50, 0}, Case{40, 0.5f, 1.2f, 500, 50, 0},
                          // A timing error before the start gives no gas, not less than none.
                          Case{40, 0.5f, 1, -0.7f, 0, 0}}) {
        SCOPED_TRACE(testing::Message() << c.temperature << " ºC, " << c.glucose << " M, k " << c.factor
                                        << ", " << c.seconds << " s");
        const float v = Yeast(c.temperature, c.glucose, c.factor).VolumeAfter(c.seconds);
        EXPECT_NEAR(v, c.volume, c.tolerance);
        EXPECT_GE(v, 0.0f);
        EXPECT_LE(v, 50.0f);
    }
}

TEST(YeastModel, EachReadingHasItsOwnTimingError)
{
    const Model m = Yeast(40, 0.5f);
    EXPECT_EQ(m.CarbonDioxideVolume(0), 0.0f) << "time 0 is always empty";
    // At 60 s the volume grows by about 0.18 cm³ a second: the readings
    // scatter by that much about the exact value.
    const float exact = m.VolumeAfter(60);
    const float perSecond = m.VolumeAfter(61) - exact;
    const test::Sample errors = test::SampleOf(4000, [&] { return m.CarbonDioxideVolume(60) - exact; });
    EXPECT_NEAR(errors.mean, 0.0, 0.02);
    EXPECT_NEAR(errors.rms, perSecond, 0.1 * perSecond);
    // At 1 s a large enough error would put the reading before the start.
    for (int i = 0; i < 1000; ++i)
        ASSERT_GE(m.CarbonDioxideVolume(1), 0.0f);
}

TEST(YeastModel, EachRunHasItsOwnGasFactor)
{
    int outsideATenth = 0;
    constexpr int n = 4000;
    const test::Sample factors = test::SampleOf(n, [&] {
        const double k = Model::NewGasFactor();
        outsideATenth += std::abs(k - 1) > 0.1 ? 1 : 0;
        return k;
    });
    EXPECT_NEAR(factors.mean, 1.0, 0.01);
    EXPECT_NEAR(factors.sd, 0.1, 0.01);
    // The lesson book says so: about a third of runs differ by more than a tenth.
    EXPECT_NEAR(double(outsideATenth) / n, 0.32, 0.04);
}

// --- the form -------------------------------------------------------------

class YeastForm : public test::AnimatedFormTest<TYeastFrm> {
protected:
    YeastForm() : AnimatedFormTest(QSize(840, 660)) {}

    // Scene units to pixels, as the form places things.
    int Px(float units) const { return Round(units * form->Scale()); }
    // Black pixels in the scene rectangle (units) of image.
    int BlackIn(const QImage& image, float left, float top, float right, float bottom) const
    {
        int n = 0;
        for (int y = Px(top); y < Px(bottom); ++y)
            for (int x = Px(left); x < Px(right); ++x)
                n += image.pixel(x, y) == 0xFF000000u ? 1 : 0;
        return n;
    }
    // Inside the flask's liquid, clear of its outline and of the tube.
    int FlaskBubbles(const QImage& image) const { return BlackIn(image, 35, 78, 44, 84); }
    // The burette below the water's surface, where its bubbles rise.
    int BuretteInk(const QImage& image) const { return BlackIn(image, 6.2f, 40, 8.8f, 80); }
    test::StopwatchOnPicture Watch() const
    {
        return {65, 74, 20, 15, QStringLiteral("min:sec"), form->Scale()};
    }
    // Moves the time bar by keyboard, one key press and release.
    void Key(int key) { test::KeyClick(form->TimeHsb, key); }
};

TEST_F(YeastForm, TimeZeroShowsNoGasAndTheStopwatchAtZero)
{
    for (int temperature : {20, 40, 100}) {
        form->TempSE->setValue(temperature);
        const QImage picture = Picture();
        EXPECT_EQ(form->Time(), 0);
        EXPECT_EQ(form->Volume(), 0.0f);
        EXPECT_EQ(Watch().On(picture), Watch().Showing(QStringLiteral("00 : 00")));
        // Water right up to the burette's 0 mark, its top edge.
        const int cx = (Px(6) + Px(9)) / 2;
        EXPECT_EQ(picture.pixel(cx, Px(5 + 0.15f * 80) + 1), 0xFFD6EAFFu);
    }
}

TEST_F(YeastForm, DraggingTimeForwardBubblesUntilLetGo)
{
    const QImage atStart = Picture();
    EXPECT_EQ(FlaskBubbles(atStart), 0);
    test::ScrollBarDrag drag(form->TimeHsb);
    drag.MoveTo(600);
    EXPECT_EQ(form->Time(), 600);
    EXPECT_TRUE(form->TimeForward());
    const QImage dragging = Picture();
    test::SavePicture(dragging, QStringLiteral("yeast-dragging"));
    EXPECT_GT(FlaskBubbles(dragging), 5);
    EXPECT_GT(BuretteInk(dragging), BuretteInk(atStart) + 10);
    EXPECT_EQ(Watch().On(dragging), Watch().Showing(QStringLiteral("10 : 00")));

    drag.Release();
    EXPECT_FALSE(form->TimeForward());
    const QImage released = Picture();
    test::SavePicture(released, QStringLiteral("yeast-10min"));
    EXPECT_EQ(FlaskBubbles(released), 0);
    EXPECT_EQ(BuretteInk(released), BuretteInk(atStart)) << "no bubbles; 0.8 cm³ of gas stays above";

    // Backwards shows no bubbles either.
    test::ScrollBarDrag back(form->TimeHsb);
    back.MoveTo(300);
    EXPECT_LT(form->Time(), 600);
    EXPECT_FALSE(form->TimeForward());
    EXPECT_EQ(FlaskBubbles(Picture()), 0);
    back.Release();
}

TEST_F(YeastForm, KeysMoveTheTimeAndBubbleOnlyWhileHeld)
{
    form->TimeHsb->setFocus();
    test::KeyPress(form->TimeHsb, Qt::Key_Right);
    EXPECT_EQ(form->Time(), 1);
    EXPECT_TRUE(form->TimeForward());
    EXPECT_GT(FlaskBubbles(Picture()), 5);
    test::KeyRelease(form->TimeHsb, Qt::Key_Right);
    EXPECT_FALSE(form->TimeForward());
    EXPECT_EQ(FlaskBubbles(Picture()), 0);
    Key(Qt::Key_PageDown);  // a page is a minute, to the right
    EXPECT_EQ(form->Time(), 61);
    EXPECT_EQ(Watch().On(Picture()), Watch().Showing(QStringLiteral("01 : 01")));
}

TEST_F(YeastForm, TheBuretteShowsTheVolumeCollected)
{
    form->GlucoseSE->setValue(0.5);
    form->TempSE->setValue(40);
    test::ScrollBarDrag drag(form->TimeHsb);
    drag.MoveTo(180);
    drag.Release();
    ASSERT_EQ(form->Time(), 180);
    const float v = form->Volume();
    const float exact = form->Model().VolumeAfter(180);
    EXPECT_GT(v, 10.0f);
    EXPECT_NEAR(v, exact, 0.5f) << "within a few seconds' timing error";

    // Gas (white) above the surface, water below, in the burette itself.
    const QImage picture = Picture();
    test::SavePicture(picture, QStringLiteral("yeast-40C"));
    const float s = form->Scale();
    const float u = 0.83f * 80 * s / 50;
    const int top = Px(5 + 0.15f * 80);
    const int surface = top + Round(v * u);
    const int cx = (Px(6) + Px(9)) / 2;
    EXPECT_EQ(picture.pixel(cx - 1, surface - 2), 0xFFFFFFFFu);
    EXPECT_EQ(picture.pixel(cx - 1, surface + 2), 0xFFD6EAFFu);
    // The water pushed out of the burette raises the beaker's level.
    const int beakerLevel = Round((69 + 20) * s - (0.23f * v + 7.5f) * s);
    EXPECT_EQ(picture.pixel(Px(16), beakerLevel + 2), 0xFFD6EAFFu);
    EXPECT_EQ(picture.pixel(Px(16), beakerLevel - 2), 0xFFFFFFFFu);

    // Every redraw is a new reading with its own timing error; none leaves the burette.
    for (int i = 0; i < 20; ++i) {
        form->Redraw();
        EXPECT_NEAR(form->Volume(), exact, 0.8f);
    }
}

TEST_F(YeastForm, GlucoseResetsOnlyOnceTimeHasRun)
{
    const float factor = form->Model().GasFactor;
    int backgroundChanges = 0;
    TBitmap32& background = form->Pic()->Bitmap();
    const int listener = background.AddChangeListener([&] { ++backgroundChanges; });
    const QImage before = Picture();
    form->GlucoseSE->stepBy(2);
    EXPECT_FLOAT_EQ(form->Model().Glucose, 0.5f);
    EXPECT_EQ(form->Model().GasFactor, factor) << "the same run";
    EXPECT_EQ(backgroundChanges, 0);
    EXPECT_EQ(Picture(), before);
    background.RemoveChangeListener(listener);

    Key(Qt::Key_PageDown);
    Key(Qt::Key_PageDown);
    ASSERT_EQ(form->Time(), 120);
    EXPECT_GT(form->Volume(), 0.0f);
    form->GlucoseSE->stepBy(1);
    EXPECT_FLOAT_EQ(form->Model().Glucose, 0.6f);
    EXPECT_EQ(form->Time(), 0);
    EXPECT_EQ(form->TimeHsb->value(), 0);
    EXPECT_EQ(form->Volume(), 0.0f);
    EXPECT_NE(form->Model().GasFactor, factor) << "a new run";
}

TEST_F(YeastForm, NewRunsComeWithResetTemperatureAndTimeBackAtZero)
{
    float factor = form->Model().GasFactor;
    const auto expectNewRun = [&](const char* what) {
        SCOPED_TRACE(what);
        EXPECT_EQ(form->Time(), 0);
        EXPECT_EQ(form->TimeHsb->value(), 0);
        EXPECT_EQ(form->Volume(), 0.0f);
        EXPECT_NE(form->Model().GasFactor, factor);
        factor = form->Model().GasFactor;
    };
    Key(Qt::Key_PageDown);
    form->ResetBtn->trigger();
    expectNewRun("reset");

    Key(Qt::Key_PageDown);
    form->TempSE->stepBy(1);
    EXPECT_EQ(form->Model().BathTemp, 21.0f);
    expectNewRun("temperature");

    Key(Qt::Key_PageDown);
    Key(Qt::Key_Home);
    expectNewRun("time bar back at 0");

    // Moving the time without returning to 0 keeps the run.
    Key(Qt::Key_PageDown);
    Key(Qt::Key_Right);
    Key(Qt::Key_Left);
    EXPECT_EQ(form->Model().GasFactor, factor);
}

TEST_F(YeastForm, TheTemperatureIsSetByItsArrowsOnly)
{
    QSpinBox* spin = form->TempSE;
    spin->setFocus();
    test::KeyClick(spin, Qt::Key_Up);
    EXPECT_EQ(spin->value(), 21);
    test::KeyClick(spin, Qt::Key_Backspace);
    test::KeyClick(spin, Qt::Key_5);
    EXPECT_EQ(spin->value(), 21) << "typing changes nothing";
    EXPECT_EQ(form->Model().BathTemp, 21.0f);
    spin->stepBy(30);
    EXPECT_EQ(form->Model().BathTemp, 51.0f);
}

TEST_F(YeastForm, LargeButtonsWidenTheGlucoseAndTheTimeBarWithoutDpiScaling)
{
    SetScreenDpiOverride(120);
    const qreal base = QApplication::font(form->TempSE).pointSizeF();
    EXPECT_NEAR(form->TempSE->font().pointSizeF(), 1.5 * base, 0.01) << "150 % with small buttons";
    EXPECT_EQ(form->TimeHsb->height(), 18);
    form->SetLargeButtons(true);
    EXPECT_EQ(form->GlucoseSE->width(), std::max(96, form->GlucoseSE->sizeHint().width()));
    EXPECT_NEAR(form->TempSE->font().pointSizeF(), 3 * base, 0.01);
    EXPECT_NEAR(form->GlucoseLabel->font().pointSizeF(), 1.5 * base, 0.01);
    EXPECT_EQ(form->TimeHsb->height(), 24);
    form->SetLargeButtons(false);
    EXPECT_EQ(form->GlucoseSE->width(), std::max(64, form->GlucoseSE->sizeHint().width()));
    EXPECT_EQ(form->TimeHsb->height(), 18);
}

TEST_F(YeastForm, TheSceneFitsTallAndWidePictures)
{
    for (QSize size : {QSize(840, 660), QSize(500, 900), QSize(320, 240)}) {
        form->resize(size);
        QApplication::processEvents();
        const QSize pic = form->Pic()->size();
        const float expected =
            pic.width() < pic.height() ? 0.01f * float(pic.width()) : 0.011f * float(pic.height());
        EXPECT_FLOAT_EQ(form->Scale(), expected);
        // The stopwatch's bottom-right corner stays inside the picture.
        EXPECT_LE(Px(85), pic.width());
        EXPECT_LE(Px(89), pic.height());
    }
}

}  // namespace
}  // namespace brv
