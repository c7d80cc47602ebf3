// The lesson index: loading both layouts, rendering, opening and selecting,
// and the damaged-file corpus under tests/data/index/damaged.
#include "runtime/BRV_StrConstants.h"
#include "shell/ewb_Index.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <climits>

namespace brv {
namespace {

QString IndexData(const QString& name)
{
    return test::DataPath(QStringLiteral("index/") + name);
}

TEWBHTMLIndex LoadedSample(const QString& name = QStringLiteral("plain.ux"))
{
    TEWBHTMLIndex index;
    index.Load(IndexData(name));
    return index;
}

std::vector<bool> OpenFlags(const TEWBHTMLIndex& index)
{
    std::vector<bool> open;
    for (int i = 0; i < index.HeadingCount(); ++i)
        open.push_back(index.Heading(i).Open);
    return open;
}

TEST(LessonIndex, LoadsHeadingsAndEntriesInFileOrder)
{
    const TEWBHTMLIndex index = LoadedSample();
    ASSERT_EQ(index.HeadingCount(), 2);
    EXPECT_EQ(index.Heading(0).Number, 100);
    EXPECT_EQ(index.Heading(0).Caption, QStringLiteral("Physics"));
    EXPECT_EQ(index.Heading(1).Caption, QStringLiteral("Chemistry \u00BA"));
    ASSERT_EQ(index.Heading(0).Entries.size(), 2u);
    EXPECT_EQ(index.Heading(0).Entries[1].Caption, QStringLiteral("Car"));
    EXPECT_EQ(index.Heading(0).Entries[1].Page, QStringLiteral("CAR.HTM"));
    EXPECT_FALSE(index.Heading(0).Open);
    EXPECT_FALSE(index.Heading(0).Entries[0].Selected);
    EXPECT_EQ(index.Folder(), QDir(test::DataPath(QStringLiteral("index"))).absolutePath());
}

TEST(LessonIndex, ExtendedLayoutGivesTheSameHeadingsAsThePlainOne)
{
    const TEWBHTMLIndex plain = LoadedSample();
    const TEWBHTMLIndex extended = LoadedSample(QStringLiteral("extended.ux"));
    ASSERT_EQ(extended.HeadingCount(), plain.HeadingCount());
    for (int h = 0; h < plain.HeadingCount(); ++h) {
        const TEWBHeading& a = plain.Heading(h);
        const TEWBHeading& b = extended.Heading(h);
        EXPECT_EQ(a.Number, b.Number);
        EXPECT_EQ(a.Caption, b.Caption);
        ASSERT_EQ(a.Entries.size(), b.Entries.size());
        for (std::size_t e = 0; e < a.Entries.size(); ++e) {
            EXPECT_EQ(a.Entries[e].Caption, b.Entries[e].Caption);
            EXPECT_EQ(a.Entries[e].Page, b.Entries[e].Page);
        }
    }
    EXPECT_EQ(extended.Render(), plain.Render());
}

TEST(LessonIndex, RendersOpenHeadingWithSelectedAndPlainEntriesThenClosedHeading)
{
    TEWBHTMLIndex index = LoadedSample();
    EXPECT_EQ(index.Render(),
              QStringLiteral(
                  "<div class=\"level1\"><span id=\"0\"></span><a href=\"!0\">Physics</a></div>"
                  "<div class=\"level1\"><span id=\"1\"></span><a href=\"!1\">Chemistry \u00BA</a></div>"));
    index.Expand(0);
    index.Select(QStringLiteral("ball.htm"));
    EXPECT_EQ(index.Render(),
              QStringLiteral(
                  "<div class=\"level1exp\"><span id=\"0\"></span><a href=\"!0\">Physics</a></div>"
                  "<div class=\"level2selected\"><a href=\"BALL.HTM\">Ball</a></div>"
                  "<div class=\"level2\"><a href=\"CAR.HTM\">Car</a></div>"
                  "<div class=\"level1\"><span id=\"1\"></span><a href=\"!1\">Chemistry \u00BA</a></div>"));
}

TEST(LessonIndex, OneHeadingOpenModeKeepsAtMostOneOpen)
{
    TEWBHTMLIndex index = LoadedSample();
    index.Expand(0);
    index.Toggle(1);
    EXPECT_EQ(OpenFlags(index), (std::vector<bool>{false, true}));
    index.Toggle(1);
    EXPECT_EQ(OpenFlags(index), (std::vector<bool>{false, false}));
    index.Expand(1);
    index.Expand(0);
    EXPECT_EQ(OpenFlags(index), (std::vector<bool>{true, false}));
}

TEST(LessonIndex, ExpandAllSwitchesToAllExpandedAndCollapseAllKeepsTheMode)
{
    TEWBHTMLIndex index = LoadedSample();
    EXPECT_FALSE(index.AllowAllExpanded());
    index.ExpandAll();
    EXPECT_TRUE(index.AllowAllExpanded());
    EXPECT_EQ(OpenFlags(index), (std::vector<bool>{true, true}));
    index.CollapseAll();
    EXPECT_TRUE(index.AllowAllExpanded());
    EXPECT_EQ(OpenFlags(index), (std::vector<bool>{false, false}));
    // With several open allowed, opening one leaves the others alone.
    index.Expand(0);
    index.Toggle(1);
    EXPECT_EQ(OpenFlags(index), (std::vector<bool>{true, true}));
    index.InvertAllowAllExpanded();
    EXPECT_FALSE(index.AllowAllExpanded());
}

TEST(LessonIndex, OutOfRangeHeadingNumbersAreIgnored)
{
    TEWBHTMLIndex index = LoadedSample();
    index.Expand(1);
    for (int i : {-1, 2, INT_MAX, INT_MIN}) {
        index.Toggle(i);
        index.Expand(i);
    }
    EXPECT_EQ(OpenFlags(index), (std::vector<bool>{false, true}));
}

TEST(LessonIndex, FindHeadingReturnsTheFirstListingIgnoringCase)
{
    const TEWBHTMLIndex index = LoadedSample();
    // BALL.HTM is listed under both headings (once as "ball.htm").
    EXPECT_EQ(index.FindHeading(QStringLiteral("Ball.Htm")), 0);
    EXPECT_EQ(index.FindHeading(QStringLiteral("chemrate.htm")), 1);
    EXPECT_EQ(index.FindHeading(QStringLiteral("MISSING.HTM")), -1);
    EXPECT_EQ(index.FindHeading(QString()), -1);
}

TEST(LessonIndex, SelectMarksExactlyTheMatchingEntries)
{
    TEWBHTMLIndex index = LoadedSample();
    index.Select(QStringLiteral("CAR.HTM"));
    index.Select(QStringLiteral("BALL.htm"));
    EXPECT_TRUE(index.Heading(0).Entries[0].Selected);
    EXPECT_FALSE(index.Heading(0).Entries[1].Selected);
    EXPECT_FALSE(index.Heading(1).Entries[0].Selected);
    EXPECT_TRUE(index.Heading(1).Entries[1].Selected);
}

TEST(LessonIndex, WrongMagicLeavesTheLoadedHeadingsUntouched)
{
    TEWBHTMLIndex index = LoadedSample();
    index.Expand(1);
    try {
        index.Load(IndexData(QStringLiteral("damaged/bad-magic.ux")));
        FAIL() << "a wrong magic number must not load";
    } catch (const EBadIndexFile& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Invalid unicode index file"));
    }
    ASSERT_EQ(index.HeadingCount(), 2);
    EXPECT_TRUE(index.Heading(1).Open);
}

TEST(LessonIndex, MissingFileIsReportedWithItsName)
{
    TEWBHTMLIndex index;
    const QString missing = IndexData(QStringLiteral("no-such-file.ux"));
    try {
        index.Load(missing);
        FAIL() << "a missing file must not load";
    } catch (const EBadIndexFile& e) {
        EXPECT_TRUE(e.Message().contains(missing));
    }
    EXPECT_EQ(index.HeadingCount(), 0);
}

// Every damaged file stops the loader with EBadIndexFile; the headings read
// completely before the fault stay, everything else of the old index is gone
// unless the fault came before the headings were reached.
struct TDamagedCase {
    const char* file;
    bool readError;         // "Stream read error" rather than "Invalid unicode index file"
    int headingsAfterLoad;  // loaded over the two-heading sample
};

class DamagedIndexFile : public ::testing::TestWithParam<TDamagedCase> {};

TEST_P(DamagedIndexFile, StopsWithTheIndexErrorKeepingCompleteHeadings)
{
    const TDamagedCase& c = GetParam();
    TEWBHTMLIndex index = LoadedSample();
    const QString file = IndexData(QStringLiteral("damaged/") + QLatin1String(c.file));
    ASSERT_TRUE(QFile::exists(file)) << c.file;
    try {
        index.Load(file);
        FAIL() << c.file << " loaded without an error";
    } catch (const EBadIndexFile& e) {
        EXPECT_EQ(e.Message(), c.readError ? str::sIndexReadError() : str::sInvalidIndexFile()) << c.file;
    }
    EXPECT_EQ(index.HeadingCount(), c.headingsAfterLoad) << c.file;
    // Whatever survived still renders and answers lookups.
    index.ExpandAll();
    index.Select(QStringLiteral("BALL.HTM"));
    EXPECT_EQ(index.Render().isEmpty(), index.HeadingCount() == 0);
}

INSTANTIATE_TEST_SUITE_P(
    Corpus, DamagedIndexFile,
    ::testing::Values(
        TDamagedCase{"bad-magic.ux", false, 2}, TDamagedCase{"empty.ux", true, 2},
        TDamagedCase{"short-magic.ux", true, 2}, TDamagedCase{"magic-only.ux", true, 0},
        TDamagedCase{"cut-in-second-heading.ux", true, 1}, TDamagedCase{"cut-in-string.ux", true, 0},
        TDamagedCase{"negative-heading-count.ux", false, 0}, TDamagedCase{"huge-heading-count.ux", true, 1},
        TDamagedCase{"negative-string-length.ux", false, 0}, TDamagedCase{"huge-string-length.ux", true, 0},
        TDamagedCase{"min-string-length.ux", false, 0}, TDamagedCase{"negative-entry-count.ux", false, 0},
        TDamagedCase{"huge-entry-count.ux", true, 0}, TDamagedCase{"extended-cut-in-extra.ux", true, 0},
        TDamagedCase{"extended-missing-byte.ux", true, 0}),
    [](const ::testing::TestParamInfo<TDamagedCase>& info) {
        std::string name = info.param.file;
        name = name.substr(0, name.find('.'));
        for (char& ch : name)
            if (ch == '-')
                ch = '_';
        return name;
    });

TEST(LessonIndex, EveryCorpusFileIsCoveredByTheTable)
{
    const QStringList files =
        QDir(IndexData(QStringLiteral("damaged"))).entryList({QStringLiteral("*.ux")}, QDir::Files);
    EXPECT_EQ(files.size(), 15) << "add new corpus files to DamagedIndexFile's table";
}

}  // namespace
}  // namespace brv
