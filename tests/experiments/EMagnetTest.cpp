// Strength of an electromagnet: the nail count and the hanging nails on
// their numbers, and the form's tray, buttons and counted nails driven as a
// pupil drives them.
#include "experiments/physics/uEMagnet.h"

#include "apparatus/Meters.h"
#include "runtime/AddMaths.h"
#include "support/FormContract.h"
#include "support/FormHostTest.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QLabel>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace brv {
namespace {

const bool kContract = test::RegisterFormTraits([] {
    test::TFormTraits t;
    t.id = ids::EMagnet;
    t.name = "EMagnet";
    t.spins = {{"Coils", 3, 100, 50}, {"Current", 0, 12, 2}};
    return t;
}());

TEST(EMagnetModel, NoVoltageLiftsNoNails)
{
    TEMagnetModel m;
    m.Turns = 100;
    m.Volts = 0;
    const std::uint32_t before = RandomState();
    for (int i = 0; i < 20; ++i) {
        m.NewNailCount();
        EXPECT_EQ(m.NailCount, 0);
    }
    EXPECT_EQ(RandomState(), before) << "no scatter is drawn for a dead magnet";
    m.NewNails();
    EXPECT_TRUE(m.Nails.empty());
    EXPECT_FLOAT_EQ(m.Current(), 0.0f);
    m.Volts = 12;
    EXPECT_FLOAT_EQ(m.Current(), 5.0f);
}

TEST(EMagnetModel, TheCountGrowsWithTurnsTimesVoltsAndScattersByFive)
{
    SetRandomState(17);
    struct Case {
        int turns, volts;
        double mean;
    };
    for (const Case& c : {Case{50, 2, 8.33}, Case{50, 6, 25}, Case{100, 12, 100}, Case{3, 1, 0.25}}) {
        TEMagnetModel m;
        m.Turns = c.turns;
        m.Volts = c.volts;
        double sum = 0, squares = 0;
        int lowest = 1000;
        constexpr int n = 3000;
        for (int i = 0; i < n; ++i) {
            m.NewNailCount();
            sum += m.NailCount;
            squares += (m.NailCount - c.mean) * (m.NailCount - c.mean);
            lowest = std::min(lowest, m.NailCount);
        }
        EXPECT_GE(lowest, 0);
        if (c.mean > 20) {
            EXPECT_NEAR(sum / n, c.mean, 0.4) << c.turns << " turns " << c.volts << " V";
            EXPECT_NEAR(std::sqrt(squares / n), 5, 0.3) << c.turns << " turns " << c.volts << " V";
        } else {
            EXPECT_GT(sum / n, c.mean) << "counts below zero become zero";
        }
    }
}

TEST(EMagnetModel, HangingNailsAreTurnedAndShiftedAlongTheCoresEnd)
{
    SetRandomState(2);
    TEMagnetModel m;
    m.NailCount = 300;
    m.NewNails();
    ASSERT_EQ(m.Nails.size(), 300U);
    for (const TNail& nail : m.Nails) {
        // The head's middle (between points 0 and 4) is the shift, on y = 0.
        const float d = (nail[0].X + nail[4].X) / 2;
        EXPECT_NEAR((nail[0].Y + nail[4].Y) / 2, 0, 1e-5f);
        EXPECT_GE(d, 0.0f);
        EXPECT_LT(d, 8.0f);
        // Every point keeps its distance from the head's middle.
        for (std::size_t p = 0; p < nail.size(); ++p) {
            const TNailPoint q = TEMagnetModel::NailShape[p];
            EXPECT_NEAR(std::hypot(nail[p].X - d, nail[p].Y), std::hypot(q.X, q.Y), 1e-4f);
        }
        // Turned by at most a right angle: the point never rises above the head.
        EXPECT_GE(nail[2].Y, -1e-4f);
    }
    // A nail with j = 90 hangs straight down.
    const TNail& any = m.Nails.front();
    EXPECT_NEAR(std::hypot(any[2].X - (any[0].X + any[4].X) / 2, any[2].Y), 4, 1e-4f);
}

TEST(EMagnetModel, CountedNailsLieInRowsOfTenAndAHundredFillABlock)
{
    struct Case {
        int k;
        float x, y;
    };
    for (const Case& c : {Case{0, 25, 30}, Case{9, 52, 30}, Case{10, 25, 35}, Case{99, 52, 75},
                          Case{100, 57, 30}, Case{123, 66, 40}}) {
        const TNailPoint p = TEMagnetModel::CountedPosition(c.k);
        EXPECT_FLOAT_EQ(p.X, c.x) << c.k;
        EXPECT_FLOAT_EQ(p.Y, c.y) << c.k;
        EXPECT_LE(p.Y + 4, 80.0f) << "inside the picture";
    }
}

// --- the form -------------------------------------------------------------

class EMagnetForm : public test::FormHostTest<TEMagnetFrm> {
protected:
    EMagnetForm() : FormHostTest(QSize(800, 600)) {}

