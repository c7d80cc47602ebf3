// Car stopping distances: the model on its numbers, the form driven with its
// clock stepped by hand and the mouse as a pupil uses it, and the close-up's
// scales read on real pixels.
#include "experiments/physics/uCar.h"

#include "common/CadencerEx.h"
#include "runtime/AddMaths.h"
#include "runtime/Image32.h"
#include "support/AnimatedFormTest.h"
#include "support/FormContract.h"
#include "support/MouseDrive.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QScrollBar>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace brv {
namespace {

const bool kContract = test::RegisterFormTraits([] {
    test::TFormTraits t;
    t.id = ids::Car;
    t.name = "Car";
    // The table's 40 and 50 pixels are too narrow for "25 º" and its arrows
    // here: the kit widens the spin edit to its widest value.
    t.spins = {{"RampSE", 0, 25, 15}};
    // From the default start the car runs some 0.6 s; the whole picture
    // is drawn again as it goes, there being no layer for it.
    t.runSeconds = 0.3;
    t.runMovesOnlyLayers = false;
    return t;
}());

using Model = TCarModel;

float Degrees(float radians)
{
    return radians * 180 / std::numbers::pi_v<float>;
}

TEST(CarModel, StoppingDistancesBeforeTheScatter)
{
    struct Case {
        int angle;
        float start;
        float distance;
    };
    for (const Case& c : {Case{15, 15, 46.2f},  // the defaults: H ≈ 4.02, B ≈ 3.14
                          Case{25, 0, 191.6f},  // the longest run
                          Case{15, 25, 6.4f},   // front wheel already on the floor
                          Case{10, 0, 60.9f}}) {
        SCOPED_TRACE(::testing::Message() << c.angle << "°, from " << c.start);
        EXPECT_NEAR(Model::MeanStoppingDistance(c.angle, c.start), c.distance, 0.1f);
    }
    EXPECT_NEAR(Model::ReleaseHeight(15, 15), 4.019f, 0.001f);
}

TEST(CarModel, NoDistanceWhereTheCarCannotRoll)
{
    for (int angle : {0, 1, 2, 3})
        for (float start : {0.0f, 15.0f, 29.9f})
            EXPECT_EQ(Model::MeanStoppingDistance(angle, start), 0.0f) << angle << "°, from " << start;
    for (int angle : {3, 15, 25}) {
        // From the foot itself there is no height to fall from.
        EXPECT_EQ(Model::MeanStoppingDistance(angle, 30), 0.0f) << angle;
        EXPECT_EQ(Model::StoppingDistance(angle, 30), 0.0f) << angle;
    }
    // Just above the foot the centre of mass hardly falls: nothing either.
    EXPECT_EQ(Model::MeanStoppingDistance(15, 29.5f), 0.0f);
}

TEST(CarModel, TheScatterIsATenthAndNeverNegative)
{
    SetRandomState(12345);
    const float mean = Model::MeanStoppingDistance(15, 15);
    double sum = 0, squares = 0;
    constexpr int n = 4000;
    for (int i = 0; i < n; ++i) {
        const float d = Model::StoppingDistance(15, 15);
        ASSERT_GE(d, 0.0f);
        sum += d;
        squares += double(d) * d;
    }
    const double m = sum / n;
    EXPECT_NEAR(m, mean, 0.01 * mean);
    EXPECT_NEAR(std::sqrt(squares / n - m * m), 0.1 * mean, 0.01 * mean);
}

TEST(CarModel, TheCarMovesAHundredUnitsASecondAndStopsAtItsEnd)
{
    Model car;
    car.CarPos = 15;
    car.EndPos = 40.5f;
    int steps = 0;
    while (!car.Step(0.01f))
        ASSERT_LT(++steps, 1000);
    EXPECT_EQ(steps, 25);
    EXPECT_EQ(car.CarPos, 40.5f);
}

// Up the ramp the overview moves the car two units per position unit; from
// 25 its front wheel is on the floor and it leans by arcsin(H/5); past the
// foot it is level and moves one unit per position unit.
TEST(CarModel, ThePlacementAlongTheTrack)
{
    const float tan15 = std::tan(Model::Radians(15));
    const TCarPlacement onRamp = Model::Placement(15, 20);
    EXPECT_NEAR(Degrees(onRamp.Tilt), 15, 1e-4);
    EXPECT_FLOAT_EQ(onRamp.PivotX, 50);
    EXPECT_NEAR(onRamp.PivotY, 195 - 20 * tan15, 1e-4);
    EXPECT_NEAR(onRamp.Height, 10 * tan15, 1e-5);

    for (float pos : {25.0f, 27.5f, 29.9f}) {
        const TCarPlacement p = Model::Placement(15, pos);
        const float h = (30 - pos) * tan15;
        EXPECT_NEAR(p.Tilt, std::asin(h / 5), 1e-5) << pos;
        EXPECT_NEAR(p.PivotX, 70 - 2 * (30 - pos), 1e-4) << pos;
        EXPECT_NEAR(p.PivotY, 195 - 2 * h, 1e-4) << pos;
    }
    EXPECT_GT(Degrees(Model::Placement(15, 25).Tilt), 15) << "steeper than the ramp at the foot";

    for (float pos : {30.0f, 31.0f, 76.0f}) {
        const TCarPlacement p = Model::Placement(15, pos);
        EXPECT_EQ(p.Tilt, 0.0f);
        EXPECT_EQ(p.Height, 0.0f);
        EXPECT_FLOAT_EQ(p.PivotX, pos + 40);
        EXPECT_EQ(p.PivotY, 195.0f);
    }
}

// --- the form -------------------------------------------------------------

class CarForm : public test::AnimatedFormTest<TCarFrm> {
protected:
    CarForm() : AnimatedFormTest(QSize(800, 600)) {}
    void TearDown() override
    {
        // A form destroyed mid-drag must leave no grab behind for the next test.
        AnimatedFormTest::TearDown();
        EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    }
    QWidget* Pic() { return form->Pic(); }
    // The pointer moved over the picture with no button down.
    void Hover(QPoint p) { test::MouseMove(Pic(), p); }
    // Control pixels of a picture pixel (the test picture has one per pixel).
    QPoint At(int x, int y) { return {x, y}; }
    QPoint CloseUpCentre()
    {
        const TRect w = form->CloseUpRect();
        return {(w.Left + w.Right) / 2, (w.Top + w.Bottom) / 2};
    }
    // Runs until the car has passed pos, in ticks of 1/60 s.
    void AdvanceTo(float pos)
    {
        for (int i = 0; i < 1000 && form->Model().CarPos < pos && form->Clock->Enabled(); ++i)
            Advance(1.0 / 60);
    }
    int CountIn(const QImage& picture, const TRect& r, QRgb colour)
    {
        int n = 0;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                n += picture.pixel(x, y) == colour;
        return n;
    }
    float X() { return 120 * form->Scale(); }
    float Y() { return 100 * form->Scale(); }
};

TEST_F(CarForm, StartDoesNothingBelowThreeDegrees)
{
    for (int angle : {0, 1, 2}) {
        form->RampSE->setValue(angle);
        Click(form->Buttons.StartBtn);
        EXPECT_EQ(form->State(), TRunState::Ready) << angle;
        EXPECT_FALSE(form->Clock->Enabled());
        ExpectButtons(true, false, false);
    }
    // At 3° the car rolls, and stops at the foot of the ramp.
    form->RampSE->setValue(3);
    Click(form->Buttons.StartBtn);
    EXPECT_EQ(form->State(), TRunState::Running);
    EXPECT_EQ(form->Model().EndPos, 30.0f);
    Advance(1);
    EXPECT_EQ(form->State(), TRunState::Finished);
    EXPECT_EQ(form->Model().CarPos, 30.0f);
}

TEST_F(CarForm, ButtonsAndControlsFollowTheRun)
{
    ExpectButtons(true, false, false);
    EXPECT_EQ(form->Model().CarPos, 15.0f);
    Click(form->Buttons.StartBtn);
    ExpectButtons(false, true, false);
    EXPECT_FALSE(form->RampSE->isEnabled());
    EXPECT_FALSE(form->CarHsb->isEnabled());
    Advance(0.1);
    const float pos = form->Model().CarPos;
    EXPECT_NEAR(pos, 25, 1.01f) << "100 units a second, a unit a step";

    Click(form->Buttons.StopBtn);
    ExpectButtons(false, false, true);  // a stopped car cannot go on
    Advance(0.5);
    EXPECT_EQ(form->Model().CarPos, pos);

    Click(form->Buttons.ResetBtn);
    ExpectButtons(true, false, false);
    EXPECT_TRUE(form->RampSE->isEnabled());
    EXPECT_TRUE(form->CarHsb->isEnabled());
    EXPECT_EQ(form->Model().CarPos, 15.0f);

    form->CarHsb->setValue(0);
    EXPECT_EQ(form->Model().CarPos, 0.0f);
    Click(form->Buttons.StartBtn);
    Advance(3);
    EXPECT_EQ(form->State(), TRunState::Finished);
    ExpectButtons(false, false, true);
    EXPECT_EQ(form->Model().CarPos, form->Model().EndPos);
    EXPECT_NEAR(form->Model().EndPos - 30, Model::MeanStoppingDistance(15, 0), 0.4 * 105);
}

TEST_F(CarForm, FromTheFootTheCarDoesNotMove)
{
    form->CarHsb->setValue(300);
    Click(form->Buttons.StartBtn);
    Advance(0.1);
    EXPECT_EQ(form->State(), TRunState::Finished);
    EXPECT_EQ(form->Model().CarPos, 30.0f);
}

// The car has no layer: the picture is drawn again whenever, and only when,
// it reaches a new pixel column.
TEST_F(CarForm, ThePictureIsDrawnAgainOncePerPixelTheCarAdvances)
{
    form->resize(200, 150);  // under a pixel per unit: not every step moves the car a pixel
    QApplication::processEvents();
    const float s = form->Scale();
    ASSERT_LT(s, 1.0f);
    // The column the car is in at each full redraw.
    std::vector<int> columns;
    const int listener =
        form->Pic()->Bitmap().AddChangeListener([&] { columns.push_back(Round(form->Model().CarPos * s)); });
    Click(form->Buttons.StartBtn);
    const int first = Round(form->Model().CarPos * s);
    int steps = 0;
    while (form->Clock->Enabled() && steps < 1000) {
        Tick(0.01);
        ++steps;
    }
    form->Pic()->Bitmap().RemoveChangeListener(listener);
    ASSERT_EQ(form->State(), TRunState::Finished);
    const int last = Round(form->Model().EndPos * s);
    ASSERT_FALSE(columns.empty());
    EXPECT_EQ(columns.back(), last) << "drawn where it stopped";
    EXPECT_LT(int(columns.size()), steps) << "not every step";
    // Every column from the start to the end once (the end perhaps twice:
    // the car reaches it, then stops there).
    if (columns.size() >= 2 && columns[columns.size() - 2] == last)
        columns.pop_back();
    ASSERT_EQ(int(columns.size()), last - first);
    for (std::size_t i = 0; i < columns.size(); ++i)
        EXPECT_EQ(columns[i], first + 1 + int(i));
}

// The level of the pivot reads the height of the rear wheel's contact point:
// the whole centimetre below it lies frac(H) cm lower and has a long tick.
TEST_F(CarForm, TheHeightScaleReadsTheReleaseHeightAtThePivot)
{
    const float z = form->ZoomScale();
    const TRect w = form->CloseUpRect();
    const int right = w.Left + Round(1.5f * z);
    for (int position : {150, 80, 0}) {
        form->CarHsb->setValue(position);
        const float h = Model::ReleaseHeight(15, float(position) * 0.1f);
        const QImage picture = Picture();
        const int whole = Round(Y() + (h - std::trunc(h)) * z);
        const int quarter = Round(Y() + (h - std::trunc(h) - 0.5f) * z);
        SCOPED_TRACE(::testing::Message() << "H = " << h);
        EXPECT_EQ(picture.pixel(right - Round(0.8f * z) + 1, whole), 0xFF000000u) << "long tick";
        EXPECT_EQ(picture.pixel(right - Round(0.8f * z) + 1, quarter), 0xFFFFFF80u)
            << "a half tick is shorter";
        EXPECT_EQ(picture.pixel(right - Round(0.4f * z) + 1, quarter), 0xFF000000u) << "half tick";
    }
    test::SavePicture(Picture(), QStringLiteral("car-top-of-ramp"));
}

TEST_F(CarForm, TheDistanceScaleAppearsNearTheFootAndTheRampGoesPastIt)
{
    const TRect w = form->CloseUpRect();
    const float z = form->ZoomScale();
    // Right of the foot, under the floor of the close-up.
    const auto underFloor = [&](float pos) {
        const int floor = Round(Y() + Model::ReleaseHeight(15, pos) * z);
        return TRect{w.Right - Round(0.5f * z), floor + 3, w.Right - 2, floor + Round(z)};
    };
    form->CarHsb->setValue(220);
    EXPECT_EQ(CountIn(Picture(), underFloor(22), 0xFFFFFF80u), 0) << "no distance scale at 22";
    form->CarHsb->setValue(230);
    EXPECT_GT(CountIn(Picture(), underFloor(23), 0xFFFFFF80u), 0) << "the distance scale at 23";

    // Left of the car, above the floor: the ramp while the foot is near.
    const TRect behind{w.Left + Round(1.5f * z) + 2, w.Top + 1, Round(X() - 2 * z), Round(Y())};
    EXPECT_GT(CountIn(Picture(), behind, 0xFFBFBFBFu), 0) << "the ramp in the close-up";
    Click(form->Buttons.StartBtn);
    AdvanceTo(32);
    Click(form->Buttons.StopBtn);
    ASSERT_GE(form->Model().CarPos, 32.0f);
    const QImage flat = Picture();
    test::SavePicture(flat, QStringLiteral("car-past-the-foot"));
    EXPECT_EQ(CountIn(flat, behind, 0xFFBFBFBFu), 0) << "flat ground only";
    EXPECT_EQ(flat.pixel(w.Right - 3, Round(Y())), 0xFF000000u) << "the floor";

    // The pivot reads the distance past the foot: trunc(d) lies frac(d) cm
    // to its left, with a long tick hanging from the strip's top.
    const float d = form->Model().CarPos - 30;
    const int x = Round(X() - (d - std::trunc(d)) * z);
    EXPECT_EQ(flat.pixel(x, Round(Y()) + Round(0.8f * z) - 2), 0xFF000000u);
    EXPECT_EQ(flat.pixel(Round(X() - (d - std::trunc(d) + 0.3f) * z), Round(Y()) + Round(0.4f * z) + 2),
              0xFFFFFF80u)
        << "a minor tick is short";
}

// The small car stands on the overview's ramp, twice the floor's scale, and
// past the foot on the floor.
TEST_F(CarForm, TheOverviewCarFollowsTheTrack)
{
    const float s = form->Scale();
    // A point of the body under the middle window, (2.4, 2.6) in car units
    // of 2s pixels, turned with the car.
    const auto body = [&](const TCarPlacement& p) {
        const float c = std::cos(-p.Tilt), sn = std::sin(-p.Tilt);
        const float x = p.PivotX * s + (2.4f * c - 2.6f * sn) * 2 * s;
        const float y = p.PivotY * s - (2.4f * sn + 2.6f * c) * 2 * s;
        return Picture().pixel(Round(x), Round(y));
    };
    EXPECT_EQ(body(Model::Placement(15, 15)), 0xFF299EEDu);
    form->CarHsb->setValue(270);
    EXPECT_EQ(body(Model::Placement(15, 27)), 0xFF299EEDu) << "crossing the foot";
    form->CarHsb->setValue(150);
    Click(form->Buttons.StartBtn);
    Advance(2);
    ASSERT_EQ(form->State(), TRunState::Finished);
    const TCarPlacement atEnd = Model::Placement(15, form->Model().CarPos);
    EXPECT_EQ(atEnd.PivotY, 195.0f);
    EXPECT_EQ(body(atEnd), 0xFF299EEDu);
    test::SavePicture(Picture(), QStringLiteral("car-stopped"));
}

// --- the cross-hairs ----------------------------------------------------------

TEST_F(CarForm, CrossHairsFollowTheHeldMouseInsideTheCloseUp)
{
    const TRect w = form->CloseUpRect();
    const QPoint c = CloseUpCentre();
    Hover(At(c.x(), c.y()));
    EXPECT_EQ(Pic()->cursor().shape(), Qt::PointingHandCursor);
    Hover(At(w.Left - 5, c.y()));
    EXPECT_EQ(Pic()->cursor().shape(), Qt::ArrowCursor);

    QTest::mousePress(Pic(), Qt::LeftButton, {}, At(c.x(), c.y()));
    EXPECT_TRUE(form->CrossHeld());
    EXPECT_TRUE(form->PointerTrapped());
    EXPECT_EQ(QWidget::mouseGrabber(), Pic());
    QImage held = Picture();
    EXPECT_EQ(held.pixel(w.Left + 3, c.y()), 0xFFFF0000u);
    EXPECT_EQ(held.pixel(c.x(), w.Bottom - 3), 0xFFFF0000u);

    QTest::mouseMove(Pic(), At(c.x() + 7, c.y() - 9));
    EXPECT_EQ(form->Cross().X, c.x() + 7);
    EXPECT_EQ(form->Cross().Y, c.y() - 9);
    EXPECT_EQ(ShownPicture().pixel(w.Right - 3, c.y() - 9), 0xFFFF0000u) << "repainted where it moved";

    // Dragged out of the close-up: the cross-hairs stay on its edge and the
    // pointer is put back inside.
    const QPoint outside = At(w.Right + 40, w.Bottom + 40);
    QCursor::setPos(Pic()->mapToGlobal(outside));  // where the pupil's hand took it
    ASSERT_EQ(Pic()->mapFromGlobal(QCursor::pos()), outside);
    QTest::mouseMove(Pic(), outside);
    EXPECT_EQ(form->Cross().X, w.Right - 1);
    EXPECT_EQ(form->Cross().Y, w.Bottom - 1);
    const QPoint pointer = Pic()->mapFromGlobal(QCursor::pos());
    EXPECT_LT(pointer.x(), w.Right);
    EXPECT_LT(pointer.y(), w.Bottom);

    QTest::mouseRelease(Pic(), Qt::LeftButton, {}, At(c.x(), c.y()));
    EXPECT_FALSE(form->CrossHeld());
    EXPECT_FALSE(form->PointerTrapped());
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    EXPECT_FALSE(form->CrossLayer->Visible());
    EXPECT_NE(Picture().pixel(w.Left + 3, c.y()), 0xFFFF0000u);
}

TEST_F(CarForm, APressOutsideTheCloseUpTrapsNothing)
{
    const TRect w = form->CloseUpRect();
    QTest::mousePress(Pic(), Qt::LeftButton, {}, At(w.Right + 5, w.Top + 5));
    EXPECT_FALSE(form->CrossHeld());
    EXPECT_FALSE(form->PointerTrapped());
    EXPECT_NE(QWidget::mouseGrabber(), Pic());
    QTest::mouseRelease(Pic(), Qt::LeftButton, {}, At(w.Right + 5, w.Top + 5));
}

TEST_F(CarForm, CrossHairsWorkWhileTheCarMoves)
{
    Click(form->Buttons.StartBtn);
    const QPoint c = CloseUpCentre();
    QTest::mousePress(Pic(), Qt::LeftButton, {}, At(c.x(), c.y()));
    Advance(0.2);
    EXPECT_TRUE(form->CrossHeld());
    EXPECT_EQ(Picture().pixel(c.x(), form->CloseUpRect().Top + 3), 0xFFFF0000u);
    QTest::mouseRelease(Pic(), Qt::LeftButton, {}, At(c.x(), c.y()));
    EXPECT_FALSE(form->PointerTrapped());
}

// The pointer goes free however the drag ends, not only on button up.
TEST_F(CarForm, ThePointerGoesFreeWhenTheWindowLosesTheFocus)
{
    const QPoint c = CloseUpCentre();
    QTest::mousePress(Pic(), Qt::LeftButton, {}, At(c.x(), c.y()));
    ASSERT_TRUE(form->PointerTrapped());
    QEvent deactivate(QEvent::WindowDeactivate);
    QApplication::sendEvent(form->window(), &deactivate);
    EXPECT_FALSE(form->PointerTrapped());
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    EXPECT_FALSE(form->CrossHeld());
    EXPECT_FALSE(form->CrossLayer->Visible());
    // The button comes up later, somewhere else: nothing more to do.
    QTest::mouseRelease(Pic(), Qt::LeftButton, {}, At(c.x(), c.y()));
    EXPECT_FALSE(form->PointerTrapped());
}

TEST_F(CarForm, ThePointerGoesFreeWhenTheFormIsHiddenOrReplaced)
{
    const QPoint c = CloseUpCentre();
    QTest::mousePress(Pic(), Qt::LeftButton, {}, At(c.x(), c.y()));
    ASSERT_TRUE(form->PointerTrapped());
    form->hide();
    EXPECT_FALSE(form->PointerTrapped());
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);

    form->show();
    QApplication::processEvents();
    QTest::mousePress(Pic(), Qt::LeftButton, {}, At(c.x(), c.y()));
    ASSERT_EQ(QWidget::mouseGrabber(), Pic());
    // Replaced mid-drag: the host destroys the form.
    form.reset();
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
}

}  // namespace
}  // namespace brv
