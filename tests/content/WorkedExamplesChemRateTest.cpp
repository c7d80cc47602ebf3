// The hydrogen peroxide pages' typical results are what the model gives.
#include "experiments/chemistry/uPeroxideModel.h"
#include "support/LessonPages.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace brv {
namespace {

using test::Flat;
using test::Page;
using test::RowNumbers;

// A reading after two minutes of the book's standard run (25 cm³ of 1 M
// peroxide, 0.5 g of 0.5 mm catalyst), read halfway through its second.
float AfterTwoMinutes(int temperature, float particleSize)
{
    TPeroxideModel m;
    m.Temperature = temperature;
    m.ParticleSize = particleSize;
    return m.VolumeAt(120, 0.5f);
}

TEST(WorkedExamplesChemRate, TheTablesAreWhatTheModelGives)
{
    const QString page = Page("CHEMRATE-ANYS.HTM");
    ASSERT_FALSE(page.isEmpty());
    const std::vector<double> temps = RowNumbers(page, QStringLiteral("Temperature (&deg;C)"));
    const std::vector<double> volumes =
        RowNumbers(page, QStringLiteral("Typical volume after 2 min (cm&sup3;)"));
    ASSERT_GE(temps.size(), 3U);
    ASSERT_EQ(volumes.size(), temps.size());
    for (std::size_t i = 0; i < temps.size(); ++i) {
        const float v = AfterTwoMinutes(int(temps[i]), 0.5f);
        EXPECT_NEAR(volumes[i], v, 0.03 * v) << temps[i] << " ºC";
    }

    const std::vector<double> sizes = RowNumbers(page, QStringLiteral("Particle size (mm)"));
    const std::vector<double> bySize =
        RowNumbers(page, QStringLiteral("Typical volume after 2 min at 20 &deg;C (cm&sup3;)"));
    ASSERT_GE(sizes.size(), 3U);
    ASSERT_EQ(bySize.size(), sizes.size());
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        const float v = AfterTwoMinutes(20, float(sizes[i]));
        EXPECT_NEAR(bySize[i], v, 0.03 * v) << sizes[i] << " mm";
    }
}

TEST(WorkedExamplesChemRate, TheWholeReactionIsWhatTheModelGives)
{
    const QString page = Flat(Page("CHEMRATE-ANYS.HTM"));
    ASSERT_FALSE(page.isEmpty());
    // "10 cm³ of 0.8 M peroxide at 40 ºC ... levels off towards about 90 cm³"
    TPeroxideModel run;
    run.PeroxideVolume = 10;
    run.PeroxideConc = 0.8f;
    const QRegularExpression total(QStringLiteral("0\\.004 &times; 22 400 = ([0-9.]+) cm&sup3;"));
    const QRegularExpressionMatch m = total.match(page);
    ASSERT_TRUE(m.hasMatch());
    EXPECT_NEAR(m.captured(1).toDouble(), run.FinalVolume(), 0.5);
    EXPECT_TRUE(page.contains(
        QStringLiteral("levels off towards about %1 cm&sup3;").arg(std::round(run.FinalVolume()))));
    EXPECT_TRUE(page.contains(QStringLiteral("22.4 dm&sup3;")));

    // "Half of the peroxide has gone in about 8 minutes at 40 ºC, but in about
    // 38 minutes at 20 ºC."
    const QRegularExpression halves(
        QStringLiteral("Half of the peroxide has gone in about ([0-9]+) minutes at 40 &deg;C, but in about "
                       "([0-9]+) minutes at 20"));
    const QRegularExpressionMatch h = halves.match(page);
    ASSERT_TRUE(h.hasMatch());
    const auto halfLife = [&run](int temperature) {
        run.Temperature = temperature;
        return std::log(2.0) / run.RateConstant() / 60;
    };
    EXPECT_NEAR(h.captured(1).toDouble(), halfLife(40), 0.5);
    EXPECT_NEAR(h.captured(2).toDouble(), halfLife(20), 0.5);
}

}  // namespace
}  // namespace brv
