// The whole window on the fixture lesson book (tests/data/lesson): the page a
// pupil opens decides the experiment on the left and the entry marked in the
// index, the lesson toolbar follows the lesson pane, the text size and colour
// chosen on the toolbar come back after a restart, and a damaged index file is
// reported without spoiling the rest of start-up.
#include "experiments/ExperimentCatalogue.h"
#include "runtime/BRV_StrConstants.h"
#include "runtime/ExperimentForm.h"
#include "runtime/ExperimentHost.h"
#include "runtime/ProgramFolder.h"
#include "shell/FrameTestSupport.h"
#include "shell/uAbout.h"
#include "shell/uFrame.h"
#include "shell/uLessonPane.h"
#include "shell/uLessonToolbar.h"
#include "shell/uMenuToolbar.h"
#include "shell/uSettings.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QSettings>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace brv {
namespace {

using namespace frametest;

QString Book()
{
    return QDir(test::DataPath(QStringLiteral("lesson"))).absolutePath();
}

class FrameLessonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearSettings();
        RegisterExperiments();
    }

    void TearDown() override
    {
        frame.reset();
        FlushDeferredDeletes();
        ClearSettings();
    }

    TFrameFrm& Start(const QString& programFolder = Book())
    {
        frame = std::make_unique<TFrameFrm>(programFolder);
        frame->ConfirmClose = [](QWidget*) { return true; };
        // Errors of the window's creation wait for the event loop, so this
        // catches them too.
        frame->ShowError = [this](const QString& message) { errors.push_back(message); };
        ShowAndWait(frame.get());
        return *frame;
    }

    // Waits for page (a file name) to be shown and to have completed.
    bool WaitForPage(const QString& page)
    {
        return WaitFor([this, page] {
            return frame->EWB()->url().fileName() == page && !frame->EWB()->page()->isLoading() &&
                   frame->EWBPanel()->HasDocument();
        });
    }

    QString Script(const QString& script) { return RunScript(frame->EWB(), script).toString(); }
    QString IndexHtml() { return Script(QStringLiteral("document.getElementById('index').innerHTML")); }
    QString BodyColour() { return Script(QStringLiteral("getComputedStyle(document.body).backgroundColor")); }
    bool WaitForIndexHolding(const QString& text)
    {
        return WaitFor([this, text] { return IndexHtml().contains(text); });
    }
    bool WaitForBodyColour(const QString& colour)
    {
        return WaitFor([this, colour] { return BodyColour() == colour; });
    }

    std::unique_ptr<TFrameFrm> frame;
    std::vector<QString> errors;
};

