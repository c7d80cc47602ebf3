// The heating pages' typical temperatures and worked example are what the
// experiment gives for 6 V, 5 Ω and 50 g of water.
#include "experiments/physics/uHeatingModel.h"
#include "support/LessonPages.h"

#include <gtest/gtest.h>

#include <vector>

namespace brv {
namespace {

using test::Flat;
using test::Page;
using test::RowNumbers;

THeatingModel Typical(bool insulated, double minutes)
{
    THeatingModel m;
    m.Voltage = 6;
    m.SetResistance = 5;
    m.HeaterResistance = 5;
    m.Mass = 50;
    m.Insulated = insulated;
    m.ElapsedTime = int(minutes * 60);
    return m;
}

TEST(WorkedExamplesHeating, TypicalTemperaturesAreWhatTheModelGives)
{
    const QString page = Page("HEATING-ANYS.HTM");
    ASSERT_FALSE(page.isEmpty());
    ASSERT_TRUE(Flat(page).contains(QStringLiteral("6 V, 5 &Omega;, 50 g of water")));
    const std::vector<double> minutes = RowNumbers(page, QStringLiteral("Time (min)"));
    const std::vector<double> lagged = RowNumbers(page, QStringLiteral("Insulated (&deg;C)"));
    const std::vector<double> open = RowNumbers(page, QStringLiteral("Not insulated (&deg;C)"));
    ASSERT_GE(minutes.size(), 5U);
    ASSERT_EQ(lagged.size(), minutes.size());
    ASSERT_EQ(open.size(), minutes.size());
    for (std::size_t i = 0; i < minutes.size(); ++i) {
        SCOPED_TRACE(minutes[i]);
        // Given to 0.1 ºC.
        EXPECT_NEAR(lagged[i], Typical(true, minutes[i]).WaterTemperature(), 0.051);
        EXPECT_NEAR(open[i], Typical(false, minutes[i]).WaterTemperature(), 0.051);
    }
}

TEST(WorkedExamplesHeating, TheWorkedExampleReadsTheInstrumentsAsShown)
{
    const QString page = Flat(Page("HEATING-ANYS.HTM"));
    ASSERT_TRUE(page.contains(QStringLiteral("6 V, ammeter 1.20 A, 50 g")));
    EXPECT_EQ(QString::asprintf("%.2f", double(Typical(true, 10).Current())), QStringLiteral("1.20"));
    ASSERT_TRUE(page.contains(QStringLiteral("After 10 minutes (600 s) the temperature is 40.6")));
    EXPECT_NEAR(Typical(true, 10).WaterTemperature(), 40.6, 0.05);
    // "about 4800 J/kg ºC" without insulation.
    const double rise = Typical(false, 10).WaterTemperature() - 20;
    EXPECT_NEAR(6 * 1.2 * 600 / (0.05 * rise), 4800, 100);
}

}  // namespace
}  // namespace brv
