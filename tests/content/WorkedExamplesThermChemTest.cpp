// The heat of neutralisation pages' typical results are what the model gives.
#include "experiments/chemistry/uThermoChemModel.h"
#include "support/LessonPages.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

#include <vector>

namespace brv {
namespace {

using test::Flat;
using test::Page;
using test::RowNumbers;

// 1.0 M acid into 20 cm³ of 1.0 M sodium hydroxide, the mean reading.
float MeanTemperature(float added, bool sulphuric = false)
{
    TThermoChemModel m;
    m.Sulphuric = sulphuric;
    m.AcidAdded = added;
    return TThermoChemModel::StartTemperature + m.TemperatureRise();
}

TEST(WorkedExamplesThermChem, TheTableIsWhatTheModelGives)
{
    const QString page = Page("THERMCHEM-ANYS.HTM");
    ASSERT_FALSE(page.isEmpty());
    const std::vector<double> added = RowNumbers(page, QStringLiteral("Acid added (cm&sup3;)"));
    const std::vector<double> temps = RowNumbers(page, QStringLiteral("Typical temperature (&deg;C)"));
    ASSERT_GE(added.size(), 3U);
    ASSERT_EQ(temps.size(), added.size());
    for (std::size_t i = 0; i < added.size(); ++i)
        EXPECT_NEAR(temps[i], MeanTemperature(float(added[i])), 0.051) << added[i] << " cm³";
}

TEST(WorkedExamplesThermChem, TheEnergyAndTheSulphuricPeakAreWhatTheModelGives)
{
    const QString page = Flat(Page("THERMCHEM-ANYS.HTM"));
    ASSERT_FALSE(page.isEmpty());
    // "the temperature rose from 20.0 ºC to 26.8 ºC"
    const QRegularExpression rose(QStringLiteral("rose from ([0-9.]+) &deg;C to ([0-9.]+) &deg;C"));
    const QRegularExpressionMatch r = rose.match(page);
    ASSERT_TRUE(r.hasMatch());
    EXPECT_DOUBLE_EQ(r.captured(1).toDouble(), TThermoChemModel::StartTemperature);
    EXPECT_NEAR(r.captured(2).toDouble(), MeanTemperature(20), 0.05);
    // "= 40 × 4.2 × 6.8 = 1140 J" and back to 57 kJ per mole.
    const QRegularExpression energy(QStringLiteral("= 40 &times; 4\\.2 &times; ([0-9.]+) = ([0-9]+) J"));
    const QRegularExpressionMatch e = energy.match(page);
    ASSERT_TRUE(e.hasMatch());
    EXPECT_NEAR(e.captured(1).toDouble(), MeanTemperature(20) - 20, 0.05);
    EXPECT_NEAR(e.captured(2).toDouble(), 20 * TThermoChemModel::HeatOfNeutralisation, 0.02 * 1140);
    EXPECT_TRUE(page.contains(QStringLiteral("57 kJ per mole of water formed")));
    // Sulphuric acid: "only 10 cm³, and the temperature rises higher (to about 29 ºC)"
    const QRegularExpression sulphuric(QStringLiteral(
        "with only ([0-9.]+) cm&sup3;, and the temperature rises higher \\(to about ([0-9.]+) &deg;C\\)"));
    const QRegularExpressionMatch s = sulphuric.match(page);
    ASSERT_TRUE(s.hasMatch());
    const float peakVolume = s.captured(1).toFloat();
    EXPECT_GT(MeanTemperature(peakVolume, true), MeanTemperature(peakVolume - 0.1f, true));
    EXPECT_GT(MeanTemperature(peakVolume, true), MeanTemperature(peakVolume + 0.1f, true));
    EXPECT_NEAR(s.captured(2).toDouble(), MeanTemperature(peakVolume, true), 0.5);
}

}  // namespace
}  // namespace brv