TEST_F(FrameLessonTest, OpeningTheBallPageShowsTheBallAndMarksItInTheIndex)
{
    TFrameFrm& f = Start();
    ASSERT_TRUE(WaitForPage(QStringLiteral("index.html")));
    ASSERT_TRUE(WaitForIndexHolding(QStringLiteral("<a href=\"!0\">")));
    EXPECT_EQ(f.CurrentExperimentId(), 0);
    EXPECT_FALSE(f.HTMLToolbar()->IndexBtn()->isEnabled());
    EXPECT_TRUE(f.HTMLToolbar()->IndexOptions()->isEnabled());
    EXPECT_FALSE(f.HTMLToolbar()->BackBtn()->isEnabled());
    EXPECT_FALSE(f.HTMLToolbar()->FwdBtn()->isEnabled());

    // The pupil opens the Physics heading, then its first entry.
    ASSERT_TRUE(ClickElement(f.EWB(), QStringLiteral("a[href=\"!0\"]")));
    ASSERT_TRUE(WaitForIndexHolding(QStringLiteral("href=\"BALL.HTM\"")));
    EXPECT_EQ(f.EWB()->url().fileName(), QStringLiteral("index.html")) << "a heading link stays on the page";
    ASSERT_TRUE(ClickElement(f.EWB(), QStringLiteral("a[href=\"BALL.HTM\"]")));
    ASSERT_TRUE(WaitForPage(QStringLiteral("BALL.HTM")));

    EXPECT_EQ(f.CurrentExperimentId(), 1);
    QPointer<TExperimentForm> ball = f.Host().CurrentForm();
    ASSERT_FALSE(ball.isNull());
    EXPECT_STREQ(ball->metaObject()->className(), "brv::TBallFrm");
    EXPECT_EQ(ball->parentWidget(), f.LeftTW());
    EXPECT_EQ(f.toolBarArea(ball->Toolbar()), Qt::TopToolBarArea);
    EXPECT_EQ(f.LeftTW()->findChild<QWidget*>(QStringLiteral("Splash")), nullptr);
    EXPECT_TRUE(WaitFor([&f] { return f.HTMLToolbar()->BackBtn()->isEnabled(); }));
    EXPECT_FALSE(f.HTMLToolbar()->FwdBtn()->isEnabled());
    EXPECT_TRUE(f.HTMLToolbar()->IndexBtn()->isEnabled());
    EXPECT_FALSE(f.HTMLToolbar()->IndexOptions()->isEnabled());
    Pump(300);
    test::SavePicture(f.grab().toImage(), QStringLiteral("frame-lesson-ball"));

    // Another page of the same family keeps the form the pupil is using.
    ASSERT_TRUE(ClickElement(f.EWB(), QStringLiteral("#data")));
    ASSERT_TRUE(WaitForPage(QStringLiteral("ball-data.htm")));
    FlushDeferredDeletes();
    EXPECT_FALSE(ball.isNull());
    EXPECT_EQ(f.Host().CurrentForm(), ball.data());

    // Back to the index: the ball's entry is the marked one, the experiment stays.
    f.HTMLToolbar()->BackBtn()->trigger();
    ASSERT_TRUE(WaitForPage(QStringLiteral("BALL.HTM")));
    EXPECT_TRUE(WaitFor([&f] { return f.HTMLToolbar()->FwdBtn()->isEnabled(); }));
    f.HTMLToolbar()->BackBtn()->trigger();
    ASSERT_TRUE(WaitForPage(QStringLiteral("index.html")));
    EXPECT_TRUE(WaitForIndexHolding(QStringLiteral("<div class=\"level2selected\"><a href=\"BALL.HTM\">")));
    EXPECT_EQ(f.CurrentExperimentId(), 1);
    EXPECT_FALSE(f.HTMLToolbar()->BackBtn()->isEnabled());
    EXPECT_TRUE(f.HTMLToolbar()->FwdBtn()->isEnabled());
    EXPECT_FALSE(f.HTMLToolbar()->IndexBtn()->isEnabled());
    EXPECT_TRUE(f.HTMLToolbar()->IndexOptions()->isEnabled());

    f.HTMLToolbar()->FwdBtn()->trigger();
    ASSERT_TRUE(WaitForPage(QStringLiteral("BALL.HTM")));
    f.HTMLToolbar()->IndexBtn()->trigger();
    EXPECT_TRUE(WaitForPage(QStringLiteral("index.html")));
    EXPECT_TRUE(errors.empty());
}

