// Energy stored in a spring: the model on its numbers, the form driven with
// its clock stepped by hand at several tick rates, and the compression lens
// and the stopwatch read on real pixels.
#include "experiments/physics/uESpring.h"

#include "apparatus/Meters.h"
#include "common/CadencerEx.h"
#include "runtime/AddMaths.h"
#include "runtime/Image32.h"
#include "support/AnimatedFormTest.h"
#include "support/FormContract.h"
#include "support/Sampling.h"
#include "support/Stopwatch.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QToolBar>

#include <gtest/gtest.h>

#include <cmath>

namespace brv {
namespace {

const bool kContract = test::RegisterFormTraits([] {
    test::TFormTraits t;
    t.id = ids::ESpring;
    t.name = "Spring";
    t.spins = {{"SpringSE", 0, 10, 5}, {"MassSE", 0.5, 5, 1, 64, 100}};
    // About 0.22 s from the release to the end of the bench, every tick a
    // whole picture.
    t.runSeconds = 0.15;
    t.runMovesOnlyLayers = false;
    return t;
}());

using Model = TSpringModel;

// Steps a released model with ticks of dt until the trolley has run off;
// returns the ticks taken.
int RunModel(Model& spring, float x0, float dt)
{
    spring.Compress(x0);
    spring.Release(x0);
    for (int ticks = 1; ticks < 1000000; ++ticks) {
        const bool done = spring.Step(dt, x0);
        if (spring.TrolleyX <= Model::BeamIn) {
            EXPECT_EQ(spring.CardTime, 0.0f) << "the watch runs before the card reaches the beam";
        }
        if (done)
            return ticks;
    }
    return -1;
}

TEST(SpringModel, PassTimeFromEnergyConservation)
{
    EXPECT_NEAR(Model::PassTimeFor(5, 1, 50), 0.2828f, 0.0001f);
    for (float k : {30.0f, 50.0f, 71.3f}) {
        SCOPED_TRACE(k);
        EXPECT_FLOAT_EQ(Model::PassTimeFor(6, 1, k), Model::PassTimeFor(3, 1, k) / 2)
            << "double the compression";
        EXPECT_FLOAT_EQ(Model::PassTimeFor(3, 4, k), Model::PassTimeFor(3, 1, k) * 2)
            << "four times the mass";
    }
    EXPECT_EQ(Model::PassTimeFor(0.09f, 1, 50), 0.0f) << "too small to time";
    EXPECT_GT(Model::PassTimeFor(0.1f, 1, 50), 0.0f);
}

// A draw of zero or less would make the pass time a division by zero or the
// root of a negative number; the constant is drawn again instead.
TEST(SpringModel, TheSpringConstantIsAlwaysPositive)
{
    constexpr std::uint32_t kNegativeNext = 2198492319u;  // a state whose next Gaussian is below 0
    SetRandomState(kNegativeNext);
    ASSERT_LE(RandGauss(50, 10), 0.0f);
    SetRandomState(kNegativeNext);
    const float k = Model::NewSpringConstant();
    EXPECT_GT(k, 0.0f);
    EXPECT_TRUE(std::isfinite(Model::PassTimeFor(5, 1, k)));

    SetRandomState(777);
    const test::Sample constants = test::SampleOf(4000, [] { return Model::NewSpringConstant(); });
    EXPECT_NEAR(constants.mean, 50, 0.6);
    EXPECT_NEAR(constants.sd, 10, 0.5);
}

// However long the ticks, the watch stays at 0 until the card reaches the
// beam and ends at exactly the pass time.
TEST(SpringModel, TheStopwatchEndsAtThePassTimeAtAnyTickRate)
{
    for (float dt : {0.0005f, 0.001f, 1 / 144.0f, 1 / 60.0f, 1 / 24.0f, 0.25f}) {
        SCOPED_TRACE(dt);
        Model spring;
        spring.SpringConstant = 43.7f;
        spring.Mass = 2.3f;
        ASSERT_GT(RunModel(spring, 4.2f, dt), 0);
        EXPECT_EQ(spring.CardTime, Model::PassTimeFor(4.2f, 2.3f, 43.7f));
        EXPECT_EQ(spring.Compression, 0.0f);
    }
}

TEST(SpringModel, TheTrolleyRunsInProportionToItsSpeed)
{
    Model spring;
    spring.Compress(5);
    spring.Release(5);
    // 5·√50·5 ≈ 176.8 units a second: the spring relaxes within 0.03 s.
    spring.Step(0.02f, 5);
    EXPECT_NEAR(spring.Compression, 5 - 3.536f, 0.001f);
    EXPECT_NEAR(spring.TrolleyX, Model::RestX - spring.Compression, 1e-5f);
    spring.Step(0.02f, 5);
    EXPECT_EQ(spring.Compression, 0.0f);
    EXPECT_EQ(spring.TrolleyX, Model::RestX) << "the push ends at the relaxed spring";
    spring.Step(0.02f, 5);
    EXPECT_NEAR(spring.TrolleyX, Model::RestX + 3.536f, 0.001f);

    // Below 0.1 cm the trolley still goes, with nothing on the watch.
    Model small;
    ASSERT_GT(RunModel(small, 0.06f, 1 / 60.0f), 0);
    EXPECT_EQ(small.CardTime, 0.0f);
}

// --- the form -------------------------------------------------------------

class SpringForm : public test::AnimatedFormTest<TSpringFrm> {
protected:
    SpringForm() : AnimatedFormTest(QSize(800, 600)) {}
    // Ticks of dt seconds until the run ends (at most 10 s).
    void RunWithTicksOf(double dt)
    {
        for (double end = now + 10; form->Clock->Enabled() && now < end;) {
            Tick(dt);
        }
    }
    test::StopwatchOnPicture Watch() const
    {
        return {70, 20, 24, 20, QStringLiteral("seconds"), form->Scale()};
    }
    // The compression lens: centre, millimetre, strip rows.
    float Cx() { return 27.8f * form->Scale(); }
    float Cy() { return 21 * form->Scale(); }
    float M() { return 40 * form->Scale() / 30; }
    int StripBottom() { return Round(Cy()); }
};

TEST_F(SpringForm, ButtonsFollowTheRunThroughItsStates)
{
    EXPECT_EQ(form->Model().SpringConstant, 50.0f) << "the mean until something changes";
    ExpectButtons(true, false, false);
    Click(form->Buttons.StartBtn);
    ExpectButtons(false, true, false);
    EXPECT_FALSE(form->SpringSE->isEnabled());
    EXPECT_FALSE(form->MassSE->isEnabled());
    Advance(0.1);
    const float x = form->Model().TrolleyX;
    EXPECT_GT(x, TSpringModel::RestX);

    Click(form->Buttons.StopBtn);
    ExpectButtons(true, false, true);
    EXPECT_FALSE(form->SpringSE->isEnabled());
    Advance(0.5);
    EXPECT_EQ(form->Model().TrolleyX, x) << "paused";

    Click(form->Buttons.StartBtn);  // carries on
    Advance(1);
    EXPECT_EQ(form->State(), TRunState::Finished);
    ExpectButtons(false, false, true);
    EXPECT_NEAR(form->Model().CardTime, 0.2828f, 0.0001f);

    Click(form->Buttons.ResetBtn);
    ExpectButtons(true, false, false);
    EXPECT_TRUE(form->SpringSE->isEnabled());
    EXPECT_TRUE(form->MassSE->isEnabled());
    EXPECT_EQ(form->Model().CardTime, 0.0f);
    EXPECT_EQ(form->Model().Compression, 5.0f);
    EXPECT_FLOAT_EQ(form->Model().TrolleyX, 31.8f);
    EXPECT_NE(form->Model().SpringConstant, 50.0f) << "a new spring constant at every reset";
}

TEST_F(SpringForm, ANewSettingDrawsANewSpringConstant)
{
    float k = form->Model().SpringConstant;
    form->MassSE->setValue(2);
    EXPECT_NE(form->Model().SpringConstant, k);
    EXPECT_EQ(form->Model().Mass, 2.0f);
    k = form->Model().SpringConstant;
    form->SpringSE->setValue(6);
    EXPECT_NE(form->Model().SpringConstant, k);
    EXPECT_EQ(form->Model().Compression, 6.0f);
    EXPECT_FLOAT_EQ(form->Model().TrolleyX, TSpringModel::RestX - 6);
}

TEST_F(SpringForm, NoCompressionNoRelease)
{
    form->SpringSE->setValue(0);
    ExpectButtons(false, false, false);
    form->SpringSE->setValue(0.1);
    ExpectButtons(true, false, false);
    form->SpringSE->setValue(0);
    ExpectButtons(false, false, false);
}

TEST_F(SpringForm, TheSpinEditsTakeNoTyping)
{
    auto* text = form->SpringSE->findChild<QLineEdit*>();
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(text->isReadOnly());
    form->SpringSE->setFocus();
    QTest::keyClick(form->SpringSE, Qt::Key_Up);
    EXPECT_DOUBLE_EQ(form->SpringSE->value(), 5.1);
    EXPECT_FLOAT_EQ(form->Model().Compression, 5.1f);
}

// The watch shows the pass time to the millisecond at the end, however
// often the clock ticked.
TEST_F(SpringForm, TheStopwatchEndsAtThePassTimeWhateverTheFrameRate)
{
    form->MassSE->setValue(3.7);
    form->SpringSE->setValue(2.3);
    for (double dt : {0.001, 1 / 60.0, 1 / 15.0}) {
        SCOPED_TRACE(dt);
        Click(form->Buttons.ResetBtn);
        const float expected = TSpringModel::PassTimeFor(2.3f, 3.7f, form->Model().SpringConstant);
        Click(form->Buttons.StartBtn);
        RunWithTicksOf(dt);
        ASSERT_EQ(form->State(), TRunState::Finished);
        EXPECT_EQ(form->Model().CardTime, expected);
        const QImage picture = Picture();
        EXPECT_EQ(Watch().On(picture), Watch().Showing(FormatSeconds(expected)));
    }
    test::SavePicture(Picture(), QStringLiteral("spring-finished"));
}

// The lens's centre line reads the compression: the whole centimetre lies
// frac(q) cm to its right, under a long tick; the card's edge is on the centre.
TEST_F(SpringForm, TheLensReadsTheCompressionOnItsCentreLine)
{
    const int longTip = StripBottom() - Round(0.15f * 40 * form->Scale());
    for (double q : {5.0, 3.7, 8.2}) {
        form->SpringSE->setValue(q);
        const float fq = float(q);
        const QImage picture = Picture();
        const int x = Round(Cx() + (fq - std::trunc(fq)) * 10 * M());
        SCOPED_TRACE(q);
        EXPECT_EQ(picture.pixel(x, longTip + 1), 0xFF000000u) << "the long tick of " << Trunc(fq);
        EXPECT_EQ(picture.pixel(x, StripBottom() - 2), 0xFF000000u);
        EXPECT_EQ(picture.pixel(Round(Cx()) + 2, StripBottom() + 4), 0xFF3F3F3Fu) << "the card";
        EXPECT_EQ(picture.pixel(Round(Cx()) - 2, StripBottom() + 4), 0xFFFFFFFFu) << "left of the card";
    }
}

TEST_F(SpringForm, BelowOneAndAHalfTheLensScaleEndsAtItsZeroMark)
{
    form->SpringSE->setValue(1.2);
    const QImage picture = Picture();
    test::SavePicture(picture, QStringLiteral("spring-small-compression"));
    const int zero = Round(Cx() + 1.2f * 10 * M());
    const int row = StripBottom() - Round(0.05f * 40 * form->Scale()) - 3;  // above the short ticks
    EXPECT_EQ(picture.pixel(zero - 3, row), 0xFFFFFF80u);
    EXPECT_EQ(picture.pixel(zero - 1, row), 0xFF000000u) << "the strip's end";
    EXPECT_EQ(picture.pixel(zero + 3, row), 0xFFFFFFFFu) << "nothing beyond 0";

    const int beyond = Round(Cx() + 12.5f * M());  // between two ticks
    EXPECT_EQ(picture.pixel(beyond, row), 0xFFFFFFFFu);
    form->SpringSE->setValue(1.5);
    EXPECT_EQ(Picture().pixel(beyond, row), 0xFFFFFF80u) << "from 1.5 the strip fills the lens";
}

TEST_F(SpringForm, LargeButtonsKeepTheSmallPictures)
{
    const QSize small = form->Toolbar()->iconSize();
    const int massWidth = form->MassSE->width();
    const qreal labelSize = form->MassLabel->font().pointSizeF();
    form->SetLargeButtons(true);
    QApplication::processEvents();
    EXPECT_EQ(form->Toolbar()->iconSize(), small);
    EXPECT_GT(form->MassSE->width(), massWidth);
    EXPECT_NEAR(form->MassLabel->font().pointSizeF(), 1.5 * labelSize, 0.6);
}

}  // namespace
}  // namespace brv
