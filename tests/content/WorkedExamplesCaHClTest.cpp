// The calcium carbonate pages' typical results are what the model gives: a
// pupil who checks a reading against the book must find the two agree.
#include "experiments/chemistry/uCaCarbModel.h"
#include "support/LessonPages.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

#include <vector>

namespace brv {
namespace {

using test::Flat;
using test::Page;
using test::RowNumbers;

// The book's runs: 25 cm³ of acid on 1.0 g of chips, a run of average gas
// factor, read without the jitter.
TCaCarbModel BookRun(float conc)
{
    TCaCarbModel m;
    m.AcidVolume = 25;
    m.CarbonateMass = 1.0f;
    m.AcidConc = conc;
    return m;
}

// The time (s) at which the burette reads volume, to a millisecond.
double SecondsToCollect(const TCaCarbModel& m, double volume)
{
    const double moles = volume / TCaCarbModel::MolarGasVolume;
    double early = 0, late = 600;
    while (late - early > 1e-3) {
        const double t = (early + late) / 2;
        const double x =
            TCaCarbModel::Reacted(m.CarbonateMoles(), m.AcidCapacityMoles(), m.RateConstant(), t);
        (x < moles ? early : late) = t;
    }
    return late;
}

TEST(WorkedExamplesCaHCl, TimesFor20cm3AreWhatTheModelGives)
{
    const QString page = Page("CAHCL-ANYS.HTM");
    ASSERT_FALSE(page.isEmpty());
    const std::vector<double> concs = RowNumbers(page, QStringLiteral("Acid concentration (M)"));
    const std::vector<double> times = RowNumbers(page, QStringLiteral("Typical time for 20 cm&sup3; (s)"));
    const std::vector<double> rates = RowNumbers(page, QStringLiteral("Mean rate (cm&sup3;/s)"));
    ASSERT_GE(concs.size(), 3U);
    ASSERT_EQ(times.size(), concs.size());
    ASSERT_EQ(rates.size(), concs.size());
    for (std::size_t i = 0; i < concs.size(); ++i) {
        SCOPED_TRACE(concs[i]);
        const double t = SecondsToCollect(BookRun(float(concs[i])), 20);
        ASSERT_LT(t, 600);
        EXPECT_NEAR(times[i], t, 0.5) << "to the nearest second";
        EXPECT_NEAR(rates[i], 20.0 / times[i], 0.005) << "20 cm³ over the table's time";
        EXPECT_NEAR(rates[i], 20.0 / t, 0.03 * 20.0 / t);
    }
}

TEST(WorkedExamplesCaHCl, TheVolumeCurveAndTheGasInAllAreWhatTheModelGives)
{
    const QString page = Flat(Page("CAHCL-ANYS.HTM"));
    ASSERT_FALSE(page.isEmpty());
    const TCaCarbModel run = BookRun(0.2f);
    // "expect about 12 cm³ after one minute, 21 cm³ after two, 37 cm³ after
    // five and 49 cm³ after ten"
    const QRegularExpression curve(QStringLiteral(
        "0\\.2 M acid and 1\\.0 g of chips, expect about ([0-9.]+) cm&sup3; after one minute, ([0-9.]+) "
        "cm&sup3; after two, ([0-9.]+) cm&sup3; after five and ([0-9.]+) cm&sup3; after ten"));
    const QRegularExpressionMatch m = curve.match(page);
    ASSERT_TRUE(m.hasMatch());
    const int minutes[] = {1, 2, 5, 10};
    for (int k = 0; k < 4; ++k)
        EXPECT_NEAR(m.captured(k + 1).toDouble(), run.At(60 * minutes[k], 0).GasShown, 0.6)
            << minutes[k] << " min";

    // "0.0025 × 22 400 = 56 cm³" once all the acid has reacted.
    const QRegularExpression total(QStringLiteral("0\\.0025 &times; 22 400 = ([0-9.]+) cm&sup3;"));
    const QRegularExpressionMatch all = total.match(page);
    ASSERT_TRUE(all.hasMatch());
    EXPECT_NEAR(all.captured(1).toDouble(), run.At(100000, 0).GasGiven, 0.5);
    EXPECT_TRUE(page.contains(QStringLiteral("22.4 dm&sup3;")));
}

TEST(WorkedExamplesCaHCl, TheBalanceLosesWhatTheHelpPageSays)
{
    const QString page = Flat(Page("CAHCL-HELP.HTM"));
    ASSERT_FALSE(page.isEmpty());
    const QRegularExpression loss(
        QStringLiteral("falls by ([0-9.]+) g for every ([0-9]+) cm&sup3; given off"));
    const QRegularExpressionMatch m = loss.match(page);
    ASSERT_TRUE(m.hasMatch());
    const TCaCarbModel run;
    const float lost = run.BalanceReading(0) - run.BalanceReading(m.captured(2).toFloat());
    EXPECT_NEAR(m.captured(1).toDouble(), lost, 0.005);
    EXPECT_TRUE(page.contains(QStringLiteral("carbon dioxide that escapes")));
}

}  // namespace
}  // namespace brv
