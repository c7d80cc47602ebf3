// The results table model: typed values, means as the pupil types, anomaly
// marks, the fair-test note and undo of every kind of edit.
#include "notebook/ResultsModel.h"
#include "notebook/TypedValue.h"

#include "notebook/NotebookFixture.h"

#include <QFont>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace brv {
namespace {

struct TTypedCase {
    const char* name;
    const char* locale;
    const char* text;
    bool accepted;
    std::optional<double> value;
};

class TypedValueTest : public ::testing::TestWithParam<TTypedCase> {};

TEST_P(TypedValueTest, LocaleSeparatorAndPointAreBothAccepted)
{
    const TTypedCase& c = GetParam();
    const TTypedValue v =
        ParseTypedValue(QString::fromUtf8(c.text), QLocale(QString::fromLatin1(c.locale)), 0, 100);
    EXPECT_EQ(v.accepted, c.accepted);
    EXPECT_EQ(v.value, c.value);
    // A refusal always says why, in one line; an acceptance says nothing.
    EXPECT_EQ(v.reason.isEmpty(), c.accepted);
    EXPECT_FALSE(v.reason.contains(QLatin1Char('\n')));
}

INSTANTIATE_TEST_SUITE_P(Texts, TypedValueTest,
                         ::testing::Values(TTypedCase{"point", "en_GB", "29.4", true, 29.4},
                                           TTypedCase{"pointInGerman", "de_DE", "29.4", true, 29.4},
                                           TTypedCase{"commaInGerman", "de_DE", "29,4", true, 29.4},
                                           TTypedCase{"spaces", "en_GB", "  7 ", true, 7.0},
                                           TTypedCase{"empty", "en_GB", "", true, std::nullopt},
                                           TTypedCase{"blank", "en_GB", "   ", true, std::nullopt},
                                           TTypedCase{"word", "en_GB", "about 30", false, std::nullopt},
                                           TTypedCase{"groupedComma", "en_GB", "1,5", false, std::nullopt},
                                           TTypedCase{"twoPoints", "en_GB", "1.2.3", false, std::nullopt},
                                           TTypedCase{"tooLarge", "en_GB", "101", false, std::nullopt},
                                           TTypedCase{"tooSmall", "en_GB", "-0.5", false, std::nullopt},
                                           TTypedCase{"infinity", "en_GB", "inf", false, std::nullopt},
                                           TTypedCase{"notANumber", "en_GB", "nan", false, std::nullopt},
                                           TTypedCase{"exponent", "en_GB", "1e1", true, 10.0}),
                         [](const auto& info) { return std::string(info.param.name); });

class ResultsModelTest : public ::testing::Test {
protected:
    ResultsModelTest() { model.SetLocale(QLocale::c()); }

    // A recorded row at height with temperature, readings typed as text.
    int RecordTyped(double height, const QString& temperature, const QStringList& readings)
    {
        TResultsRow row = model.EmptyRow();
        row.independent = height;
        row.controls = {temperature};
        const int at = model.Record(row);
        for (int r = 0; r < readings.size(); ++r)
            EXPECT_TRUE(model.setData(model.index(at, model.RepeatColumn(r)), readings[r]));
        return at;
    }
    QString Text(int row, int column) const { return model.data(model.index(row, column)).toString(); }

    TResultsModel model{test::BallLikeTable()};
};

TEST_F(ResultsModelTest, ColumnsCarryNamesAndUnits)
{
    EXPECT_EQ(model.columnCount(), 1 + 3 + 3 + 1 + 1);
    EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), "Drop height (cm)");
    const auto whole = [this](int column) {
        return model.headerData(column, Qt::Horizontal, Qt::AccessibleTextRole).toString();
    };
    EXPECT_EQ(whole(model.RepeatColumn(1)), "Bounce height 2 (cm)");
    EXPECT_EQ(whole(model.MeanColumn()), "Mean bounce height (cm)");
    // The header itself is short enough for a small screen.
    EXPECT_EQ(model.headerData(model.RepeatColumn(1), Qt::Horizontal).toString(), "Reading 2");
    EXPECT_EQ(model.headerData(model.MeanColumn(), Qt::Horizontal).toString(), "Mean (cm)");
    EXPECT_EQ(model.headerData(model.ControlColumn(0), Qt::Horizontal).toString(), "Temperature (ºC)");
    for (int c = 0; c < model.columnCount(); ++c)
        EXPECT_FALSE(model.headerData(c, Qt::Horizontal, Qt::AccessibleTextRole).toString().isEmpty()) << c;
}

