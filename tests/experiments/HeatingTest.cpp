// Heating effect of a current: the heating laws on their numbers, and the
// form moved through time with real drags and keys on its time bar.
#include "experiments/physics/uHeating.h"

#include "apparatus/Meters.h"
#include "runtime/AddMaths.h"
#include "support/FormContract.h"
#include "support/FormHostTest.h"
#include "support/Sampling.h"
#include "support/ScrollBarEvents.h"
#include "support/Stopwatch.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QScrollBar>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace brv {
namespace {

const bool kContract = test::RegisterFormTraits([] {
    test::TFormTraits t;
    t.id = ids::Heating;
    t.name = "Heating";
    t.spins = {{"resistanceSE", 3, 10, 5}, {"MassSE", 20, 100, 50}, {"VoltageSE", 0, 12, 6}};
    return t;
}());

THeatingModel Heater(int volts, float ohms, int grams, bool insulated, int seconds)
{
    THeatingModel m;
    m.Voltage = volts;
    m.SetResistance = Round(ohms);
    m.HeaterResistance = ohms;
    m.Mass = grams;
    m.Insulated = insulated;
    m.ElapsedTime = seconds;
    return m;
}

TEST(HeatingModel, TemperaturesFollowTheHeatingLawsUpTo100)
{
    struct Case {
        int volts;
        float ohms;
        int grams;
        bool insulated;
        int seconds;
        float expected;
    };
    for (const Case& c : {Case{6, 5, 50, true, 600, 40.57f}, Case{6, 5, 50, true, 1800, 81.71f},
                          Case{6, 5, 50, false, 600, 38.14f}, Case{6, 5, 50, false, 1800, 63.02f},
                          Case{12, 3, 20, true, 139, 99.43f}, Case{12, 3, 20, true, 141, 100},
                          Case{12, 3, 20, true, 1800, 100}, Case{12, 3, 20, false, 1800, 99.9998f},
                          Case{0, 5, 50, true, 1800, 20}}) {
        const THeatingModel m = Heater(c.volts, c.ohms, c.grams, c.insulated, c.seconds);
        EXPECT_NEAR(m.WaterTemperature(), c.expected, 0.01f)
            << c.volts << " V " << c.ohms << " ohm " << c.grams << " g " << c.seconds << " s";
        EXPECT_LE(m.WaterTemperature(), 100.0f);
    }
    EXPECT_NEAR(Heater(6, 5, 50, true, 0).HeatingRate(), 0.0343f, 0.0001f);
}

TEST(HeatingModel, TimeZeroIsExactlyRoomTemperatureWhateverTheHeater)
{
    for (float ohms : {2.0f, 5.0f, 11.3f, 0.0f, -1.0f})
        for (bool insulated : {false, true}) {
            THeatingModel m = Heater(12, ohms, 20, insulated, 0);
            m.ReadExactly();
            EXPECT_EQ(m.ShownTemp, 20.0f) << ohms;
        }
}

TEST(HeatingModel, AHeaterScatteredToNoResistanceLeavesTheWaterAlone)
{
    for (float ohms : {0.0f, -0.5f}) {
        const THeatingModel m = Heater(12, ohms, 20, false, 1800);
        EXPECT_EQ(m.HeatingRate(), 0.0f);
        EXPECT_EQ(m.WaterTemperature(), 20.0f);
    }
}

TEST(HeatingModel, ReadingsScatterByHalfADegreeButNeverPastTheTopOfTheScale)
{
    SetRandomState(7);
    THeatingModel warm = Heater(6, 5, 50, true, 600);
    THeatingModel boiling = Heater(12, 3, 20, true, 1800);
    float highest = 0;
    int belowBoiling = 0;
    constexpr int n = 2000;
    const test::Sample errors = test::SampleOf(n, [&] {
        warm.ReadWithScatter();
        const double d = warm.ShownTemp - warm.WaterTemperature();
        boiling.ReadWithScatter();
        highest = std::max(highest, boiling.ShownTemp);
        belowBoiling += boiling.ShownTemp < 100 ? 1 : 0;
        return d;
    });
    EXPECT_NEAR(errors.mean, 0, 0.05);
    EXPECT_NEAR(errors.rms, 0.5, 0.05);
    EXPECT_EQ(highest, 100.0f);
    EXPECT_NEAR(belowBoiling, n / 2, n / 10) << "half the readings at the boil scatter below it";
}

TEST(HeatingModel, EachNewHeaterDiffersFromItsLabelByHalfAnOhm)
{
    SetRandomState(11);
    THeatingModel m;
    m.SetResistance = 8;
    double sum = 0, squares = 0;
    constexpr int n = 2000;
    for (int i = 0; i < n; ++i) {
        m.NewHeater();
        sum += m.HeaterResistance;
        squares += (m.HeaterResistance - 8.0) * (m.HeaterResistance - 8.0);
    }
    EXPECT_NEAR(sum / n, 8, 0.05);
    EXPECT_NEAR(std::sqrt(squares / n), 0.5, 0.05);
    EXPECT_FLOAT_EQ(m.Current(), 0.75f) << "the ammeter goes by the label";
}

// --- the form -------------------------------------------------------------

class HeatingForm : public test::FormHostTest<THECFrm> {
protected:
    HeatingForm() : FormHostTest(QSize(800, 640)) {}

