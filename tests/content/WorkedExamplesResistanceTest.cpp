// The resistance pages' calculated tables and worked example are what the
// experiment's wire gives, and the pages say the tables are calculated.
#include "experiments/physics/uReswireModel.h"
#include "support/LessonPages.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace brv {
namespace {

using test::Flat;
using test::Page;

// The cells of a table row as written, so that each number's last decimal
// place is known.
QStringList RowCells(const QString& html, const QString& heading)
{
    const QRegularExpression row(
        QStringLiteral("<tr><th>%1</th>(.*?)</tr>").arg(QRegularExpression::escape(heading)),
        QRegularExpression::DotMatchesEverythingOption);
    QStringList cells;
    static const QRegularExpression cell(QStringLiteral("<td>\\s*([0-9.]+)\\s*</td>"));
    for (auto it = cell.globalMatch(row.match(html).captured(1)); it.hasNext();)
        cells << it.next().captured(1);
    return cells;
}

// value written to its decimals is the exact value rounded.
void ExpectRounded(const QString& written, double exact)
{
    const int decimals =
        written.contains(QLatin1Char('.')) ? int(written.size() - written.indexOf('.') - 1) : 0;
    EXPECT_EQ(written, QString::number(exact, 'f', decimals)) << "exactly " << exact;
}

TReswireModel Wire(TWireMetal metal, float length, float diameter)
{
    TReswireModel m;
    m.Metal = metal;
    m.WireLength = length;
    m.Diameter = diameter;
    return m;
}

TEST(WorkedExamplesResistance, TheCalculatedTablesAreTheWiresResistance)
{
    const QString page = Page("RESISTANCE-ANYS.HTM");
    ASSERT_FALSE(page.isEmpty());
    const QStringList lengths = RowCells(page, QStringLiteral("Length (cm)"));
    ASSERT_EQ(lengths.size(), 5);
    struct Row {
        const char* heading;
        TWireMetal metal;
    };
    for (const Row& r : {Row{"Nichrome, 0.50 mm, calculated (&Omega;)", TWireMetal::Nichrome},
                         Row{"Constantan, 0.50 mm, calculated (&Omega;)", TWireMetal::Constantan},
                         Row{"Copper, 0.50 mm, calculated (&Omega;)", TWireMetal::Copper}}) {
        SCOPED_TRACE(r.heading);
        const QStringList cells = RowCells(page, QLatin1String(r.heading));
        ASSERT_EQ(cells.size(), lengths.size());
        for (int i = 0; i < cells.size(); ++i)
            ExpectRounded(cells[i], Wire(r.metal, lengths[i].toFloat(), 0.5f).Resistance());
    }
    const QStringList diameters = RowCells(page, QStringLiteral("Diameter (mm)"));
    const QStringList thick = RowCells(page, QStringLiteral("Nichrome, 100 cm, calculated (&Omega;)"));
    ASSERT_GE(diameters.size(), 4);
    ASSERT_EQ(thick.size(), diameters.size());
    for (int i = 0; i < thick.size(); ++i)
        ExpectRounded(thick[i], Wire(TWireMetal::Nichrome, 100, diameters[i].toFloat()).Resistance());

    // The page says so, and says what the meter adds.
    const QString flat = Flat(page);
    EXPECT_TRUE(flat.contains(QStringLiteral("<b>calculated</b>, not measured")));
    EXPECT_TRUE(flat.contains(QStringLiteral("zero error of about 0.2 &Omega;")));
    EXPECT_FLOAT_EQ(TReswireModel::MeterZeroError, 0.2f);
}

TEST(WorkedExamplesResistance, TheAmmeterAndVoltmeterExampleIsAReadingTheCircuitGives)
{
    const QString page = Flat(Page("RESISTANCE-ANYS.HTM"));
    ASSERT_TRUE(
        page.contains(QStringLiteral("Nichrome, 0.50 mm, 50.0 cm, one cell. The ammeter reads 0.39 A and "
                                     "the voltmeter 1.30 V.")));
    const TReswireModel wire = Wire(TWireMetal::Nichrome, 50, 0.5f);
    bool found = false;
    // The contact adds −0.05 to +0.05 Ω in steps of 0.01.
    for (int k = 0; k <= 10; ++k) {
        const float ohms = wire.Resistance() + 0.01f * float(5 - k);
        found = found ||
                (QString::asprintf("%1.2f", double(wire.Current(ohms))) == QLatin1String("0.39") &&
                 QString::asprintf("%1.2f", double(wire.PotentialDifference(ohms))) == QLatin1String("1.30"));
    }
    EXPECT_TRUE(found);
    // "with the zero error taken away ... 6.6 Ω" for a metre of it.
    EXPECT_NEAR(Wire(TWireMetal::Nichrome, 100, 0.5f).Resistance(), 6.6, 0.05);
}

TEST(WorkedExamplesResistance, TheMainPageAndThePlanWarnOfAHotWire)
{
    for (const char* name : {"RESISTANCE.HTM", "RESISTANCE-PLAN.HTM"}) {
        const QString page = Flat(Page(name));
        ASSERT_FALSE(page.isEmpty()) << name;
        EXPECT_TRUE(page.contains(QStringLiteral("class=\"safety\""))) << name;
        EXPECT_TRUE(page.contains(QStringLiteral("hot"))) << name;
    }
}

}  // namespace
}  // namespace brv
