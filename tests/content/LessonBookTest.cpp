// The bundled lesson book as the program meets it in its folder: the pages the
// router opens, their titles and links, the lesson index and the pictures.
#include "support/TestSupport.h"

#include "experiments/ExperimentCatalogue.h"
#include "runtime/BRV_StrConstants.h"
#include "runtime/ProgramFolder.h"
#include "shell/ewb_Index.h"
#include "shell/html_FileUtils.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QRegularExpression>
#include <QSet>
#include <QUrl>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>

namespace {

const QString kProgram = QStringLiteral(BRV_PROGRAM_DIR);

// The routing table's page names: fifteen six-page families and nine single
// pages; "resdata.htm" is handled by its own name.
const char* const kStems[] = {"AMYLASE",   "PHOTOSYN", "YEAST",      "CAHCL",   "CHEMRATE",
                              "THERMCHEM", "BALL",     "CAR",        "SPRING",  "CHARLES",
                              "FRICTION",  "HEATING",  "RESISTANCE", "EMAGNET", "TERMVEL"};
const char* const kSuffixes[] = {"", "-PLAN", "-DATA", "-ANYS", "-CON", "-HELP"};
const char* const kSinglePages[] = {"AMYLASE-INFO.HTM", "ENERGY.HTM",         "RESMODEL.HTM",
                                    "VOLTMOD.HTM",      "MOLECULE.HTM",       "HCATINFO.HTM",
                                    "CAHCLINFO.HTM",    "REACTION_RATES.HTM", "ENZYME_INFO.HTM"};

QString HtmlFolder()
{
    return brv::ResolveInFolder(kProgram, "html");
}

QString ReadText(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

QStringList RoutedPages()
{
    QStringList pages;
    for (const char* stem : kStems)
        for (const char* suffix : kSuffixes)
            pages << QString("%1%2.HTM").arg(stem, suffix);
    for (const char* page : kSinglePages)
        pages << page;
    pages << "resdata.htm";
    return pages;
}

// Every page that a row of the program's catalogue leads to: the book's own
// families above, and any experiment added since, found by its row alone.
QStringList CataloguePages()
{
    brv::RegisterExperiments();
    QStringList pages;
    for (const brv::TCatalogueEntry& e : brv::TCatalogue::Instance().Entries())
        for (const QString& page : e.PageNames())
            pages << page;
    return pages;
}

// The stems of the catalogue's six-page families.
QStringList FamilyStems()
{
    QStringList stems;
    for (const char* stem : kStems)
        stems << stem;
    brv::RegisterExperiments();
    for (const brv::TCatalogueEntry& e : brv::TCatalogue::Instance().Entries())
        if (e.pages == brv::TPages::Family && !stems.contains(e.mainPage.chopped(4)))
            stems << e.mainPage.chopped(4);
    return stems;
}

// The main pages: the routing table's, and those of experiments added since.
QStringList MainPages()
{
    QStringList pages;
    for (const char* stem : kStems)
        pages << QString("%1.HTM").arg(stem);
    for (const char* page : kSinglePages)
        pages << page;
    pages << "resdata.htm";
    brv::RegisterExperiments();
    for (const brv::TCatalogueEntry& e : brv::TCatalogue::Instance().Entries())
        if (!pages.contains(e.mainPage))
            pages << e.mainPage;
    return pages;
}

// Every page of the book: the files of html/ ending .htm or .html.
QStringList BookPages()
{
    return QDir(HtmlFolder()).entryList({"*.htm", "*.html", "*.HTM", "*.HTML"}, QDir::Files, QDir::Name);
}

QStringList Links(const QString& html)
{
    static const QRegularExpression attribute(R"re(\b(?:href|src)\s*=\s*"([^"]*)")re",
                                              QRegularExpression::CaseInsensitiveOption);
    QStringList links;
    for (auto it = attribute.globalMatch(html); it.hasNext();)
        links << it.next().captured(1);
    return links;
}

QString Title(const QString& html)
{
    static const QRegularExpression title(
        R"(<title>(.*?)</title>)",
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    return title.match(html).captured(1).trimmed();
}

bool HasId(const QString& html, const QString& id)
{
    return html.contains(QString(R"(id="%1")").arg(id));
}

struct IndexEntry {
    QString caption;
    QString page;
};
struct IndexHeading {
    QString caption;
    std::vector<IndexEntry> entries;
};

// The plain layout of the index file, read independently of the program.
bool ReadIndex(const QString& path, std::vector<IndexHeading>& headings, QString& error)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        error = "cannot open " + path;
        return false;
    }
    QDataStream in(&f);
    in.setByteOrder(QDataStream::LittleEndian);
    auto readString = [&](QString& s) {
        qint32 n = -1;
        in >> n;
        if (n < 0 || n > 10000)
            return false;
        s.resize(n);
        for (qint32 i = 0; i < n; ++i) {
            quint16 unit = 0;
            in >> unit;
            s[i] = QChar(unit);
        }
        return in.status() == QDataStream::Ok;
    };
    qint32 magic = 0, count = 0;
    in >> magic >> count;
    if (magic != 105123 || count < 0 || count > 1000) {
        error = QString("magic %1, %2 headings").arg(magic).arg(count);
        return false;
    }
    for (qint32 h = 0; h < count; ++h) {
        IndexHeading heading;
        qint32 number = 0, entries = 0;
        in >> number;
        if (!readString(heading.caption)) {
            error = "damaged heading caption";
            return false;
        }
        in >> entries;
        if (entries < 0 || entries > 1000) {
            error = "damaged entry count";
            return false;
        }
        for (qint32 e = 0; e < entries; ++e) {
            IndexEntry entry;
            if (!readString(entry.caption) || !readString(entry.page)) {
                error = "damaged entry";
                return false;
            }
            heading.entries.push_back(entry);
        }
        headings.push_back(heading);
    }
    if (!f.atEnd()) {
        error = "bytes after the last heading";
        return false;
    }
    return true;
}

TEST(LessonBook, ProgramFolderHoldsEveryPartOfTheBook)
{
    const char* const paths[] = {"html\\index.html",   "HTML\\index.ux",        "HTML\\Images\\Splash.png",
                                 "Flash\\Voltage.swf", "Flash\\EnergyBall.swf", "Flash\\Electrons.swf",
                                 "Flash\\Enzyme.swf",  "Flash\\Amylase.swf",    "Help\\BRVhelp.chm",
                                 "HTML\\BALL.HTM"};
    for (const char* path : paths)
        EXPECT_TRUE(brv::ExistsInFolder(kProgram, path)) << path;
}

TEST(LessonBook, EveryPageOfTheRoutingTableExists)
{
    // The browser opens pages by file address, which is case-sensitive here,
    // so the names must match exactly, not only as the program resolves them.
    const QStringList pages = BookPages();
    const QSet<QString> present(pages.begin(), pages.end());
    for (const QString& page : RoutedPages() + CataloguePages())
        EXPECT_TRUE(present.contains(page)) << page.toStdString();

    // The names agree with the program's own routing: every page of a family
    // leads to its experiment, each single page to its own, general pages
    // keep the experiment shown.
    brv::RegisterExperiments();
    constexpr brv::ExperimentId kKept = -1;
    for (const char* stem : kStems) {
        const brv::ExperimentId id = brv::PageExperimentId(QString("%1.HTM").arg(stem), kKept);
        EXPECT_NE(id, kKept) << stem;
        for (const char* suffix : kSuffixes)
            EXPECT_EQ(brv::PageExperimentId(QString("%1%2.HTM").arg(stem, suffix), kKept), id)
                << stem << suffix;
    }
    for (const char* page : kSinglePages)
        EXPECT_NE(brv::PageExperimentId(page, kKept), kKept) << page;
    EXPECT_EQ(brv::PageExperimentId("resdata.htm", kKept), kKept);
    EXPECT_EQ(brv::PageExperimentId("index.html", kKept), kKept);

    // The Experiments menu and the catalogue open main pages: each exists.
    for (brv::ExperimentId id = 1; id <= 105; ++id) {
        const QString main = brv::ExperimentMainPage(id);
        if (!main.isEmpty()) {
            EXPECT_TRUE(present.contains(main)) << "id " << id << ": " << main.toStdString();
        }
    }
}

TEST(LessonBook, EveryPageHasATitle)
{
    const QStringList pages = BookPages();
    ASSERT_GE(pages.size(), RoutedPages().size() + 1);
    for (const QString& page : pages) {
        SCOPED_TRACE(page.toStdString());
        EXPECT_FALSE(Title(ReadText(HtmlFolder() + "/" + page)).isEmpty());
        // The index button is enabled while the page's file name does not
        // contain "index", so only the start page may carry that word.
        if (page != "index.html") {
            EXPECT_FALSE(page.contains("index"));
        }
    }
}

TEST(LessonBook, StartPageHoldsTheIndexAndTheStyleSheetItsClasses)
{
    const QString start = ReadText(HtmlFolder() + "/index.html");
    ASSERT_FALSE(start.isEmpty());
    EXPECT_EQ(start.count(QStringLiteral("id=\"index\"")), 1);
    const QString css = ReadText(HtmlFolder() + "/book.css");
    for (const char* cls : {".level1 ", ".level1exp", ".level2 ", ".level2selected"})
        EXPECT_TRUE(css.contains(cls)) << cls;
}

TEST(LessonBook, EveryPictureHasAlternativeText)
{
    static const QRegularExpression image(R"(<img\b[^>]*>)", QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression alt(R"re(\balt\s*=\s*"\s*[^"\s][^"]*")re",
                                        QRegularExpression::CaseInsensitiveOption);
    int pictures = 0;
    for (const QString& page : BookPages())
        for (auto it = image.globalMatch(ReadText(HtmlFolder() + "/" + page)); it.hasNext();) {
            const QString tag = it.next().captured(0);
            ++pictures;
            EXPECT_TRUE(alt.match(tag).hasMatch()) << page.toStdString() << ": " << tag.toStdString();
        }
    EXPECT_GE(pictures, 10);
}

// A screen reader's reader moves through a page by its headings: one main
// heading, and no level jumped over on the way down.
TEST(LessonBook, HeadingsStartWithOneMainHeadingAndSkipNoLevel)
{
    static const QRegularExpression heading(R"(<h([1-6])\b)", QRegularExpression::CaseInsensitiveOption);
    for (const QString& page : BookPages()) {
        SCOPED_TRACE(page.toStdString());
        std::vector<int> levels;
        for (auto it = heading.globalMatch(ReadText(HtmlFolder() + "/" + page)); it.hasNext();)
            levels.push_back(it.next().captured(1).toInt());
        ASSERT_FALSE(levels.empty());
        EXPECT_EQ(levels.front(), 1);
        EXPECT_EQ(std::count(levels.begin(), levels.end(), 1), 1);
        for (std::size_t i = 1; i < levels.size(); ++i)
            EXPECT_LE(levels[i], levels[i - 1] + 1) << "heading " << i;
    }
}

// The program's own read-outs write temperatures with the ordinal indicator;
// the book uses the real degree sign, which screen readers read as "degrees".
TEST(LessonBook, TemperaturesAndAnglesUseTheDegreeSign)
{
    QStringList files;
    for (const QString& page : BookPages())
        files << HtmlFolder() + "/" + page;
    const QDir help(QStringLiteral(BRV_TEST_DATA "/../../content/help"));
    for (const QString& topic : help.entryList({"*.htm"}, QDir::Files))
        files << help.filePath(topic);
    ASSERT_GT(files.size(), BookPages().size());
    for (const QString& file : files) {
        const QString text = ReadText(file);
        EXPECT_FALSE(text.contains(QChar(0x00BA)) || text.contains("&ordm;", Qt::CaseInsensitive))
            << file.toStdString();
    }
}

// WCAG relative luminance of a "#RRGGBB" colour.
double Luminance(const QString& hex)
{
    auto channel = [&](int at) {
        const double v = hex.mid(at, 2).toInt(nullptr, 16) / 255.0;
        return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(1) + 0.7152 * channel(3) + 0.0722 * channel(5);
}

double Contrast(const QString& a, const QString& b)
{
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The colour a rule of the style sheet gives to a selector, empty if none.
QString TextColour(const QString& css, const QString& selector)
{
    static const QRegularExpression rule(R"(([^{}]+)\{([^}]*)\})");
    static const QRegularExpression colour(R"((?<![-\w])color\s*:\s*(#[0-9a-fA-F]{6})\b)");
    QString found;
    for (auto it = rule.globalMatch(css); it.hasNext();) {
        const auto m = it.next();
        QStringList selectors = m.captured(1).split(',');
        for (QString& s : selectors)
            s = s.simplified();
        const auto c = colour.match(m.captured(2));
        if (selectors.contains(selector) && c.hasMatch())
            found = c.captured(1);
    }
    return found;
}

TEST(LessonBook, TextStaysReadableOnEveryBackgroundTheProgramOffers)
{
    QString css = ReadText(HtmlFolder() + "/book.css");
    css.remove(QRegularExpression(R"(/\*.*?\*/)", QRegularExpression::DotMatchesEverythingOption));
    const QString backgrounds[] = {brv::str::sTextBgndWhite(), brv::str::sTextBgndPaleBlue(),
                                   brv::str::sTextBgndPaleYellow()};
    for (const char* selector : {"body", "a", "a:visited", "h1", "h2", "h3", ".figure .caption"}) {
        const QString text = TextColour(css, selector);
        ASSERT_FALSE(text.isEmpty()) << selector;
        for (const QString& background : backgrounds)
            EXPECT_GE(Contrast(text, background), 4.5)
                << selector << " " << text.toStdString() << " on " << background.toStdString();
    }
}

TEST(LessonBook, EveryLinkResolves)
{
    const QString folder = HtmlFolder();
    QStringList faults;
    for (const QString& page : BookPages()) {
        const QString html = ReadText(folder + "/" + page);
        for (const QString& link : Links(html)) {
            const QString last = link.section('/', -1);
            if (last.contains('!'))
                faults << page + ": a heading link in a page: " + link;
            else if (last.startsWith('$')) {
                if (!QFileInfo(brv::DollarPicturePath(kProgram, last)).isFile())
                    faults << page + ": no picture " + link;
            } else if (link.contains(':')) {
                faults << page + ": the book links outside itself: " + link;
            } else {
                const QString file = link.section('#', 0, 0);
                const QString anchor = link.section('#', 1);
                const QString target = file.isEmpty() ? folder + "/" + page : folder + "/" + file;
                if (!QFileInfo(target).isFile())
                    faults << page + ": broken link " + link;
                else if (!anchor.isEmpty() && !HasId(ReadText(target), anchor))
                    faults << page + ": no anchor " + link;
            }
        }
    }
    EXPECT_TRUE(faults.isEmpty()) << faults.join('\n').toStdString();
}

TEST(LessonBook, FamilyPagesLinkToEachOtherAndEveryPageCanBeReached)
{
    const QString folder = HtmlFolder();
    std::map<QString, QSet<QString>> links;
    for (const QString& page : BookPages())
        for (const QString& link : Links(ReadText(folder + "/" + page)))
            links[page].insert(link.section('#', 0, 0));

    for (const QString& stem : FamilyStems())
        for (const char* from : kSuffixes)
            for (const char* to : kSuffixes)
                if (from != to) {
                    const QString source = QString("%1%2.HTM").arg(stem, from);
                    const QString target = QString("%1%2.HTM").arg(stem, to);
                    EXPECT_TRUE(links[source].contains(target))
                        << source.toStdString() << " does not link to " << target.toStdString();
                }

    // From the start page and the lesson index, every page can be reached.
    std::vector<IndexHeading> index;
    QString error;
    ASSERT_TRUE(ReadIndex(brv::ResolveInFolder(kProgram, "HTML\\index.ux"), index, error))
        << error.toStdString();
    QStringList queue{"index.html"};
    for (const IndexHeading& h : index)
        for (const IndexEntry& e : h.entries)
            queue << e.page;
    QSet<QString> seen;
    while (!queue.isEmpty()) {
        const QString page = queue.takeFirst();
        if (seen.contains(page))
            continue;
        seen.insert(page);
        for (const QString& next : links[page])
            if (next.endsWith(".htm", Qt::CaseInsensitive) || next.endsWith(".html", Qt::CaseInsensitive))
                queue << next;
    }
    for (const QString& page : BookPages())
        EXPECT_TRUE(seen.contains(page)) << page.toStdString() << " cannot be reached";
}

TEST(LessonIndex, EntriesNameExistingPagesAndEveryMainPageIsListedOnce)
{
    std::vector<IndexHeading> index;
    QString error;
    ASSERT_TRUE(ReadIndex(brv::ResolveInFolder(kProgram, "HTML\\index.ux"), index, error))
        << error.toStdString();
    ASSERT_GE(index.size(), 4u);
    std::map<QString, int> listed;
    for (const IndexHeading& h : index) {
        EXPECT_FALSE(h.caption.isEmpty());
        EXPECT_FALSE(h.entries.empty()) << h.caption.toStdString();
        for (const IndexEntry& e : h.entries) {
            EXPECT_FALSE(e.caption.isEmpty());
            EXPECT_TRUE(brv::ExistsInFolder(kProgram, "HTML\\" + e.page)) << e.page.toStdString();
            ++listed[e.page.toUpper()];
        }
    }
    // Opening a page highlights its main page in the index, so every main
    // page needs exactly one entry.
    for (const QString& page : MainPages())
        EXPECT_EQ(listed[page.toUpper()], 1) << page.toStdString();
}

// The readable source of the index, as the book's build compiles it.
std::vector<IndexHeading> ReadIndexSource()
{
    std::vector<IndexHeading> headings;
    const QString text = ReadText(QStringLiteral(BRV_TEST_DATA "/../../content/index.txt"));
    for (QString line : text.split('\n')) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        if (line.startsWith('[') && line.endsWith(']'))
            headings.push_back({line.mid(1, line.size() - 2).trimmed(), {}});
        else if (!headings.empty())
            headings.back().entries.push_back(
                {line.section('|', 0, 0).trimmed(), line.section('|', 1).trimmed()});
    }
    return headings;
}

TEST(LessonIndex, ProgramLoaderReadsTheSourceHeadingsAndEntries)
{
    const std::vector<IndexHeading> source = ReadIndexSource();
    ASSERT_FALSE(source.empty());
    brv::TEWBHTMLIndex index;
    index.Load(brv::ResolveInFolder(kProgram, "HTML\\index.ux"));
    ASSERT_EQ(index.HeadingCount(), int(source.size()));
    for (int h = 0; h < index.HeadingCount(); ++h) {
        const brv::TEWBHeading& heading = index.Heading(h);
        EXPECT_EQ(heading.Caption, source[h].caption);
        ASSERT_EQ(heading.Entries.size(), source[h].entries.size()) << heading.Caption.toStdString();
        for (std::size_t e = 0; e < heading.Entries.size(); ++e) {
            EXPECT_EQ(heading.Entries[e].Caption, source[h].entries[e].caption);
            EXPECT_EQ(heading.Entries[e].Page, source[h].entries[e].page);
        }
    }
    // Opening a main page opens its heading and highlights its entry.
    for (const QString& page : MainPages()) {
        const int h = index.FindHeading(page);
        ASSERT_GE(h, 0) << page.toStdString();
        index.Expand(h);
        index.Select(page);
        const QString html = index.Render();
        EXPECT_TRUE(html.contains(QString("<div class=\"level1exp\"><span id=\"%1\"></span>").arg(h)));
        EXPECT_EQ(html.count("level2selected"), 1) << page.toStdString();
    }
}

TEST(LessonPictures, PicturesOpenAndIncludeBothFormats)
{
    const QString folder = HtmlFolder();
    QSet<QString> pictures;
    for (const QString& page : BookPages())
        for (const QString& link : Links(ReadText(folder + "/" + page))) {
            const QString last = link.section('/', -1);
            if (last.startsWith('$'))
                pictures.insert(brv::DollarPicturePath(kProgram, last));
            else if (link.startsWith("images/"))
                pictures.insert(folder + "/" + link);
        }
    ASSERT_GE(pictures.size(), 10);
    QSet<QByteArray> formats;
    for (const QString& path : pictures) {
        QImageReader reader(path);
        const QImage image = reader.read();
        EXPECT_FALSE(image.isNull()) << path.toStdString() << ": " << reader.errorString().toStdString();
        EXPECT_GE(image.width(), 100);
        formats.insert(QImageReader::imageFormat(path));
    }
    EXPECT_TRUE(formats.contains("png"));
    EXPECT_TRUE(formats.contains("jpeg"));
}

TEST(LessonPictures, SplashFitsTheAboutBox)
{
    const QImage splash(brv::ResolveInFolder(kProgram, "HTML\\Images\\Splash.png"));
    ASSERT_FALSE(splash.isNull());
    // The About box shows it in a 500 x 332 area with a white margin painted
    // over its outer 10 pixels.
    EXPECT_LE(splash.width(), 500);
    EXPECT_LE(splash.height(), 332);
    EXPECT_GE(splash.width(), 400);
    EXPECT_GE(splash.height(), 250);
}

}  // namespace