TEST_F(FrameLessonTest, IndexOptionsActOnTheIndexOnThePage)
{
    TFrameFrm& f = Start();
    ASSERT_TRUE(WaitForPage(QStringLiteral("index.html")));
    ASSERT_TRUE(WaitForIndexHolding(QStringLiteral("<a href=\"!3\">")));
    QMenu* options = f.HTMLToolbar()->IndexOptions()->defaultAction()->menu();
    emit options->aboutToShow();
    EXPECT_FALSE(f.HTMLToolbar()->AllowAllExpanded1()->isChecked());

    f.HTMLToolbar()->ExpandAll1()->trigger();
    EXPECT_TRUE(WaitForIndexHolding(QStringLiteral("href=\"YEAST.HTM\"")));
    EXPECT_TRUE(IndexHtml().contains(QStringLiteral("href=\"BALL.HTM\"")));
    emit options->aboutToShow();
    EXPECT_TRUE(f.HTMLToolbar()->AllowAllExpanded1()->isChecked()) << "expanding all allows all expanded";

    f.HTMLToolbar()->CollapseAll1()->trigger();
    EXPECT_TRUE(WaitFor([this] { return !IndexHtml().contains(QStringLiteral("level2")); }));
    f.HTMLToolbar()->AllowAllExpanded1()->trigger();
    emit options->aboutToShow();
    EXPECT_FALSE(f.HTMLToolbar()->AllowAllExpanded1()->isChecked());
}

TEST_F(FrameLessonTest, TextSizeAndColourChosenOnTheToolbarComeBackAfterARestart)
{
    {
        TFrameFrm& f = Start();
        ASSERT_TRUE(WaitForPage(QStringLiteral("index.html")));
        QMenu* sizes = f.HTMLToolbar()->FontBtn()->defaultAction()->menu();
        QMenu* colours = f.HTMLToolbar()->TextBackColorBtn()->defaultAction()->menu();
        emit sizes->aboutToShow();
        EXPECT_TRUE(f.HTMLToolbar()->Size2()->isChecked());

        f.HTMLToolbar()->Size4()->trigger();
        EXPECT_DOUBLE_EQ(f.EWB()->zoomFactor(), TLessonPane::ZoomFactorForLevel(4));
        f.HTMLToolbar()->BColYellow()->trigger();
        EXPECT_TRUE(WaitForBodyColour(QStringLiteral("rgb(255, 255, 224)")));
        emit colours->aboutToShow();
        EXPECT_TRUE(f.HTMLToolbar()->BColYellow()->isChecked());
        EXPECT_FALSE(f.HTMLToolbar()->BColWhite()->isChecked());
        ASSERT_TRUE(f.close());
    }
    frame.reset();
    std::unique_ptr<QSettings> store(NewSettingsStore());
    EXPECT_EQ(store->value(QStringLiteral("zoom")).toInt(), 4);
    EXPECT_EQ(store->value(QStringLiteral("textbgnd")).toString(), QStringLiteral("#FFFFE0"));

    TFrameFrm& again = Start();
    EXPECT_EQ(again.EWBPanel()->ZoomLevel(), 4);
    EXPECT_DOUBLE_EQ(again.EWB()->zoomFactor(), TLessonPane::ZoomFactorForLevel(4));
    ASSERT_TRUE(WaitForPage(QStringLiteral("index.html")));
    EXPECT_TRUE(WaitForBodyColour(QStringLiteral("rgb(255, 255, 224)")))
        << "the start page wears the saved colour";
    emit again.HTMLToolbar()->FontBtn()->defaultAction()->menu()->aboutToShow();
    EXPECT_TRUE(again.HTMLToolbar()->Size4()->isChecked());
    emit again.HTMLToolbar()->TextBackColorBtn()->defaultAction()->menu()->aboutToShow();
    EXPECT_TRUE(again.HTMLToolbar()->BColYellow()->isChecked());
}

