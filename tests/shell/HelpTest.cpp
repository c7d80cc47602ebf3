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
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTreeWidget>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace brv {
namespace {

using namespace frametest;

class HelpTest : public ::testing::Test {
protected:
    // Compiles the fixture project once for the suite.
    static void SetUpTestSuite()
    {
        build = std::make_unique<QTemporaryDir>();
        const QString source = test::DataPath(QStringLiteral("help"));
        for (const char* name : {"BRVhelp.hhp", "toc.hhc", "index.hhk", "style.css", "intro.htm",
                                 "topics/ball.htm", "topics/units.htm"}) {
            QDir(build->path()).mkpath(QFileInfo(name).path());
            QFile::copy(QDir(source).filePath(name), QDir(build->path()).filePath(name));
        }
        QProcess compiler;
        compiler.setWorkingDirectory(build->path());
        compiler.start(QStringLiteral("chmcmd"),
                       {QStringLiteral("--no-html-scan"), QStringLiteral("BRVhelp.hhp")});
        compiler.waitForFinished(60000);
        chm = QDir(build->path()).filePath(QStringLiteral("BRVhelp.chm"));
    }
    static void TearDownTestSuite() { build.reset(); }

    void SetUp() override
    {
        ASSERT_TRUE(QFileInfo(chm).isFile())
            << "chmcmd (Debian package fp-utils) did not build the help file";
        ClearSettings();
    }
    void TearDown() override { ClearSettings(); }

    static QVariant RunScript(QWebEngineView* view, const QString& script)
    {
        QVariant result;
        bool done = false;
        view->page()->runJavaScript(script, [&](const QVariant& v) {
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

}  // namespace
}  // namespace brv
