// The car's analysis page gives typical stopping distances: a pupil who
// checks a result against the page must find the page and the experiment
// agree.
#include "experiments/physics/uCarModel.h"
#include "support/LessonPages.h"

#include <QString>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace brv {
namespace {

using test::Page;
using test::RowNumbers;

// The scroll bar's position (a tenth of a unit) nearest to the release
// height h on a ramp at angleDeg, as a pupil would set it.
float StartForHeight(int angleDeg, double h)
{
    const double x = TCarModel::FootPos - h / std::tan(double(TCarModel::Radians(angleDeg)));
    return float(std::round(x * 10) / 10);
}

// The page gives whole centimetres.
void ExpectDistance(double page, int angleDeg, double height)
{
    const double d = TCarModel::MeanStoppingDistance(angleDeg, StartForHeight(angleDeg, height));
    EXPECT_NEAR(page, d, std::max(1.0, 0.02 * d)) << angleDeg << "°, " << height << " cm";
}

TEST(WorkedExamples, CarStoppingDistancesAreWhatTheModelGives)
{
    const QString page = Page("CAR-ANYS.HTM");
    ASSERT_FALSE(page.isEmpty());
    const std::vector<double> heights = RowNumbers(page, QStringLiteral("Release height (cm)"));
    const std::vector<double> distances = RowNumbers(page, QStringLiteral("Mean stopping distance (cm)"));
    ASSERT_GE(heights.size(), 5U);
    ASSERT_EQ(distances.size(), heights.size());
    // "Typical results for a 15° ramp".
    ASSERT_TRUE(page.contains(QStringLiteral("Typical results for a 15&deg; ramp")));
    for (std::size_t i = 0; i < heights.size(); ++i)
        ExpectDistance(distances[i], 15, heights[i]);
}

TEST(WorkedExamples, CarRampAngleTableIsWhatTheModelGives)
{
    const QString page = Page("CAR-ANYS.HTM");
    const qsizetype extension = page.indexOf(QStringLiteral("Ramp angle (extension)"));
    ASSERT_GE(extension, 0);
    const QString table = page.mid(extension);
    // "Typical means from a release height of 4.0 cm".
    ASSERT_TRUE(test::Flat(table).contains(QStringLiteral("release height of 4.0 cm")));
    const std::vector<double> angles = RowNumbers(table, QStringLiteral("Ramp angle (&deg;)"));
    const std::vector<double> distances = RowNumbers(table, QStringLiteral("Mean stopping distance (cm)"));
    ASSERT_GE(angles.size(), 3U);
    ASSERT_EQ(distances.size(), angles.size());
    for (std::size_t i = 0; i < angles.size(); ++i)
        ExpectDistance(distances[i], int(angles[i]), 4.0);
}

}  // namespace
}  // namespace brv
