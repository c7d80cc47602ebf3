// Decomposition of hydrogen peroxide: the first-order model on its numbers,
// the syringe and its magnifier on real pixels, and the form driven through
// its hour on the time bar.
#include "experiments/chemistry/uPeroxide.h"

#include "apparatus/Meters.h"
#include "runtime/AddMaths.h"
#include "runtime/Image32.h"
#include "support/FormContract.h"
#include "support/FormHostTest.h"
#include "support/ScrollBarEvents.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QScrollBar>
#include <QSpinBox>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace brv {
namespace {

const bool kContract = test::RegisterFormTraits([] {
    test::TFormTraits t;
    t.id = ids::Peroxide;
    t.name = "Peroxide";
    // The temperature's editor has fonts of its own (150 % and 300 %): its
    // range and fonts are tested below.
    t.spins = {{"ConcSE", 0.1, 2, 1, 64, 96},
               {"VolumeSE", 1, 100, 25, 64, 96},
               {"CatMassSE", 0.01, 1, 0.5, 64, 96},
               // Its widest value needs more than the table's small width.
               {"CatSizeSE", 0.01, 1, 0.5}};
    return t;
}());

using Model = TPeroxideModel;

TEST(PeroxideModel, DefaultsDecayAtThreeTenThousandthsPerSecond)
{
    Model m;
    EXPECT_NEAR(m.RateConstant(), 3.0e-4f, 0.05e-4f);
    EXPECT_NEAR(std::log(2.0f) / m.RateConstant() / 60, 38, 1) << "half-life in minutes";
    EXPECT_NEAR(m.VolumeAt(600, 0), 46, 1);
    EXPECT_NEAR(m.VolumeAt(3600, 0), 185, 2);
    EXPECT_EQ(m.VolumeAt(0, 0.9f), 0.0f) << "no time, no gas";
    m.Temperature = 40;
    EXPECT_NEAR(m.RateConstant(), 1.4e-3f, 0.05e-3f);
}

TEST(PeroxideModel, TheCatalystsSurfaceSetsTheRate)
{
    const Model standard;
    const float k = standard.RateConstant();
    Model finer = standard;
    finer.ParticleSize = 0.25f;
    EXPECT_FLOAT_EQ(finer.RateConstant(), 2 * k) << "half the particle size";
    Model more = standard;
    more.CatalystMass = 1.0f;
    EXPECT_FLOAT_EQ(more.RateConstant(), 2 * k) << "twice the mass";
}

TEST(PeroxideModel, AtTheBoilingPointThePeroxideIsGoneWithinTwoMinutes)
{
    Model m;
    m.Temperature = 100;
    EXPECT_NEAR(std::log(2.0f) / m.RateConstant(), 12, 1.5) << "half-life in seconds";
    EXPECT_NEAR(m.VolumeAt(120, 0), 280, 1);
    m.GasFactor = 1.04f;
    EXPECT_NEAR(m.VolumeAt(120, 0.5f), 1.04f * 280, 1);
    EXPECT_NEAR(m.FinalVolume(), 1.04f * 280, 1e-3f);
}

TEST(PeroxideModel, TheReadingMovesWithinASecond)
{
    const Model m;
    const float at = m.VolumeAt(600, 0), later = m.VolumeAt(601, 0);
    for (float u : {0.0f, 0.25f, 0.999f}) {
        const float v = m.VolumeAt(600, u);
        EXPECT_GE(v, at);
        EXPECT_LT(v, later);
    }
    SetRandomState(11);
    const float drawn = m.VolumeAt(600);
    EXPECT_GE(drawn, at);
    EXPECT_LT(drawn, later);
}

TEST(PeroxideModel, AnArithmeticFaultGivesNoGas)
{
    Model m;
    m.ParticleSize = 0;
    EXPECT_EQ(m.VolumeAt(60, 0), 0.0f);
    m.ParticleSize = std::nanf("");
    EXPECT_EQ(m.VolumeAt(60, 0), 0.0f);
}

// --- the syringe and its magnifier -------------------------------------------------

class SyringeLens : public ::testing::Test {
protected:
    static constexpr float X = 10, Y = 10, Size = 240;  // k = 8 pixels per 0.1 cm³
    SyringeLens() : b(260, 260) {}
    QImage Draw(float gas)
    {
        b.Clear(clWhite32);
        DrawSyringeMagnifier(b, X, Y, Size, gas);
        return b.Image().copy();
    }
    static bool IsBlack(const QImage& image, int x, int y) { return image.pixel(x, y) == 0xFF000000u; }
    const int cx = 130, cy = 130;
    const int top = cy - 60;  // the plunger's top edge, cy − 0.25 × Size
    TBitmap32 b;
};

TEST_F(SyringeLens, TheReadingLiesOnTheCentreLine)
{
    const QImage image = Draw(50.0f);
    test::SavePicture(image, QStringLiteral("peroxide-syringe-lens-50"));
    // The 50 mark's long tick on the centre, under the plunger's face; the
    // 51 mark's 1 cm³ to the right, half ticks 0.5 cm³ either side, minor
    // ones between.
    EXPECT_TRUE(IsBlack(image, cx, cy)) << "the plunger's face";
    EXPECT_TRUE(IsBlack(image, cx + 80, top + 30)) << "a major tick is 36 pixels long";
    EXPECT_FALSE(IsBlack(image, cx + 80, top + 40));
    EXPECT_TRUE(IsBlack(image, cx + 40, top + 20));
    EXPECT_FALSE(IsBlack(image, cx + 40, top + 26));
    EXPECT_TRUE(IsBlack(image, cx + 8, top + 10));
    EXPECT_FALSE(IsBlack(image, cx + 8, top + 14));
    // 50.25 moves the scale 2.5 minor steps to the left.
    const QImage later = Draw(50.25f);
    EXPECT_TRUE(IsBlack(later, cx - 20, top + 30));
}

// Below 1.5 cm³ the lens shows the syringe's closed end, 1 cm³ being a third
// of the lens: its end wall (and the 0 mark) moves left as the gas grows.
TEST_F(SyringeLens, NearZeroTheClosedEndMovesLeftWithTheGas)
{
    for (float gas : {0.0f, 0.2f, 0.5f, 1.0f}) {
        SCOPED_TRACE(gas);
        const QImage image = Draw(gas);
        const int wall = Round(cx - 80 * gas);
        const int row = cy - 20;  // between the nozzle and the barrel wall
        EXPECT_TRUE(IsBlack(image, wall, row));
        for (int x = wall - 30; x < wall - 3; ++x)
            ASSERT_FALSE(IsBlack(image, x, top + 2)) << "no tick before the 0 mark, x " << x;
    }
    test::SavePicture(Draw(0.5f), QStringLiteral("peroxide-syringe-lens-0.5"));
}

// Above 100 cm³ the scale stops at its 100 mark on the centre line and the
// plunger's face moves on to the right.
TEST_F(SyringeLens, BeyondTheScaleThePlungerFaceMovesOut)
{
    const QImage full = Draw(100.0f);
    EXPECT_TRUE(IsBlack(full, cx, top + 30)) << "the 100 mark";
    const QImage beyond = Draw(100.5f);
    test::SavePicture(beyond, QStringLiteral("peroxide-syringe-lens-100.5"));
    EXPECT_TRUE(IsBlack(beyond, cx, top + 30)) << "the 100 mark stays on the centre";
    EXPECT_TRUE(IsBlack(beyond, cx + 40, cy)) << "the plunger's face";
    for (int x = cx + 2; x < cx + 38; ++x)
        ASSERT_FALSE(IsBlack(beyond, x, top + 3)) << "no tick beyond 100, x " << x;
    const QImage out = Draw(120.0f);
    EXPECT_FALSE(IsBlack(out, cx + 40, cy)) << "the face has left the lens";
}

TEST(GasSyringe, ThePlungerIsPushedOutSevenHundredthsOfTheWidthPer10cm3)
{
    TBitmap32 b(700, 200);
    const float X = 20, Y = 100, W = 400, H = 120;  // r = 80, 10 cm³ = 28 pixels
    for (float gas : {0.0f, 50.0f, 130.0f}) {
        SCOPED_TRACE(gas);
        b.Clear(clWhite32);
        DrawGasSyringe(b, X, Y, W, H, gas, 20);
        const int face = Round(X + 80 + 2.8f * gas);
        EXPECT_EQ(b.Pixel(face, Round(Y)), clBlack32) << "the plunger's face on the centre line";
        EXPECT_EQ(b.Pixel(face + 3, Round(Y)), 0xFFFFFFE0u);
    }
    test::SavePicture(b.Image(), QStringLiteral("peroxide-syringe-130"));
}

// --- the form ------------------------------------------------------------------

class PeroxideForm : public test::FormHostTest<TPeroxideFrm> {
protected:
    PeroxideForm() : FormHostTest(QSize(800, 640)) {}

