// The biology pages' typical results are what the amylase, yeast and
// photosynthesis models give: a pupil who checks a result against the page
// must find the two agree.
#include "experiments/biology/uAmylaseModel.h"
#include "experiments/biology/uPhotosynthesisModel.h"
#include "experiments/biology/uYeastModel.h"
#include "support/LessonPages.h"

#include <QRegularExpression>
#include <QStringList>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

namespace brv {
namespace {

using test::Flat;
using test::Page;
using test::RowNumbers;

// The text of every cell of the table row that starts with heading.
QStringList RowCells(const QString& html, const QString& heading)
{
    const QRegularExpression row(
        QStringLiteral("<tr><th>%1</th>(.*?)</tr>").arg(QRegularExpression::escape(heading)),
        QRegularExpression::DotMatchesEverythingOption);
    QStringList cells;
    const QRegularExpressionMatch m = row.match(html);
    if (!m.hasMatch())
        return cells;
    static const QRegularExpression cell(QStringLiteral("<t[dh]>\\s*(.*?)\\s*</t[dh]>"));
    for (auto it = cell.globalMatch(m.captured(1)); it.hasNext();)
        cells << it.next().captured(1);
    return cells;
}

// --- amylase ------------------------------------------------------------------

// The starch has gone at the first whole minute past the clearing time.
int FirstOrangeMinute(int temperature)
{
    return TAmylaseModel::TableClearTime(temperature) + 1;
}

TEST(WorkedExamplesBiology, AmylaseTimesAndRatesAreWhatTheTableGives)
{
    const QString page = Page("AMYLASE-ANYS.HTM");
    ASSERT_FALSE(page.isEmpty());
    const std::vector<double> temperatures = RowNumbers(page, QStringLiteral("Temperature (&deg;C)"));
    const QStringList times = RowCells(page, QStringLiteral("Time for starch to disappear (min)"));
    const QStringList rates = RowCells(page, QStringLiteral("Rate (per min)"));
    ASSERT_GE(temperatures.size(), 5U);
    ASSERT_EQ(std::size_t(times.size()), temperatures.size());
    ASSERT_EQ(std::size_t(rates.size()), temperatures.size());
    for (std::size_t i = 0; i < temperatures.size(); ++i) {
        const int t = int(temperatures[i]);
        SCOPED_TRACE(t);
        const int minutes = FirstOrangeMinute(t);
        if (minutes > 30) {
            // Past the longest reaction time the simulation offers.
            EXPECT_EQ(times[int(i)], QStringLiteral("over 30"));
            EXPECT_EQ(rates[int(i)], QStringLiteral("under 0.033"));
            continue;
        }
        EXPECT_EQ(times[int(i)].toInt(), minutes);
        EXPECT_NEAR(rates[int(i)].toDouble(), 1.0 / minutes, 0.005);
    }

    // The worked example: at 20 ºC three runs a minute of scatter apart.
    const QString text = Flat(page);
    const QRegularExpression runs(QStringLiteral(
        "At 20 &deg;C the first orange dimple came at ([0-9]+), ([0-9]+) and ([0-9]+) minutes"));
    const QRegularExpressionMatch m = runs.match(text);
    ASSERT_TRUE(m.hasMatch());
    for (int k = 1; k <= 3; ++k)
        EXPECT_LE(std::abs(m.captured(k).toInt() - FirstOrangeMinute(20)), 2) << k;
    EXPECT_TRUE(
        text.contains(QStringLiteral("At 40 &deg;C the mean time was %1 min").arg(FirstOrangeMinute(40))));

    // "highest, and fairly flat, between about 32 ºC and 47 ºC"
    EXPECT_TRUE(text.contains(QStringLiteral("between about 32 &deg;C and 47 &deg;C")));
    const int fastest = TAmylaseModel::TableClearTime(40);
    for (int t = 0; t <= 80; ++t)
        EXPECT_EQ(TAmylaseModel::TableClearTime(t) == fastest, t >= 32 && t <= 47) << t;
}

// --- yeast ------------------------------------------------------------------------

double YeastVolume(float temperature, float glucose)
{
    TYeastModel m;
    m.BathTemp = temperature;
    m.Glucose = glucose;
    return m.VolumeAfter(600);
}

TEST(WorkedExamplesBiology, YeastVolumesAreWhatTheModelGives)
{
    const QString page = Page("YEAST-ANYS.HTM");
    ASSERT_FALSE(page.isEmpty());
    const std::vector<double> temperatures = RowNumbers(page, QStringLiteral("Temperature (&deg;C)"));
    const std::vector<double> heat = RowNumbers(page, QStringLiteral("Typical volume in 10 min (cm&sup3;)"));
    ASSERT_GE(temperatures.size(), 5U);
    ASSERT_EQ(heat.size(), temperatures.size());
    // "Typical results with 0.3 M glucose"
    ASSERT_TRUE(Flat(page).contains(QStringLiteral("Typical results with 0.3 M glucose")));
    for (std::size_t i = 0; i < temperatures.size(); ++i)
        EXPECT_NEAR(heat[i], YeastVolume(float(temperatures[i]), 0.3f), 0.051) << temperatures[i] << " ºC";

    // The glucose table, at 30 ºC: its own row of typical volumes follows.
    const QRegularExpression glucoseRows(
        QStringLiteral("<tr><th>Glucose \\(M\\) at 30 &deg;C</th>(.*?)</tr>\\s*<tr><th>[^<]*</th>(.*?)</tr>"),
        QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch g = glucoseRows.match(page);
    ASSERT_TRUE(g.hasMatch());
    static const QRegularExpression number(QStringLiteral("<td>\\s*([0-9.]+)\\s*</td>"));
    std::vector<double> glucose, volumes;
    for (auto it = number.globalMatch(g.captured(1)); it.hasNext();)
        glucose.push_back(it.next().captured(1).toDouble());
    for (auto it = number.globalMatch(g.captured(2)); it.hasNext();)
        volumes.push_back(it.next().captured(1).toDouble());
    ASSERT_GE(glucose.size(), 5U);
    ASSERT_EQ(volumes.size(), glucose.size());
    for (std::size_t i = 0; i < glucose.size(); ++i)
        EXPECT_NEAR(volumes[i], YeastVolume(30, float(glucose[i])), 0.051) << glucose[i] << " M";

    // The worked example at 35 ºC: three runs about the typical volume.
    const QRegularExpression example(
        QStringLiteral("At 35 &deg;C the volumes were ([0-9.]+), ([0-9.]+) and ([0-9.]+) cm&sup3;\\. "
                       "Mean = \\(.*?\\) &divide; 3 = ([0-9.]+) cm&sup3;"));
    const QRegularExpressionMatch m = example.match(Flat(page));
    ASSERT_TRUE(m.hasMatch());
    const double typical = YeastVolume(35, 0.3f);
    double sum = 0;
    for (int k = 1; k <= 3; ++k) {
        sum += m.captured(k).toDouble();
        // Within three standard deviations of the runs' scatter.
        EXPECT_NEAR(m.captured(k).toDouble(), typical, 0.3 * typical) << k;
    }
    EXPECT_NEAR(m.captured(4).toDouble(), sum / 3, 0.051);
    EXPECT_NEAR(sum / 3, typical, 0.1 * typical);
}

// --- photosynthesis ------------------------------------------------------------------

// Bubble length after ten minutes, cm, with the lamp where the light meter
// reads intensity (0..1).
double BubbleAtLight(double intensity, float temperature = 20, float bicarbonate = 0.1f)
{
    TPhotosynthesisModel m;
    m.LampOffset = float(-std::log(intensity) / TPhotosynthesisModel::LightFalloff);
    m.Temperature = temperature;
    m.Bicarbonate = bicarbonate;
    return m.OxygenRate() * 600;
}

TEST(WorkedExamplesBiology, PhotosynthesisLengthsAreWhatTheModelGives)
{
    const QString page = Page("PHOTOSYN-ANYS.HTM");
    ASSERT_FALSE(page.isEmpty());
    const QString text = Flat(page);

    // Light: the meter is read to the nearest unit, so a length anywhere
    // between those of the readings half a unit either side stands.
    const std::vector<double> readings = RowNumbers(page, QStringLiteral("Light meter reading"));
    std::vector<double> lengths = RowNumbers(page, QStringLiteral("Typical length in 10 min (cm)"));
    ASSERT_GE(readings.size(), 5U);
    ASSERT_GE(lengths.size(), readings.size());
    ASSERT_TRUE(text.contains(QStringLiteral("Typical results at 20 &deg;C and 0.1 % bicarbonate")));
    for (std::size_t i = 0; i < readings.size(); ++i) {
        SCOPED_TRACE(readings[i]);
        const double low = BubbleAtLight(std::max(0.5, readings[i] - 0.5) / 100);
        const double high = BubbleAtLight(std::min(100.0, readings[i] + 0.5) / 100);
        EXPECT_GE(lengths[i], low - 0.051);
        EXPECT_LE(lengths[i], high + 0.051);
    }
    // The nearest lamp gives 100, the farthest about 7.
    EXPECT_EQ(readings.front(), 100);
    EXPECT_EQ(readings.back(), std::round(100 * TPhotosynthesisModel::LightIntensity(68)));

    // Temperature and bicarbonate, with the lamp close.
    const auto tableAfter = [&](const QString& heading) {
        const QRegularExpression rows(
            QStringLiteral("<tr><th>%1</th>(.*?)</tr>\\s*<tr><th>[^<]*</th>(.*?)</tr>")
                .arg(QRegularExpression::escape(heading)),
            QRegularExpression::DotMatchesEverythingOption);
        const QRegularExpressionMatch m = rows.match(page);
        static const QRegularExpression number(QStringLiteral("<td>\\s*([0-9.]+)\\s*</td>"));
        std::vector<std::pair<double, double>> pairs;
        std::vector<double> first, second;
        for (auto it = number.globalMatch(m.captured(1)); it.hasNext();)
            first.push_back(it.next().captured(1).toDouble());
        for (auto it = number.globalMatch(m.captured(2)); it.hasNext();)
            second.push_back(it.next().captured(1).toDouble());
        EXPECT_EQ(first.size(), second.size()) << heading.toStdString();
        for (std::size_t i = 0; i < std::min(first.size(), second.size()); ++i)
            pairs.emplace_back(first[i], second[i]);
        return pairs;
    };
    const auto temperatures = tableAfter(QStringLiteral("Temperature (&deg;C), lamp close"));
    ASSERT_GE(temperatures.size(), 5U);
    for (const auto& [t, length] : temperatures)
        EXPECT_NEAR(length, BubbleAtLight(1, float(t)), 0.051) << t << " ºC";
    const auto bicarbonates = tableAfter(QStringLiteral("Bicarbonate (%), lamp close, 20 &deg;C"));
    ASSERT_GE(bicarbonates.size(), 5U);
    for (const auto& [b, length] : bicarbonates)
        EXPECT_NEAR(length, BubbleAtLight(1, 20, float(b)), 0.051) << b << " %";
    EXPECT_TRUE(text.contains(QStringLiteral("an optimum at about 32 &deg;C")));

    // The worked example: light meter 37, three pulls and their mean.
    const QRegularExpression example(QStringLiteral(
        "Light meter ([0-9]+), 20 &deg;C, 0.10 % bicarbonate\\. Bubble lengths after 10 minutes: "
        "([0-9.]+), ([0-9.]+) and ([0-9.]+) cm\\. Mean = \\(.*?\\) &divide; 3 = ([0-9.]+) cm"));
    const QRegularExpressionMatch m = example.match(text);
    ASSERT_TRUE(m.hasMatch());
    const double reading = m.captured(1).toDouble();
    EXPECT_EQ(reading, std::round(100 * TPhotosynthesisModel::LightIntensity(25)))
        << "the lamp where it starts";
    const double typical = BubbleAtLight(reading / 100);
    double sum = 0;
    for (int k = 2; k <= 4; ++k) {
        sum += m.captured(k).toDouble();
        EXPECT_NEAR(m.captured(k).toDouble(), typical, 0.3 * typical) << k;
    }
    EXPECT_NEAR(m.captured(5).toDouble(), sum / 3, 0.051);
    EXPECT_NEAR(sum / 3, typical, 0.1 * typical);
}

// The pages say how much readings scatter; the models scatter by a standard
// deviation of a tenth, which leaves about a third of runs outside a tenth.
TEST(WorkedExamplesBiology, ThePagesDescribeTheScatterTheModelsDraw)
{
    const QString yeast = Flat(Page("YEAST-PLAN.HTM"));
    const QString photo = Flat(Page("PHOTOSYN-PLAN.HTM"));
    ASSERT_FALSE(yeast.isEmpty());
    ASSERT_FALSE(photo.isEmpty());
    EXPECT_TRUE(yeast.contains(QStringLiteral("about two runs in three make within a tenth")));
    EXPECT_TRUE(photo.contains(QStringLiteral("about two pulls in three are within a tenth")));
    EXPECT_EQ(TYeastModel::GasFactorScatter, 0.1f);
    EXPECT_EQ(TPhotosynthesisModel::RateScatter, 0.1f);
    // Within one standard deviation: erf(1/√2) ≈ 0.68, "about two in three".
    EXPECT_NEAR(std::erf(1 / std::sqrt(2.0)), 2.0 / 3, 0.02);
    for (const char* name : {"YEAST-PLAN.HTM", "PHOTOSYN-PLAN.HTM", "PHOTOSYN-DATA.HTM"})
        EXPECT_FALSE(Flat(Page(name)).contains(QStringLiteral("up to a tenth"))) << name;
}

}  // namespace
}  // namespace brv