TEST_F(FrameLessonTest, ADamagedIndexIsReportedAndStartUpGoesOn)
{
    TProgramFolder folder;
    folder.AddStartPage();
    folder.Add(QStringLiteral("HTML/index.ux"), QByteArray("\x01\x02\x03\x04\x00\x00\x00\x00", 8));
    PutSetting(QStringLiteral("zoom"), 3);
    PutSetting(QStringLiteral("TBTop"), 0);

    TFrameFrm& f = Start(folder.Path());
    EXPECT_TRUE(WaitFor([this] { return !errors.empty(); }));
    ASSERT_EQ(errors.size(), 1u);
    const QString file = ResolveInFolder(folder.Path(), QStringLiteral("HTML\\index.ux"));
    EXPECT_EQ(errors.front(),
              str::sIndexFileUnusable().arg(QDir::toNativeSeparators(file), str::sIndexNotAnIndex()));
    // The rest of start-up still ran: caption, saved settings, start page.
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Brevalis - 3rd Edition"));
    EXPECT_EQ(f.EWBPanel()->ZoomLevel(), 3);
    EXPECT_EQ(f.toolBarArea(f.HTMLToolbar()), Qt::BottomToolBarArea);
    ASSERT_TRUE(WaitForPage(QStringLiteral("index.html")));
    EXPECT_EQ(f.EWBPanel()->Index().HeadingCount(), 0);
    EXPECT_TRUE(WaitFor([this] { return frame->EWBPanel()->HasDocument() && IndexHtml().isEmpty(); }));
}

TEST_F(FrameLessonTest, AboutOpensTheAboutBoxOverTheWindow)
{
    TFrameFrm& f = Start();
    QString seen;
    QWidget* parent = nullptr;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        QWidget* box = QApplication::activeModalWidget();
        if (box == nullptr)
            return;
        if (auto* about = qobject_cast<TAboutFrm*>(box)) {
            seen = about->VersionLabel()->text();
            parent = about->parentWidget();
        }
        box->close();
    });
    closer.start(50);
    f.MenuToolbar()->About1()->trigger();
    EXPECT_TRUE(seen.startsWith(QStringLiteral("version "))) << seen.toStdString();
    EXPECT_EQ(parent, &f);
}

TEST_F(FrameLessonTest, LargeButtonsAwayFromTheIndexLeaveIndexOptionsDisabled)
{
    TFrameFrm& f = Start();
    ASSERT_TRUE(WaitForPage(QStringLiteral("index.html")));
    ASSERT_TRUE(ClickElement(f.EWB(), QStringLiteral("#ball")));
    ASSERT_TRUE(WaitForPage(QStringLiteral("ball-data.htm")));
    ASSERT_TRUE(WaitFor([&f] { return !f.HTMLToolbar()->IndexOptions()->isEnabled(); }));
    for (int toggle = 0; toggle < 2; ++toggle) {
        f.MenuToolbar()->Large1()->trigger();
        Pump(20);
        EXPECT_FALSE(f.HTMLToolbar()->IndexOptions()->isEnabled()) << "after toggle " << toggle;
        EXPECT_TRUE(f.HTMLToolbar()->IndexBtn()->isEnabled());
    }
    f.HTMLToolbar()->IndexBtn()->trigger();
    ASSERT_TRUE(WaitForPage(QStringLiteral("index.html")));
    EXPECT_TRUE(WaitFor([&f] { return f.HTMLToolbar()->IndexOptions()->isEnabled(); }));
}

TEST_F(FrameLessonTest, TheStartPageNeverShowsItsPlaceholder)
{
    TProgramFolder folder;
    // The placeholder is what a reader without the program sees; the page
    // notes whether it was visible when the document was ready and painted.
    folder.Add(QStringLiteral("html/index.html"),
               "<html><head><title>index</title><script>"
               "document.addEventListener('DOMContentLoaded', function () {"
               " window.seen = getComputedStyle(document.getElementById('index')).visibility; });"
               "</script></head><body><div id=\"index\"><p>The contents appear here.</p></div>"
               "<p>Below</p></body></html>");
    TFrameFrm& f = Start(folder.Path());
    ASSERT_TRUE(WaitForPage(QStringLiteral("index.html")));
    EXPECT_EQ(Script(QStringLiteral("window.seen")), QStringLiteral("hidden"));
    EXPECT_TRUE(WaitFor([this] { return !IndexHtml().contains(QStringLiteral("appear here")); }));
    EXPECT_EQ(Script(QStringLiteral("getComputedStyle(document.getElementById('index')).visibility")),
              QStringLiteral("visible"));
    // Other pages are left alone.
    folder.Add(QStringLiteral("html/other.html"),
               "<html><head><title>other</title></head><body><div id=\"index\">Mine</div></body></html>");
    f.EWB()->load(QUrl::fromLocalFile(QDir(folder.Path()).filePath(QStringLiteral("html/other.html"))));
    ASSERT_TRUE(WaitForPage(QStringLiteral("other.html")));
    EXPECT_EQ(Script(QStringLiteral("getComputedStyle(document.getElementById('index')).visibility")),
              QStringLiteral("visible"));
}

