// The help file read through the help reader (a small .chm compiled from
// tests/data/help by the suite's own set-up), its contents and keyword files,
// the help window and the two Help menu items.
#include "shell/uHelp.h"

#include "runtime/BRV_StrConstants.h"
#include "shell/FrameTestSupport.h"
#include "shell/uFrame.h"
#include "shell/uMenuToolbar.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QHostAddress>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTcpServer>
#include <QTreeWidget>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>

#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

namespace brv {
namespace {

using namespace frametest;

// Compiles the fixture help project in folder with chmcmd, the topics in
// extra (name, text) added to it; returns the help file's path.
QString CompileHelp(const QString& folder, const std::vector<std::pair<QString, QByteArray>>& extra = {})
{
    const QString source = test::DataPath(QStringLiteral("help"));
    for (const char* name : {"BRVhelp.hhp", "toc.hhc", "index.hhk", "style.css", "intro.htm",
                             "topics/ball.htm", "topics/units.htm"}) {
        QDir(folder).mkpath(QFileInfo(name).path());
        QFile::copy(QDir(source).filePath(name), QDir(folder).filePath(name));
    }
    QFile project(QDir(folder).filePath(QStringLiteral("BRVhelp.hhp")));
    project.setPermissions(project.permissions() | QFile::WriteOwner);
    if (project.open(QIODevice::Append)) {
        for (const auto& [name, text] : extra) {
            QFile topic(QDir(folder).filePath(name));
            if (topic.open(QIODevice::WriteOnly))
                topic.write(text);
            project.write(name.toUtf8() + "\n");
        }
        project.close();
    }
    QProcess compiler;
    compiler.setWorkingDirectory(folder);
    compiler.start(QStringLiteral("chmcmd"),
                   {QStringLiteral("--no-html-scan"), QStringLiteral("BRVhelp.hhp")});
    compiler.waitForFinished(60000);
    return QDir(folder).filePath(QStringLiteral("BRVhelp.chm"));
}

class HelpTest : public ::testing::Test {
protected:
    // Compiles the fixture project once for the suite.
    static void SetUpTestSuite()
    {
        build = std::make_unique<QTemporaryDir>();
        chm = CompileHelp(build->path());
    }
    static void TearDownTestSuite() { build.reset(); }

    void SetUp() override
    {
        ASSERT_TRUE(QFileInfo(chm).isFile())
            << "chmcmd (Debian package fp-utils) did not build the help file";
        ClearSettings();
    }
    void TearDown() override { ClearSettings(); }

    // In the program's own world: the topics' pages run no scripts of their own.
    static QVariant RunScript(QWebEngineView* view, const QString& script)
    {
        QVariant result;
        bool done = false;
        view->page()->runJavaScript(script, QWebEngineScript::ApplicationWorld, [&](const QVariant& v) {
            result = v;
            done = true;
        });
        WaitFor([&] { return done; });
        return result;
    }

