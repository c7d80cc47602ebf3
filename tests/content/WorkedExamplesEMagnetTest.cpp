// The electromagnet pages' currents and typical counts are what the
// experiment gives.
#include "experiments/physics/uEMagnetModel.h"
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

float MeanNails(int turns, int volts)
{
    return float(turns) * TEMagnetModel::NailsPerTurnVolt * float(volts);
}

TEST(WorkedExamplesEMagnet, TypicalCountsAreTheMeansOfTheModel)
{
    const QString page = Page("EMAGNET-ANYS.HTM");
    ASSERT_FALSE(page.isEmpty());
    const std::vector<double> currents = RowNumbers(page, QStringLiteral("Current (A)"));
    const std::vector<double> nails =
        RowNumbers(page, QStringLiteral("Typical mean number of nails (50 turns)"));
    ASSERT_EQ(currents.size(), 6U);
    ASSERT_EQ(nails.size(), currents.size());
    for (std::size_t i = 0; i < currents.size(); ++i) {
        TEMagnetModel m;
        m.Volts = 2 * int(i + 1);  // the plan's 2, 4, ... 12 V
        SCOPED_TRACE(m.Volts);
        EXPECT_EQ(QString::asprintf("%1.1f", double(m.Current())).toDouble(), currents[i]);
        EXPECT_EQ(nails[i], std::round(MeanNails(50, m.Volts)));
    }
    // "50 turns, 6 V (2.5 A)": counts about 25 with a spread like the model's.
    const QString flat = Flat(page);
    ASSERT_TRUE(flat.contains(QStringLiteral("50 turns, 6 V (2.5 A)")));
    EXPECT_NEAR(MeanNails(50, 6), 25.4, 1.0);
    // "100 turns with 2.5 A picks up about as many nails as 50 turns with 5.0 A"
    ASSERT_TRUE(flat.contains(QStringLiteral("100 turns with 2.5 A")));
    EXPECT_FLOAT_EQ(MeanNails(100, 6), MeanNails(50, 12));
}

TEST(WorkedExamplesEMagnet, TheResultsTableGivesTheAmmetersReadings)
{
    const QString page = Page("EMAGNET-DATA.HTM");
    ASSERT_FALSE(page.isEmpty());
    static const QRegularExpression row(QStringLiteral("<tr><td>([0-9]+)</td><td>([0-9.]+)</td>"));
    int rows = 0;
    for (auto it = row.globalMatch(page); it.hasNext(); ++rows) {
        const QRegularExpressionMatch m = it.next();
        TEMagnetModel model;
        model.Volts = m.captured(1).toInt();
        EXPECT_EQ(m.captured(2), QString::asprintf("%1.1f", double(model.Current()))) << model.Volts << " V";
    }
    EXPECT_EQ(rows, 6);
}

}  // namespace
}  // namespace brv
