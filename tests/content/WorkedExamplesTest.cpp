// The numbers the analysis pages give as typical results are the numbers the
// experiments give: a pupil who checks a result against the page must find
// the two agree.
#include "experiments/physics/uBallModel.h"
#include "experiments/physics/uTerminalVelocityModel.h"
#include "support/LessonPages.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringList>

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace brv {
namespace {

using test::Flat;
using test::Page;
using test::RowNumbers;

TEST(WorkedExamples, TerminalVelocityTableIsWhatTheModelGives)
{
    const QString page = Page("TERMVEL-ANYS.HTM");
    ASSERT_FALSE(page.isEmpty());
    const std::vector<double> radii = RowNumbers(page, QStringLiteral("Radius (cm)"));
    const std::vector<double> times = RowNumbers(page, QStringLiteral("Time over 60 cm (s)"));
    const std::vector<double> speeds = RowNumbers(page, QStringLiteral("Terminal velocity (cm/s)"));
    ASSERT_GE(radii.size(), 3U);
    ASSERT_EQ(times.size(), radii.size());
    ASSERT_EQ(speeds.size(), radii.size());
    // The page's liquid: "viscosity 10 Pa s", at standard gravity.
    ASSERT_TRUE(Flat(page).contains(QStringLiteral("viscosity 10 Pa s")));
    for (std::size_t i = 0; i < radii.size(); ++i) {
        SCOPED_TRACE(radii[i]);
        TTerminalVelocityModel model;
        model.ViscosityPoise = 100;
        model.SetRadius(float(radii[i]));
        const double v = model.TerminalSpeed();
        // Given to two or three figures.
        EXPECT_NEAR(speeds[i], v, 0.03 * v);
        EXPECT_NEAR(times[i], 60 / v, 0.03 * 60 / v);
    }
}

TEST(WorkedExamples, BallBounceHeightsAreWhatTheModelGives)
{
    const QString page = Flat(Page("BALL-ANYS.HTM"));
    ASSERT_FALSE(page.isEmpty());
    const auto bounce = [](float temperature) {
        const float e = TBallModel::MeanRestitution(temperature);
        return 100.0 * e * e;  // cm, from a drop of 100 cm
    };
    const QString degrees = QStringLiteral("(?:&deg;|°)C");

    // "about 29% of its height" at 20 ºC, and the fraction 0.29.
    EXPECT_TRUE(page.contains(QStringLiteral("about %1% of its height").arg(std::round(bounce(20)))));
    EXPECT_TRUE(page.contains(QStringLiteral("about %1 at 20 ").arg(bounce(20) / 100, 0, 'f', 2)));

    // "from 0 ºC (about 1 cm from 100 cm) to about 50 cm at 40 ºC, ... about 63 cm at 100 ºC"
    const QRegularExpression coldest(
        QStringLiteral("from 0 %1 \\(about ([0-9.]+) cm from 100 cm\\)").arg(degrees));
    const QRegularExpressionMatch cold = coldest.match(page);
    ASSERT_TRUE(cold.hasMatch());
    EXPECT_NEAR(cold.captured(1).toDouble(), bounce(0), 0.5);
    const QRegularExpression warmer(QStringLiteral("about ([0-9.]+) cm at ([0-9]+) %1").arg(degrees));
    int found = 0;
    for (auto it = warmer.globalMatch(page); it.hasNext(); ++found) {
        const QRegularExpressionMatch m = it.next();
        SCOPED_TRACE(m.captured(0).toStdString());
        EXPECT_NEAR(m.captured(1).toDouble(), bounce(m.captured(2).toFloat()), 1.0);
    }
    EXPECT_GE(found, 2);

    // "from 100 cm the bounces are about 29 cm, 8.5 cm and 2.5 cm": each
    // keeps the same fraction of the one before.
    const QRegularExpression series(
        QStringLiteral("bounces are about ([0-9.]+) cm, ([0-9.]+) cm and ([0-9.]+) cm"));
    const QRegularExpressionMatch s = series.match(page);
    ASSERT_TRUE(s.hasMatch());
    const double f = bounce(20) / 100;
    for (int k = 1; k <= 3; ++k)
        EXPECT_NEAR(s.captured(k).toDouble(), 100 * std::pow(f, k), 0.05 * 100 * std::pow(f, k)) << k;
}

}  // namespace
}  // namespace brv