    void ExpectButtons(bool add, bool count, bool reset)
    {
        EXPECT_EQ(form->AddBtn->isEnabled(), add);
        EXPECT_EQ(form->CountBtn->isEnabled(), count);
        EXPECT_EQ(form->ResetBtn->isEnabled(), reset);
        EXPECT_EQ(form->Coils->isEnabled(), add);
        EXPECT_EQ(form->Current->isEnabled(), add);
    }
    // Clicks Add and waits for the tray to come back down; returns the
    // tray's positions as the picture showed them (at the top twice: before
    // and after the nails cling to the magnet).
    std::vector<float> AddNails()
    {
        std::vector<float> shown;
        form->AddBtn->trigger();
        shown.push_back(form->Model().TrayY);
        EXPECT_TRUE(form->Animating());
        EXPECT_FALSE(form->Toolbar()->isEnabled()) << "the toolbar waits for the tray";
        while (form->Animating()) {
            const float y = form->Model().TrayY;
            const TNailState state = form->Model().NailState;
            const auto moved = [&] {
                return form->Model().TrayY != y || form->Model().NailState != state || !form->Animating();
            };
            if (!QTest::qWaitFor(moved, 2000))
                break;
            shown.push_back(form->Model().TrayY);
        }
        return shown;
    }
    // Counted nails: the light-grey heads in the block of rows.
    int NailHeadsInRow(const QImage& picture, float rowY)
    {
        const float s = form->Scale();
        int heads = 0;
        for (int k = 0; k < 40; ++k) {
            const int x = Round((25 + 3 * k) * s);
            const int y = Round((rowY + 1) * s);
            if (x < picture.width() && picture.pixelColor(x, y) == QColor(0xF0, 0xF0, 0xF0))
                ++heads;
        }
        return heads;
    }
};

TEST_F(EMagnetForm, TheTrayRisesToTheMagnetAndFallsBackStepByStep)
{
    ExpectButtons(true, false, false);
    EXPECT_EQ(form->Model().NailState, TNailState::InTray);
    const auto start = std::chrono::steady_clock::now();
    const std::vector<float> shown = AddNails();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ASSERT_EQ(shown.size(), 32U) << "every step of the way is shown";
    for (std::size_t i = 0; i < 16; ++i) {
        EXPECT_EQ(shown[i], 69.0f - float(i));
        EXPECT_EQ(shown[16 + i], 54.0f + float(i));
    }
    EXPECT_GT(seconds, 0.3) << "slow enough to be seen";
    EXPECT_EQ(form->Model().NailState, TNailState::Hanging);
    EXPECT_TRUE(form->Toolbar()->isEnabled());
    ExpectButtons(false, true, true);
    test::SavePicture(Picture(), QStringLiteral("emagnet-hanging"));

    form->CountBtn->trigger();
    EXPECT_EQ(form->Model().NailState, TNailState::Counted);
    ExpectButtons(false, false, true);

    form->ResetBtn->trigger();
    EXPECT_EQ(form->Model().NailState, TNailState::InTray);
    ExpectButtons(true, false, false);
    EXPECT_EQ(form->Model().TrayY, 69.0f);
    EXPECT_EQ(int(form->Model().Nails.size()), form->Model().NailCount);
}

TEST_F(EMagnetForm, ClicksWhileTheTrayMovesAreIgnored)
{
    form->AddBtn->trigger();
    ASSERT_TRUE(form->Animating());
    form->AddBtn->trigger();
    form->CountBtn->trigger();
    EXPECT_EQ(form->Model().NailState, TNailState::InTray);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form->Animating(); }, 3000));
    EXPECT_EQ(form->Model().NailState, TNailState::Hanging);
    ExpectButtons(false, true, true);
}

