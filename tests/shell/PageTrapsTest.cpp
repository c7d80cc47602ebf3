// Lesson pages that try to trap the pupil: a script that never ends, before
// or after the page has loaded, a page nested far deeper than any real one,
// boxes raised in a loop, and links to the web.  Whatever a page does, the
// next page the pupil opens is shown and the window closes.
#include "runtime/BRV_StrConstants.h"
#include "shell/FrameTestSupport.h"
#include "shell/uFrame.h"
#include "shell/uLessonPane.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QSignalSpy>
#include <QUrl>
#include <QWebEngineView>

#include <gtest/gtest.h>

#include <vector>

namespace brv {
namespace {

using namespace frametest;

QByteArray Page(const QByteArray& title, const QByteArray& head, const QByteArray& body = {})
{
    return "<html><head><title>" + title + "</title>" + head + "</head><body>" + title + body +
           "</body></html>";
}

// Shorter than the program's, long enough for a renderer to start on a busy machine.
constexpr int Patience = 2000;

class PageTraps : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearSettings();
        folder.AddStartPage();
        folder.Add(QStringLiteral("html/b.htm"), Page("B", {}));
        folder.Add(QStringLiteral("html/stuck-later.htm"),
                   Page("Stuck later",
                        "<script>window.addEventListener('load', function () {"
                        " setTimeout(function () { for (;;) {} }, 50); });</script>"));
        folder.Add(QStringLiteral("html/stuck-loading.htm"),
                   Page("Stuck loading", "<script>for (;;) {}</script>"));
        folder.Add(QStringLiteral("html/deep.htm"),
                   Page("Deep", {}, QByteArray("<div>").repeated(200000) + "bottom"));
        folder.Add(QStringLiteral("html/boxes.htm"),
                   Page("Boxes",
                        "<script>document.title = confirm('Stay?') + ',' + prompt('Name?', 'x');"
                        "</script>"));
        folder.Add(QStringLiteral("html/alerts.htm"),
                   Page("Alerts", "<script>for (;;) alert('trap');</script>"));
        folder.Add(QStringLiteral("html/web.htm"),
                   Page("Web", "<style>a { display: block; height: 40px; }</style>",
                        "<a id=\"web\" href=\"https://www.example.org/lesson\">web</a>"));
        folder.Add(QStringLiteral("html/web-loop.htm"),
                   Page("Web loop",
                        "<script>var i = 0; setInterval(function () {"
                        " location = 'https://www.example.org/' + (++i); }, 50);</script>"));
    }
    void TearDown() override { ClearSettings(); }

    QString File(const char* page) const
    {
        return QDir::toNativeSeparators(
            QDir(folder.Path()).filePath(QStringLiteral("html/") + QLatin1String(page)));
    }

    // A lesson pane of its own, shown, recording what it tells the pupil.
    std::unique_ptr<TLessonPane> ShownPane()
    {
        TLessonPaneHost host;
        host.currentExperiment = [] { return ExperimentId(0); };
        host.showExperiment = [](ExperimentId) {};
        host.showError = [this](const QString& message) { errors.push_back(message); };
        host.openWebLink = [this](const QUrl& url) { offered.push_back(url); };
        auto pane = std::make_unique<TLessonPane>(host, folder.Path());
        pane->SetPagePatience(Patience);
        pane->resize(800, 600);
        ShowAndWait(pane.get());
        return pane;
    }

    static bool Shows(TLessonPane& pane, const QString& title)
    {
        return pane.Notice().isEmpty() && pane.EWB()->title() == title;
    }

    TProgramFolder folder;
    std::vector<QString> errors;
    std::vector<QUrl> offered;
};

TEST_F(PageTraps, APageWhoseScriptNeverEndsIsClosedWhenAnotherPageIsOpened)
{
    auto pane = ShownPane();
    pane->OpenPage(QStringLiteral("stuck-later.htm"));
    ASSERT_TRUE(WaitFor([&] { return Shows(*pane, QStringLiteral("Stuck later")); }));
    Pump(300);  // the script is running
    pane->OpenPage(QStringLiteral("b.htm"));
    ASSERT_TRUE(WaitFor([&] { return Shows(*pane, QStringLiteral("B")); }, 20000));
    EXPECT_EQ(errors, std::vector<QString>{str::sLessonPageStopped().arg(File("stuck-later.htm"))});
    // The new renderer serves the pages after it as well.
    pane->OpenPage(QStringLiteral("index.html"));
    EXPECT_TRUE(
        WaitFor([&] { return pane->LocationName() == QStringLiteral("index.html") && pane->HasDocument(); }));
}