TEST_F(FrameLessonTest, ThePupilStartsWhereTheyStoppedAfterARestart)
{
    {
        TFrameFrm& f = Start();
        ASSERT_TRUE(WaitForPage(QStringLiteral("index.html")));
        ASSERT_TRUE(ClickElement(f.EWB(), QStringLiteral("#ball")));
        ASSERT_TRUE(WaitForPage(QStringLiteral("ball-data.htm")));
        // A page outside the experiment's family keeps the ball.
        f.EWBPanel()->OpenPage(QStringLiteral("general.htm"));
        ASSERT_TRUE(WaitForPage(QStringLiteral("general.htm")));
        EXPECT_EQ(f.CurrentExperimentId(), 1);
        f.MaxRightBtn()->click();
        ASSERT_TRUE(f.close());
    }
    frame.reset();
    FlushDeferredDeletes();
    {
        std::unique_ptr<QSettings> store(NewSettingsStore());
        EXPECT_EQ(store->value(QStringLiteral("page")).toString(), QStringLiteral("general.htm"));
        EXPECT_EQ(store->value(QStringLiteral("experiment")).toInt(), 1);
        EXPECT_EQ(store->value(QStringLiteral("split")).toInt(), 2);
    }

    {
        TFrameFrm& again = Start();
        ASSERT_TRUE(WaitForPage(QStringLiteral("general.htm")));
        EXPECT_EQ(again.CurrentExperimentId(), 1);
        EXPECT_TRUE(again.MaxRightBtn()->isChecked());
        EXPECT_TRUE(again.LeftTW()->isHidden());
        ASSERT_TRUE(again.close());
    }
    frame.reset();
    FlushDeferredDeletes();

    // Missing or damaged values fall back to the usual start, one by one, and
    // the damaged ones are named once.
    struct Damage {
        const char* page;
        QVariant experiment;
        QVariant split;
    };
    const Damage damages[] = {
        {"../../../etc/passwd", 9999, 7},
        {"missing.htm", -3, QStringLiteral("left")},
        {"C:\\lesson\\BALL.HTM", QStringLiteral("ball"), -1},
    };
    for (const Damage& damage : damages) {
        PutSetting(QStringLiteral("page"), QString::fromLatin1(damage.page));
        PutSetting(QStringLiteral("experiment"), damage.experiment);
        PutSetting(QStringLiteral("split"), damage.split);
        const QString told = UnusableSettingsMessage(ReadSettings().value_or(TSavedSettings()));
        EXPECT_TRUE(told.contains(QStringLiteral("\"split\""))) << damage.page;
        errors.clear();
        TFrameFrm& f = Start();
        EXPECT_TRUE(WaitForPage(QStringLiteral("index.html"))) << damage.page;
        EXPECT_EQ(f.CurrentExperimentId(), 0) << damage.page;
        EXPECT_TRUE(f.NormalSplitBtn()->isChecked()) << damage.page;
        EXPECT_TRUE(f.LeftTW()->isVisible()) << damage.page;
        EXPECT_EQ(errors, std::vector<QString>{told}) << damage.page;
        frame->ConfirmClose = [](QWidget*) { return false; };
        frame.reset();
        FlushDeferredDeletes();
    }
}

}  // namespace
}  // namespace brv
