// Bouncing ball: the model on its numbers, the form driven with its clock
// stepped by hand, and the magnifier read on real pixels.
#include "experiments/physics/uBall.h"

#include "common/CadencerEx.h"
#include "runtime/AddMaths.h"
#include "runtime/Image32.h"
#include "support/AnimatedFormTest.h"
#include "support/FormContract.h"
#include "support/MouseDrive.h"
#include "support/Pixels.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QHelpEvent>
#include <QLabel>
#include <QScrollBar>
#include <QSpinBox>
#include <QToolTip>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace brv {
namespace {

const bool kContract = test::RegisterFormTraits([] {
    test::TFormTraits t;
    t.id = ids::Ball;
    t.name = "Ball";
    t.spins = {{"BounceSE", 1, 10, 1, 40, 50}, {"TemperatureSE", 0, 100, 20, 64, 96}};
    t.runSeconds = 0.5;
    t.runMovesOnlyLayers = true;
    return t;
}());

using Outcome = TBallModel::Outcome;

// Steps the model with 1 ms steps until the run ends; returns the outcome and
// counts the steps.
Outcome RunModel(TBallModel& ball, int bounceLimit, int& steps, int maxSteps = 200000)
{
    for (steps = 1; steps <= maxSteps; ++steps) {
        const Outcome o = ball.Step(0.001f, bounceLimit);
        if (o != Outcome::Moving)
            return o;
    }
    return Outcome::Moving;
}

TEST(BallModel, FirstApexIsRestitutionSquaredTimesTheDrop)
{
    for (float e : {0.3f, 0.54f, 0.8f}) {
        TBallModel ball;
        ball.Reset(0, e);
        int steps = 0;
        ASSERT_EQ(RunModel(ball, 1, steps), Outcome::ApexReached);
        EXPECT_NEAR(ball.Height(), e * e * 100.0f, 0.3f) << "e = " << e;
        EXPECT_EQ(ball.ApexCount, 1);
        EXPECT_EQ(ball.Speed, 0.0f);
        // Fall time √(2h/g) ≈ 0.4515 s plus rise time e × 0.4515 s.
        EXPECT_NEAR(steps / 1000.0, 0.4515 * (1 + e), 0.005);
    }
}

TEST(BallModel, ADropFromTheFloorIsAtRestAtOnce)
{
    TBallModel ball;
    ball.Reset(100, 0.8f);
    int steps = 0;
    EXPECT_EQ(RunModel(ball, 1, steps), Outcome::AtRest);
    EXPECT_EQ(steps, 1);
    EXPECT_EQ(ball.BallDepth, 100.0f);
}

TEST(BallModel, AColdBallSoonComesToRest)
{
    EXPECT_NEAR(TBallModel::MeanRestitution(0), 0.1f, 1e-6);
    EXPECT_NEAR(TBallModel::MeanRestitution(20), 0.5425f, 1e-3);
    EXPECT_NEAR(TBallModel::MeanRestitution(100), 0.7953f, 1e-3);
    TBallModel ball;
    ball.Reset(0, 0.1f);
    int steps = 0;
    // Rebounds of 1 cm then 0.01 cm: at rest at the second landing.
    EXPECT_EQ(RunModel(ball, 10, steps), Outcome::AtRest);
    EXPECT_EQ(ball.ApexCount, 1);
    EXPECT_EQ(ball.BallDepth, 100.0f);
    EXPECT_LT(steps, 700);
}

TEST(BallModel, RestitutionIsScatteredButNeverBelowTheFloor)
{
    float lowest = 1, highest = 0;
    for (int i = 0; i < 400; ++i) {
        const float e = TBallModel::NewRestitution(0);
        lowest = std::min(lowest, e);
        highest = std::max(highest, e);
    }
    EXPECT_EQ(lowest, TBallModel::MinRestitution) << "about a sixth of draws at 0 ºC fall below 0.05";
    EXPECT_GT(highest, 0.15f);
}

// --- the form -------------------------------------------------------------

class BallForm : public test::AnimatedFormTest<TBallFrm> {
protected:
    BallForm() : AnimatedFormTest(QSize(820, 640)) {}
};

TEST_F(BallForm, ButtonsFollowTheRunThroughItsStates)
{
    ExpectButtons(true, false, false);
    EXPECT_TRUE(form->BallHsb->isEnabled());

    Click(form->Buttons.StartBtn);
    EXPECT_EQ(form->State(), TRunState::Running);
    ExpectButtons(false, true, false);
    EXPECT_FALSE(form->BallHsb->isEnabled());
    EXPECT_FALSE(ToolbarHintsShown(form->Toolbar()));

    Advance(0.2);
    const float depth = form->Model().BallDepth;
    EXPECT_NEAR(depth, 0.5f * 981 * 0.2f * 0.2f, 0.5f);
    Click(form->Buttons.StopBtn);
    ExpectButtons(true, false, true);  // in the air: Start resumes
    EXPECT_TRUE(ToolbarHintsShown(form->Toolbar()));
    Advance(0.5);
    EXPECT_EQ(form->Model().BallDepth, depth) << "paused";

    Click(form->Buttons.StartBtn);
    Advance(2.0);
    EXPECT_EQ(form->State(), TRunState::Finished);
    ExpectButtons(false, false, true);
    EXPECT_FALSE(form->Clock->Enabled());

    Click(form->Buttons.ResetBtn);
    ExpectButtons(true, false, false);
    EXPECT_EQ(form->Model().BallDepth, 0.0f);
    EXPECT_EQ(form->Model().ApexCount, 0);
    EXPECT_TRUE(form->BallHsb->isEnabled());
}

TEST_F(BallForm, ADropFromTheFloorFinishesAtOnce)
{
    form->BallHsb->setValue(1000);  // a drop from 0 cm
    form->TemperatureSE->setValue(0);
    Click(form->Buttons.StartBtn);
    Advance(0.02);
    EXPECT_EQ(form->State(), TRunState::Finished);
    EXPECT_EQ(form->Model().BallDepth, 100.0f);
}

// Stopped while the ball lies on the floor between bounces, the run has
// nowhere to go: Start stays disabled, Reset is the way on.
TEST_F(BallForm, StopWithTheBallOnTheFloorLeavesStartDisabled)
{
    form->BounceSE->setValue(10);
    Click(form->Buttons.StartBtn);
    // Step until the ball reaches the floor on its first fall.
    for (int i = 0; i < 5000 && form->Model().BallDepth < TBallModel::FloorDepth; ++i) {
        Tick(0.001);
    }
    ASSERT_EQ(form->Model().BallDepth, TBallModel::FloorDepth);
    ASSERT_EQ(form->State(), TRunState::Running);
    Click(form->Buttons.StopBtn);
    EXPECT_EQ(form->State(), TRunState::Paused);
    ExpectButtons(false, false, true);

    // Stopped in the air, the run can go on.
    Click(form->Buttons.ResetBtn);
    Click(form->Buttons.StartBtn);
    Advance(0.1);
    Click(form->Buttons.StopBtn);
    ExpectButtons(true, false, true);
}

TEST_F(BallForm, TheStopTakesEffectWithinTheTick)
{
    Click(form->Buttons.StartBtn);
    // One long tick of 3 s: the run ends inside it and the remaining fixed
    // steps of that tick must not move the ball.
    Tick(3.0);
    EXPECT_EQ(form->State(), TRunState::Finished);
    EXPECT_EQ(form->Model().Speed, 0.0f);
    const float apex = form->Model().BallDepth;
    EXPECT_NEAR(form->Model().Height(), form->Model().Restitution * form->Model().Restitution * 100, 0.3f);
    Tick(1.0);
    EXPECT_EQ(form->Model().BallDepth, apex);
}

TEST_F(BallForm, ResizingDuringARunKeepsTheMotion)
{
    Click(form->Buttons.StartBtn);
    Advance(0.25);
    const float depth = form->Model().BallDepth;
    form->resize(500, 380);
    QApplication::processEvents();
    EXPECT_EQ(form->Model().BallDepth, depth);
    EXPECT_TRUE(form->Clock->Enabled());
    Advance(0.05);
    EXPECT_GT(form->Model().BallDepth, depth);
    const TFloatRect r = form->BallLayer->Location();
    EXPECT_NEAR((r.Top + r.Bottom) / 2, (3 + form->Model().BallDepth) * form->Scale(), 1.0f);
}

// During a run only the ball layer moves: the background is not drawn again,
// and the layer is placed only on the steps that change its pixel row.
TEST_F(BallForm, ARunNeverRedrawsTheBackground)
{
    int backgroundChanges = 0;
    TBitmap32& background = form->Pic()->Bitmap();
    const int listener = background.AddChangeListener([&] { ++backgroundChanges; });
    Click(form->Buttons.StartBtn);
    int moves = 0, steps = 0;
    TFloatRect last = form->BallLayer->Location();
    while (form->Clock->Enabled() && steps < 2000) {
        Tick(0.001);
        ++steps;
        const TFloatRect r = form->BallLayer->Location();
        if (r.Top != last.Top)
            ++moves;
        last = r;
    }
    background.RemoveChangeListener(listener);
    EXPECT_EQ(backgroundChanges, 0);
    EXPECT_GT(steps, 500);
    // A fall and a rebound cross (1 + e²) × 100 cm of rows: at most one move
    // per row, and none on the slow steps near the top.
    const float e = form->Model().Restitution;
    EXPECT_LE(moves, Round((1 + e * e) * 100 * form->Scale()) + 2);
    EXPECT_LT(moves, steps - 100);
}

TEST_F(BallForm, EachRepaintShowsEverythingThatChanged)
{
    ShownPicture();
    Click(form->Buttons.StartBtn);
    EXPECT_GT(ExpectEachTickShowsTheWholeChange(10), 20);
    EXPECT_FALSE(form->Clock->Enabled());

    // The marker dragged in the magnifier, then let go.
    const float s = form->Scale();
    const int x = Round(55 * s);
    form->Pic()->OnMouseDown(Qt::LeftButton, Qt::NoModifier, x, Round(40 * s));
    EXPECT_EQ(ShownPicture(), Picture());
    form->Pic()->OnMouseMove(Qt::LeftButton, Qt::NoModifier, x, Round(48 * s));
    EXPECT_EQ(ShownPicture(), Picture());
    form->Pic()->OnMouseUp(Qt::LeftButton, Qt::NoModifier, x, Round(48 * s));
    EXPECT_EQ(ShownPicture(), Picture());

    Click(form->Buttons.ResetBtn);
    EXPECT_EQ(ShownPicture(), Picture());
}

TEST_F(BallForm, TheMagnifierReadsTheHeightOnTheBallsLowestPoint)
{
    const float s = form->Scale();
    const float w = 50 * s;
    const float m = w / 60;
    const int xr = Round(30 * s + 0.25f * w) - 1;
    const int yb = Round(20 * s + w / 2 + 20 * m);
    const int cmTick = Round(0.125f * w) + 1, halfTick = Round(0.0625f * w) + 1,
              mmTick = Round(0.04f * w) + 1;

    form->BallHsb->setValue(300);  // height 70.0 cm: the "70" tick on the ball
    QImage at70 = Picture();
    test::SavePicture(at70, QStringLiteral("ball-70cm"));
    EXPECT_EQ(test::TickLengthAt(at70, xr, yb), cmTick);

    form->BallHsb->setValue(305);  // 69.5 cm: the half-centimetre tick
    EXPECT_EQ(test::TickLengthAt(Picture(), xr, yb), halfTick);
    form->BallHsb->setValue(304);  // 69.6 cm: a millimetre tick, the "70" 4 mm up
    QImage at696 = Picture();
    EXPECT_EQ(test::TickLengthAt(at696, xr, yb), mmTick);
    EXPECT_EQ(test::TickLengthAt(at696, xr, Round(20 * s + w / 2 + 20 * m - 4 * m)), cmTick);
}

TEST_F(BallForm, TheRuleEndsShowInsideTheMagnifier)
{
    const float s = form->Scale();
    const float w = 50 * s;
    const float m = w / 60;
    const int x = Round(30 * s) + 2;  // inside the strip, left of the ticks
    const int yb = Round(20 * s + w / 2 + 20 * m);

    form->BallHsb->setValue(20);  // 98 cm: the strip starts 2 cm above the ball
    QImage top = Picture();
    EXPECT_EQ(top.pixel(x, Round(yb - 20 * m) - 3), 0xFFE7E7FFu) << "above the rule's end";
    EXPECT_EQ(top.pixel(x, Round(yb - 20 * m) + 3), 0xFFFFFF80u) << "on the rule";

    form->BallHsb->setValue(995);  // 0.5 cm: the floor 5 mm below the ball
    QImage floor = Picture();
    test::SavePicture(floor, QStringLiteral("ball-floor"));
    EXPECT_EQ(floor.pixel(x, Round(yb + 5 * m) - 3), 0xFFFFFF80u);
    EXPECT_EQ(floor.pixel(x, Round(yb + 5 * m) + 3), 0xFFE7E7FFu);
}

TEST_F(BallForm, TheMarkerShowsOnlyWhileTheBallIsStill)
{
    const float s = form->Scale();
    const int x = Round(55 * s), y = Round(40 * s);
    form->Pic()->OnMouseMove(Qt::NoButton, Qt::NoModifier, x, y);
    EXPECT_EQ(form->Pic()->toolTip(), QStringLiteral("Click to show a marker"));
    form->Pic()->OnMouseDown(Qt::LeftButton, Qt::NoModifier, x, y);
    EXPECT_TRUE(form->MarkerLayer->Visible());
    EXPECT_EQ(Picture().pixel(x, y), 0xFFFF0000u);
    form->Pic()->OnMouseUp(Qt::LeftButton, Qt::NoModifier, x, y);
    EXPECT_FALSE(form->MarkerLayer->Visible());

    Click(form->Buttons.StartBtn);
    form->Pic()->OnMouseMove(Qt::NoButton, Qt::NoModifier, x, y);
    EXPECT_TRUE(form->Pic()->toolTip().isEmpty());
    form->Pic()->OnMouseDown(Qt::LeftButton, Qt::NoModifier, x, y);
    EXPECT_FALSE(form->MarkerLayer->Visible());
}

// A label whose tick lies just inside the strip's top edge is cut at the
// window's frame; nothing of it shows on the white picture above the window.
TEST_F(BallForm, ZoomLabelsStayInsideTheWindow)
{
    const float s = form->Scale();
    const float w = 50 * s, m = w / 60;
    const int top = Round(20 * s);
    const int left = Round(30 * s), right = Round(30 * s + 0.25f * w);
    // Depth 30.9 cm: the "74" tick (i = -20) lies 1 mm below the top edge,
    // and half its label is taller than that.
    form->BallHsb->setValue(309);
    ASSERT_GT(Round(4 * m) / 2, Round(m));
    const QImage picture = Picture();
    test::SavePicture(picture.copy(left - 10, top - 10, Round(w) + 20, Round(w) + 20),
                      QStringLiteral("ball-zoom-top"));
    for (int y = top - 8; y < top; ++y)
        for (int x = left; x < right; ++x)
            ASSERT_EQ(picture.pixel(x, y), 0xFFFFFFFFu) << x << ", " << y;
    bool inkBelowTheEdge = false;
    for (int x = left + 1; x < right - Round(0.125f * w); ++x)
        inkBelowTheEdge = inkBelowTheEdge || picture.pixel(x, top + 2) == 0xFF000000u;
    EXPECT_TRUE(inkBelowTheEdge) << "the cut label still shows inside the strip";
}

// The drop height is set from the keyboard as well as with the mouse.
TEST_F(BallForm, TheDropHeightBarWorksFromTheKeyboard)
{
    QScrollBar* bar = form->BallHsb;
    EXPECT_NE(bar->focusPolicy() & Qt::TabFocus, 0);
    EXPECT_EQ(bar->toolTip(), QStringLiteral("Set the height the ball is dropped from"));
    auto press = [bar](int key) { test::KeyPress(bar, key); };
    press(Qt::Key_Down);
    EXPECT_FLOAT_EQ(form->Model().BallDepth, 0.1f);
    press(Qt::Key_PageDown);
    EXPECT_FLOAT_EQ(form->Model().BallDepth, 1.1f) << "a page is 1 cm";
    press(Qt::Key_End);
    EXPECT_FLOAT_EQ(form->Model().BallDepth, 100.0f);
    const TFloatRect r = form->BallLayer->Location();
    EXPECT_NEAR((r.Top + r.Bottom) / 2, 103 * form->Scale(), 0.01f) << "the ball on the floor";
    press(Qt::Key_Home);
    EXPECT_FLOAT_EQ(form->Model().BallDepth, 0.0f);
}

// The marker's hint goes as soon as the pointer leaves the window.
TEST_F(BallForm, TheMarkerHintLeavesWithThePointer)
{
    const float s = form->Scale();
    TImage32* pic = form->Pic();
    pic->OnMouseMove(Qt::NoButton, Qt::NoModifier, Round(55 * s), Round(40 * s));
    QHelpEvent help(QEvent::ToolTip, QPoint(Round(55 * s), Round(40 * s)),
                    pic->mapToGlobal(QPoint(Round(55 * s), Round(40 * s))));
    QApplication::sendEvent(pic, &help);
    ASSERT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), QStringLiteral("Click to show a marker"));
    pic->OnMouseMove(Qt::NoButton, Qt::NoModifier, Round(90 * s), Round(40 * s));
    EXPECT_TRUE(pic->toolTip().isEmpty());
    // A tip fades out on its own short timer once told to go; left alone it
    // would stay for ten seconds.
    QElapsedTimer waited;
    waited.start();
    while (QToolTip::isVisible() && waited.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_FALSE(QToolTip::isVisible());
}

}  // namespace
}  // namespace brv
