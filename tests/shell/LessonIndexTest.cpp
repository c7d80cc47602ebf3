// The lesson index: loading both layouts, rendering, opening and selecting,
// and the damaged-file corpus under tests/data/index/damaged.
#include "runtime/BRV_StrConstants.h"
#include "shell/ewb_Index.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

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

QByteArray I32(std::int32_t v)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian(v, bytes.data());
    return bytes;
}

// A string of the index file: its length, then its UTF-16 code units.
QByteArray Text(const QString& s)
{
    QByteArray bytes = I32(std::int32_t(s.size()));
    for (QChar c : s) {
        bytes += char(c.unicode() & 0xff);
        bytes += char(c.unicode() >> 8);
    }
    return bytes;
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

// The index is data: whatever its captions and page names hold is shown as
// text and followed as a file name, never run as markup or script.
TEST(LessonIndex, CaptionsAndPageNamesAreTextNotMarkup)
{
    struct Case {
        const char* what;
        QString caption;
        QString page;
        QString link;  // the rendered entry piece
    };
    const Case cases[] = {
        {"script in a caption", QStringLiteral("<img src=x onerror=alert(1)>"), QStringLiteral("BALL.HTM"),
         QStringLiteral("<a href=\"BALL.HTM\">&lt;img src=x onerror=alert(1)&gt;</a>")},
        {"ampersand and less-than", QStringLiteral("Salt & water < 5 \u00BAC"), QStringLiteral("A&B.HTM"),
         QStringLiteral("<a href=\"A&amp;B.HTM\">Salt &amp; water &lt; 5 \u00BAC</a>")},
        {"quote leaving the attribute", QStringLiteral("Q"), QStringLiteral("x\" onmouseover=\"alert(1)"),
         QStringLiteral("<a href=\"x&quot; onmouseover=&quot;alert(1)\">Q</a>")},
        {"page naming a script address", QStringLiteral("J"), QStringLiteral("javascript:alert(1)"),
         QStringLiteral("<a href=\"./javascript:alert(1)\">J</a>")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TEWBHTMLIndex index;
        index.LoadFromData(I32(TEWBHTMLIndex::PlainMagic) + I32(1) + I32(0) + Text(c.caption) + I32(1) +
                           Text(c.caption) + Text(c.page));
        index.Expand(0);
        const QString html = index.Render();
        EXPECT_TRUE(
            html.startsWith(QStringLiteral("<div class=\"level1exp\"><span id=\"0\"></span><a href=\"!0\">") +
                            c.caption.toHtmlEscaped() + QStringLiteral("</a></div>")))
            << html.toStdString();
        EXPECT_TRUE(
            html.endsWith(QStringLiteral("<div class=\"level2\">") + c.link + QStringLiteral("</div>")))
            << html.toStdString();
    }
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
        EXPECT_EQ(e.Reason(), str::sIndexNotAnIndex());
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
        EXPECT_TRUE(e.Message().contains(QDir::toNativeSeparators(missing)));
        EXPECT_TRUE(e.Reason().startsWith(str::sIndexCannotOpen().section(QLatin1Char('%'), 0, 0)));
    }
    EXPECT_EQ(index.HeadingCount(), 0);
}

// The message says which file, what is wrong with it and what still works.
TEST(LessonIndex, TheMessageNamesTheFileTheFaultAndWhatStillWorks)
{
    TEWBHTMLIndex index;
    const QString file = IndexData(QStringLiteral("damaged/cut-in-string.ux"));
    try {
        index.Load(file);
        FAIL() << "a cut file must not load";
    } catch (const EBadIndexFile& e) {
        EXPECT_EQ(e.FileName(), file);
        EXPECT_EQ(e.Message(),
                  str::sIndexFileUnusable().arg(QDir::toNativeSeparators(file), str::sIndexCutShort()));
        EXPECT_TRUE(e.Message().contains(QDir::toNativeSeparators(file)));
    }
}

// Files no lesson index comes near are refused before anything is allocated
// for them: a crafted file of 100 MB once took gigabytes and minutes.
TEST(LessonIndex, LimitsAreRefusedWithTheirReason)
{
    const auto i32 = I32;
    const auto text = Text;
    const QByteArray magic = i32(TEWBHTMLIndex::PlainMagic);
    const QByteArray emptyEntry = text({}) + text({});
    // A heading listing n empty entries.
    const auto heading = [&](int n) {
        return i32(0) + text(QStringLiteral("H")) + i32(n) + emptyEntry.repeated(n);
    };
    const int perHeading = TEWBHTMLIndex::MaxEntriesPerHeading;
    const int headingsForAll = TEWBHTMLIndex::MaxEntries / perHeading + 1;

    struct Case {
        const char* what;
        QByteArray data;
        QString reason;
        int headingsKept;
    };
    const Case cases[] = {
        {"larger than any index", magic + i32(0) + QByteArray(TEWBHTMLIndex::MaxFileBytes, '\0'),
         str::sIndexTooLarge().arg(TEWBHTMLIndex::MaxFileBytes + 8).arg(TEWBHTMLIndex::MaxFileBytes), -1},
        {"too many headings", magic + i32(TEWBHTMLIndex::MaxHeadings + 1),
         str::sIndexTooManyHeadings().arg(TEWBHTMLIndex::MaxHeadings + 1).arg(TEWBHTMLIndex::MaxHeadings), 0},
        {"thirteen million entries",
         magic + i32(1) + i32(0) + text(QStringLiteral("H")) + i32(13000000) + emptyEntry,
         str::sIndexTooManyEntriesInHeading().arg(13000000).arg(perHeading), 0},
        {"too many entries in all",
         magic + i32(headingsForAll) + heading(perHeading).repeated(headingsForAll),
         str::sIndexTooManyEntries().arg(TEWBHTMLIndex::MaxEntries), headingsForAll - 1},
        {"a caption longer than any",
         magic + i32(1) + i32(0) + text(QString(TEWBHTMLIndex::MaxTextLength + 1, QLatin1Char('x'))),
         str::sIndexTextTooLong().arg(TEWBHTMLIndex::MaxTextLength + 1).arg(TEWBHTMLIndex::MaxTextLength), 0},
    };
    for (const Case& c : cases) {
        TEWBHTMLIndex index = LoadedSample();
        try {
            index.LoadFromData(c.data);
            ADD_FAILURE() << c.what << " loaded";
        } catch (const EBadIndexFile& e) {
            EXPECT_EQ(e.Reason(), c.reason) << c.what;
        }
        EXPECT_EQ(index.HeadingCount(), c.headingsKept < 0 ? 2 : c.headingsKept) << c.what;
    }
    // At the limits themselves the file loads.
    TEWBHTMLIndex index;
    index.LoadFromData(magic + i32(headingsForAll - 1) + heading(perHeading).repeated(headingsForAll - 1));
    EXPECT_EQ(index.HeadingCount(), headingsForAll - 1);
}

// The file's size is checked before a byte of it is read.
TEST(LessonIndex, AFileOverTheSizeLimitIsNotRead)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("index.ux"));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_TRUE(f.resize(100 << 20)) << "a sparse file of 100 MB";
    f.close();
    TEWBHTMLIndex index;
    try {
        index.Load(file);
        FAIL() << "a 100 MB index loaded";
    } catch (const EBadIndexFile& e) {
        EXPECT_EQ(e.Reason(), str::sIndexTooLarge().arg(100 << 20).arg(TEWBHTMLIndex::MaxFileBytes));
        EXPECT_TRUE(e.Message().contains(QDir::toNativeSeparators(file)));
    }
}