    void Press(QWidget* w, int key)
    {
        test::KeyClick(w, key);
        QApplication::processEvents();
    }
    // Black dots in the flask's liquid: bubbles.
    int FlaskBubbles(const QImage& picture) const
    {
        const float s = form->Scale();
        int n = 0;
        for (int y = Round(93 * s); y < Round(96 * s); ++y)
            for (int x = Round(24 * s); x < Round(36 * s); ++x)
                n += picture.pixel(x, y) == 0xFF000000u ? 1 : 0;
        return n;
    }
};

TEST_F(PeroxideForm, TheFlaskFizzesOnlyWhileTheTimeIsDraggedForward)
{
    QScrollBar* bar = form->TimeHsb;
    EXPECT_EQ(bar->maximum(), 3600);
    EXPECT_EQ(bar->pageStep(), 1);
    EXPECT_EQ(FlaskBubbles(Picture()), 0);

    test::DragSlider(bar, {600, 1200}, false);
    ASSERT_GT(form->Time(), 1000);
    EXPECT_TRUE(form->TimeForward());
    const QImage fizzing = Picture();
    test::SavePicture(fizzing, QStringLiteral("peroxide-dragging"));
    EXPECT_GT(FlaskBubbles(fizzing), 10);
    const float gas = form->GasVolume();
    EXPECT_NEAR(gas, form->Model().VolumeAt(form->Time(), 0.5f), 1.0f);

    test::MouseRelease(bar, QPoint(0, 0));
    QApplication::processEvents();
    EXPECT_FALSE(form->TimeForward());
    EXPECT_EQ(FlaskBubbles(Picture()), 0);
}

TEST_F(PeroxideForm, BackAtTheStartARunBeginsAfresh)
{
    Press(form->TimeHsb, Qt::Key_End);
    EXPECT_EQ(form->Time(), 3600);
    EXPECT_NEAR(form->GasVolume(), 185 * form->Model().GasFactor, 2.5f);
    const float factor = form->Model().GasFactor;

    test::DragSlider(form->TimeHsb, {1800, 0});
    EXPECT_EQ(form->Time(), 0);
    EXPECT_EQ(form->GasVolume(), 0.0f);
    EXPECT_NE(form->Model().GasFactor, factor) << "a new gas factor at 0";
    const float fresh = form->Model().GasFactor;
    Press(form->TimeHsb, Qt::Key_Right);
    EXPECT_EQ(form->Time(), 1);
    EXPECT_EQ(form->Model().GasFactor, fresh) << "used by the next forward scroll";
    EXPECT_GT(form->GasVolume(), 0.0f);
}

TEST_F(PeroxideForm, EverySettingStartsAFreshRun)
{
    struct Change {
        const char* name;
        std::function<void()> apply;
    };
    const Change changes[] = {
        {"concentration", [this] { form->ConcSE->setValue(2); }},
        {"volume", [this] { form->VolumeSE->setValue(50); }},
        {"mass", [this] { form->CatMassSE->setValue(1); }},
        {"particle size", [this] { form->CatSizeSE->setValue(0.25); }},
        {"temperature", [this] { Press(form->TempSE, Qt::Key_Up); }},
    };
    for (const Change& c : changes) {
        SCOPED_TRACE(c.name);
        Press(form->TimeHsb, Qt::Key_End);
        ASSERT_GT(form->GasVolume(), 0.0f);
        const float factor = form->Model().GasFactor;
        c.apply();
        EXPECT_EQ(form->Time(), 0);
        EXPECT_EQ(form->TimeHsb->value(), 0);
        EXPECT_EQ(form->GasVolume(), 0.0f);
        EXPECT_NE(form->Model().GasFactor, factor);
    }
    const TPeroxideModel& m = form->Model();
    EXPECT_FLOAT_EQ(m.PeroxideConc, 2);
    EXPECT_EQ(m.PeroxideVolume, 50);
    EXPECT_FLOAT_EQ(m.CatalystMass, 1);
    EXPECT_FLOAT_EQ(m.ParticleSize, 0.25f);
    EXPECT_EQ(m.Temperature, 21);
}

// The volume stays within 1 to 100 cm³, so no negative gas can be shown.
TEST_F(PeroxideForm, TheVolumeStaysWithinTheFlask)
{
    form->VolumeSE->setValue(-5);
    EXPECT_EQ(form->Model().PeroxideVolume, 1);
    form->VolumeSE->setValue(500);
    EXPECT_EQ(form->Model().PeroxideVolume, 100);
    Press(form->VolumeSE, Qt::Key_Up);
    EXPECT_EQ(form->Model().PeroxideVolume, 100);
    form->VolumeSE->setValue(1);
    Press(form->VolumeSE, Qt::Key_Down);
    EXPECT_EQ(form->Model().PeroxideVolume, 1);
    Press(form->TimeHsb, Qt::Key_End);
    EXPECT_GT(form->GasVolume(), 0.0f);
}

// Volumes beyond the syringe's 100 cm³ are not limited: the plunger is
// pushed on, out of the barrel (here past the picture's edge).
TEST_F(PeroxideForm, AtTheBoilingPointThePlungerLeavesTheBarrel)
{
    form->TempSE->setValue(100);
    for (int i = 0; i < 120; ++i)
        Press(form->TimeHsb, Qt::Key_Right);
    EXPECT_EQ(form->Time(), 120);
    EXPECT_NEAR(form->GasVolume(), 280 * form->Model().GasFactor, 1.0f);
    const QImage picture = Picture();
    test::SavePicture(picture, QStringLiteral("peroxide-boiling"));
    const float s = form->Scale();
    const int row = Round(45 * s) + 3;
    for (int x = Round(52 * s); x < picture.width() - 2; ++x)
        ASSERT_EQ(picture.pixel(x, row), 0xFFFFFFFFu) << "no plunger at x " << x;
    Press(form->TimeHsb, Qt::Key_Home);
    EXPECT_EQ(Picture().pixel(Round(70 * s), row), 0xFFFFFFE0u) << "back in the barrel";
}

TEST_F(PeroxideForm, TheTemperatureIsSteppedNeverTyped)
{
    EXPECT_EQ(form->TempSE->minimum(), 0);
    EXPECT_EQ(form->TempSE->maximum(), 100);
    EXPECT_EQ(form->TempSE->value(), 20);
    auto* text = form->TempSE->findChild<QLineEdit*>();
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(text->isReadOnly());
    Press(text, Qt::Key_5);
    EXPECT_EQ(form->TempSE->value(), 20);
    Press(form->TempSE, Qt::Key_Down);
    EXPECT_EQ(form->Model().Temperature, 19);

    const double small = form->TempSE->font().pointSizeF();
    EXPECT_NEAR(small, 1.5 * QApplication::font().pointSizeF(), 0.01);
    form->SetLargeButtons(true);
    EXPECT_NEAR(form->TempSE->font().pointSizeF(), 2 * small, 0.01) << "150 % becomes 300 %";
    EXPECT_NEAR(form->ConcSE->font().pointSizeF(), 1.5 * QApplication::font().pointSizeF(), 0.01);
    form->SetLargeButtons(false);
    EXPECT_NEAR(form->TempSE->font().pointSizeF(), small, 0.01);
}

}  // namespace
}  // namespace brv