    static std::unique_ptr<QTemporaryDir> build;
    static QString chm;
};

std::unique_ptr<QTemporaryDir> HelpTest::build;
QString HelpTest::chm;

TEST_F(HelpTest, TheBookGivesItsSystemRecordContentsAndObjects)
{
    const THelpBook book = ReadHelpBook(chm);
    ASSERT_TRUE(book.Ok()) << book.Error.toStdString();
    EXPECT_EQ(book.Title, QStringLiteral("Brevalis Help"));
    EXPECT_TRUE(book.ContentsFile.endsWith(QStringLiteral("toc.hhc"), Qt::CaseInsensitive));
    EXPECT_TRUE(book.IndexFile.endsWith(QStringLiteral("index.hhk"), Qt::CaseInsensitive));
    EXPECT_EQ(book.DefaultTopic, QStringLiteral("intro.htm"));
    const std::optional<QByteArray> intro = book.Object(QStringLiteral("/intro.htm"));
    ASSERT_TRUE(intro.has_value());
    EXPECT_TRUE(intro->contains("Welcome to Brevalis"));
    EXPECT_TRUE(book.Object(QStringLiteral("topics/ball.htm")).has_value()) << "leading slash added";
    EXPECT_FALSE(book.Object(QStringLiteral("/nothing.htm")).has_value());

    const std::vector<THelpEntry>& tree = book.Contents;
    ASSERT_EQ(tree.size(), 2u);
    EXPECT_EQ(tree[0].name, QStringLiteral("Welcome to Brevalis"));
    EXPECT_EQ(tree[0].local, QStringLiteral("intro.htm"));
    EXPECT_EQ(tree[1].name, QStringLiteral("Experiments"));
    EXPECT_TRUE(tree[1].local.isEmpty());
    ASSERT_EQ(tree[1].children.size(), 2u);
    EXPECT_EQ(tree[1].children[1].name, QStringLiteral("Units & scales"));
    EXPECT_EQ(tree[1].children[1].local, QStringLiteral("topics/units.htm#scales"));
}

TEST_F(HelpTest, SitemapReaderSurvivesLooseMarkup)
{
    struct Case {
        const char* what;
        QByteArray text;
        std::size_t topLevel;
    };
    const Case cases[] = {
        {"empty", "", 0},
        {"binary noise", QByteArray("\x00\xff<\x01>\xfe<UL", 9), 0},
        {"unclosed object", "<UL><LI><OBJECT type=\"text/sitemap\"><param name=Name value=A>", 0},
        {"extra list ends",
         "</UL></UL><UL><LI><OBJECT type=text/sitemap><param name=\"Name\" value='A'>"
         "</OBJECT></UL></UL></UL>",
         1},
        {"nested list first",
         "<UL><UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"A\">"
         "</OBJECT></UL></UL>",
         1},
        {"unnamed entry",
         "<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Local\" value=\"a.htm\">"
         "</OBJECT></UL>",
         0},
        {"comment holding a tag", "<!-- <OBJECT type=\"text/sitemap\"> --><UL></UL>", 0},
        {"numeric entity",
         "<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"10&#176;C\">"
         "</OBJECT></UL>",
         1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ParseSitemap(c.text).size(), c.topLevel);
    }
    EXPECT_EQ(ParseSitemap(cases[7].text)[0].name, QStringLiteral("10\u00B0C"));
}

void Measure(const std::vector<THelpEntry>& entries, int depth, int& deepest, int& count)
{
    for (const THelpEntry& entry : entries) {
        ++count;
        deepest = std::max(deepest, depth);
        Measure(entry.children, depth + 1, deepest, count);
    }
}

// Each entry opening a list one deeper: the tree is built, shown and freed
// recursively, so its depth is bounded whatever the file nests.
TEST_F(HelpTest, DeeplyNestedListsKeepABoundedDepth)
{
    const QByteArray entry =
        "<LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"A\"></OBJECT><UL>";
    int deepest = 0;
    int count = 0;
    Measure(ParseSitemap("<UL>" + entry.repeated(20000)), 1, deepest, count);
    EXPECT_LE(deepest, 40);
    EXPECT_EQ(count, 20000) << "entries beyond the depth are kept at the deepest level";
}

TEST_F(HelpTest, HelpItemsAreDisabledWithoutAFile)
{
    TProgramFolder folder;
    TFrameFrm frame(folder.Path());
    EXPECT_FALSE(frame.MenuToolbar()->Contents1()->isEnabled());
    EXPECT_FALSE(frame.MenuToolbar()->Search1()->isEnabled());
    frame.Contents1Click();
    EXPECT_EQ(frame.HelpWindow(), nullptr);
}

// The file is only looked at when Help is opened: a damaged one (here one on
// which chmlib crashes outright) costs the reader, and the pupil is told.
TEST_F(HelpTest, ADamagedFileIsReportedWhenHelpIsOpened)
{
    QFile damaged(test::DataPath(QStringLiteral("help/damaged/lzx-reset-1.chm")));
    ASSERT_TRUE(damaged.open(QIODevice::ReadOnly));
    for (QAction* (TMenuToolbar::*item)() const : {&TMenuToolbar::Contents1, &TMenuToolbar::Search1}) {
        TProgramFolder folder;
        const QString file = folder.Add(QStringLiteral("Help/BRVhelp.chm"), damaged.readAll());
        damaged.seek(0);
        TFrameFrm frame(folder.Path());
        QStringList errors;
        frame.ShowError = [&errors](const QString& message) { errors << message; };
        ASSERT_TRUE((frame.MenuToolbar()->*item)()->isEnabled());
        (frame.MenuToolbar()->*item)()->trigger();
        EXPECT_EQ(frame.HelpWindow(), nullptr);
        EXPECT_EQ(errors, QStringList{str::sHelpFileDamaged().arg(QDir::toNativeSeparators(file))});
        // Said once; the items then stay off as for a missing file.
        EXPECT_FALSE(frame.MenuToolbar()->Contents1()->isEnabled());
        EXPECT_FALSE(frame.MenuToolbar()->Search1()->isEnabled());
    }
}

TEST_F(HelpTest, ContentsAndSearchOpenTheHelpWindow)
{
    TProgramFolder folder;
    QFile source(chm);
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    // Found whatever the case of its folder and name.
    folder.Add(QStringLiteral("help/brvhelp.CHM"), source.readAll());
    TFrameFrm frame(folder.Path());
    frame.ConfirmClose = [](QWidget*) { return true; };
    ASSERT_TRUE(frame.MenuToolbar()->Contents1()->isEnabled());
    ASSERT_TRUE(frame.MenuToolbar()->Search1()->isEnabled());

    frame.MenuToolbar()->Contents1()->trigger();
    THelpWindow* help = frame.HelpWindow();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->Tabs->currentWidget(), help->ContentsTree);
    EXPECT_EQ(help->ContentsTree->topLevelItemCount(), 2);
    EXPECT_EQ(help->ContentsTree->topLevelItem(1)->childCount(), 2);
    // The default topic, with its style sheet found beside it in the file.
    ASSERT_TRUE(WaitFor([help] { return help->Topic->title() == QStringLiteral("Welcome to Brevalis"); }));
    const auto headingColour = [help] {
        return RunScript(help->Topic,
                         QStringLiteral("document.readyState == 'complete' ? "
                                        "getComputedStyle(document.querySelector('h1')).color : ''"))
            .toString();
    };
    EXPECT_TRUE(WaitFor([&] { return !headingColour().isEmpty(); }));
    EXPECT_EQ(headingColour(), QStringLiteral("rgb(21, 66, 139)"));

