// Expansion of a gas: Charles's law with its scatter, and the form's column,
// rule and lens on real pixels.
#include "experiments/physics/uExpansion.h"

#include "runtime/AddMaths.h"
#include "support/FormContract.h"
#include "support/FormHostTest.h"
#include "support/Sampling.h"
#include "support/TestSupport.h"

#include <QLabel>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>

namespace brv {
namespace {

const bool kContract = test::RegisterFormTraits([] {
    test::TFormTraits t;
    t.id = ids::Expansion;
    t.name = "Expansion";
    t.spins = {{"Mass", 0, 15, 10, 0, 0, 150, 300}, {"Temperature", 0, 100, 20, 0, 0, 150, 300}};
    return t;
}());

TEST(ExpansionModel, TheColumnFollowsCharlesLaw)
{
    struct Case {
        int mass, temperature;
        float length;
    };
    for (const Case& c : {Case{10, 20, 10.733f}, Case{10, 100, 13.663f}, Case{10, 0, 10},
                          Case{15, 100, 20.495f}, Case{0, 60, 0}, Case{5, 50, 5.916f}}) {
        EXPECT_NEAR(TExpansionModel::MeanLength(c.mass, c.temperature), c.length, 0.001f)
            << c.mass << " at " << c.temperature;
    }
    // Length over absolute temperature is the same at every temperature.
    for (int t = 0; t <= 100; t += 20)
        EXPECT_NEAR(TExpansionModel::MeanLength(10, t) / float(t + 273), 10.0f / 273, 1e-6f) << t;
}

TEST(ExpansionModel, EachReadingScattersByAMillimetreAndNeverGoesNegative)
{
    SetRandomState(21);
    TExpansionModel m;
    const test::Sample errors = test::SampleOf(2000, [&] {
        m.NewLength();
        return m.GasLength - TExpansionModel::MeanLength(10, 20);
    });
    EXPECT_NEAR(errors.mean, 0, 0.01);
    EXPECT_NEAR(errors.rms, 0.1, 0.01);

    m.Mass = 0;
    int zero = 0;
    for (int i = 0; i < 200; ++i) {
        m.NewLength();
        ASSERT_GE(m.GasLength, 0.0f);
        zero += m.GasLength == 0 ? 1 : 0;
    }
    EXPECT_NEAR(zero, 100, 25) << "half the readings of no gas would be negative";
}

// --- the form -------------------------------------------------------------

class ExpansionForm : public test::FormHostTest<TExpansionFrm> {
protected:
    ExpansionForm() : FormHostTest(QSize(720, 640)) {}

