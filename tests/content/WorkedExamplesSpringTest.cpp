// The spring pages' typical times, speeds and energies are the model's, and
// what they say about the scatter is what the model draws.
#include "experiments/physics/uESpringModel.h"
#include "runtime/AddMaths.h"
#include "support/LessonPages.h"

#include <QRegularExpression>
#include <QString>

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace brv {
namespace {

using test::Flat;
using test::Page;
using test::RowNumbers;

TEST(WorkedExamples, SpringTableIsWhatTheModelGives)
{
    const QString page = Page("SPRING-ANYS.HTM");
    ASSERT_FALSE(page.isEmpty());
    const std::vector<double> x = RowNumbers(page, QStringLiteral("Compression (cm)"));
    const std::vector<double> t = RowNumbers(page, QStringLiteral("Typical time (s)"));
    const std::vector<double> v = RowNumbers(page, QStringLiteral("Speed (m/s)"));
    const std::vector<double> e = RowNumbers(page, QStringLiteral("Kinetic energy (J)"));
    ASSERT_GE(x.size(), 4U);
    ASSERT_EQ(t.size(), x.size());
    ASSERT_EQ(v.size(), x.size());
    ASSERT_EQ(e.size(), x.size());
    // "Typical results for a 1.0 kg trolley", the spring at its mean constant.
    ASSERT_TRUE(page.contains(QStringLiteral("Typical results for a 1.0 kg trolley")));
    for (std::size_t i = 0; i < x.size(); ++i) {
        SCOPED_TRACE(x[i]);
        const double time = TSpringModel::PassTimeFor(float(x[i]), 1, TSpringModel::MeanSpringConstant);
        const double speed = 0.1 / time;  // m/s over the 10 cm card
        EXPECT_NEAR(t[i], time, 0.0006) << "to the millisecond";
        EXPECT_NEAR(v[i], speed, 0.006);
        EXPECT_NEAR(e[i], 0.5 * speed * speed, 0.0006);
    }
}

TEST(WorkedExamples, SpringWorkedExampleIsWhatTheModelGives)
{
    const QString page = Flat(Page("SPRING-ANYS.HTM"));
    const QRegularExpression example(QStringLiteral(
        "Mass ([0-9.]+) kg, compression ([0-9.]+) cm\\. Times ([0-9.]+) s, ([0-9.]+) s and ([0-9.]+) s; "
        "mean = ([0-9.]+) s\\."));
    const QRegularExpressionMatch m = example.match(page);
    ASSERT_TRUE(m.hasMatch());
    const double mean = (m.captured(3).toDouble() + m.captured(4).toDouble() + m.captured(5).toDouble()) / 3;
    EXPECT_NEAR(m.captured(6).toDouble(), mean, 0.0006);
    const double time = TSpringModel::PassTimeFor(m.captured(2).toFloat(), m.captured(1).toFloat(),
                                                  TSpringModel::MeanSpringConstant);
    EXPECT_NEAR(mean, time, 0.0006);
}

// The pages say the times scatter by "about a tenth either way, sometimes
// more": the spread of the pass time over the spring constant's draws.
TEST(WorkedExamples, SpringScatterIsWhatThePagesSay)
{
    for (const char* name : {"SPRING-PLAN.HTM", "SPRING-DATA.HTM"}) {
        const QString page = Flat(Page(name));
        EXPECT_TRUE(page.contains(QStringLiteral("about a tenth either way, sometimes more"))) << name;
        EXPECT_FALSE(page.contains(QStringLiteral("second decimal place"))) << name;
        EXPECT_FALSE(page.contains(QStringLiteral("up to about a tenth"))) << name;
    }
    SetRandomState(99);
    const double mean = TSpringModel::PassTimeFor(5, 1, TSpringModel::MeanSpringConstant);
    constexpr int n = 4000;
    double squares = 0;
    int beyondATenth = 0;
    for (int i = 0; i < n; ++i) {
        const double off = TSpringModel::PassTimeFor(5, 1, TSpringModel::NewSpringConstant()) / mean - 1;
        squares += off * off;
        beyondATenth += std::abs(off) > 0.1;
    }
    EXPECT_NEAR(std::sqrt(squares / n), 0.1, 0.03) << "about a tenth";
    EXPECT_GT(beyondATenth, n / 5) << "sometimes more";
}

}  // namespace
}  // namespace brv
