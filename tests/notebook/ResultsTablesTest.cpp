// Every experiment with a results page declares its tables, and every
// setting a table names is a control its form really has.
#include "experiments/ExperimentCatalogue.h"
#include "experiments/ResultsTables.h"
#include "experiments/physics/uBall.h"
#include "notebook/ControlReader.h"
#include "runtime/ExperimentForm.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>

namespace brv {
namespace {

class ResultsTablesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterExperiments();
        RegisterResultsTables();
    }
};

TEST_F(ResultsTablesTest, EveryFamilyWithPagesHasTablesAndNothingElseHas)
{
    int families = 0;
    for (const TCatalogueEntry& entry : TCatalogue::Instance().Entries()) {
        const bool family = entry.pages == TPages::Family && entry.HasForm();
        families += family ? 1 : 0;
        EXPECT_EQ(TResultsTables::Instance().Has(entry.id), family) << entry.mainPage.toStdString();
    }
    EXPECT_EQ(families, 15);
}

TEST_F(ResultsTablesTest, EveryNamedSettingIsAControlOfTheForm)
{
    for (ExperimentId id : TResultsTables::Instance().Ids()) {
        std::unique_ptr<TExperimentForm> form(TCatalogue::Instance().Find(id)->create());
        std::set<QString> keys;
        for (const TResultsTableDeclaration& table : TResultsTables::Instance().TablesOf(id)) {
            const std::string where = QStringLiteral("%1 %2").arg(id).arg(table.key).toStdString();
            EXPECT_TRUE(keys.insert(table.key).second) << where << ": key used twice";
            EXPECT_FALSE(table.question.isEmpty()) << where;
            EXPECT_GE(table.repeats, 1) << where;
            // The reading is the pupil's to type, always.
            EXPECT_TRUE(table.dependent.control.objectName.isEmpty()) << where;
            EXPECT_FALSE(ReadSetting(form.get(), table.dependent).has_value()) << where;
            std::vector<TResultsVariable> settings = table.controls;
            settings.push_back(table.independent);
            for (const TResultsVariable& v : settings) {
                if (v.control.objectName.isEmpty())
                    continue;
                const std::optional<TSettingValue> value = ReadSetting(form.get(), v);
                ASSERT_TRUE(value.has_value())
                    << where << ": no control " << v.control.objectName.toStdString();
                EXPECT_FALSE(value->text.isEmpty()) << where << " " << v.key.toStdString();
            }
            // The independent variable is a number to plot.
            if (!table.independent.control.objectName.isEmpty()) {
                EXPECT_TRUE(ReadSetting(form.get(), table.independent)->number.has_value()) << where;
            }
            for (double s : table.suggested)
                EXPECT_TRUE(s >= table.independent.min && s <= table.independent.max) << where << " " << s;
        }
    }
}

TEST_F(ResultsTablesTest, SettingsReadTheFormsValuesWithTheirScale)
{
    std::unique_ptr<TExperimentForm> ball(TCatalogue::Instance().Find(ids::Ball)->create());
    const TResultsTableDeclaration height = BallTables().front();
    const std::optional<TSettingValue> drop = ReadSetting(ball.get(), height.independent, QLocale::c());
    ASSERT_TRUE(drop && drop->number);
    EXPECT_DOUBLE_EQ(*drop->number, 0);
    EXPECT_EQ(ReadSetting(ball.get(), height.controls.front(), QLocale::c())->text, "20 ºC");
}

}  // namespace
}  // namespace brv
