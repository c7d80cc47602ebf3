// The friction pages' typical coefficients and forces are the model's.
#include "experiments/physics/uFrictionModel.h"
#include "support/LessonPages.h"

#include <QRegularExpression>
#include <QString>

#include <gtest/gtest.h>

#include <vector>

namespace brv {
namespace {

using test::Flat;
using test::Page;
using test::RowNumbers;

TEST(WorkedExamples, FrictionTableIsWhatTheModelGives)
{
    const QString page = Page("FRICTION-ANYS.HTM");
    ASSERT_FALSE(page.isEmpty());
    // Smooth, medium and rough, in the order of the surface menu.
    const std::vector<double> mu = RowNumbers(page, QStringLiteral("Typical &mu;"));
    const std::vector<double> full = RowNumbers(page, QStringLiteral("Friction with 10 N added (N)"));
    ASSERT_EQ(mu.size(), TFrictionModel::SurfaceMu.size());
    ASSERT_EQ(full.size(), mu.size());
    for (std::size_t i = 0; i < mu.size(); ++i) {
        SCOPED_TRACE(i);
        TFrictionModel m;
        m.Mu = TFrictionModel::SurfaceMu[i];
        m.WeightCount = 10;
        EXPECT_NEAR(mu[i], m.Mu, 0.005);
        EXPECT_NEAR(full[i], m.LimitingFriction(), 0.05) << "to one decimal";
    }
}

// "Medium surface, 3 N added ... mean = 1.83 N ... μ = 1.83 ÷ 3.5 = 0.52": the
// readings lie a step of 0.1 N or a scatter below or above the model's 1.82 N.
TEST(WorkedExamples, FrictionWorkedExampleIsWhatTheModelGives)
{
    const QString page = Flat(Page("FRICTION-ANYS.HTM"));
    const QRegularExpression example(QStringLiteral(
        "Medium surface, ([0-9]+) N added\\. Total weight = [0-9]+ \\+ 0\\.5 = ([0-9.]+) N\\. "
        "Readings just before slipping: ([0-9.]+), ([0-9.]+) and ([0-9.]+) N; mean = ([0-9.]+) N\\."));
    const QRegularExpressionMatch m = example.match(page);
    ASSERT_TRUE(m.hasMatch());
    TFrictionModel medium;
    medium.WeightCount = m.captured(1).toInt();
    EXPECT_DOUBLE_EQ(m.captured(2).toDouble(), medium.WeightCount + TFrictionModel::BlockWeight);
    const double mean = (m.captured(3).toDouble() + m.captured(4).toDouble() + m.captured(5).toDouble()) / 3;
    EXPECT_NEAR(m.captured(6).toDouble(), mean, 0.005);
    EXPECT_NEAR(mean, medium.LimitingFriction(), 2 * TFrictionModel::OffsetSpread);
    const QRegularExpression ratio(QStringLiteral("= ([0-9.]+) &divide; ([0-9.]+) = ([0-9]+\\.[0-9]+)"));
    const QRegularExpressionMatch r = ratio.match(page);
    ASSERT_TRUE(r.hasMatch());
    EXPECT_NEAR(r.captured(3).toDouble(), medium.Mu, 0.005);
}

// "about 0.3 N either way" at each reset.
TEST(WorkedExamples, FrictionScatterIsWhatTheModelDraws)
{
    const QString page = Flat(Page("FRICTION-DATA.HTM"));
    const QRegularExpression spread(QStringLiteral("typically about ([0-9.]+) N either way"));
    const QRegularExpressionMatch m = spread.match(page);
    ASSERT_TRUE(m.hasMatch());
    EXPECT_NEAR(m.captured(1).toDouble(), TFrictionModel::OffsetSpread, 1e-6);
}

}  // namespace
}  // namespace brv