    help->ContentsTree->setCurrentItem(help->ContentsTree->topLevelItem(1)->child(0));
    emit help->ContentsTree->itemClicked(help->ContentsTree->currentItem(), 0);
    ASSERT_TRUE(WaitFor([help] { return help->Topic->title() == QStringLiteral("Bouncing ball"); }));

    help->SearchBox->setText(QStringLiteral("left over"));
    frame.MenuToolbar()->Search1()->trigger();
    EXPECT_EQ(frame.HelpWindow(), help) << "one help window";
    EXPECT_EQ(help->Tabs->currentWidget(), help->SearchBox->parentWidget());
    EXPECT_TRUE(help->SearchBox->text().isEmpty());
    ASSERT_EQ(help->KeywordList->count(), 4);
    help->SearchBox->setText(QStringLiteral("cent"));
    EXPECT_EQ(help->KeywordList->currentItem()->text().trimmed(), QStringLiteral("centimetre"));
    emit help->SearchBox->returnPressed();
    ASSERT_TRUE(WaitFor([help] { return help->Topic->title() == QStringLiteral("Units and scales"); }));
    Pump(200);
    test::SavePicture(help->grab().toImage(), QStringLiteral("help-window"));
}

TEST_F(HelpTest, HelpOpensOverTheWindowClosesOnEscapeAndSearchesAfresh)
{
    TProgramFolder folder;
    QFile source(chm);
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    folder.Add(QStringLiteral("Help/BRVhelp.chm"), source.readAll());
    TFrameFrm frame(folder.Path());
    frame.ConfirmClose = [](QWidget*) { return true; };
    frame.setGeometry(500, 200, 1000, 650);
    ShowAndWait(&frame);

    frame.MenuToolbar()->Search1()->trigger();
    THelpWindow* help = frame.HelpWindow();
    ASSERT_NE(help, nullptr);
    ASSERT_TRUE(WaitFor([help] { return help->isVisible(); }));
    // Over the main window, not in a corner of the screen.
    EXPECT_TRUE(frame.frameGeometry().contains(help->frameGeometry().center()))
        << help->frameGeometry().x() << "," << help->frameGeometry().y();
    EXPECT_NE(help->pos(), QPoint(0, 0));

    // A search chosen from the index, then a new "Search for help on".
    help->SearchBox->setText(QStringLiteral("cent"));
    ASSERT_NE(help->KeywordList->currentItem(), nullptr);
    frame.MenuToolbar()->Search1()->trigger();
    EXPECT_TRUE(help->SearchBox->text().isEmpty());
    EXPECT_EQ(help->KeywordList->currentItem(), nullptr) << "the last search's keyword is still chosen";
    EXPECT_TRUE(help->KeywordList->selectedItems().isEmpty());

    help->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(help));
    QTest::keyClick(help->SearchBox, Qt::Key_Escape);
    EXPECT_TRUE(WaitFor([help] { return !help->isVisible(); }, 2000)) << "Escape leaves the help open";
}