    QColor HeaterColour()
    {
        const float s = form->Scale();
        return Picture().pixelColor(Round(2.85f * s), Round(12.6f * s));
    }
    test::StopwatchOnPicture Watch() const
    {
        return {12.5f, 0.5f, 5, 4, QStringLiteral("min : sec"), form->Scale()};
    }
    QScrollBar* Bar() { return form->TimeHsb; }
};

TEST_F(HeatingForm, StartsAtTimeZeroWithTheWaterAt20)
{
    EXPECT_EQ(Bar()->minimum(), 0);
    EXPECT_EQ(Bar()->maximum(), 1800);
    EXPECT_EQ(Bar()->pageStep(), 60);
    EXPECT_EQ(Bar()->toolTip(), QStringLiteral("Set the time"));
    EXPECT_EQ(form->Model().ShownTemp, 20.0f);
    EXPECT_EQ(form->Model().ElapsedTime, 0);
    EXPECT_FALSE(form->InsulateBtn->isChecked());
    EXPECT_EQ(form->resistanceSE->suffix(), QStringLiteral(" \u03A9"));
    const QImage picture = Picture();
    test::SavePicture(picture, QStringLiteral("heating-start"));
    EXPECT_EQ(Watch().On(picture), Watch().Showing(QStringLiteral("00 : 00")));
    EXPECT_EQ(HeaterColour(), QColor(0x7F, 0x7F, 0x7F)) << "cold";
}

TEST_F(HeatingForm, TheHeaterGlowsOnlyWhileTheSliderIsDraggedForward)
{
    test::SliderDrag drag(Bar());
    drag.MoveBy(40);
    ASSERT_GT(Bar()->sliderPosition(), 0);
    EXPECT_TRUE(form->TimeForward());
    EXPECT_EQ(form->Model().ElapsedTime, Bar()->sliderPosition());
    EXPECT_EQ(HeaterColour(), QColor(0xFF, 0x67, 0x67));
    const int forward = form->Model().ElapsedTime;
    const QImage atForward = Picture();
    test::SavePicture(atForward, QStringLiteral("heating-forward"));
    EXPECT_NE(Watch().On(atForward), Watch().Showing(QStringLiteral("00 : 00")));
    EXPECT_EQ(Watch().On(atForward), Watch().Showing(FormatMinSec(forward)));

    drag.MoveBy(-10);
    EXPECT_FALSE(form->TimeForward()) << "dragged back";
    EXPECT_EQ(HeaterColour(), QColor(0x7F, 0x7F, 0x7F));
    drag.MoveBy(20);
    EXPECT_TRUE(form->TimeForward());

    drag.Release();
    QApplication::processEvents();
    EXPECT_FALSE(form->TimeForward()) << "let go";
    EXPECT_EQ(HeaterColour(), QColor(0x7F, 0x7F, 0x7F));
    const THeatingModel& m = form->Model();
    EXPECT_GT(m.ElapsedTime, 0);
    EXPECT_NEAR(m.ShownTemp, m.WaterTemperature(), 2.5f);
    EXPECT_GT(m.WaterTemperature(), 20.0f);
}

TEST_F(HeatingForm, KeysMoveTheTimeAndLettingGoStopsTheGlow)
{
    Bar()->setFocus();
    // Page Down adds a page (a minute), as on the bar's right-hand track.
    QTest::keyPress(Bar(), Qt::Key_PageDown);
    EXPECT_EQ(form->Model().ElapsedTime, 60);
    EXPECT_TRUE(form->TimeForward());
    EXPECT_EQ(HeaterColour(), QColor(0xFF, 0x67, 0x67));
    QTest::keyRelease(Bar(), Qt::Key_PageDown);
    EXPECT_FALSE(form->TimeForward());
    EXPECT_EQ(form->Model().ElapsedTime, 60);
    EXPECT_EQ(Watch().On(Picture()), Watch().Showing(QStringLiteral("01 : 00")));

    QTest::keyClick(Bar(), Qt::Key_Right);
    EXPECT_EQ(form->Model().ElapsedTime, 61);
    EXPECT_FALSE(form->TimeForward());
}

TEST_F(HeatingForm, BackToTimeZeroIsAFreshRunWithANewHeater)
{
    SetRandomState(3);
    Bar()->setFocus();
    QTest::keyClick(Bar(), Qt::Key_End);
    EXPECT_EQ(form->Model().ElapsedTime, 1800);
    EXPECT_GT(form->Model().ShownTemp, 30.0f);
    const float heater = form->Model().HeaterResistance;

    QTest::keyClick(Bar(), Qt::Key_Home);
    EXPECT_EQ(form->Model().ElapsedTime, 0);
    EXPECT_EQ(form->Model().ShownTemp, 20.0f) << "exactly";
    EXPECT_NE(form->Model().HeaterResistance, heater);
    EXPECT_EQ(Watch().On(Picture()), Watch().Showing(QStringLiteral("00 : 00")));
}

TEST_F(HeatingForm, SettingsChangeTheReadingWithoutScatter)
{
    Bar()->setFocus();
    QTest::keyClick(Bar(), Qt::Key_End);
    const float heater = form->Model().HeaterResistance;

    form->VoltageSE->setValue(12);
    EXPECT_EQ(form->Model().ShownTemp, form->Model().WaterTemperature());
    EXPECT_EQ(form->Model().HeaterResistance, heater) << "the same heater";
    form->MassSE->setValue(100);
    EXPECT_EQ(form->Model().ShownTemp, form->Model().WaterTemperature());
    const float open = form->Model().ShownTemp;

    form->InsulateBtn->trigger();
    EXPECT_TRUE(form->InsulateBtn->isChecked());
    EXPECT_TRUE(form->Model().Insulated);
    EXPECT_EQ(form->Model().ShownTemp, form->Model().WaterTemperature());
    EXPECT_GT(form->Model().ShownTemp, open) << "lagging keeps the heat in";
    const float s = form->Scale();
    EXPECT_EQ(Picture().pixelColor(Round(0.5f * s), Round(10 * s)), QColor(0xFF, 0xFF, 0x80)) << "lagging";

    form->resistanceSE->setValue(3);
    EXPECT_NE(form->Model().HeaterResistance, heater) << "a new heater";
    EXPECT_EQ(form->Model().ShownTemp, form->Model().WaterTemperature());
    EXPECT_EQ(form->Model().ElapsedTime, 1800) << "the time stays";
}

TEST_F(HeatingForm, TheAmmeterReadsTheLabelResistance)
{
    const auto ammeterShows = [this](const QString& text) {
        const float s = form->Scale();
        const QRect r(QPoint(Round(7 * s), Round(9.1f * s)), QPoint(Round(10 * s) - 1, Round(13.1f * s) - 1));
        TBitmap32 b(r.right() + 2, r.bottom() + 2);
        b.Clear(clWhite32);
        DrawDigitalMeter(b, text, muAmp, 7 * s, 9.1f * s, 3 * s, 4 * s, 0xFFBFBFBF);
        // The wires touch the terminals: compare the display only.
        const QRect display(r.left() + Round(0.3f * s), r.top() + Round(0.3f * s), Round(2.4f * s),
                            Round(1.5f * s));
        return Picture().copy(display) == b.Image().copy(display);
    };
    EXPECT_TRUE(ammeterShows(QStringLiteral("1.20")));
    form->VoltageSE->setValue(0);
    EXPECT_TRUE(ammeterShows(QStringLiteral("0.00")));
    form->VoltageSE->setValue(10);
    form->resistanceSE->setValue(3);
    EXPECT_TRUE(ammeterShows(QStringLiteral("3.33")));
}

}  // namespace
}  // namespace brv
