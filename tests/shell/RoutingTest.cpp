// Page routing: the page table, the special "!" and "$" links, and what the
// lesson pane does with each address before the engine navigates.
#include "experiments/ExperimentCatalogue.h"
#include "runtime/BRV_StrConstants.h"
#include "runtime/Catalogue.h"
#include "runtime/ProgramFolder.h"
#include "shell/html_FileUtils.h"
#include "shell/uLessonPane.h"
#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <stdexcept>
#include <vector>

namespace brv {
namespace {

QString Book()
{
    return QDir(test::DataPath(QStringLiteral("lesson"))).absolutePath();
}

// The page table is the catalogue's: its rows say which pages lead to them.
class PageTable : public ::testing::Test {
protected:
    void SetUp() override { RegisterExperiments(); }
};

TEST_F(PageTable, EveryFamilyPageLeadsToItsExperiment)
{
    struct Family {
        const char* stem;
        ExperimentId id;
    };
    const Family families[] = {{"AMYLASE", 18},    {"PHOTOSYN", 9},  {"YEAST", 21},   {"CAHCL", 2},
                               {"CHEMRATE", 3},    {"THERMCHEM", 8}, {"BALL", 1},     {"CAR", 20},
                               {"SPRING", 5},      {"CHARLES", 15},  {"FRICTION", 6}, {"HEATING", 7},
                               {"RESISTANCE", 10}, {"EMAGNET", 4},   {"TERMVEL", 11}};
    const char* suffixes[] = {".HTM", "-PLAN.HTM", "-DATA.HTM", "-ANYS.HTM", "-CON.HTM", "-HELP.HTM"};
    for (const Family& f : families) {
        for (const char* suffix : suffixes) {
            const QString page = QLatin1String(f.stem) + QLatin1String(suffix);
            EXPECT_EQ(PageExperimentId(page, 99), f.id) << page.toStdString();
            EXPECT_EQ(PageExperimentId(page.toLower(), 99), f.id) << page.toStdString();
        }
        EXPECT_EQ(ExperimentMainPage(f.id), QLatin1String(f.stem) + QLatin1String(".HTM"));
    }
}

TEST_F(PageTable, SinglePagesAndTheirReverse)
{
    const std::pair<const char*, ExperimentId> singles[] = {
        {"AMYLASE-INFO.HTM", 105}, {"ENERGY.HTM", 101},        {"RESMODEL.HTM", 102},
        {"VOLTMOD.HTM", 100},      {"MOLECULE.HTM", 16},       {"HCATINFO.HTM", 23},
        {"CAHCLINFO.HTM", 22},     {"REACTION_RATES.HTM", 17}, {"ENZYME_INFO.HTM", 104}};
    for (const auto& [page, id] : singles) {
        EXPECT_EQ(PageExperimentId(QLatin1String(page), 0), id) << page;
        EXPECT_EQ(ExperimentMainPage(id), QLatin1String(page));
    }
    for (ExperimentId unused : {0, 12, 13, 14, 19, 103, 106, -1})
        EXPECT_TRUE(ExperimentMainPage(unused).isEmpty()) << unused;
}

TEST_F(PageTable, NamesAreNormalisedBeforeTheLookup)
{
    const std::pair<const char*, ExperimentId> cases[] = {
        {"ball-data.htm#results", 1},
        {"/Ball-Plan.htm", 1},
        {"car.htm#", 20},
        {"CAR.HTML", 7},  // not a page of the table: keeps the current id
        {"index.html", 7},
        {"resdata.htm", 7},
        {"BALLX.HTM", 7},
        {"AMYLASE-INFO.HTM#x", 105},
        {"", 7},
    };
    for (const auto& [segment, id] : cases)
        EXPECT_EQ(PageExperimentId(QLatin1String(segment), 7), id) << segment;
}

TEST_F(PageTable, APageLeadsToOneExperimentOnly)
{
    // A row claiming another row's page is refused when it is registered,
    // at start-up, not left for the router to pick one of the two.
    TCatalogueEntry clash;
    clash.id = 12;
    clash.mainPage = QStringLiteral("ball-plan.htm");
    EXPECT_THROW(TCatalogue::Instance().Register(clash), std::logic_error);
    TCatalogueEntry family;
    family.id = 12;
    family.mainPage = QStringLiteral("TERMVEL.HTM");
    family.pages = TPages::Family;
    EXPECT_THROW(TCatalogue::Instance().Register(family), std::logic_error);
    EXPECT_EQ(TCatalogue::Instance().Find(12), nullptr);
    EXPECT_EQ(PageExperimentId(QStringLiteral("BALL-PLAN.HTM"), 0), 1);
}

TEST(RoutingHelpers, LastSegmentOfAnAddress)
{
    EXPECT_EQ(LastUrlSegment(QStringLiteral("file:///book/html/ball-data.htm#results")),
              QStringLiteral("ball-data.htm#results"));
    EXPECT_EQ(LastUrlSegment(QStringLiteral("file:///book/html/!3")), QStringLiteral("!3"));
    EXPECT_EQ(LastUrlSegment(QStringLiteral("BALL.HTM")), QStringLiteral("BALL.HTM"));
    EXPECT_EQ(LastUrlSegment(QStringLiteral("C:\\book\\html\\BALL.HTM")), QStringLiteral("BALL.HTM"));
    EXPECT_EQ(LastUrlSegment(QStringLiteral("file:///book/html/")), QString());
}

TEST(RoutingHelpers, DollarLinksStayInsideTheImagesFolder)
{
    const QString images = QDir(Book()).filePath(QStringLiteral("html/images/"));
    EXPECT_EQ(DollarPicturePath(Book(), QStringLiteral("$cell.jpg")), images + QStringLiteral("cell.jpg"));
    // Case is ignored, as on the system the lesson book was written for.
    EXPECT_EQ(DollarPicturePath(Book(), QStringLiteral("$CELL.JPG")), images + QStringLiteral("cell.jpg"));
    EXPECT_EQ(DollarPicturePath(Book(), QStringLiteral("$my%20cell.jpg")),
              images + QStringLiteral("my cell.jpg"));
    for (const char* escape :
         {"$..%2F..%2Findex.html", "$..%5Cindex.ux", "$..", "$.", "$", "$sub/../../x.png"})
        EXPECT_TRUE(DollarPicturePath(Book(), QLatin1String(escape)).isEmpty()) << escape;
}

TEST(RoutingHelpers, PictureSourceBecomesALocalFile)
{
    EXPECT_EQ(PictureSourceToFile(QStringLiteral("file:///book/html/images/a%20b.png")),
              QStringLiteral("/book/html/images/a b.png"));
    EXPECT_EQ(PictureSourceToFile(QStringLiteral("FILE:///book/x.jpg")), QStringLiteral("/book/x.jpg"));
    EXPECT_TRUE(PictureSourceToFile(QStringLiteral("https://example.org/x.png")).isEmpty());
    EXPECT_TRUE(PictureSourceToFile(QStringLiteral("data:image/png;base64,AAAA")).isEmpty());
}

TEST(RoutingHelpers, ScriptStringLiteralsReadBackUnchanged)
{
    const QString nasty = QStringLiteral("a\"b\\c'd\n</script>\u2028\u00BA\t<div class=\"x\">");
    const QString literal = JsStringLiteral(nasty);
    EXPECT_TRUE(literal.startsWith(QLatin1Char('"')) && literal.endsWith(QLatin1Char('"')));
    EXPECT_FALSE(literal.contains(QLatin1Char('\n')));
    const QJsonDocument back =
        QJsonDocument::fromJson((QLatin1Char('[') + literal + QLatin1Char(']')).toUtf8());
    ASSERT_TRUE(back.isArray());
    EXPECT_EQ(back.array().at(0).toString(), nasty);
}

// A host that records what the pane asks of the main window.
struct TRecordingHost {
    ExperimentId current = 0;
    std::vector<ExperimentId> shown;
    std::vector<QString> pictures;
    std::vector<QString> errors;

