// Resistance of wires: the resistance and the meters on their numbers, and
// the form driven as a pupil drives it — the jockey dragged along the rule
// with the mouse, the meters and metals chosen on the toolbar.
#include "experiments/physics/uReswire.h"

#include "apparatus/Meters.h"
#include "runtime/AddMaths.h"
#include "support/FormContract.h"
#include "support/FormHostTest.h"
#include "support/MouseDrive.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <QSpinBox>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

#include <algorithm>

namespace brv {
namespace {

const bool kContract = test::RegisterFormTraits([] {
    test::TFormTraits t;
    t.id = ids::Reswire;
    t.name = "Reswire";
    t.spins = {{"cellSE", 1, 3, 1}, {"WireSE", 0.01, 1, 0.5}};
    return t;
}());

TReswireModel Wire(TWireMetal metal, float length, float diameter, int cells = 1)
{
    TReswireModel m;
    m.Metal = metal;
    m.WireLength = length;
    m.Diameter = diameter;
    m.Cells = cells;
    return m;
}

TEST(ReswireModel, ResistanceGrowsWithLengthAndResistivityAndFallsWithTheArea)
{
    struct Case {
        TWireMetal metal;
        float length, diameter, ohms;
    };
    for (const Case& c :
         {Case{TWireMetal::Copper, 50, 0.5f, 0.03972f}, Case{TWireMetal::Nichrome, 100, 0.01f, 16552},
          Case{TWireMetal::Nichrome, 100, 0.5f, 6.621f}, Case{TWireMetal::Nichrome, 50, 1, 0.8276f},
          Case{TWireMetal::Constantan, 20, 0.5f, 0.4889f}, Case{TWireMetal::Copper, 0, 0.3f, 0}}) {
        EXPECT_NEAR(Wire(c.metal, c.length, c.diameter).Resistance(), c.ohms, c.ohms * 1e-3f + 1e-7f)
            << int(c.metal) << " " << c.length << " cm " << c.diameter << " mm";
    }
}

TEST(ReswireModel, TheResistanceMeterReadsHighByItsZeroErrorAndNeverBelowIt)
{
    SetRandomState(5);
    const TReswireModel copper = Wire(TWireMetal::Copper, 50, 0.5f);
    float lowest = 10, highest = 0;
    double sum = 0;
    constexpr int n = 2000;
    for (int i = 0; i < n; ++i) {
        const float r = copper.MeterResistance();
        lowest = std::min(lowest, r);
        highest = std::max(highest, r);
        sum += r;
    }
    EXPECT_EQ(lowest, 0.2f) << "a scatter below no resistance reads the zero error";
    EXPECT_LT(highest, 0.65f);
    EXPECT_GT(sum / n, 0.25);
    EXPECT_LT(sum / n, 0.3);

    const TReswireModel nichrome = Wire(TWireMetal::Nichrome, 100, 0.01f);
    for (int i = 0; i < 20; ++i)
        EXPECT_NEAR(nichrome.MeterResistance() * 0.001f, 16.55f, 0.01f);
}

TEST(ReswireModel, NoWireOnOneCellDrivesAlmostTheShortCircuitCurrent)
{
    SetRandomState(9);
    const TReswireModel none = Wire(TWireMetal::Nichrome, 0, 0.5f);
    std::vector<int> seen(11, 0);
    for (int i = 0; i < 500; ++i) {
        const float r = none.CircuitResistance();
        ASSERT_GE(r, 0.0f);
        ASSERT_LE(r, 0.05f + 1e-6f);
        seen[std::size_t(Round(r * 100))]++;
        EXPECT_GE(none.Current(r), 2.727f);
        EXPECT_LE(none.Current(r), 3.0f);
        EXPECT_GE(none.PotentialDifference(r), 0.0f);
        EXPECT_LE(none.PotentialDifference(r), 0.14f);
    }
    EXPECT_GT(seen[0], seen[1]) << "every draw below no resistance reads 0";
    for (int k = 0; k <= 5; ++k)
        EXPECT_GT(seen[std::size_t(k)], 0) << k;

    // Nichrome 50 cm of 0.5 mm on one cell: 0.39 A and 1.30 V.
    const TReswireModel half = Wire(TWireMetal::Nichrome, 50, 0.5f);
    const float r = half.Resistance();
    EXPECT_NEAR(half.Current(r), 0.394f, 0.001f);
    EXPECT_NEAR(half.PotentialDifference(r), 1.303f, 0.001f);
    EXPECT_NEAR(Wire(TWireMetal::Nichrome, 50, 0.5f, 3).Current(r), 4.5f / 4.81f, 0.001f);
}

// --- the form -------------------------------------------------------------

class ReswireForm : public test::FormHostTest<TReswireFrm> {
protected:
    ReswireForm() : FormHostTest(QSize(900, 700)) {}