// --- a help file that tries every door out of the help window -----------------------------

// Outside the help file lie a page and a picture painted magenta; a port of
// this machine listens for the network.  A topic that reached any of them
// would show magenta or be heard on the port.
class HelpDoors : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearSettings();
        ASSERT_TRUE(listener.listen(QHostAddress::LocalHost));
        secretPage = QDir(outside.path()).filePath(QStringLiteral("secret.htm"));
        QFile page(secretPage);
        ASSERT_TRUE(page.open(QIODevice::WriteOnly));
        page.write(
            "<html><head><title>SECRET</title></head>"
            "<body style=\"background:#ff00ff\">SECRET</body></html>");
        page.close();
        secretPicture = QDir(outside.path()).filePath(QStringLiteral("secret.png"));
        QImage magenta(200, 120, QImage::Format_RGB32);
        magenta.fill(QColor(255, 0, 255));
        ASSERT_TRUE(magenta.save(secretPicture));

        const QByteArray pageUrl = QUrl::fromLocalFile(secretPage).toEncoded();
        const QByteArray pictureUrl = QUrl::fromLocalFile(secretPicture).toEncoded();
        const QByteArray net = "http://127.0.0.1:" + QByteArray::number(listener.serverPort());
        const QByteArray doors =
            "<html><head><title>Doors</title><style>"
            "body { margin: 0; background: #ffffff; }"
            "a { display: block; position: absolute; left: 0; width: 200px; height: 60px; background: "
            "#00c000; }"
            "#out { top: 0; } #web { top: 80px; }"
            "img, iframe { position: absolute; top: 160px; width: 200px; height: 120px; border: 0; }"
            "iframe { left: 220px; } #net { left: 440px; }"
            "</style><link rel=\"stylesheet\" href=\"" +
            net +
            "/style.css\">"
            "<script>"
            "fetch('" +
            pageUrl +
            "').then(function (r) { return r.text(); }).then(function (t) {"
            " document.title = t; document.body.style.background = '#ff00ff'; });"
            "fetch('" +
            net +
            "/fetch');"
            "</script></head><body>"
            "<a id=\"out\" href=\"" +
            pageUrl +
            "\">out</a>"
            "<a id=\"web\" href=\"https://www.example.org/brevalis\">web</a>"
            "<img src=\"" +
            pictureUrl + "\"><iframe src=\"" + pageUrl +
            "\"></iframe>"
            "<img id=\"net\" src=\"" +
            net +
            "/picture.png\">"
            "</body></html>";
        const QByteArray leave =
            "<html><head><title>Leave</title><meta http-equiv=\"refresh\" content=\"0; url=" + pageUrl +
            "\"></head><body>Leave</body></html>";
        const QString chm = CompileHelp(
            build.path(), {{QStringLiteral("doors.htm"), doors}, {QStringLiteral("leave.htm"), leave}});
        ASSERT_TRUE(QFileInfo(chm).isFile())
            << "chmcmd (Debian package fp-utils) did not build the help file";
        QFile compiled(chm);
        ASSERT_TRUE(compiled.open(QIODevice::ReadOnly));
        folder.Add(QStringLiteral("Help/BRVhelp.chm"), compiled.readAll());
    }
    void TearDown() override { ClearSettings(); }

    static int MagentaPixels(QWidget* view)
    {
        const QImage shot = view->grab().toImage().convertToFormat(QImage::Format_RGB32);
        int count = 0;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x) {
                const QColor c = shot.pixelColor(x, y);
                count += c.red() > 200 && c.green() < 80 && c.blue() > 200 ? 1 : 0;
            }
        return count;
    }

    static void Click(QWebEngineView* view, QPoint at)
    {
        QWidget* target = view->focusProxy();
        ASSERT_NE(target, nullptr);
        QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, at);
    }

    QTemporaryDir build;
    QTemporaryDir outside;
    QTcpServer listener;
    QString secretPage;
    QString secretPicture;
    TProgramFolder folder;
};

