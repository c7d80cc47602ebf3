// Friction: the model on its numbers, the form driven through its scroll bar
// and toolbar as a pupil drives it, and the balance and its lens read on
// real pixels.
#include "experiments/physics/uFriction.h"

#include "runtime/AddMaths.h"
#include "runtime/Image32.h"
#include "support/FormContract.h"
#include "support/FormHostTest.h"
#include "support/MouseDrive.h"
#include "support/Sampling.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

namespace brv {
namespace {

const bool kContract = test::RegisterFormTraits([] {
    test::TFormTraits t;
    t.id = ids::Friction;
    t.name = "Friction";
    // The area's small width, 60 pixels, is too narrow for "100 cm²" and its
    // arrows here: the kit widens it to its widest value.
    t.spins = {{"WtsSpinEd", 0, 10, 3, 70, 100}, {"AreaSpinEd", 50, 100, 50, 0, 90}};
    return t;
}());

using Model = TFrictionModel;

// The medium surface with 3 N added and no offset: Fmax = 3.5 × 0.52 = 1.82 N.
Model Medium3N()
{
    Model m;
    m.FrictionOffset = 0;
    return m;
}

TEST(FrictionModel, TheReadingClimbsSlipsAndClimbsAgain)
{
    Model m = Medium3N();
    EXPECT_FLOAT_EQ(m.LimitingFriction(), 1.82f);
    for (int p = 1; p <= 18; ++p) {
        m.PullTo(float(p) * 0.1f);
        EXPECT_NEAR(m.BalanceReading, p * 0.1, 1e-5) << "hand at " << p * 0.1;
        EXPECT_EQ(m.BlockShift, 0.0f);
    }
    struct Step {
        int hand;
        double reading;
        double shift;
    };
    for (const Step& s :
         {Step{19, 1.536, 0.364}, Step{20, 1.636, 0.364}, Step{21, 1.736, 0.364}, Step{22, 1.472, 0.728}}) {
        m.PullTo(float(s.hand) * 0.1f);
        EXPECT_NEAR(m.BalanceReading, s.reading, 1e-5) << "hand at " << s.hand * 0.1;
        EXPECT_NEAR(m.BlockShift, s.shift, 1e-5);
        EXPECT_EQ(m.HandPosition(), s.hand);
    }
}

TEST(FrictionModel, OneSlipPerPull)
{
    Model m = Medium3N();
    EXPECT_EQ(m.MoveHand(50), 50);  // 5 N at once
    EXPECT_NEAR(m.BlockShift, 0.364, 1e-5);
    EXPECT_NEAR(m.BalanceReading, 5 - 0.364, 1e-5) << "still above the limit until the next pull";
    m.MoveHand(51);
    EXPECT_NEAR(m.BlockShift, 0.728, 1e-5);
    EXPECT_NEAR(m.BalanceReading, 5.1 - 0.728, 1e-5);
}

TEST(FrictionModel, TheLimitingFrictionNeverFallsBelowAFifthOfANewton)
{
    Model m;
    m.Surface = 0;
    m.Mu = Model::SurfaceMu[0];
    m.WeightCount = 0;
    m.FrictionOffset = -0.2f;  // 0.125 − 0.2 < 0.2
    EXPECT_EQ(m.LimitingFriction(), 0.2f);
    m.FrictionOffset = 0.1f;
    EXPECT_FLOAT_EQ(m.LimitingFriction(), 0.225f);
    m.WeightCount = 10;
    m.Mu = Model::SurfaceMu[2];
    EXPECT_FLOAT_EQ(m.LimitingFriction(), 10.5f * 0.81f + 0.1f);
}

TEST(FrictionModel, TheHandNeverMovesBack)
{
    Model m = Medium3N();
    EXPECT_EQ(m.MoveHand(12), 12);
    EXPECT_EQ(m.MoveHand(5), 12);
    EXPECT_EQ(m.MoveHand(12), 12);
    EXPECT_NEAR(m.BalanceReading, 1.2, 1e-5);
}

TEST(FrictionModel, TheAreaSetsTheLengthOnly)
{
    EXPECT_EQ(Model::BlockLengthFor(50), 5.0f);
    EXPECT_FLOAT_EQ(Model::BlockLengthFor(70), 6.0f);
    EXPECT_EQ(Model::BlockLengthFor(100), 7.5f);
    EXPECT_EQ(Model::BlockLengthFor(120), 7.5f);
    Model a = Medium3N(), b = Medium3N();
    b.BlockLength = 7.5f;
    EXPECT_EQ(a.LimitingFriction(), b.LimitingFriction());
}

TEST(FrictionModel, EachResetIsAFreshPartOfTheBench)
{
    SetRandomState(4242);
    Model m = Medium3N();
    m.MoveHand(30);
    m.Reset();
    EXPECT_EQ(m.BalanceReading, 0.0f);
    EXPECT_EQ(m.BlockShift, 0.0f);
    EXPECT_NE(m.FrictionOffset, 0.0f);
    const test::Sample offsets = test::SampleOf(4000, [] { return Model::NewOffset(); });
    EXPECT_NEAR(offsets.mean, 0, 0.02);
    EXPECT_NEAR(offsets.rms, 0.3, 0.015);
}

// --- the form -------------------------------------------------------------

class FrictionForm : public test::FormHostTest<TFrictionFrm> {
protected:
    FrictionForm() : FormHostTest(QSize(800, 600)) {}
    void SetUp() override
    {
        FormHostTest::SetUp();
        listener_ = form->Pic()->Bitmap().AddChangeListener([this] { ++redraws; });
    }
    void TearDown() override
    {
        form->Pic()->Bitmap().RemoveChangeListener(listener_);
        FormHostTest::TearDown();
    }
    // One click on the bar's right (or left) arrow, as the mouse gives it.
    void Step(int n, QAbstractSlider::SliderAction action = QAbstractSlider::SliderSingleStepAdd)
    {
        for (int i = 0; i < n; ++i)
            form->ForceHsb->triggerAction(action);
    }
    // A key pressed and let go on the force bar.
    void Press(int key) { test::KeyClick(form->ForceHsb, key); }
    int redraws = 0;

private:
    int listener_ = 0;
};

TEST_F(FrictionForm, PullingInSmallStepsShowsTheSlip)
{
    ASSERT_EQ(form->Model().Mu, 0.52f);
    ASSERT_EQ(form->Model().WeightCount, 3);
    Step(5);
    EXPECT_EQ(form->ForceHsb->value(), 5);
    EXPECT_NEAR(form->Model().BalanceReading, 0.5, 1e-5);
    EXPECT_GE(redraws, 5);
    // Up to 10 N of pull the block slips, again and again.
    Step(95);
    EXPECT_EQ(form->ForceHsb->value(), 100);
    EXPECT_GT(form->Model().BlockShift, 5.0f);
    EXPECT_LE(form->Model().BalanceReading, form->Model().LimitingFriction() + 0.1f);
    test::SavePicture(Picture(), QStringLiteral("friction-pulled"));
}

TEST_F(FrictionForm, TheBarCannotBeMovedBack)
{
    Step(12);
    const float reading = form->Model().BalanceReading;
    const int before = redraws;
    Step(3, QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(form->ForceHsb->value(), 12);
    Step(1, QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(form->ForceHsb->value(), 12);
    Press(Qt::Key_Home);
    EXPECT_EQ(form->ForceHsb->value(), 12);
    EXPECT_EQ(form->Model().BalanceReading, reading) << "nothing changes";
    // The bar is drawn where it was; the picture may be drawn again, as it was.
    EXPECT_GE(redraws, before);
    Press(Qt::Key_Right);
    EXPECT_EQ(form->ForceHsb->value(), 13) << "and forwards from the keyboard too";
    EXPECT_NEAR(form->Model().BalanceReading + form->Model().BlockShift, 1.3, 1e-5);
}

TEST_F(FrictionForm, ResetLetsThePullOffAndDrawsANewOffset)
{
    Step(30);
    const float offset = form->Model().FrictionOffset;
    form->ResetBtn->trigger();
    EXPECT_EQ(form->ForceHsb->value(), 0);
    EXPECT_EQ(form->Model().BalanceReading, 0.0f);
    EXPECT_EQ(form->Model().BlockShift, 0.0f);
    EXPECT_NE(form->Model().FrictionOffset, offset);
    Step(1);
    EXPECT_NEAR(form->Model().BalanceReading, 0.1, 1e-5) << "the hand starts again from nothing";
}

TEST_F(FrictionForm, TheSurfaceItemsPickTheCoefficient)
{
    EXPECT_TRUE(form->Surface2->isChecked());
    // A click on the button opens the menu of surfaces.
    auto* button = qobject_cast<QToolButton*>(form->Toolbar()->widgetForAction(form->SurfaceBtn));
    ASSERT_NE(button, nullptr);
    QWidget* opened = nullptr;
    QTimer::singleShot(50, [&opened] {
        opened = QApplication::activePopupWidget();
        if (opened != nullptr)
            opened->close();
    });
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(opened, form->SurfaceMenu);

    Step(4);
    const float reading = form->Model().BalanceReading;
    form->Surface3->trigger();
    EXPECT_EQ(form->Model().Mu, 0.81f);
    EXPECT_TRUE(form->Surface3->isChecked());
    EXPECT_FALSE(form->Surface2->isChecked());
    EXPECT_EQ(form->Model().BalanceReading, reading) << "the pull stays";
    const int before = redraws;
    form->Surface3->trigger();
    EXPECT_EQ(redraws, before) << "the surface already chosen changes nothing";
    EXPECT_TRUE(form->Surface3->isChecked());
    form->Surface1->trigger();
    EXPECT_EQ(form->Model().Mu, 0.25f);
}

// The blank separators group the items with a gap and no line.
TEST_F(FrictionForm, TheToolbarGapsAreBlankSeparators)
{
    for (const char* name : {"TBXSeparatorItem1", "TBXSeparatorItem2"}) {
        auto* gap = form->Toolbar()->findChild<QAction*>(QLatin1String(name));
        ASSERT_NE(gap, nullptr) << name;
        EXPECT_TRUE(gap->isSeparator());
        QWidget* widget = form->Toolbar()->widgetForAction(gap);
        ASSERT_NE(widget, nullptr);
        EXPECT_GT(widget->width(), 1);
        const QImage drawn = widget->grab().toImage();
        for (int y = 0; y < drawn.height(); ++y)
            for (int x = 0; x < drawn.width(); ++x)
                ASSERT_EQ(drawn.pixel(x, y), drawn.pixel(0, 0)) << name << " at " << x << ", " << y;
    }
}

TEST_F(FrictionForm, AWiderBlockIsLongerAndChangesNoReading)
{
    const float s = form->Scale();
    Step(15);
    const float reading = form->Model().BalanceReading;
    const float fmax = form->Model().LimitingFriction();
    const auto woodRow = [&] {
        // The block's middle row: its wood from the left end on.
        const QImage p = Picture();
        const int y = Round(15.3f * s) + Round(s) / 2;
        int n = 0;
        for (int x = 0; x < p.width(); ++x)
            n += p.pixel(x, y) == 0xFF6E471Eu;
        return n;
    };
    const int shortBlock = woodRow();
    form->AreaSpinEd->setValue(100);
    EXPECT_EQ(form->Model().BlockLength, 7.5f);
    EXPECT_NEAR(woodRow() - shortBlock, 2.5 * s, 2);
    EXPECT_EQ(form->Model().BalanceReading, reading);
    EXPECT_EQ(form->Model().LimitingFriction(), fmax);
    EXPECT_TRUE(form->AreaSpinEd->findChild<QLineEdit*>()->isReadOnly());
    EXPECT_TRUE(form->WtsSpinEd->findChild<QLineEdit*>()->isReadOnly());
    form->AreaSpinEd->stepBy(-1);
    EXPECT_EQ(form->AreaSpinEd->value(), 90) << "in steps of 10";
}

TEST_F(FrictionForm, TheWeightsStackOnTheBlock)
{
    const float s = form->Scale();
    const int c = Round(0.6f * s), top = Round(15.3f * s);
    const int x = Round((4 - 1.5f) * s);  // inside the stack, off its centre
    QImage p = Picture();
    EXPECT_EQ(p.pixel(x, top - 3 * c + 2), 0xFFBFBFBFu) << "three weights";
    EXPECT_NE(p.pixel(x, top - 4 * c + 2), 0xFFBFBFBFu);
    form->WtsSpinEd->setValue(0);
    EXPECT_EQ(form->Model().WeightCount, 0);
    EXPECT_NE(Picture().pixel(x, top - 2), 0xFFBFBFBFu) << "none";
    EXPECT_FLOAT_EQ(form->Model().LimitingFriction(), std::max(0.2f, 0.26f + form->Model().FrictionOffset));
}

// The balance's slider and the lens both read the balance: the lens's centre
// line holds the reading, a long tick lying frac(F) N to the left of it.
TEST_F(FrictionForm, TheLensReadsTheBalanceOnItsCentreLine)
{
    const float s = form->Scale();
    const float f = s * 10 / 30;  // pixels per 0.1 N
    const int cx = Round(17 * s), top = Round(3 * s), bottom = Round(8 * s);
    // Until the block first slips at 1.82 N and more.
    while (form->Model().FrictionOffset < 0)
        form->ResetBtn->trigger();
    for (int hand : {7, 13, 18}) {
        Step(hand - form->ForceHsb->value());
        const float reading = form->Model().BalanceReading;
        ASSERT_NEAR(reading, hand * 0.1, 1e-5);
        const QImage p = Picture();
        const int major = Round(cx - 10 * (reading - std::trunc(reading)) * f);
        SCOPED_TRACE(reading);
        EXPECT_EQ(p.pixel(major, top + Round(1.5f * s) - 2), 0xFF000000u) << "long tick from the top";
        EXPECT_EQ(p.pixel(major, bottom - Round(1.5f * s) + 1), 0xFF000000u) << "long tick from the bottom";
        // The slider's left edge: the balance's own scale, zero at x + 0.7.
        const int zero = Round((4 + 6 + 0.7f) * s);
        EXPECT_EQ(p.pixel(zero + Round(s * reading), Round(15 * s)), 0xFF000000u) << "the slider's edge";
    }
    test::SavePicture(Picture(), QStringLiteral("friction-lens"));
}

}  // namespace
}  // namespace brv
