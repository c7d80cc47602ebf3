// Terminal velocity: the model on its numbers, the form driven with its clock
// stepped by hand and its scroll bars moved as a pupil moves them, and the
// picture read on real pixels.
#include "experiments/physics/uTerminalVelocity.h"

#include "apparatus/Meters.h"
#include "common/CadencerEx.h"
#include "runtime/AddMaths.h"
#include "runtime/Image32.h"
#include "support/AnimatedFormTest.h"
#include "support/FormContract.h"
#include "support/MouseDrive.h"
#include "support/Pixels.h"
#include "support/Stopwatch.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QScrollBar>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace brv {
namespace {

const bool kContract = test::RegisterFormTraits([] {
    test::TFormTraits t;
    t.id = ids::TerminalVelocity;
    t.name = "TerminalVelocity";
    t.spins = {{"RadiusSE", 0.5, 2, 1, 64, 96}, {"ViscositySE", 0, 10, 2, 64, 96}};
    t.runSeconds = 0.5;
    t.runMovesOnlyLayers = true;
    return t;
}());

using Model = TTerminalVelocityModel;

// Steps with 1 ms until the ball rests on the bottom; returns the steps taken.
int RunToBottom(Model& ball, int maxSteps = 100000)
{
    for (int steps = 1; steps <= maxSteps; ++steps)
        if (ball.Step(0.001f) == Model::Outcome::AtBottom)
            return steps;
    return -1;
}

TEST(TerminalVelocityModel, WithoutViscosityTheBallFallsAtEightNinthsOfGravity)
{
    for (float radius : {0.5f, 2.0f}) {
        Model ball;
        ball.Radius = radius;
        ball.ViscosityPoise = 0;
        for (int i = 0; i < 300; ++i) {
            EXPECT_FLOAT_EQ(ball.Acceleration(), 8.0f / 9.0f * 980) << "step " << i;
            ball.Step(0.001f);
        }
        EXPECT_NEAR(ball.Speed, 8.0f / 9.0f * 980 * 0.3f, 0.01f);
        EXPECT_NEAR(ball.BallDepth, 0.5f * 8.0f / 9.0f * 980 * 0.09f, 0.01f);
    }
}

TEST(TerminalVelocityModel, ASmallBallInAThickLiquidTakesAbout14sBetweenTheGates)
{
    Model ball;
    ball.Radius = 0.5f;
    ball.ViscosityPoise = 100;  // 10 Pa s
    EXPECT_NEAR(ball.TerminalSpeed(), 4.356f, 0.001f);
    for (int i = 0; i < 1000; ++i)
        ball.Step(0.001f);
    EXPECT_NEAR(ball.Speed, 4.356f, 0.001f) << "terminal within a second";
    ASSERT_GT(RunToBottom(ball), 0);
    EXPECT_NEAR(ball.GateTime, 60 / 4.356f, 0.02f);
    EXPECT_EQ(ball.BallDepth, 99.5f);

    Model standard;  // 1 cm, 2 Pa s
    EXPECT_NEAR(standard.TerminalSpeed(), 87.1f, 0.05f);
}

TEST(TerminalVelocityModel, TheGatesTimeOnlyTheStretchBetweenThem)
{
    Model ball;
    ball.Gate1 = 30;
    ball.Gate2 = 50;
    float timeAtBottomGate = -1;
    while (ball.Step(0.001f) == Model::Outcome::Moving) {
        if (ball.BallDepth <= ball.Gate1) {
            ASSERT_EQ(ball.GateTime, 0.0f) << "above the top gate, depth " << ball.BallDepth;
        }
        if (ball.BallDepth >= ball.Gate2 && timeAtBottomGate < 0)
            timeAtBottomGate = ball.GateTime;
    }
    EXPECT_EQ(ball.GateTime, timeAtBottomGate) << "held after the bottom gate";
    EXPECT_NEAR(ball.GateTime, 20 / ball.TerminalSpeed(), 0.002f);
}

TEST(TerminalVelocityModel, AGateStaysMoreThan3cmFromTheOther)
{
    struct Case {
        bool top;
        int asked;
        int expectedPosition;
        bool moves;
    };
    // Gates at 20 cm and 80 cm: limits 770 (top) and 230 (bottom).
    for (const Case& c :
         {Case{true, 769, 769, true}, Case{true, 770, 770, false}, Case{true, 900, 770, false},
          Case{false, 231, 231, true}, Case{false, 230, 230, false}, Case{false, 100, 230, false}}) {
        Model ball;
        int position = c.asked;
        const bool moved = c.top ? ball.MoveGate1(position) : ball.MoveGate2(position);
        EXPECT_EQ(moved, c.moves) << c.asked;
        EXPECT_EQ(position, c.expectedPosition) << c.asked;
        const float gate = c.top ? ball.Gate1 : ball.Gate2;
        EXPECT_FLOAT_EQ(gate, c.moves ? float(c.asked) * 0.1f : (c.top ? 20.0f : 80.0f)) << c.asked;
        EXPECT_GT(ball.Gate2 - ball.Gate1, 3.0f);
    }
}

// A new radius acts at once; a ball on the bottom stays on it, and a grown
// ball in mid-fall never reaches through it.
TEST(TerminalVelocityModel, ANewRadiusKeepsTheBallInTheTube)
{
    struct Case {
        float depth;
        float radius;
        float expectedDepth;
    };
    // Radius 1 before the change: 99 cm is on the bottom.
    for (const Case& c : {Case{99, 2, 98}, Case{99, 0.5f, 99.5f}, Case{98.5f, 2, 98},
                          Case{98.5f, 0.5f, 98.5f}, Case{0, 2, 0}}) {
        Model ball;
        ball.BallDepth = c.depth;
        ball.SetRadius(c.radius);
        EXPECT_EQ(ball.Radius, c.radius);
        EXPECT_FLOAT_EQ(ball.BallDepth, c.expectedDepth) << c.depth << " cm, r " << c.radius;
    }
}

// --- the form -------------------------------------------------------------

class TerminalVelocityForm : public test::AnimatedFormTest<TVelocityFrm> {
protected:
    TerminalVelocityForm() : AnimatedFormTest(QSize(840, 660)) {}
    // Runs until the ball has passed depth (cm), in ticks of 1/60 s.
    void AdvanceTo(float depth)
    {
        for (int i = 0; i < 10000 && form->Model().BallDepth < depth && form->Clock->Enabled(); ++i)
            Advance(1.0 / 60);
    }
    // Drags the slider of bar to position as the mouse does.
    static void Drag(QScrollBar* bar, int position)
    {
        bar->setSliderDown(true);
        bar->setSliderPosition(position);
        bar->setSliderDown(false);
    }
    // The stopwatch as the picture shows it, and as it must look for a text.
    test::StopwatchOnPicture Watch() const
    {
        return {40, 50, 20, 15, QStringLiteral("seconds"), form->Scale()};
    }
};

TEST_F(TerminalVelocityForm, ButtonsFollowTheRunThroughItsStates)
{
    EXPECT_EQ(form->Model().Gravity, 980.0f) << "exactly standard gravity until the first reset";
    ExpectButtons(true, false, false);

    Click(form->Buttons.StartBtn);
    EXPECT_EQ(form->State(), TRunState::Running);
    ExpectButtons(false, true, true);
    Advance(0.2);
    const float depth = form->Model().BallDepth;
    EXPECT_GT(depth, 5.0f);

    Click(form->Buttons.StopBtn);
    ExpectButtons(true, false, true);
    Advance(0.5);
    EXPECT_EQ(form->Model().BallDepth, depth) << "paused";

    Click(form->Buttons.StartBtn);
    Advance(2.0);
    EXPECT_EQ(form->State(), TRunState::Finished);
    ExpectButtons(false, false, true);
    EXPECT_FALSE(form->Clock->Enabled());
    EXPECT_EQ(form->Model().BallDepth, 99.0f);
    // Gates and settings stay live in every state.
    EXPECT_TRUE(form->Gate1Hsb->isEnabled());
    EXPECT_TRUE(form->Gate2Hsb->isEnabled());

    Click(form->Buttons.ResetBtn);
    ExpectButtons(true, false, false);
    EXPECT_EQ(form->Model().BallDepth, 0.0f);
    EXPECT_EQ(form->Model().Speed, 0.0f);
    EXPECT_EQ(form->Model().GateTime, 0.0f);
    EXPECT_NE(form->Model().Gravity, 980.0f) << "scattered at every reset";
    EXPECT_NEAR(form->Model().Gravity, 980.0f, 300.0f);
    const TFloatRect r = form->BallLayer->Location();
    EXPECT_NEAR((r.Top + r.Bottom) / 2, 4 * form->Scale(), 0.01f) << "back at the top";
}

TEST_F(TerminalVelocityForm, TheStopwatchRunsOnlyBetweenTheGates)
{
    form->RadiusSE->setValue(0.5);
    form->ViscositySE->setValue(10);
    EXPECT_EQ(form->Model().ViscosityPoise, 100.0f);
    Click(form->Buttons.StartBtn);

    AdvanceTo(19.9f);
    EXPECT_EQ(form->Model().GateTime, 0.0f);
    QImage before = Picture();
    EXPECT_EQ(Watch().On(before), Watch().Showing(QStringLiteral("0.000")));

    AdvanceTo(50);
    EXPECT_GT(form->Model().GateTime, 6.0f);

    AdvanceTo(101);
    ASSERT_EQ(form->State(), TRunState::Finished);
    const float total = form->Model().GateTime;
    EXPECT_NEAR(total, 60 / 4.356f, 0.05f) << "about 14 s over 60 cm";
    QImage after = Picture();
    test::SavePicture(after, QStringLiteral("termvel-slow-ball"));
    EXPECT_EQ(Watch().On(after), Watch().Showing(FormatSeconds(total)));
    EXPECT_EQ(FormatSeconds(total).size(), 6);  // "13.7xx"
}

TEST_F(TerminalVelocityForm, TheStopTakesEffectWithinTheTick)
{
    Click(form->Buttons.StartBtn);
    // One long tick: the ball lands inside it, and the fixed steps left in
    // that tick must not move it.
    Tick(3.0);
    EXPECT_EQ(form->State(), TRunState::Finished);
    EXPECT_EQ(form->Model().BallDepth, 99.0f);
    EXPECT_NEAR(form->Model().GateTime, 60 / form->Model().TerminalSpeed(), 0.01f);
}

TEST_F(TerminalVelocityForm, GatesSnapToTheirLimitsAsTheBarsMove)
{
    QScrollBar* top = form->Gate1Hsb;
    QScrollBar* bottom = form->Gate2Hsb;

    Drag(top, 760);
    EXPECT_FLOAT_EQ(form->Model().Gate1, 76.0f);
    EXPECT_EQ(top->value(), 760);
    Drag(top, 790);  // past the limit 770
    EXPECT_EQ(top->value(), 770);
    EXPECT_FLOAT_EQ(form->Model().Gate1, 76.0f) << "the gate stays";

    top->setValue(768);
    top->triggerAction(QAbstractSlider::SliderSingleStepAdd);  // 769
    EXPECT_FLOAT_EQ(form->Model().Gate1, 76.9f);
    top->triggerAction(QAbstractSlider::SliderPageStepAdd);  // 779: at the limit
    EXPECT_EQ(top->value(), 770);
    EXPECT_FLOAT_EQ(form->Model().Gate1, 76.9f);

    // Bottom gate: limit round((76.9 + 3) × 10) = 799.
    bottom->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(bottom->value(), 799);
    EXPECT_FLOAT_EQ(form->Model().Gate2, 80.0f);
    Drag(bottom, 850);
    EXPECT_FLOAT_EQ(form->Model().Gate2, 85.0f);
    Drag(bottom, 700);
    EXPECT_EQ(bottom->value(), 799);
    EXPECT_FLOAT_EQ(form->Model().Gate2, 85.0f);

    // The wheel moves a gate too, within the same limits.
    top->setValue(400);
    top->triggerAction(QAbstractSlider::SliderSingleStepSub);
    ASSERT_FLOAT_EQ(form->Model().Gate1, 39.9f);
    QWheelEvent wheel(QPointF(5, 5), top->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(top, &wheel);
    EXPECT_GT(top->value(), 399);
    EXPECT_FLOAT_EQ(form->Model().Gate1, float(top->value()) * 0.1f);

    // The background follows the gate: its housing stands at the new level.
    const float s = form->Scale();
    const QImage picture = Picture();
    EXPECT_EQ(picture.pixel(Round(13 * s), Round((4 + 85.0f) * s)), 0xFFBFBFBFu);
    EXPECT_EQ(picture.pixel(Round(13 * s), Round((4 + 80.0f) * s)), 0xFFFFFFFFu);
}

TEST_F(TerminalVelocityForm, EachRepaintShowsEverythingThatChanged)
{
    ShownPicture();
    Click(form->Buttons.StartBtn);
    EXPECT_GT(ExpectEachTickShowsTheWholeChange(3), 20);
    Click(form->Buttons.StopBtn);
    EXPECT_EQ(ShownPicture(), Picture());
    Click(form->Buttons.StartBtn);
    ExpectEachTickShowsTheWholeChange(120);
    EXPECT_FALSE(form->Clock->Enabled());  // on the bottom
    Click(form->Buttons.ResetBtn);
    EXPECT_EQ(ShownPicture(), Picture());
}

TEST_F(TerminalVelocityForm, ResizingDuringARunKeepsTheBallMoving)
{
    Click(form->Buttons.StartBtn);
    Advance(0.3);
    const float depth = form->Model().BallDepth;
    form->resize(420, 320);
    QApplication::processEvents();
    EXPECT_TRUE(form->Clock->Enabled());
    Advance(0.05);
    EXPECT_GT(form->Model().BallDepth, depth + 3);
    const TFloatRect r = form->BallLayer->Location();
    EXPECT_NEAR((r.Top + r.Bottom) / 2, (4 + form->Model().BallDepth) * form->Scale(), 1.0f);
}

TEST_F(TerminalVelocityForm, TheBallLayerOnlyMovesDownWithinARun)
{
    Click(form->Buttons.StartBtn);
    float lastTop = form->BallLayer->Location().Top;
    for (int i = 0; i < 30; ++i) {
        Advance(1.0 / 60);
        const float top = form->BallLayer->Location().Top;
        EXPECT_GE(top, lastTop);
        lastTop = top;
    }
    EXPECT_GT(lastTop, 20 * form->Scale());
}

// During a run the background (rule, gates, wires, lenses) is not drawn again.
TEST_F(TerminalVelocityForm, ARunNeverRedrawsTheBackground)
{
    int backgroundChanges = 0;
    TBitmap32& background = form->Pic()->Bitmap();
    const int listener = background.AddChangeListener([&] { ++backgroundChanges; });
    Click(form->Buttons.StartBtn);
    Advance(3.0);
    background.RemoveChangeListener(listener);
    EXPECT_EQ(form->State(), TRunState::Finished);
    EXPECT_EQ(backgroundChanges, 0);
}

TEST_F(TerminalVelocityForm, ABallOnATinyPictureIsStillThreePixelsRound)
{
    form->RadiusSE->setValue(0.5);
    form->resize(160, 110);
    QApplication::processEvents();
    ASSERT_LT(form->Scale() * 0.5f, 1.0f);
    const TFloatRect r = form->BallLayer->Location();
    EXPECT_FLOAT_EQ(r.Right - r.Left, 6.0f);
    const QImage picture = Picture();
    test::SavePicture(picture, QStringLiteral("termvel-tiny"));
    EXPECT_EQ(picture.pixel(Round((r.Left + r.Right) / 2), Round((r.Top + r.Bottom) / 2)), 0xFFFF0000u);
}

TEST_F(TerminalVelocityForm, TheLiquidIsTranslucentOverTheBall)
{
    const float s = form->Scale();
    const int x = Round(20 * s);
    // At the start the ball sits above the liquid, which begins 2 cm down.
    EXPECT_EQ(Picture().pixel(x, Round(4 * s)), 0xFFFF0000u);

    Click(form->Buttons.StartBtn);
    AdvanceTo(30);
    const TFloatRect r = form->BallLayer->Location();
    const QImage picture = Picture();
    TBitmap32 reference(2, 1);
    reference.FillRect(0, 0, 1, 1, 0xFFFF0000);
    reference.FillRect(1, 0, 2, 1, clWhite32);
    reference.BlendRect(0, 0, 2, 1, 0x7FD6EAFF);
    const TColor32 tintedBall = reference.Pixel(0, 0) | 0xFF000000u;
    const TColor32 liquid = reference.Pixel(1, 0) | 0xFF000000u;
    EXPECT_NE(tintedBall, 0xFFFF0000u);
    EXPECT_EQ(picture.pixel(x, Round((r.Top + r.Bottom) / 2)), tintedBall);
    EXPECT_EQ(picture.pixel(x, Round(r.Bottom + 2 * s)), liquid);
    EXPECT_EQ(picture.pixel(Round(15 * s), Round(60 * s)), 0xFF000000u) << "tube wall";
}

TEST_F(TerminalVelocityForm, TheGateMagnifierReadsTheGateOnItsCentreLine)
{
    const float s = form->Scale();
    const float size = 30 * s, m = size / 30;
    const int left = Round(42 * s), top = Round(4 * s);
    const int cx = Round(42 * s + size / 2), cy = Round(4 * s + size / 2);
    const int cmTick = Round(0.15f * size), halfTick = Round(0.1f * size), mmTick = Round(0.05f * size);

    QImage at20 = Picture();
    test::SavePicture(at20.copy(left - 4, top - 4, Round(size) + 8, Round(size) + 8)
                          .scaled(2 * Round(size) + 16, 2 * Round(size) + 16),
                      QStringLiteral("termvel-gate-lens"));
    EXPECT_EQ(test::TickLengthAt(at20, cx - 1, cy), cmTick);
    EXPECT_EQ(test::TickLengthAt(at20, cx - 1, cy + Round(10 * m)), cmTick) << "21 one centimetre down";
    EXPECT_EQ(at20.pixel(Round(1.01f * float(cx)) + 3, cy), 0xFF007F00u) << "the magnified beam";
    // The label "20" sits left of its tick, centred on the line.
    bool labelInk = false;
    for (int x = cx - Round(0.17f * size) - Round(3 * m); x < cx - Round(0.17f * size); ++x)
        labelInk = labelInk || at20.pixel(x, cy) == 0xFF000000u;
    EXPECT_TRUE(labelInk);
    // Corners outside the circle are white; the rim is a dark ring.
    EXPECT_EQ(at20.pixel(left + 2, top + 2), 0xFFFFFFFFu);
    EXPECT_EQ(at20.pixel(left + Round(size) - 3, top + Round(size) - 3), 0xFFFFFFFFu);
    EXPECT_EQ(at20.pixel(cx - 3, cy - Round(size / 2) + 4), 0xFFFFFF80u) << "strip inside the lens";
    EXPECT_EQ(at20.pixel(Trunc(float(cx) - size / 2), cy), 0xFF3F3F3Fu) << "rim";
    EXPECT_EQ(at20.pixel(cx, Trunc(float(cy) + size / 2)), 0xFF3F3F3Fu) << "rim";

    form->Gate1Hsb->setValue(300);
    form->Gate1Hsb->triggerAction(QAbstractSlider::SliderSingleStepAdd);  // 30.1 cm
    for (int i = 0; i < 4; ++i)
        form->Gate1Hsb->triggerAction(QAbstractSlider::SliderSingleStepAdd);  // 30.5 cm
    QImage at305 = Picture();
    EXPECT_EQ(test::TickLengthAt(at305, cx - 1, cy), halfTick);
    form->Gate1Hsb->triggerAction(QAbstractSlider::SliderSingleStepAdd);  // 30.6 cm
    form->Gate1Hsb->triggerAction(QAbstractSlider::SliderSingleStepAdd);  // 30.7 cm
    QImage at307 = Picture();
    EXPECT_FLOAT_EQ(form->Model().Gate1, 30.7f);
    EXPECT_EQ(test::TickLengthAt(at307, cx - 1, cy), mmTick);
    EXPECT_EQ(test::TickLengthAt(at307, cx - 1, cy + Round(3 * m)), cmTick) << "31 three millimetres down";
    EXPECT_EQ(test::TickLengthAt(at307, cx - 1, cy - Round(2 * m)), halfTick) << "30.5 two millimetres up";
}

TEST_F(TerminalVelocityForm, ABallOnTheBottomTakesANewRadiusThere)
{
    Click(form->Buttons.StartBtn);
    Tick(3.0);
    ASSERT_EQ(form->State(), TRunState::Finished);
    const float s = form->Scale();
    for (double radius : {2.0, 0.5}) {
        form->RadiusSE->setValue(radius);
        EXPECT_FLOAT_EQ(form->Model().BallDepth, 100 - float(radius));
        EXPECT_NEAR(form->BallLayer->Location().Bottom, 104 * s, 0.5f)
            << "resting on the bottom, r " << radius;
    }
    EXPECT_EQ(form->State(), TRunState::Finished);
}

// The gates move from the keyboard within the same limits as with the mouse.
TEST_F(TerminalVelocityForm, TheGateBarsWorkFromTheKeyboard)
{
    QScrollBar* top = form->Gate1Hsb;
    EXPECT_NE(top->focusPolicy() & Qt::TabFocus, 0);
    EXPECT_NE(form->Gate2Hsb->focusPolicy() & Qt::TabFocus, 0);
    EXPECT_EQ(form->Gate2Hsb->toolTip(), QStringLiteral("Move the bottom light gate"));
    auto press = [top](int key) { test::KeyPress(top, key); };
    press(Qt::Key_Down);
    EXPECT_FLOAT_EQ(form->Model().Gate1, 20.1f);
    press(Qt::Key_PageDown);
    EXPECT_FLOAT_EQ(form->Model().Gate1, 21.1f) << "a page is 1 cm";
    press(Qt::Key_End);
    EXPECT_EQ(top->value(), 770) << "held at 3 cm above the bottom gate";
    EXPECT_FLOAT_EQ(form->Model().Gate1, 21.1f);
    press(Qt::Key_Home);
    EXPECT_FLOAT_EQ(form->Model().Gate1, 10.0f);
}

}  // namespace
}  // namespace brv
