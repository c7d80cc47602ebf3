// The results file: what is saved comes back, a damaged or hostile file is
// put aside and reported, and two writers never leave a broken file.
#include "notebook/ResultsFile.h"

#include "notebook/NotebookFixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <thread>

namespace brv {
namespace {

constexpr ExperimentId kId = 1;

TNotebookContents SampleContents()
{
    TNotebookContents c;
    c.question = QStringLiteral("height");
    c.fit = TFitKind::ThroughOrigin;
    c.fromZero = true;
    TResultsRow row;
    row.independent = 20;
    row.repeats = {{12.5, false}, {std::nullopt, false}, {19.0, true}};
    row.controls = {QStringLiteral("20 ºC")};
    TResultsRow typedOnly;
    typedOnly.repeats = {{1.0, false}, {2.0, false}, {3.0, false}};
    typedOnly.controls = {QString()};
    c.tables[QStringLiteral("height")] = {row, typedOnly};
    return c;
}

class ResultsFileTest : public ::testing::Test {
protected:
    void Write(const QByteArray& bytes)
    {
        QDir().mkpath(store.Folder());
        QFile f(store.FilePath(kId));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QStringList DamagedFiles() const
    {
        return QDir(store.Folder()).entryList({QStringLiteral("*.damaged-*")}, QDir::Files);
    }

    QTemporaryDir dir;
    TResultsStore store{dir.path() + QStringLiteral("/results")};
    std::vector<TResultsTableDeclaration> tables{test::BallLikeTable()};
};

TEST_F(ResultsFileTest, SavedContentsComeBackAsTheyWere)
{
    ASSERT_EQ(store.Save(kId, SampleContents()), QString());
    const TResultsStore::TLoaded loaded = store.Load(kId, tables);
    EXPECT_TRUE(loaded.error.isEmpty()) << loaded.error.toStdString();
    EXPECT_EQ(loaded.contents.question, "height");
    EXPECT_EQ(loaded.contents.fit, TFitKind::ThroughOrigin);
    EXPECT_TRUE(loaded.contents.fromZero);
    EXPECT_EQ(loaded.contents.tables, SampleContents().tables);
}

TEST_F(ResultsFileTest, NoFileIsAnEmptyNotebookWithoutComplaint)
{
    const TResultsStore::TLoaded loaded = store.Load(kId, tables);
    EXPECT_TRUE(loaded.error.isEmpty());
    EXPECT_TRUE(loaded.contents.tables.empty());
    EXPECT_TRUE(DamagedFiles().isEmpty());
}

struct TDamagedCase {
    const char* name;
    QByteArray bytes;
};

class DamagedResultsFileTest : public ResultsFileTest, public ::testing::WithParamInterface<TDamagedCase> {};

TEST_P(DamagedResultsFileTest, IsKeptAsideAndReportedAndTheTablesStartEmpty)
{
    Write(GetParam().bytes);
    const TResultsStore::TLoaded loaded = store.Load(kId, tables);
    EXPECT_FALSE(loaded.error.isEmpty());
    EXPECT_TRUE(loaded.contents.tables.empty());
    ASSERT_FALSE(loaded.damagedPath.isEmpty());
    QFile aside(loaded.damagedPath);
    ASSERT_TRUE(aside.open(QIODevice::ReadOnly)) << "the damaged file is kept, not deleted";
    EXPECT_EQ(aside.size(), GetParam().bytes.size());
    EXPECT_FALSE(QFile::exists(store.FilePath(kId)));
    // The next save starts a sound file beside it.
    EXPECT_EQ(store.Save(kId, SampleContents()), QString());
    EXPECT_TRUE(store.Load(kId, tables).error.isEmpty());
    EXPECT_EQ(DamagedFiles().size(), 1);
}

QByteArray Valid()
{
    return EncodeNotebook(kId, SampleContents());
}

QByteArray Replaced(const char* from, const char* to)
{
    return Valid().replace(from, to);
}

INSTANTIATE_TEST_SUITE_P(
    Files, DamagedResultsFileTest,
    ::testing::Values(TDamagedCase{"truncated", Valid().left(Valid().size() / 2)},
                      TDamagedCase{"empty", QByteArray()},
                      TDamagedCase{"binary", QByteArray("\x00\xff\x13\x37", 4)},
                      TDamagedCase{"array", QByteArray("[1, 2, 3]")},
                      TDamagedCase{"otherFormat", Replaced("brevalis-results", "spreadsheet")},
                      TDamagedCase{"otherExperiment", Replaced("\"experiment\": 1", "\"experiment\": 2")},
                      TDamagedCase{"textForNumber", Replaced("12.5", "\"12.5\"")},
                      TDamagedCase{"objectForRow", Replaced("\"x\": 20", "\"x\": {}")},
                      TDamagedCase{"numberForSetting", Replaced("\"20 ºC\"", "20")},
                      TDamagedCase{"tablesNotObject", Replaced("\"tables\": {", "\"tables\": [{")},
                      TDamagedCase{"hundredMegabytes", QByteArray(100 * 1024 * 1024, ' ')}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ResultsFileTest, TwoWritersAtOnceLeaveOneWholeFile)
{
    TNotebookContents small = SampleContents();
    TNotebookContents large = SampleContents();
    auto& rows = large.tables[QStringLiteral("height")];
    for (int i = 0; i < 2000; ++i)
        rows.push_back(rows.front());
    const auto writer = [this](const TNotebookContents& contents) {
        TResultsStore other(store.Folder());
        for (int i = 0; i < 20; ++i)
            EXPECT_EQ(other.Save(kId, contents), QString());
    };
    std::thread a(writer, small);
    std::thread b(writer, large);
    a.join();
    b.join();
    const TResultsStore::TLoaded loaded = store.Load(kId, tables);
    EXPECT_TRUE(loaded.error.isEmpty()) << loaded.error.toStdString();
    const std::size_t count = loaded.contents.tables.at(QStringLiteral("height")).size();
    EXPECT_TRUE(count == 2 || count == 2002) << count;
}

TEST_F(ResultsFileTest, RowsFitTheDeclarationTheyAreReadWith)
{
    // A file of an older declaration with more repeats and no controls.
    Write(R"({"format": "brevalis-results", "version": 1, "experiment": 1,
              "tables": {"height": [{"x": 20, "r": [1, 2, 3, 4, 5], "a": [0, 0, 0, 1, 0]}],
                         "retired": [{"x": 1}]}})");
    const TResultsStore::TLoaded loaded = store.Load(kId, tables);
    ASSERT_TRUE(loaded.error.isEmpty()) << loaded.error.toStdString();
    ASSERT_EQ(loaded.contents.tables.size(), 1u);
    const TResultsRow& row = loaded.contents.tables.at(QStringLiteral("height")).at(0);
    EXPECT_EQ(row.repeats.size(), 3u);
    EXPECT_EQ(row.controls.size(), 1u);
    EXPECT_EQ(*row.repeats[2].value, 3);
}

}  // namespace
}  // namespace brv
