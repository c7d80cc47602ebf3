// Calcium carbonate and hydrochloric acid: the kinetics on their numbers
// (equal and nearly equal amounts included), the balance, and the form driven
// through time on its scroll bar with real mouse and key events.
#include "experiments/chemistry/uCaCarb.h"

#include "apparatus/Meters.h"
#include "runtime/AddMaths.h"
#include "runtime/Image32.h"
#include "support/FormContract.h"
#include "support/FormHostTest.h"
#include "support/ScrollBarEvents.h"
#include "support/Stopwatch.h"
#include "support/TestSupport.h"

#include <QAction>
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
    t.id = ids::CaCarb;
    t.name = "CaCarb";
    t.spins = {{"ConcSE", 0, 1, 0.5, 64, 96}, {"VolSE", 0, 50, 25, 64, 96}, {"MassSE", 0.1, 5, 1, 64, 96}};
    return t;
}());

using Model = TCaCarbModel;

Model Settings(int volume, float conc, float mass)
{
    Model m;
    m.AcidVolume = volume;
    m.AcidConc = conc;
    m.CarbonateMass = mass;
    return m;
}

TEST(CaCarbModel, DefaultsGiveAbout28cm3AfterAMinuteAndAFullBuretteAfterTwo)
{
    const Model m;
    EXPECT_NEAR(m.At(60, 0).GasShown, 28.1f, 0.3f);
    int full = 0;
    while (full < 600 && m.At(full, 0).GasGiven < 50)
        ++full;
    EXPECT_GE(full, 100);
    EXPECT_LE(full, 130);
    EXPECT_EQ(m.At(full, 0).GasShown, 50.0f) << "the burette holds no more";

    // After ten minutes (z = k·t·(a − b) = 0.9) the reaction is still going.
    const double e = std::exp(0.9);
    const Model::TReading tenMinutes = m.At(600, 0);
    EXPECT_NEAR(tenMinutes.GasGiven, 22400 * 0.01 * 0.00625 * (e - 1) / (0.01 * e - 0.00625), 0.01);
    EXPECT_FALSE(tenMinutes.Done);
    const Model::TReading end = m.At(100000, 0);
    EXPECT_TRUE(end.Done) << "the acid is used up";
    EXPECT_NEAR(end.GasGiven, 140.0f, 0.01f) << "0.00625 mol of CO2";
}

TEST(CaCarbModel, TheSmallerAmountLimitsTheGas)
{
    // 0.1 g of carbonate in 50 cm³ of 1 M acid: the carbonate runs out.
    const Model chips = Settings(50, 1, 0.1f);
    EXPECT_FALSE(chips.At(600, 0).Done);
    const Model::TReading r = chips.At(100000, 0);
    EXPECT_TRUE(r.Done);
    EXPECT_NEAR(r.GasGiven, 22.4f, 0.01f);
    EXPECT_NEAR(r.Reacted, chips.CarbonateMoles(), 1e-6);
}

TEST(CaCarbModel, NothingReactsWithoutAcidAndTheReactionIsDoneAtOnce)
{
    for (const Model& m : {Settings(25, 0, 1), Settings(0, 0.5f, 1)}) {
        SCOPED_TRACE(m.AcidVolume);
        EXPECT_FALSE(m.At(0, 0).Evaluated) << "t = 0 evaluates nothing";
        for (int t : {1, 60, 600}) {
            const Model::TReading r = m.At(t, 0.5);
            EXPECT_TRUE(r.Evaluated);
            EXPECT_EQ(r.GasShown, 0.0f) << t;
            EXPECT_TRUE(r.Done) << t;
        }
    }
}

TEST(CaCarbModel, ATimeJitteredBelowZeroReadsNoGas)
{
    const Model m = Settings(5, 1, 5);  // the fastest start the controls allow
    for (double jitter : {-1.0, -1.5, -4.0, -40.0}) {
        const Model::TReading r = m.At(1, jitter);
        EXPECT_EQ(r.GasShown, 0.0f) << jitter;
        EXPECT_EQ(r.GasGiven, 0.0f) << jitter;
        EXPECT_TRUE(std::isfinite(r.Reacted)) << jitter;
    }
    EXPECT_GT(m.At(1, 0).GasShown, 0.0f);
}