    TLessonPaneHost Host()
    {
        TLessonPaneHost host;
        host.currentExperiment = [this] { return current; };
        host.showExperiment = [this](ExperimentId id) {
            shown.push_back(id);
            current = id;
        };
        host.openPicture = [this](const QString& file) { pictures.push_back(file); };
        host.showError = [this](const QString& message) { errors.push_back(message); };
        return host;
    }
};

QString SelectedPages(const TEWBHTMLIndex& index)
{
    QStringList pages;
    for (int h = 0; h < index.HeadingCount(); ++h)
        for (const TEWBChildItem& entry : index.Heading(h).Entries)
            if (entry.Selected)
                pages << entry.Page;
    return pages.join(QLatin1Char(','));
}

QString OpenHeadings(const TEWBHTMLIndex& index)
{
    QStringList open;
    for (int h = 0; h < index.HeadingCount(); ++h)
        if (index.Heading(h).Open)
            open << QString::number(h);
    return open.join(QLatin1Char(','));
}

struct TRouteCase {
    const char* name;
    ExperimentId currentBefore;
    const char* segment;  // appended to the book's html folder address
    bool proceeds;
    std::vector<ExperimentId> shown;
    const char* selected;  // selected index pages afterwards
    const char* open;      // open index headings afterwards
    const char* picture;   // file the viewer opened, relative to the book; "-" none
    QString (*error)();    // what the pupil is told instead; none when null
};

// Test listings and failure messages name the case instead of dumping its bytes.
void PrintTo(const TRouteCase& c, std::ostream* out)
{
    *out << c.name;
}

class Route : public ::testing::TestWithParam<TRouteCase> {
protected:
    void SetUp() override { RegisterExperiments(); }
};

TEST_P(Route, DoesWhatTheAddressAsks)
{
    const TRouteCase& c = GetParam();
    TRecordingHost recorder;
    recorder.current = c.currentBefore;
    TLessonPane pane(recorder.Host(), Book());
    pane.LoadIndex();
    // The index starts with heading 0 open and CAR.HTM selected, so every
    // change is visible.
    pane.Index().Expand(0);
    pane.Index().Select(QStringLiteral("CAR.HTM"));

    const QUrl url(QUrl::fromLocalFile(Book() + QStringLiteral("/html/")).toString() +
                   QLatin1String(c.segment));
    EXPECT_EQ(pane.RouteNavigation(url), c.proceeds);
    QCoreApplication::processEvents();  // the viewer opens after the engine's callback

    EXPECT_EQ(recorder.shown, c.shown);
    EXPECT_EQ(SelectedPages(pane.Index()), QLatin1String(c.selected));
    EXPECT_EQ(OpenHeadings(pane.Index()), QLatin1String(c.open));
    if (QLatin1String(c.picture) == QLatin1String("-"))
        EXPECT_TRUE(recorder.pictures.empty());
    else
        EXPECT_EQ(recorder.pictures, std::vector<QString>{QDir(Book()).filePath(QLatin1String(c.picture))});
    if (c.error == nullptr)
        EXPECT_TRUE(recorder.errors.empty()) << recorder.errors.front().toStdString();
    else
        EXPECT_EQ(recorder.errors, std::vector<QString>{c.error()});
}

QString MissingPicture()
{
    return str::sPictureMissing().arg(
        QDir::toNativeSeparators(Book() + QStringLiteral("/html/images/none.png")));
}

QString UnreadablePicture()
{
    return str::sPictureUnreadable().arg(
        QDir::toNativeSeparators(Book() + QStringLiteral("/html/images/not-a-picture.png")));
}

QString RefusedPicture()
{
    return str::sPictureLinkRefused().arg(QStringLiteral("$../../html/index.ux"));
}

QString RefusedLocalFile()
{
    return str::sLocalFileRefused().arg(QDir::toNativeSeparators(Book() + QStringLiteral("/lesson.css")));
}

// Fixture index headings: 0 Physics (BALL.HTM, CAR.HTM), 1 Chemistry
// (REACTION_RATES.HTM, CAHCLINFO.HTM), 2 General (resdata.htm, general.htm),
// 3 Biology (YEAST.HTM).
INSTANTIATE_TEST_SUITE_P(
    Table, Route,
    ::testing::Values(
        TRouteCase{
            "FamilyPageWithAnchor", 0, "ball-data.htm#results", true, {1}, "BALL.HTM", "0", "-", nullptr},
        TRouteCase{"ReactionRateInfoAfterReactionRates",
                   17,
                   "CAHCLINFO.HTM",
                   true,
                   {22},
                   "CAHCLINFO.HTM",
                   "1",
                   "-",
                   nullptr},
        TRouteCase{"SameExperimentIsNotRebuilt", 1, "BALL-CON.HTM", true, {}, "BALL.HTM", "0", "-", nullptr},
        TRouteCase{
            "IndexPageKeepsExperimentAndIndex", 21, "index.html", true, {}, "CAR.HTM", "0", "-", nullptr},
        TRouteCase{"IndexPageWithAnchorMarksTheExperiment",
                   21,
                   "index.html#top",
                   true,
                   {},
                   "YEAST.HTM",
                   "3",
                   "-",
                   nullptr},
        TRouteCase{
            "ResdataIsMarkedByItsOwnName", 1, "resdata.htm", true, {}, "resdata.htm", "2", "-", nullptr},
        TRouteCase{"ResdataNameIsCaseSensitive", 1, "RESDATA.HTM", true, {}, "BALL.HTM", "0", "-", nullptr},
        TRouteCase{"GeneralPageKeepsExperiment", 20, "general.htm", true, {}, "CAR.HTM", "0", "-", nullptr},
        TRouteCase{
            "ExperimentMissingFromIndexClearsSelection", 0, "SPRING.HTM", true, {5}, "", "0", "-", nullptr},
        TRouteCase{"BangTogglesHeadingWithoutLeaving", 1, "!3", false, {}, "CAR.HTM", "3", "-", nullptr},
        TRouteCase{"BangTogglesOpenHeadingShut", 1, "!0", false, {}, "CAR.HTM", "", "-", nullptr},
        TRouteCase{"BangWithoutNumberIsIgnored", 1, "!abc", false, {}, "CAR.HTM", "0", "-", nullptr},
        TRouteCase{"BangOutOfRangeIsIgnored", 1, "!99", false, {}, "CAR.HTM", "0", "-", nullptr},
        TRouteCase{
            "DollarOpensViewer", 1, "$cell.jpg", false, {}, "CAR.HTM", "0", "html/images/cell.jpg", nullptr},
        TRouteCase{
            "DollarMissingPictureIsReported", 1, "$none.png", false, {}, "CAR.HTM", "0", "-", MissingPicture},
        TRouteCase{"DollarNonPictureIsReported",
                   1,
                   "$not-a-picture.png",
                   false,
                   {},
                   "CAR.HTM",
                   "0",
                   "-",
                   UnreadablePicture},
        TRouteCase{"DollarLeavingImagesIsRefused",
                   1,
                   "$..%2F..%2Fhtml%2Findex.ux",
                   false,
                   {},
                   "CAR.HTM",
                   "0",
                   "-",
                   RefusedPicture},
        TRouteCase{"LocalFileOutsideTheBookIsRefused",
                   1,
                   "../lesson.css",
                   false,
                   {},
                   "CAR.HTM",
                   "0",
                   "-",
                   RefusedLocalFile}),
    [](const ::testing::TestParamInfo<TRouteCase>& info) { return std::string(info.param.name); });

// A missing page keeps neither the experiment from the pupil nor the reason
// from view: the pane says which page is missing.
TEST(PaneRouting, ExperimentsMenuShowsTheExperimentAndItsPageOrWhatIsMissing)
{
    TRecordingHost recorder;
    recorder.current = 0;
    TLessonPane pane(recorder.Host(), Book());
    pane.ShowExperimentPage(103);  // no page leads to an unused id
    EXPECT_TRUE(recorder.shown.empty());
    pane.ShowExperimentPage(1);
    EXPECT_EQ(recorder.shown, std::vector<ExperimentId>{1});
    EXPECT_TRUE(pane.Notice().isEmpty());
    pane.ShowExperimentPage(1);  // already shown
    EXPECT_EQ(recorder.shown, std::vector<ExperimentId>{1});
    pane.ShowExperimentPage(5);  // SPRING.HTM is not in the fixture book
    EXPECT_EQ(recorder.shown, (std::vector<ExperimentId>{1, 5}));
    EXPECT_EQ(pane.Notice(), str::sLessonPageMissing().arg(QDir::toNativeSeparators(
                                 ResolveInFolder(Book(), QStringLiteral("HTML\\SPRING.HTM")))));
    EXPECT_TRUE(recorder.errors.empty());
}

TEST(PaneRouting, WithoutTheLessonBookThePaneSaysSoAndTheMenuStillWorks)
{
    QTemporaryDir empty;
    TRecordingHost recorder;
    TLessonPane pane(recorder.Host(), empty.path());
    pane.OpenStartPage();
    const QString missing =
        str::sLessonBookMissing().arg(QDir::toNativeSeparators(empty.filePath(QStringLiteral("html"))));
    EXPECT_EQ(pane.Notice(), missing);
    pane.ShowExperimentPage(20);
    EXPECT_EQ(recorder.shown, std::vector<ExperimentId>{20});
    EXPECT_EQ(pane.Notice(), missing);

    QDir(empty.path()).mkpath(QStringLiteral("html"));
    pane.OpenStartPage();
    EXPECT_EQ(pane.Notice(), str::sLessonStartPageMissing().arg(QDir::toNativeSeparators(
                                 empty.filePath(QStringLiteral("html/index.html")))));
    EXPECT_TRUE(recorder.errors.empty());
}

TEST(RoutingHelpers, OnlyTheProgramsContentFoldersAreLessonBook)
{
    QTemporaryDir program;
    QDir dir(program.path());
    for (const char* folder : {"html/images", "Flash", "Help", "other"})
        dir.mkpath(QLatin1String(folder));
    QFile::link(QStringLiteral("/etc"), dir.filePath(QStringLiteral("html/escape")));
    const std::pair<const char*, bool> cases[] = {
        {"html/index.html", true},
        {"HTML/Page.htm", true},  // the book's folders in any case, as the program finds its files
        {"html/images/cell.jpg", true},
        {"Flash/Voltage.swf", true},
        {"Help/BRVhelp.chm", true},
        {"html", false},  // the folder itself, as a listing
        {"other/page.htm", false},
        {"page.htm", false},
        {"html/../other/page.htm", false},
        {"html/escape/passwd", false},  // a link out of the book
    };
    for (const auto& [relative, inside] : cases)
        EXPECT_EQ(IsInsideLessonBook(program.path(), dir.filePath(QLatin1String(relative))), inside)
            << relative;
    EXPECT_FALSE(IsInsideLessonBook(program.path(), QStringLiteral("/etc/passwd")));
    EXPECT_FALSE(IsInsideLessonBook(program.path(), program.path() + QStringLiteral("x/html/page.htm")))
        << "a folder beside the program folder whose name starts the same";
}

TEST(PaneRouting, AnExperimentThatFailsToBuildIsReportedNotThrownThroughTheEngine)
{
    std::vector<QString> errors;
    TLessonPaneHost host;
    host.currentExperiment = [] { return 0; };
    host.showExperiment = [](ExperimentId) { throw std::runtime_error("form failed"); };
    host.showError = [&errors](const QString& message) { errors.push_back(message); };
    TLessonPane pane(host, Book());
    EXPECT_TRUE(pane.RouteNavigation(QUrl::fromLocalFile(Book() + QStringLiteral("/html/BALL.HTM"))));
    QCoreApplication::processEvents();
    EXPECT_EQ(errors, std::vector<QString>{QStringLiteral("form failed")});
}

// A symbolic link in the pictures folder is followed to where it leads: out
// of the folder it is refused with the same message as "..", inside it the
// picture opens.
TEST(PaneRouting, DollarLinksFollowSymbolicLinksOnlyInsideThePicturesFolder)
{
    QTemporaryDir program;
    QTemporaryDir outside;
    QDir dir(program.path());
    dir.mkpath(QStringLiteral("html/images/sub"));
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::red);
    const QString secret = QDir(outside.path()).filePath(QStringLiteral("secret.png"));
    ASSERT_TRUE(picture.save(secret));
    ASSERT_TRUE(picture.save(dir.filePath(QStringLiteral("html/images/sub/real.png"))));
    ASSERT_TRUE(QFile::link(secret, dir.filePath(QStringLiteral("html/images/secret.png"))));
    ASSERT_TRUE(QFile::link(outside.path(), dir.filePath(QStringLiteral("html/images/away"))));
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("html/images/sub/real.png")),
                            dir.filePath(QStringLiteral("html/images/alias.png"))));
    const std::pair<const char*, bool> cases[] = {
        {"$secret.png", false}, {"$away%2Fsecret.png", false}, {"$away%2Fnone.png", false},
        {"$alias.png", true},   {"$sub%2Freal.png", true},
    };
    for (const auto& [segment, opens] : cases) {
        SCOPED_TRACE(segment);
        TRecordingHost recorder;
        TLessonPane pane(recorder.Host(), program.path());
        const QUrl url(QUrl::fromLocalFile(dir.filePath(QStringLiteral("html/"))).toString() +
                       QLatin1String(segment));
        EXPECT_FALSE(pane.RouteNavigation(url));
        QCoreApplication::processEvents();
        if (opens) {
            EXPECT_EQ(recorder.pictures.size(), 1u);
            EXPECT_TRUE(recorder.errors.empty());
        } else {
            EXPECT_TRUE(recorder.pictures.empty());
            EXPECT_EQ(recorder.errors, std::vector<QString>{str::sPictureLinkRefused().arg(
                                           QUrl::fromPercentEncoding(QByteArray(segment)))});
        }
    }
}

// Web addresses never open in the pane; one the pupil clicked is offered to
// the desktop's browser, one a script or a frame asked for is dropped.
TEST(PaneRouting, WebLinksAreOfferedOnlyWhenClicked)
{
    TRecordingHost recorder;
    std::vector<QUrl> offered;
    TLessonPaneHost host = recorder.Host();
    host.openWebLink = [&offered](const QUrl& url) { offered.push_back(url); };
    TLessonPane pane(host, Book());
    const QUrl clicked(QStringLiteral("https://www.example.org/a"));
    const QUrl scripted(QStringLiteral("http://www.example.org/b"));
    EXPECT_FALSE(pane.RouteNavigation(clicked, true));
    EXPECT_FALSE(pane.RouteNavigation(scripted, false));
    QCoreApplication::processEvents();
    EXPECT_EQ(offered, std::vector<QUrl>{clicked});
    EXPECT_TRUE(recorder.shown.empty());
    EXPECT_TRUE(recorder.errors.empty());
}

}  // namespace
}  // namespace brv