TEST_F(PageTraps, APageThatNeverFinishesLoadingIsClosedWithANoticeAndTheNextPageLoads)
{
    for (const char* page : {"stuck-loading.htm", "deep.htm"}) {
        SCOPED_TRACE(page);
        errors.clear();
        auto pane = ShownPane();
        pane->OpenPage(QLatin1String(page));
        // The deep page may finish after all, or be closed as stuck; either
        // way the pupil is not left with a pane that shows nothing new.
        const QString stopped = str::sLessonPageStopped().arg(File(page));
        const bool deep = QLatin1String(page) == QLatin1String("deep.htm");
        ASSERT_TRUE(WaitFor(
            [&] { return pane->Notice() == stopped || (deep && Shows(*pane, QStringLiteral("Deep"))); },
            30000));
        pane->OpenPage(QStringLiteral("b.htm"));
        EXPECT_TRUE(WaitFor([&] { return Shows(*pane, QStringLiteral("B")); }, 20000))
            << pane->Notice().toStdString();
        // Opened while the deep page was still being laid out, it is closed
        // as stuck; that is said, and nothing else.
        EXPECT_TRUE(errors.empty() || errors == std::vector<QString>{stopped})
            << errors.front().toStdString();
    }
}

// The lesson book raises no boxes: a page's confirm() is answered "OK" and
// its prompt() cancelled, without a box.
TEST_F(PageTraps, ScriptBoxesAreAnsweredWithoutABox)
{
    auto pane = ShownPane();
    pane->OpenPage(QStringLiteral("boxes.htm"));
    EXPECT_TRUE(WaitFor([&] { return pane->EWB()->title() == QStringLiteral("true,null"); }));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(PageTraps, APageRaisingAlertsInALoopNeitherShowsThemNorKeepsTheWindowOpen)
{
    folder.Add(QStringLiteral("html/index.html"),
               Page("Index", {}, "<a id=\"alerts\" href=\"alerts.htm\">alerts</a><div id=\"index\"></div>"));
    auto frame = std::make_unique<TFrameFrm>(folder.Path());
    frame->ConfirmClose = [](QWidget*) { return true; };
    std::vector<QString> frameErrors;
    frame->ShowError = [&frameErrors](const QString& message) { frameErrors.push_back(message); };
    frame->EWBPanel()->SetPagePatience(Patience);
    ShowAndWait(frame.get());
    ASSERT_TRUE(WaitFor([&] { return frame->EWB()->title() == QStringLiteral("Index"); }));
    ASSERT_TRUE(ClickElement(frame->EWB(), QStringLiteral("#alerts")));
    Pump(1500);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_FALSE(qobject_cast<QMessageBox*>(w) != nullptr && w->isVisible()) << "a box was raised";
    // Another page is shown, and the window closes.
    frame->EWBPanel()->OpenPage(QStringLiteral("b.htm"));
    EXPECT_TRUE(WaitFor([&] { return frame->EWB()->title() == QStringLiteral("B"); }, 20000));
    EXPECT_TRUE(frame->close());
    EXPECT_FALSE(frame->isVisible());
}

// A web link is never shown in the pane: the pupil is offered the desktop's
// browser for a link they click, and a page's script cannot ask for it.
TEST_F(PageTraps, AWebLinkIsOfferedToTheBrowserAndThePageStays)
{
    auto pane = ShownPane();
    for (int load = 0; load < 2; ++load) {
        SCOPED_TRACE(load);
        offered.clear();
        QSignalSpy loaded(pane.get(), &TLessonPane::DocumentComplete);
        pane->OpenPage(QStringLiteral("web.htm"));
        ASSERT_TRUE(WaitFor([&] { return loaded.count() > 0 && Shows(*pane, QStringLiteral("Web")); }));
        ASSERT_TRUE(ClickElement(pane->EWB(), QStringLiteral("#web")));
        ASSERT_TRUE(WaitFor([&] { return !offered.empty(); }, 5000));
        EXPECT_EQ(offered, std::vector<QUrl>{QUrl(QStringLiteral("https://www.example.org/lesson"))});
        ASSERT_TRUE(ClickElement(pane->EWB(), QStringLiteral("#web")));
        Pump(500);
        EXPECT_EQ(offered.size(), 1u) << "asked twice on one page load";
        EXPECT_EQ(pane->EWB()->title(), QStringLiteral("Web"));
        EXPECT_TRUE(pane->EWB()->url().isLocalFile());
    }
    EXPECT_TRUE(errors.empty());
}

// A script that asks for web page after web page gets one question.
TEST_F(PageTraps, AScriptAskingForWebPagesInALoopIsAskedAboutOnce)
{
    auto pane = ShownPane();
    pane->OpenPage(QStringLiteral("web-loop.htm"));
    ASSERT_TRUE(WaitFor([&] { return Shows(*pane, QStringLiteral("Web loop")); }))
        << pane->EWB()->title().toStdString() << " / " << pane->Notice().toStdString() << " / "
        << pane->EWB()->url().toString().toStdString();
    Pump(1500);
    EXPECT_EQ(offered.size(), 1u);
    EXPECT_EQ(pane->EWB()->title(), QStringLiteral("Web loop"));
}

}  // namespace
}  // namespace brv