// Equal amounts: x = kτa² / (kτa + 1).  Amounts that differ by rounding
// alone must give the same, not 0 or another value cancelled away.
TEST(CaCarbModel, NearlyEqualAmountsGiveTheEqualAmountsVolume)
{
    const double a = 0.01, k = 0.4;
    for (double tau : {1.0, 60.0, 600.0}) {
        const double equal = k * tau * a * a / (k * tau * a + 1);
        EXPECT_DOUBLE_EQ(Model::Reacted(a, a, k, tau), equal) << tau;
        for (double rel : {1e-17, 1e-16, 4e-16, 1e-14, 1e-12, 1e-9, -1e-16, -1e-12}) {
            const double b = a * (1 + rel);
            EXPECT_NEAR(Model::Reacted(a, b, k, tau), equal, 1e-6 * equal)
                << tau << " s, b = a(1 + " << rel << ")";
            EXPECT_NEAR(Model::Reacted(b, a, k, tau), equal, 1e-6 * equal)
                << tau << " s, a = b(1 + " << rel << ")";
        }
    }
    // In the long run all of the carbonate (and all of the acid) reacts.
    EXPECT_NEAR(Model::Reacted(a, a, k, 1e7), a, 1e-6);
}

// Walking a control through the settings where a = b: the volume after a
// minute grows smoothly, without a jump at the equal setting.
TEST(CaCarbModel, NeighbouringSettingsGiveNeighbouringVolumes)
{
    struct Sweep {
        const char* name;
        Model (*at)(int step);
    };
    const Sweep sweeps[] = {
        // 25 cm³ of 0.8 M acid holds exactly 1 g's worth.
        {"concentration", [](int i) { return Settings(25, float(0.7 + 0.01 * i), 1); }},
        {"mass", [](int i) { return Settings(25, 0.8f, float(0.9 + 0.01 * i)); }},
        {"volume", [](int i) { return Settings(15 + i, 0.8f, 1); }},
    };
    for (const Sweep& sweep : sweeps) {
        SCOPED_TRACE(sweep.name);
        double previous = -1, previousStep = -1;
        for (int i = 0; i <= 20; ++i) {
            Model m = sweep.at(i);
            const double x = m.At(60, 0).Reacted;
            ASSERT_GT(x, 0) << i;
            if (previous >= 0) {
                const double step = x - previous;
                EXPECT_GT(step, 0) << "step " << i;
                if (previousStep > 0) {
                    EXPECT_LT(step, 1.5 * previousStep) << "step " << i;
                    EXPECT_GT(step, previousStep / 1.5) << "step " << i;
                }
                previousStep = step;
            }
            previous = x;
        }
    }
    // The spin edit's own 0.8 (a double) and the model's single 0.8 agree.
    const Model exact = Settings(25, 0.8f, 1);
    EXPECT_NEAR(exact.At(60, 0).Reacted, Model::Reacted(0.01, 0.01, 0.4, 60), 1e-9);
}

TEST(CaCarbModel, BeyondTheRangeOfADoubleTheReactionIsComplete)
{
    EXPECT_DOUBLE_EQ(Model::Reacted(0.05, 0.0001, 10, 1e300), 0.0001);
    EXPECT_DOUBLE_EQ(Model::Reacted(0.0001, 0.05, 10, 1e300), 0.0001);
}

// The balance loses the carbon dioxide that leaves the flask, 44 g per
// 22 400 cm³, whether or not the burette can hold it.
TEST(CaCarbModel, TheBalanceLosesTheCarbonDioxideGivenOff)
{
    const Model m;
    EXPECT_FLOAT_EQ(m.BalanceReading(0), 126.0f);
    const Model::TReading end = m.At(100000, 0);
    EXPECT_NEAR(m.BalanceReading(end.GasGiven), 126.0f - 0.275f, 1e-4f);
    // Both times show a full burette; the balance still falls.
    const Model::TReading a = m.At(150, 0), b = m.At(300, 0);
    EXPECT_EQ(a.GasShown, 50.0f);
    EXPECT_EQ(b.GasShown, 50.0f);
    EXPECT_LT(m.BalanceReading(b.GasGiven), m.BalanceReading(a.GasGiven) - 0.01f);
}

TEST(CaCarbModel, EachRunHasItsOwnGasFactor)
{
    SetRandomState(7);
    const float f1 = Model::NewGasFactor(), f2 = Model::NewGasFactor();
    EXPECT_NE(f1, f2);
    EXPECT_NEAR(f1, 1.0f, 0.5f);
    Model m;
    m.GasFactor = 1.1f;
    EXPECT_NEAR(m.At(30, 0).GasShown, 1.1f * Model().At(30, 0).GasShown, 1e-4f);
}