// Every damaged file stops the loader with EBadIndexFile; the headings read
// completely before the fault stay, everything else of the old index is gone
// unless the fault came before the headings were reached.
struct TDamagedCase {
    const char* file;
    QString (*reason)();    // what the error says is wrong
    int headingsAfterLoad;  // loaded over the two-heading sample
};

QString HugeHeadingCount()
{
    return str::sIndexTooManyHeadings().arg(0x7FFFFFFF).arg(TEWBHTMLIndex::MaxHeadings);
}

QString HugeStringLength()
{
    return str::sIndexTextTooLong().arg(0x7FFFFFFF).arg(TEWBHTMLIndex::MaxTextLength);
}

QString HugeEntryCount()
{
    return str::sIndexTooManyEntriesInHeading().arg(0x40000000).arg(TEWBHTMLIndex::MaxEntriesPerHeading);
}

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
        EXPECT_EQ(e.Reason(), c.reason()) << c.file;
        EXPECT_EQ(e.FileName(), file);
    }
    EXPECT_EQ(index.HeadingCount(), c.headingsAfterLoad) << c.file;
    // Whatever survived still renders and answers lookups.
    index.ExpandAll();
    index.Select(QStringLiteral("BALL.HTM"));
    EXPECT_EQ(index.Render().isEmpty(), index.HeadingCount() == 0);
}

INSTANTIATE_TEST_SUITE_P(
    Corpus, DamagedIndexFile,
    ::testing::Values(TDamagedCase{"bad-magic.ux", str::sIndexNotAnIndex, 2},
                      TDamagedCase{"empty.ux", str::sIndexCutShort, 2},
                      TDamagedCase{"short-magic.ux", str::sIndexCutShort, 2},
                      TDamagedCase{"magic-only.ux", str::sIndexCutShort, 0},
                      TDamagedCase{"cut-in-second-heading.ux", str::sIndexCutShort, 1},
                      TDamagedCase{"cut-in-string.ux", str::sIndexCutShort, 0},
                      TDamagedCase{"negative-heading-count.ux", str::sIndexNegativeCount, 0},
                      TDamagedCase{"huge-heading-count.ux", HugeHeadingCount, 0},
                      TDamagedCase{"negative-string-length.ux", str::sIndexNegativeCount, 0},
                      TDamagedCase{"huge-string-length.ux", HugeStringLength, 0},
                      TDamagedCase{"min-string-length.ux", str::sIndexNegativeCount, 0},
                      TDamagedCase{"negative-entry-count.ux", str::sIndexNegativeCount, 0},
                      TDamagedCase{"huge-entry-count.ux", HugeEntryCount, 0},
                      TDamagedCase{"extended-cut-in-extra.ux", str::sIndexCutShort, 0},
                      TDamagedCase{"extended-missing-byte.ux", str::sIndexCutShort, 0}),
    [](const ::testing::TestParamInfo<TDamagedCase>& info) { return test::CaseNameOfFile(info.param.file); });

TEST(LessonIndex, EveryCorpusFileIsCoveredByTheTable)
{
    const QStringList files =
        QDir(IndexData(QStringLiteral("damaged"))).entryList({QStringLiteral("*.ux")}, QDir::Files);
    EXPECT_EQ(files.size(), 15) << "add new corpus files to DamagedIndexFile's table";
}

}  // namespace
}  // namespace brv
