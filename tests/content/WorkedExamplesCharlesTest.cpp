// The expansion-of-a-gas pages: the worked example's lengths are the
// model's, and the pages ask for the precision the rule gives.
#include "experiments/physics/uExpansionModel.h"
#include "support/LessonPages.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

namespace brv {
namespace {

using test::Flat;
using test::Page;

double Number(const QString& text, const QString& pattern)
{
    const QRegularExpressionMatch m = QRegularExpression(pattern).match(text);
    return m.hasMatch() ? m.captured(1).toDouble() : -1;
}

TEST(WorkedExamplesCharles, TheWorkedExampleIsTheModelsMeanColumn)
{
    const QString page = Flat(Page("CHARLES-ANYS.HTM"));
    ASSERT_FALSE(page.isEmpty());
    const QString degrees = QStringLiteral("(?:&deg;|°)C");
    const double cold = Number(page, QStringLiteral("Mean lengths ([0-9.]+) cm at 0 %1").arg(degrees));
    const double hot = Number(page, QStringLiteral("and ([0-9.]+) cm at 100 %1").arg(degrees));
    EXPECT_NEAR(cold, TExpansionModel::MeanLength(10, 0), 0.005);
    EXPECT_NEAR(hot, TExpansionModel::MeanLength(10, 100), 0.005);
    // "10.73 ÷ 293 = 0.0366 and 13.66 ÷ 373 = 0.0366"
    const double at20 = Number(page, QStringLiteral("Check it: ([0-9.]+) &divide; 293"));
    EXPECT_NEAR(at20, TExpansionModel::MeanLength(10, 20), 0.005);
    EXPECT_NEAR(Number(page, QStringLiteral("Gradient = \\(13.66 &minus; 10.00\\) &divide; 100 = ([0-9.]+)")),
                (TExpansionModel::MeanLength(10, 100) - TExpansionModel::MeanLength(10, 0)) / 100, 0.00005);
}

TEST(WorkedExamplesCharles, PupilsRecordLengthsToTheMillimetreTheRuleShows)
{
    for (const char* name : {"CHARLES-PLAN.HTM", "CHARLES-DATA.HTM"}) {
        const QString page = Flat(Page(name));
        ASSERT_FALSE(page.isEmpty()) << name;
        EXPECT_FALSE(page.contains(QStringLiteral("0.01 cm"))) << name;
        EXPECT_FALSE(page.contains(QStringLiteral("second decimal place to"))) << name;
        EXPECT_TRUE(page.contains(QStringLiteral("nearest millimetre"))) << name;
    }
    // The scatter the pages promise is the model's: about a millimetre.
    EXPECT_NEAR(TExpansionModel::Scatter, 0.1, 1e-6);
    EXPECT_TRUE(Flat(Page("CHARLES.HTM")).contains(QStringLiteral("class=\"safety\"")));
}

}  // namespace
}  // namespace brv