// --- the form ------------------------------------------------------------------

class CaCarbForm : public test::FormHostTest<TCaCarbFrm> {
protected:
    CaCarbForm() : FormHostTest(QSize(800, 640)) {}

    void Press(int key) { test::KeyClick(form->TimeHsb, key); }
    // Black pixels down one column of the picture between two rows.
    static int BlackInColumn(const QImage& picture, int x, int top, int bottom)
    {
        int n = 0;
        for (int y = top; y < bottom; ++y)
            n += picture.pixel(x, y) == 0xFF000000u ? 1 : 0;
        return n;
    }
    // Bubbles in the burette: the column beside its centre line, under the
    // water (only the 10 cm³ ticks cross it otherwise).
    int BuretteBubbles(const QImage& picture) const
    {
        const float s = form->Scale();
        const int left = Round(6 * s), right = Round(9 * s);
        const float u = 0.83f * 80 * s / 50;
        const int water = Round(0.15f * 80 * s + 5 * s) + Round(form->GasVolume() * u);
        return BlackInColumn(picture, (left + right) / 2 + 2, water + 3, Round(5 * s + 0.98f * 80 * s) - 3);
    }
    // Bubbles escaping round the burette's mouth, up to the trough's surface.
    int EscapingBubbles(const QImage& picture) const
    {
        const float s = form->Scale();
        return BlackInColumn(picture, Round(4.8f * s) + 2, Round(70 * s), Round(85.2f * s));
    }
    test::StopwatchOnPicture Watch() const
    {
        return {65, 74, 20, 15, QStringLiteral("min:sec"), form->Scale()};
    }
};

TEST_F(CaCarbForm, BubblesRiseOnlyWhileTheTimeIsDraggedForward)
{
    QScrollBar* bar = form->TimeHsb;
    EXPECT_EQ(bar->maximum(), 600);
    EXPECT_EQ(bar->toolTip(), QStringLiteral("Set the reaction time"));

    test::DragSlider(bar, {20, 40}, false);
    ASSERT_GT(form->Time(), 30);
    EXPECT_TRUE(form->TimeForward());
    EXPECT_TRUE(form->Bubbling());
    EXPECT_GT(form->GasVolume(), 5.0f);
    const QImage dragging = Picture();
    test::SavePicture(dragging, QStringLiteral("cacarb-dragging"));
    EXPECT_GT(BuretteBubbles(dragging), 10);

    test::MouseRelease(bar, QPoint(0, 0));
    QApplication::processEvents();
    EXPECT_FALSE(form->TimeForward()) << "let go";
    EXPECT_FALSE(form->Bubbling());
    EXPECT_LT(BuretteBubbles(Picture()), 6);

    const int held = form->Time();
    test::DragSlider(bar, {held - 10}, false);
    EXPECT_LT(form->Time(), held);
    EXPECT_FALSE(form->Bubbling()) << "backwards";
    EXPECT_LT(BuretteBubbles(Picture()), 6);
    test::MouseRelease(bar, QPoint(0, 0));

    // An arrow moves one second: forward while held, not once let go.
    const int before = form->Time();
    test::ClickScrollBar(bar, QStyle::SC_ScrollBarAddLine);
    EXPECT_EQ(form->Time(), before + 1);
    EXPECT_FALSE(form->TimeForward());
}

TEST_F(CaCarbForm, AFullBuretteLetsTheExtraGasEscapeWhileTimeMovesForward)
{
    QScrollBar* bar = form->TimeHsb;
    test::DragSlider(bar, {100, 200}, false);
    ASSERT_GT(form->Time(), 180);
    EXPECT_EQ(form->GasVolume(), 50.0f);
    EXPECT_GT(form->GasGiven(), 50.0f);
    EXPECT_TRUE(form->GasOverflow());
    const QImage escaping = Picture();
    test::SavePicture(escaping, QStringLiteral("cacarb-overflow"));
    EXPECT_GT(EscapingBubbles(escaping), 6);

    test::MouseRelease(bar, QPoint(0, 0));
    QApplication::processEvents();
    EXPECT_FALSE(form->GasOverflow());
    EXPECT_EQ(EscapingBubbles(Picture()), 0);

    // Once the acid is used up nothing bubbles, even moving forward: 10 cm³
    // of 1 M acid on 5 g of carbonate is done in about three minutes.
    form->VolSE->setValue(10);
    form->ConcSE->setValue(1);
    form->MassSE->setValue(5);
    test::DragSlider(bar, {300, 590}, false);
    EXPECT_TRUE(form->ReactionDone());
    EXPECT_FALSE(form->Bubbling());
    const QImage done = Picture();
    EXPECT_EQ(EscapingBubbles(done), 0);
    EXPECT_LT(BuretteBubbles(done), 6);
    test::MouseRelease(bar, QPoint(0, 0));
    // The balance has lost all the carbon dioxide, not just 50 cm³ of it.
    EXPECT_NEAR(form->GasGiven(), 112 * form->Model().GasFactor, 0.01f);
    EXPECT_NEAR(form->BalanceReading(), 115.0f - 44 * form->GasGiven() / 22400, 1e-4f);
    EXPECT_LT(form->BalanceReading(), 115.0f - 44 * 50.0f / 22400 - 0.01f);
}