    QPoint OnRule(float cm) const
    {
        const TRect r = form->RuleRect();
        return QPoint(r.Left + Round(cm * form->Scale()), (r.Top + r.Bottom) / 2);
    }
    // The meter at (left, top) as it must look showing text in unit.
    bool MeterShows(float left, float top, const QString& text, MeterUnit unit)
    {
        const float s = form->Scale();
        const QRect display(Round((left + 1.5f) * s) + 1, Round((top + 1.5f) * s) + 1, Round(11 * s),
                            Round(6.5f * s));
        const QRect unitRow(Round((left + 3) * s), Round((top + 10) * s), Round(9 * s), Round(4 * s));
        TBitmap32 b(Round((left + 16) * s), Round((top + 21) * s));
        b.Clear(clWhite32);
        DrawDigitalMeter(b, text, unit, left * s, top * s, 15 * s, 20 * s, 0xFFC0E1FF);
        const QImage picture = Picture();
        return picture.copy(display) == b.Image().copy(display) &&
               picture.copy(unitRow) == b.Image().copy(unitRow);
    }
    bool ItemVisible(QWidget* w)
    {
        for (QAction* a : form->Toolbar()->actions())
            if (form->Toolbar()->widgetForAction(a) == w)
                return a->isVisible();
        return false;
    }
};

TEST_F(ReswireForm, StartsWithHalfAMetreOfCopperOnTheResistanceMeter)
{
    EXPECT_EQ(form->Model().WireLength, 50.0f);
    EXPECT_EQ(form->WireHsb->value(), 500);
    EXPECT_TRUE(form->OhmBtn->isChecked());
    EXPECT_FALSE(form->AmpVoltBtn->isChecked());
    EXPECT_FALSE(ItemVisible(form->cellSE));
    EXPECT_FALSE(ItemVisible(form->CellsLabel));
    EXPECT_EQ(form->MetalBtn->text(), QStringLiteral("Copper"));
    EXPECT_EQ(form->Pic()->toolTip(), QStringLiteral("Click on the ruler to set the length of wire"));
    const float ohms = form->Reading().Ohms;
    EXPECT_GE(ohms, 0.2f);
    EXPECT_LT(ohms, 0.7f);
    test::SavePicture(Picture(), QStringLiteral("reswire-start"));
    EXPECT_TRUE(MeterShows(3, 5, QString::asprintf("%1.1f", double(ohms)), muOhm));
}

TEST_F(ReswireForm, DraggingTheJockeyFollowsThePointerAndStopsAtTheEndsOfTheRule)
{
    QWidget* pic = form->Pic();
    QTest::mousePress(pic, Qt::LeftButton, Qt::NoModifier, OnRule(20));
    EXPECT_TRUE(form->Dragging());
    EXPECT_NEAR(form->Model().WireLength, 20, 0.2f);
    EXPECT_EQ(form->WireHsb->value(), Trunc(form->Model().WireLength * 10));

    QTest::mouseMove(pic, OnRule(73.5f));
    EXPECT_NEAR(form->Model().WireLength, 73.5f, 0.2f);
    EXPECT_EQ(form->WireHsb->value(), Trunc(form->Model().WireLength * 10));

    // Past either end, above or below the rule: the contact stays on it.
    QTest::mouseMove(pic, OnRule(130) + QPoint(0, -60));
    EXPECT_EQ(form->Model().WireLength, 100.0f);
    EXPECT_EQ(form->WireHsb->value(), 1000);
    QTest::mouseMove(pic, QPoint(2, OnRule(0).y()));
    EXPECT_EQ(form->Model().WireLength, 0.0f);
    EXPECT_EQ(form->WireHsb->value(), 0);

    QTest::mouseRelease(pic, Qt::LeftButton, Qt::NoModifier, QPoint(2, OnRule(0).y()));
    EXPECT_FALSE(form->Dragging());
    test::MouseMove(pic, OnRule(60));
    EXPECT_EQ(form->Model().WireLength, 0.0f) << "no longer dragging";

    // A press off the rule moves nothing.
    QTest::mousePress(pic, Qt::LeftButton, Qt::NoModifier, OnRule(60) + QPoint(0, -100));
    EXPECT_FALSE(form->Dragging());
    EXPECT_EQ(form->Model().WireLength, 0.0f);
    QTest::mouseRelease(pic, Qt::LeftButton, Qt::NoModifier, OnRule(60) + QPoint(0, -100));
}

TEST_F(ReswireForm, ThePointerIsAHandOverTheRule)
{
    QWidget* pic = form->Pic();
    test::MouseMove(pic, OnRule(40));
    EXPECT_EQ(pic->cursor().shape(), Qt::PointingHandCursor);
    test::MouseMove(pic, OnRule(40) + QPoint(0, -80));
    EXPECT_EQ(pic->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(ReswireForm, TheScrollBarSetsTheLengthAMillimetreAtATime)
{
    form->WireHsb->setFocus();
    QTest::keyClick(form->WireHsb, Qt::Key_Right);
    EXPECT_FLOAT_EQ(form->Model().WireLength, 50.1f);
    QTest::keyClick(form->WireHsb, Qt::Key_Home);
    EXPECT_EQ(form->Model().WireLength, 0.0f);
    // The contact's column follows: the jockey's handle is red there.
    const float s = form->Scale();
    const QImage picture = Picture();
    EXPECT_EQ(picture.pixelColor(form->RuleRect().Left, Round(64 * s)), QColor(Qt::red));
}

TEST_F(ReswireForm, ChoosingWhatIsAlreadyChosenGivesNoNewReading)
{
    const TReswireReading before = form->Reading();
    const QImage picture = Picture();
    form->OhmBtn->trigger();
    form->Copper->trigger();
    EXPECT_TRUE(form->OhmBtn->isChecked());
    EXPECT_EQ(form->Reading().Ohms, before.Ohms);
    EXPECT_EQ(Picture(), picture);

    form->Nichrome->trigger();
    EXPECT_EQ(form->MetalBtn->text(), QStringLiteral("Nichrome"));
    EXPECT_EQ(form->Model().Metal, TWireMetal::Nichrome);
    EXPECT_NEAR(form->Reading().Ohms, 3.51f, 0.6f);
    const float nichrome = form->Reading().Ohms;
    form->Nichrome->trigger();
    EXPECT_EQ(form->Reading().Ohms, nichrome);
}

TEST_F(ReswireForm, AVeryThinNichromeWireReadsInKilohms)
{
    form->Nichrome->trigger();
    form->WireSE->setValue(0.01);
    form->WireHsb->setFocus();
    QTest::keyClick(form->WireHsb, Qt::Key_End);
    EXPECT_EQ(form->Model().WireLength, 100.0f);
    EXPECT_TRUE(MeterShows(3, 5, QStringLiteral("16.6"), muKiloOhm));
}

TEST_F(ReswireForm, TheAmmeterAndVoltmeterComeWithTheirCells)
{
    form->AmpVoltBtn->trigger();
    EXPECT_TRUE(form->AmpVoltBtn->isChecked());
    EXPECT_FALSE(form->OhmBtn->isChecked());
    EXPECT_TRUE(ItemVisible(form->cellSE));
    EXPECT_TRUE(ItemVisible(form->CellsLabel));
    const TReswireReading r = form->Reading();
    EXPECT_NEAR(r.Ohms, form->Model().Resistance(), 0.0501f);
    EXPECT_TRUE(MeterShows(3, 5, QString::asprintf("%1.2f", double(r.Amps)), muAmp));
    EXPECT_TRUE(MeterShows(33, 25, QString::asprintf("%1.2f", double(r.Volts)), muVolt));

    form->AmpVoltBtn->trigger();
    EXPECT_EQ(form->Reading().Ohms, r.Ohms) << "already chosen";

    form->cellSE->setValue(3);
    const QImage picture = Picture();
    test::SavePicture(picture, QStringLiteral("reswire-three-cells"));
    const float s = form->Scale();
    // The gap in the top wire spans 30 to 41 units; the cells stand 4 apart.
    const int wireRow = Round(10 * s);
    EXPECT_EQ(picture.pixelColor(Round(29 * s), wireRow), QColor(0, 0x7F, 0)) << "wire before the gap";
    EXPECT_EQ(picture.pixelColor(Round(42 * s), wireRow), QColor(0, 0x7F, 0)) << "wire after the gap";
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(picture.pixelColor(Round(30.3f * s) + k * Round(4 * s), Round(7 * s)), QColor(Qt::black))
            << k;
        EXPECT_EQ(picture.pixelColor(Round(32.2f * s) + k * Round(4 * s), wireRow), QColor(Qt::black)) << k;
        if (k < 2) {
            EXPECT_EQ(picture.pixelColor(Round(33.7f * s) + k * Round(4 * s), wireRow), QColor(Qt::white))
                << k;
        }
    }

    form->OhmBtn->trigger();
    EXPECT_FALSE(ItemVisible(form->cellSE));
    EXPECT_EQ(Picture().pixelColor(Round(33.7f * s), wireRow), QColor(0, 0x7F, 0)) << "no battery";
}

TEST_F(ReswireForm, TheLensShowsTheRuleRoundTheContactAndWhereItEnds)
{
    const float s = form->Scale();
    const int xc = (Round(65 * s) + Round(105 * s)) / 2;
    const int stripRow = Round(42 * s);  // below the longest ticks
    const auto yellowAt = [&](int x) {
        return Picture().pixelColor(x, stripRow) == QColor(0xFF, 0xFF, 0x80);
    };
    EXPECT_TRUE(yellowAt(xc - Round(12 * s)));
    EXPECT_TRUE(yellowAt(xc + Round(12 * s)));

    form->WireHsb->setFocus();
    QTest::keyClick(form->WireHsb, Qt::Key_Home);
    EXPECT_FALSE(yellowAt(xc - Round(12 * s))) << "nothing left of the rule's 0";
    EXPECT_TRUE(yellowAt(xc + Round(12 * s)));
    // A centimetre tick on the centre column, reaching half-way down the strip.
    const QImage picture = Picture();
    EXPECT_EQ(picture.pixelColor(xc, Round(30 * s) + 3), QColor(Qt::black));
    EXPECT_EQ(picture.pixelColor(xc, Round(37 * s) - 2), QColor(Qt::black));
}

}  // namespace
}  // namespace brv