TEST_F(EMagnetForm, ReplacingTheFormWhileTheTrayMovesIsSafe)
{
    form->AddBtn->trigger();
    QTest::qWait(3 * TEMagnetFrm::TrayStepMs);
    ASSERT_TRUE(form->Animating());
    form.reset();
    QTest::qWait(20 * TEMagnetFrm::TrayStepMs);  // no step may reach the destroyed form
    SUCCEED();
}

TEST_F(EMagnetForm, AtNoVoltsTheMagnetHoldsNothingAndTheAmmeterReadsZero)
{
    form->Current->setValue(0);
    EXPECT_EQ(form->Model().NailCount, 0);
    const auto ammeterShows = [this](const QString& text) {
        const float s = form->Scale();
        TBitmap32 b(Round(35 * s), Round(23 * s));
        b.Clear(clWhite32);
        DrawDigitalMeter(b, text, muAmp, 19 * s, 2 * s, 15 * s, 20 * s, 0xFF7F7F7F);
        const QRect display(Round(21 * s), Round(4 * s), Round(11 * s), Round(6 * s));
        return Picture().copy(display) == b.Image().copy(display);
    };
    EXPECT_TRUE(ammeterShows(QStringLiteral("0.0")));
    AddNails();
    const QImage hanging = Picture();
    const float s = form->Scale();
    // Nothing light grey hangs below the core.
    for (int y = Round(56.5f * s); y < Round(62 * s); ++y)
        for (int x = Round(2 * s); x < Round(19 * s); ++x)
            ASSERT_NE(hanging.pixelColor(x, y), QColor(0xF0, 0xF0, 0xF0)) << x << "," << y;
    form->CountBtn->trigger();
    EXPECT_EQ(NailHeadsInRow(Picture(), 30), 0);

    form->ResetBtn->trigger();
    form->Current->setValue(12);
    EXPECT_TRUE(ammeterShows(QStringLiteral("5.0")));
}

TEST_F(EMagnetForm, AHundredTurnsOnTwelveVoltsLaysOutAboutTenRowsOfNails)
{
    SetRandomState(40);
    form->Coils->setValue(100);
    form->Current->setValue(12);
    const int count = form->Model().NailCount;
    EXPECT_NEAR(count, 100, 20);
    AddNails();
    form->CountBtn->trigger();
    const QImage picture = Picture();
    test::SavePicture(picture, QStringLiteral("emagnet-counted"));
    int shown = 0;
    for (int row = 0; row < 10; ++row)
        shown += std::min(NailHeadsInRow(picture, 30 + 5.0f * float(row)), 10);
    // Beyond a hundred, the rest stand in a second block to the right.
    for (int row = 0; row < 10; ++row) {
        const float s = form->Scale();
        for (int k = 0; k < 10; ++k) {
            const int x = Round((57 + 3 * k) * s), y = Round((30 + 5 * row + 1) * s);
            shown += picture.pixelColor(x, y) == QColor(0xF0, 0xF0, 0xF0) ? 1 : 0;
        }
    }
    EXPECT_EQ(shown, count) << "every nail picked up can be counted";
}

TEST_F(EMagnetForm, EachChangeOfASettingDrawsANewCount)
{
    SetRandomState(8);
    std::vector<int> counts;
    for (int i = 0; i < 6; ++i) {
        form->Current->setValue(6);
        counts.push_back(form->Model().NailCount);
        form->Current->setValue(2);
    }
    std::sort(counts.begin(), counts.end());
    EXPECT_NE(counts.front(), counts.back()) << "the same setting twice gives different counts";
}

TEST_F(EMagnetForm, TheCoilRisesHalfAUnitATurn)
{
    const float s = form->Scale();
    const auto redAt = [&](float y) {
        return Picture().pixelColor(Round(10 * s), Round(y * s) + 1) == QColor(0xFF, 0, 0);
    };
    form->Coils->setValue(100);
    EXPECT_TRUE(redAt(2));
    EXPECT_TRUE(redAt(52));
    form->Coils->setValue(10);
    EXPECT_TRUE(redAt(47));
    EXPECT_FALSE(redAt(40));
}

}  // namespace
}  // namespace brv