TEST_F(CaCarbForm, TheStopwatchShowsMinutesAndSeconds)
{
    EXPECT_EQ(Watch().On(Picture()), Watch().Showing(QStringLiteral("00 : 00")));
    Press(Qt::Key_End);
    EXPECT_EQ(form->Time(), 600);
    EXPECT_EQ(Watch().On(Picture()), Watch().Showing(QStringLiteral("10 : 00")));
    Press(Qt::Key_Home);
    Press(Qt::Key_PageDown);
    Press(Qt::Key_Right);
    EXPECT_EQ(form->Time(), 61) << "a page is a minute, an arrow a second";
    EXPECT_EQ(Watch().On(Picture()), Watch().Showing(QStringLiteral("01 : 01")));
}

TEST_F(CaCarbForm, EverySettingStartsAFreshRun)
{
    Press(Qt::Key_PageDown);
    ASSERT_EQ(form->Time(), 60);
    EXPECT_GT(form->GasVolume(), 10.0f);

    float factor = form->Model().GasFactor;
    form->ResetBtn->trigger();
    EXPECT_EQ(form->Time(), 0);
    EXPECT_EQ(form->TimeHsb->value(), 0);
    EXPECT_EQ(form->GasVolume(), 0.0f);
    EXPECT_NE(form->Model().GasFactor, factor) << "a new run";

    struct Change {
        const char* name;
        std::function<void()> apply;
    };
    const Change changes[] = {
        {"concentration", [this] { form->ConcSE->setValue(0.8); }},
        {"mass", [this] { form->MassSE->setValue(2.0); }},
        {"volume", [this] { form->VolSE->setValue(40); }},
    };
    for (const Change& c : changes) {
        SCOPED_TRACE(c.name);
        Press(Qt::Key_PageDown);
        ASSERT_EQ(form->Time(), 60);
        factor = form->Model().GasFactor;
        c.apply();
        EXPECT_EQ(form->Time(), 0);
        EXPECT_EQ(form->TimeHsb->value(), 0);
        EXPECT_NE(form->Model().GasFactor, factor);
    }
    EXPECT_FLOAT_EQ(form->Model().AcidConc, 0.8f);
    EXPECT_FLOAT_EQ(form->Model().CarbonateMass, 2.0f);
    EXPECT_EQ(form->Model().AcidVolume, 40);
    EXPECT_FLOAT_EQ(form->BalanceReading(), 142.0f);
}

TEST_F(CaCarbForm, LargeButtonsShortenTheCaptionsAndThickenTheTimeBar)
{
    EXPECT_EQ(form->ConcLabel->text(), QStringLiteral(" Acid concentration"));
    EXPECT_EQ(form->VolumeLabel->text(), QStringLiteral(" Acid volume"));

    form->SetLargeButtons(true);
    EXPECT_EQ(form->ConcLabel->text(), QStringLiteral(" Concentration"));
    EXPECT_EQ(form->VolumeLabel->text(), QStringLiteral(" Volume"));
    EXPECT_EQ(form->MassLabel->text(), QStringLiteral(" Mass"));
    EXPECT_EQ(form->TimeHsb->height(), 26);
    EXPECT_GE(form->ConcSE->width(), 96);

    form->SetLargeButtons(false);
    EXPECT_EQ(form->ConcLabel->text(), QStringLiteral(" Acid concentration"));
    EXPECT_EQ(form->VolumeLabel->text(), QStringLiteral(" Acid volume"));
    EXPECT_EQ(form->MassLabel->text(), QStringLiteral(" Mass of calcium carbonate"));
    EXPECT_EQ(form->TimeHsb->height(), 18);
}

}  // namespace
}  // namespace brv