    // Rows of the capillary's bore, top to bottom, in the colour c.
    std::vector<int> BoreRows(const QImage& picture, QColor c)
    {
        const float s = form->Scale();
        const int x = Round((13.1f + 0.3f) * s);
        std::vector<int> rows;
        for (int y = Round(10.9f * s); y < Round(28.9f * s); ++y)
            if (picture.pixelColor(x, y) == c)
                rows.push_back(y);
        return rows;
    }
    int ClosedEndRow() const
    {
        const float s = form->Scale();
        return Round(28.9f * s) - Round(0.7f * s);
    }
    // The lens's centre row and the column that runs down its rule strip's
    // inside, left of the tick ends.
    int LensRow() const { return Round(5.5f * form->Scale()); }
    int StripColumn() const { return Round(18.5f * form->Scale()) - Round(0.2f * 9 * form->Scale()); }
};

TEST_F(ExpansionForm, TheThreadSitsOnTheColumnMeasuredFromTheClosedEnd)
{
    EXPECT_EQ(form->Mass->value(), 10);
    EXPECT_EQ(form->Temperature->value(), 20);
    EXPECT_NEAR(form->Model().GasLength, 10.73f, 0.5f);
    const QImage picture = Picture();
    test::SavePicture(picture, QStringLiteral("expansion-start"));
    const std::vector<int> green = BoreRows(picture, QColor(0, 0x7F, 0));
    ASSERT_FALSE(green.empty());
    const float g = 0.7f * form->Scale();
    // The thread's bottom edge is the column's top: L cm above the closed end.
    EXPECT_EQ(green.back() + 1, ClosedEndRow() - Round(g * form->Model().GasLength));
    EXPECT_NEAR(float(green.size()), g, 1.0f) << "a thread 1 cm long";
}

TEST_F(ExpansionForm, EveryChangeIsAFreshReadingOfTheNewLength)
{
    form->Temperature->setFocus();
    QTest::keyClick(form->Temperature, Qt::Key_PageUp);  // ten degrees
    EXPECT_EQ(form->Model().Temperature, 30);
    const float first = form->Model().GasLength;
    QTest::keyClick(form->Temperature, Qt::Key_Down);
    QTest::keyClick(form->Temperature, Qt::Key_Up);
    EXPECT_EQ(form->Model().Temperature, 30);
    EXPECT_NE(form->Model().GasLength, first) << "the same setting twice reads differently";
    EXPECT_NEAR(form->Model().GasLength, 11.10f, 0.5f);

    // The text is not typable: only the arrows change the setting.
    QTest::keyClick(form->Temperature, Qt::Key_Backspace);
    QTest::keyClicks(form->Temperature, QStringLiteral("99"));
    form->Temperature->interpretText();
    EXPECT_EQ(form->Temperature->value(), 30);
}

TEST_F(ExpansionForm, AtTheTopOfTheRuleTheLensShowsItsEnd)
{
    form->Mass->setValue(15);
    form->Temperature->setValue(100);
    const float length = form->Model().GasLength;
    ASSERT_GT(length, 19.5f);
    const QImage picture = Picture();
    test::SavePicture(picture, QStringLiteral("expansion-top"));
    const float s = form->Scale();
    const float r = 9 * s / 30;
    const int stripTop = Round(5.5f * s - 10 * r * (21 - length));
    EXPECT_EQ(picture.pixelColor(StripColumn(), stripTop), QColor(Qt::black)) << "the rule's far end";
    EXPECT_EQ(picture.pixelColor(StripColumn(), stripTop + 2), QColor(0xFF, 0xFF, 0x80));
    EXPECT_NE(picture.pixelColor(StripColumn(), stripTop - 2), QColor(0xFF, 0xFF, 0x80))
        << "nothing beyond it";
    EXPECT_EQ(picture.pixelColor(StripColumn(), LensRow()), QColor(0xFF, 0xFF, 0x80));
}

TEST_F(ExpansionForm, WithNoGasTheLensShowsTheClosedEndAndNoZeroLabel)
{
    SetRandomState(1);
    form->Mass->setValue(0);
    const float s = form->Scale();
    const float r = 9 * s / 30;
    const QImage picture = Picture();
    test::SavePicture(picture, QStringLiteral("expansion-empty"));
    const float length = form->Model().GasLength;
    ASSERT_LE(length, 1.5f);
    const int stripBottom = Round(length * 10 * r + 5.5f * s);
    // The strip's frame closes it on its last row.
    EXPECT_EQ(picture.pixelColor(StripColumn(), stripBottom - 2), QColor(0xFF, 0xFF, 0x80));
    EXPECT_EQ(picture.pixelColor(StripColumn(), stripBottom - 1), QColor(Qt::black)) << "the rule's 0 end";
    EXPECT_NE(picture.pixelColor(StripColumn(), stripBottom + 2), QColor(0xFF, 0xFF, 0x80));
    // No label stands left of the ticks at the 0 mark, nor anywhere below
    // the first centimetre.
    const int labelRight = Round(18.5f * s) - Round(0.17f * 9 * s);
    for (int y = LensRow() + Round(3 * r); y < stripBottom; ++y)
        for (int x = Round(14 * s) + Round(0.5f * s); x < labelRight; ++x)
            ASSERT_NE(picture.pixelColor(x, y), QColor(Qt::black)) << x << "," << y;
}

TEST_F(ExpansionForm, LargeButtonsGrowTheEditorsTwiceAsMuchAsTheLabels)
{
    const qreal label = form->MassLabel->font().pointSizeF();
    const qreal editor = form->Mass->font().pointSizeF();
    EXPECT_NEAR(editor / label, 1.5, 0.01);
    form->SetLargeButtons(true);
    EXPECT_NEAR(form->MassLabel->font().pointSizeF() / label, 1.5, 0.01);
    EXPECT_NEAR(form->TempLabel->font().pointSizeF() / label, 1.5, 0.01);
    EXPECT_NEAR(form->Temperature->font().pointSizeF() / label, 3.0, 0.01);
    form->SetLargeButtons(false);
    EXPECT_NEAR(form->Mass->font().pointSizeF(), editor, 0.01);
}

}  // namespace
}  // namespace brv