TEST_F(HelpDoors, ATopicReachesNothingOutsideTheHelpFile)
{
    TFrameFrm frame(folder.Path());
    frame.ConfirmClose = [](QWidget*) { return true; };
    frame.MenuToolbar()->Contents1()->trigger();
    THelpWindow* help = frame.HelpWindow();
    ASSERT_NE(help, nullptr);
    QStringList errors;
    std::vector<QUrl> offered;
    help->ShowError = [&errors](const QString& message) { errors << message; };
    help->OpenWebLink = [&offered](const QUrl& url) { offered.push_back(url); };
    help->resize(1000, 640);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(help));

    help->OpenTopic(QStringLiteral("doors.htm"));
    ASSERT_TRUE(WaitFor([help] { return help->Topic->title() == QStringLiteral("Doors"); }));
    ASSERT_TRUE(WaitFor([help] { return MagentaPixels(help->Topic) == 0 && !help->Topic->grab().isNull(); }));
    Pump(1500);  // time for a fetch, a picture or a frame to arrive
    EXPECT_EQ(help->Topic->title(), QStringLiteral("Doors")) << "a script read a file";
    EXPECT_EQ(MagentaPixels(help->Topic), 0) << "an outside picture, frame or fetch was shown";
    EXPECT_FALSE(listener.hasPendingConnections()) << "the topic reached the network";
    EXPECT_TRUE(errors.isEmpty()) << "what a topic loads by itself is refused without a word";
    test::SavePicture(help->grab().toImage(), QStringLiteral("help-doors"));

    // A link to an outside file: refused, and said so.
    Click(help->Topic, QPoint(100, 30));
    ASSERT_TRUE(WaitFor([&errors] { return !errors.isEmpty(); }, 5000));
    EXPECT_EQ(errors, QStringList{str::sHelpLinkRefused().arg(QDir::toNativeSeparators(secretPage))});
    // A web link: offered to the desktop's browser, never shown here.
    Click(help->Topic, QPoint(100, 110));
    ASSERT_TRUE(WaitFor([&offered] { return !offered.empty(); }, 5000));
    EXPECT_EQ(offered, std::vector<QUrl>{QUrl(QStringLiteral("https://www.example.org/brevalis"))});
    Pump(500);
    EXPECT_EQ(help->Topic->title(), QStringLiteral("Doors"));
    EXPECT_EQ(help->Topic->url().scheme(), QLatin1String(kHelpScheme));

    // A topic that sends itself away at once.
    errors.clear();
    help->OpenTopic(QStringLiteral("leave.htm"));
    ASSERT_TRUE(WaitFor([&errors] { return !errors.isEmpty(); }, 5000));
    EXPECT_EQ(errors, QStringList{str::sHelpLinkRefused().arg(QDir::toNativeSeparators(secretPage))});
    Pump(500);
    EXPECT_EQ(help->Topic->title(), QStringLiteral("Leave"));
    EXPECT_EQ(MagentaPixels(help->Topic), 0);
    EXPECT_FALSE(listener.hasPendingConnections());
}

}  // namespace
}  // namespace brv