TEST_F(ResultsModelTest, MeanRangeAndUncertaintyFollowTheTyping)
{
    const int row = RecordTyped(60, QStringLiteral("20 ºC"), {QStringLiteral("30.1")});
    EXPECT_EQ(Text(row, model.MeanColumn()), "30.10");
    ASSERT_TRUE(model.setData(model.index(row, model.RepeatColumn(1)), QStringLiteral("29.5")));
    ASSERT_TRUE(model.setData(model.index(row, model.RepeatColumn(2)), QStringLiteral("30.3")));
    EXPECT_EQ(Text(row, model.MeanColumn()), "29.97");
    EXPECT_EQ(Text(row, model.RangeColumn()), "0.80");
    EXPECT_EQ(Text(row, model.UncertaintyColumn()), "± 0.40");

    model.ToggleAnomaly(model.index(row, model.RepeatColumn(1)));
    EXPECT_TRUE(model.data(model.index(row, model.RepeatColumn(1)), Qt::FontRole).value<QFont>().strikeOut());
    EXPECT_EQ(Text(row, model.MeanColumn()), "30.20");
    const std::vector<TGraphPoint> points = model.GraphPoints();
    ASSERT_EQ(points.size(), 1u);
    EXPECT_DOUBLE_EQ(points[0].x, 60);
    EXPECT_NEAR(points[0].mean, 30.2, 1e-12);
    EXPECT_NEAR(points[0].uncertainty, 0.1, 1e-12);
}

TEST_F(ResultsModelTest, ARefusedValueIsNeverKeptAndSaysWhy)
{
    const int row = RecordTyped(20, QStringLiteral("20 ºC"), {QStringLiteral("12.0")});
    QSignalSpy refused(&model, &TResultsModel::Refused);
    EXPECT_FALSE(model.setData(model.index(row, model.RepeatColumn(0)), QStringLiteral("twelve")));
    EXPECT_FALSE(model.setData(model.index(row, model.RepeatColumn(1)), QStringLiteral("250")));
    ASSERT_EQ(refused.size(), 2);
    EXPECT_TRUE(refused[0][1].toString().contains("twelve"));
    EXPECT_TRUE(refused[1][1].toString().contains("100"));
    EXPECT_EQ(Text(row, model.RepeatColumn(0)), "12.0");
    EXPECT_EQ(Text(row, model.RepeatColumn(1)), "");
    // Computed columns and the settings are not typed over.
    EXPECT_FALSE(model.flags(model.index(row, model.MeanColumn())) & Qt::ItemIsEditable);
    EXPECT_FALSE(model.setData(model.index(row, model.MeanColumn()), QStringLiteral("5")));
    EXPECT_FALSE(model.flags(model.index(row, model.ControlColumn(0))) & Qt::ItemIsEditable);
}

TEST_F(ResultsModelTest, ReadingsShowTheScalesPrecisionOrMore)
{
    const int row = RecordTyped(20, QStringLiteral("20 ºC"),
                                {QStringLiteral("13"), QStringLiteral("29.45"), QStringLiteral("0")});
    EXPECT_EQ(Text(row, model.RepeatColumn(0)), "13.0");
    EXPECT_EQ(Text(row, model.RepeatColumn(1)), "29.45");
    EXPECT_EQ(Text(row, model.RepeatColumn(2)), "0.0");
    EXPECT_EQ(Text(row, 0), "20.0");
}

TEST_F(ResultsModelTest, FairTestNamesTheControlThatChanged)
{
    RecordTyped(20, QStringLiteral("20 ºC"), {});
    RecordTyped(40, QStringLiteral("20 ºC"), {});
    RecordTyped(60, QStringLiteral("40 ºC"), {});
    EXPECT_EQ(Text(0, model.FairTestColumn()), "");
    EXPECT_EQ(Text(1, model.FairTestColumn()), "");
    EXPECT_EQ(Text(2, model.FairTestColumn()), "temperature changed: 40 ºC instead of 20 ºC");
    // Removing the first row compares with the new first row.
    model.RemoveRows({0, 1});
    EXPECT_EQ(Text(0, model.FairTestColumn()), "");
}

TEST_F(ResultsModelTest, EveryEditUndoesAndRedoes)
{
    QUndoStack* undo = model.UndoStack();
    const int row = RecordTyped(20, QStringLiteral("20 ºC"), {QStringLiteral("11"), QStringLiteral("12")});
    RecordTyped(40, QStringLiteral("20 ºC"), {QStringLiteral("21")});
    model.ToggleAnomaly(model.index(row, model.RepeatColumn(0)));
    const std::vector<TResultsRow> full = model.Rows();

    model.ClearCells({model.index(row, model.RepeatColumn(0)), model.index(row, model.RepeatColumn(1))});
    EXPECT_FALSE(model.Rows()[0].repeats[0].value);
    undo->undo();
    EXPECT_EQ(model.Rows(), full) << "one undo brings back every cleared cell";

    model.RemoveRows({0});
    EXPECT_EQ(model.rowCount(), 1);
    undo->undo();
    EXPECT_EQ(model.Rows(), full);

    model.ClearTable();
    EXPECT_EQ(model.rowCount(), 0);
    undo->undo();
    EXPECT_EQ(model.Rows(), full);

    // Back to nothing, then forward to all of it again.
    const int fullAt = undo->index();
    undo->setIndex(0);
    EXPECT_EQ(model.rowCount(), 0);
    undo->setIndex(fullAt);
    EXPECT_EQ(model.Rows(), full);
    undo->redo();
    EXPECT_EQ(model.rowCount(), 0) << "the clear again";
}

}  // namespace
}  // namespace brv
