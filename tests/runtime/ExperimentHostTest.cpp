// The host replaces experiments in a bare main window: ordering of the
// large-buttons call, deferred release, docking and the three change rules.
#include "runtime/ExperimentHost.h"

#include "common/ErrorBox.h"
#include "runtime/Catalogue.h"
#include "runtime/ExperimentForm.h"
#include "support/sample/SampleExperiment.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMainWindow>
#include <QTemporaryDir>
#include <QToolBar>

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>

namespace brv {
namespace {

using test::TSampleFrm;

// Free ids below the movies' range.
constexpr int kBefore = 90;
constexpr int kAfter = 91;
constexpr int kPanels = 93;
constexpr int kBroken = 94;

// A form that keeps its controls in panels of its own instead of a Toolbar
// (as the heat-of-neutralisation form does): it records what the host asks.
class TPanelFrm : public TExperimentForm {
public:
    void SetLargeButtons(bool large) override
    {
        Calls.push_back(
            QStringLiteral("large:%1:%2").arg(large ? 1 : 0).arg(isHidden() ? "hidden" : "shown"));
    }
    void ShowToolPanels(bool visible) override { Calls.push_back(QStringLiteral("panels:%1").arg(visible)); }
    std::vector<QString> Calls;
};

void RegisterPanelForm()
{
    TCatalogueEntry e;
    e.id = kPanels;
    e.create = [] { return new TPanelFrm; };
    e.largeButtons = TLargeButtonsCall::AfterShow;
    TCatalogue::Instance().Register(std::move(e));
}

// A form whose creation fails.
void RegisterBrokenForm()
{
    TCatalogueEntry e;
    e.id = kBroken;
    e.create = []() -> TExperimentForm* { throw std::runtime_error("the apparatus cannot be set up"); };
    TCatalogue::Instance().Register(std::move(e));
}

void FlushDeferredDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

class HostTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::RegisterSample(kBefore, true);
        test::RegisterSample(kAfter, false);
        RegisterPanelForm();
        RegisterBrokenForm();
        SetErrorReporter([this](std::exception_ptr error) {
            updatesWhenReported = window->updatesEnabled();
            try {
                std::rethrow_exception(error);
            } catch (const std::exception& e) {
                errors.push_back(e.what());
            }
        });
        window = std::make_unique<QMainWindow>();
        window->resize(900, 600);
        leftPane = new QWidget;
        flashPanel = new QWidget(leftPane);
        window->setCentralWidget(leftPane);
        htmlToolbar = new QToolBar(QStringLiteral("HTMLToolbar"));
        htmlToolbar->addAction(QStringLiteral("Index"));
        window->addToolBar(Qt::TopToolBarArea, htmlToolbar);
        splash = new QLabel(QStringLiteral("splash"), leftPane);

        TExperimentHost::Parts parts;
        parts.window = window.get();
        parts.leftPane = leftPane;
        parts.flashPanel = flashPanel;
        parts.htmlToolbar = htmlToolbar;
        parts.toolbarsAtTop = [this] { return top; };
        parts.largeButtons = [this] { return large; };
        parts.loadMovie = [this](const QString& path) { movies.push_back(path); };
        parts.programFolder = folder.path();
        host = std::make_unique<TExperimentHost>(parts);
        host->SetSplash(splash);
    }
    void TearDown() override
    {
        host->ReleaseExperiments();
        FlushDeferredDeletes();
        host.reset();
        window.reset();
        FlushDeferredDeletes();
        SetScreenDpiOverride(0);
        for (int id : {kBefore, kAfter, kPanels, kBroken})
            TCatalogue::Instance().Unregister(id);
        SetErrorReporter({});
    }
    TSampleFrm* Current() const { return qobject_cast<TSampleFrm*>(host->CurrentForm()); }

    QTemporaryDir folder;
    std::unique_ptr<QMainWindow> window;
    QWidget* leftPane = nullptr;
    QWidget* flashPanel = nullptr;
    QToolBar* htmlToolbar = nullptr;
    QLabel* splash = nullptr;
    std::unique_ptr<TExperimentHost> host;
    bool top = true;
    bool large = false;
    std::vector<QString> movies;
    std::vector<std::string> errors;
    bool updatesWhenReported = false;
};

TEST_F(HostTest, FirstExperimentReplacesTheSplashAndDocksBeforeTheLessonToolbar)
{
    window->show();
    host->ShowExperiment(kBefore);
    EXPECT_EQ(host->CurrentId(), kBefore);
    EXPECT_TRUE(host->Splash() == nullptr);
    TSampleFrm* form = Current();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->parentWidget(), leftPane);
    EXPECT_FALSE(form->isHidden());
    EXPECT_TRUE(flashPanel->isHidden());
    EXPECT_EQ(window->toolBarArea(form->Toolbar()), Qt::TopToolBarArea);
    QApplication::processEvents();
    EXPECT_EQ(form->Toolbar()->y(), htmlToolbar->y());
    EXPECT_LT(form->Toolbar()->x(), htmlToolbar->x());
}

TEST_F(HostTest, LargeButtonsAreAppliedBeforeOrAfterShowAsTheCatalogueSays)
{
    large = true;
    host->ShowExperiment(kBefore);
    ASSERT_EQ(Current()->Calls.size(), 1u);
    EXPECT_EQ(Current()->Calls[0], QStringLiteral("large:1:hidden"));
    host->ShowExperiment(kAfter);
    ASSERT_EQ(Current()->Calls.size(), 1u);
    EXPECT_EQ(Current()->Calls[0], QStringLiteral("large:1:shown"));
}

TEST_F(HostTest, OldFormIsReleasedOnlyAfterTheEventThatReplacedIt)
{
    host->ShowExperiment(kBefore);
    QPointer<TSampleFrm> first = Current();
    QPointer<QToolBar> firstToolbar = first->Toolbar();
    host->ShowExperiment(kBefore);  // the same id still builds afresh
    ASSERT_FALSE(first.isNull());
    EXPECT_NE(Current(), first.data());
    EXPECT_TRUE(first->isHidden());
    FlushDeferredDeletes();
    EXPECT_TRUE(first.isNull());
    EXPECT_TRUE(firstToolbar.isNull()) << "the toolbar goes with its form";
    EXPECT_NE(Current(), nullptr);
}

TEST_F(HostTest, LessonToolbarReturnsToTheFirstRowBesideTheNewToolbar)
{
    // Another toolbar holds the first row; the lesson toolbar was dragged to
    // a row of its own below it.
    auto* other = new QToolBar(QStringLiteral("Other"));
    other->addAction(QStringLiteral("Other"));
    window->insertToolBar(htmlToolbar, other);
    window->insertToolBarBreak(htmlToolbar);
    window->show();
    QApplication::processEvents();
    ASSERT_GT(htmlToolbar->y(), other->y());

    host->ShowExperiment(kAfter);
    QApplication::processEvents();
    EXPECT_FALSE(window->toolBarBreak(htmlToolbar));
    EXPECT_EQ(htmlToolbar->y(), other->y());
    EXPECT_EQ(Current()->Toolbar()->y(), htmlToolbar->y());
    EXPECT_LT(Current()->Toolbar()->x(), htmlToolbar->x());
}

TEST_F(HostTest, BottomDockTakesTheToolbarWhenToolbarsAreAtTheBottom)
{
    top = false;
    window->removeToolBar(htmlToolbar);
    window->addToolBar(Qt::BottomToolBarArea, htmlToolbar);
    htmlToolbar->show();
    window->show();
    host->ShowExperiment(kAfter);
    EXPECT_EQ(window->toolBarArea(Current()->Toolbar()), Qt::BottomToolBarArea);
    QApplication::processEvents();
    EXPECT_LT(Current()->Toolbar()->x(), htmlToolbar->x());
}

TEST_F(HostTest, FlashIdShowsThePanelAndLoadsOnlyAnExistingMovie)
{
    host->ShowExperiment(kBefore);
    QPointer<TSampleFrm> form = Current();
    host->ShowExperiment(101);  // EnergyBall.swf is missing here
    EXPECT_FALSE(flashPanel->isHidden());
    EXPECT_TRUE(movies.empty());
    EXPECT_EQ(host->CurrentForm(), nullptr);
    FlushDeferredDeletes();
    EXPECT_TRUE(form.isNull());

    QDir(folder.path()).mkpath(QStringLiteral("flash"));
    QFile movie(folder.path() + QStringLiteral("/flash/voltage.SWF"));
    ASSERT_TRUE(movie.open(QIODevice::WriteOnly));
    movie.write("FWS");
    movie.close();
    host->ShowExperiment(100);
    ASSERT_EQ(movies.size(), 1u);
    EXPECT_EQ(movies[0], movie.fileName()) << "resolved without regard to case";

    host->ShowExperiment(kBefore);
    EXPECT_TRUE(flashPanel->isHidden());
}

TEST_F(HostTest, UnknownIdOnlyReleasesTheOldForm)
{
    host->ShowExperiment(kBefore);
    QPointer<TSampleFrm> form = Current();
    host->ShowExperiment(13);
    EXPECT_EQ(host->CurrentId(), 13);
    EXPECT_EQ(host->CurrentForm(), nullptr);
    EXPECT_TRUE(flashPanel->isHidden());
    FlushDeferredDeletes();
    EXPECT_TRUE(form.isNull());
}

TEST_F(HostTest, ToolbarsMovedReDocksTheExperimentToolbarBesideTheLessonToolbar)
{
    window->show();
    host->ShowExperiment(kAfter);
    top = false;
    window->addToolBar(Qt::BottomToolBarArea, htmlToolbar);
    host->ToolbarsMoved();
    QApplication::processEvents();
    EXPECT_EQ(window->toolBarArea(Current()->Toolbar()), Qt::BottomToolBarArea);
    EXPECT_EQ(Current()->Toolbar()->y(), htmlToolbar->y());
    EXPECT_LT(Current()->Toolbar()->x(), htmlToolbar->x());
}

TEST_F(HostTest, AClosedToolbarReturnsToTheDockItWasMovedTo)
{
    window->show();
    host->ShowExperiment(kAfter);
    top = false;
    window->addToolBar(Qt::BottomToolBarArea, htmlToolbar);
    host->ToolbarsMoved();
    auto* toolbar = qobject_cast<TExperimentToolbar*>(Current()->Toolbar());
    ASSERT_NE(toolbar, nullptr);
    EXPECT_FALSE(toolbar->close()) << "a close request is refused";
    EXPECT_EQ(window->toolBarArea(toolbar), Qt::BottomToolBarArea);
    EXPECT_FALSE(toolbar->isHidden());
}

TEST_F(HostTest, SplitChangesHideAndShowTheExperimentToolbar)
{
    window->show();
    host->ShowExperiment(kAfter);
    leftPane->hide();
    host->SplitChanged(false);
    EXPECT_TRUE(Current()->Toolbar()->isHidden());
    leftPane->show();
    host->SplitChanged(true);
    EXPECT_FALSE(Current()->Toolbar()->isHidden());
}

TEST_F(HostTest, LargeButtonsRuleAt96And120Dpi)
{
    SetScreenDpiOverride(96);
    host->ShowExperiment(kBefore);
    TSampleFrm* form = Current();
    form->SpeedSE->setRange(1, 9);  // a value that fits in the narrowest width
    large = true;
    host->LargeButtonsToggled();
    EXPECT_EQ(form->Toolbar()->iconSize(), QSize(48, 48));
    EXPECT_EQ(form->SpeedSE->minimumWidth(), 75);
    large = false;
    host->LargeButtonsToggled();
    EXPECT_EQ(form->Toolbar()->iconSize(), QSize(24, 24));
    EXPECT_EQ(form->SpeedSE->minimumWidth(), 50);

    // A spin edit whose widest value needs more room than its width in the
    // desktop's font gets that room.
    form->SpeedSE->setSuffix(QStringLiteral(" metres per second"));
    large = true;
    host->LargeButtonsToggled();
    large = false;
    host->LargeButtonsToggled();
    EXPECT_GT(form->SpeedSE->minimumWidth(), 50);
    EXPECT_EQ(form->SpeedSE->minimumWidth(), form->SpeedSE->sizeHint().width());

    // At 120 dots per inch the widths scale by 1.25 (62.5 rounds to even)
    // even though the flag did not change.
    SetScreenDpiOverride(120);
    host->ShowExperiment(kBefore);
    form = Current();
    ASSERT_EQ(form->Calls.size(), 1u);
    EXPECT_EQ(form->SpeedSE->minimumWidth(), 62);
    large = true;
    host->LargeButtonsToggled();
    EXPECT_EQ(form->SpeedSE->minimumWidth(), 94);
}

TEST_F(HostTest, FormWithPanelsIsShownBeforeItsButtonsAreSizedAndFollowsTheChangeRules)
{
    window->show();
    large = true;
    host->ShowExperiment(kPanels);
    auto* form = dynamic_cast<TPanelFrm*>(host->CurrentForm());
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->Calls, std::vector<QString>{QStringLiteral("large:1:shown")});
    EXPECT_EQ(form->parentWidget(), leftPane);
    EXPECT_FALSE(form->isHidden());

    form->Calls.clear();
    top = false;
    window->addToolBar(Qt::BottomToolBarArea, htmlToolbar);
    host->ToolbarsMoved();  // nothing of the form's moves
    host->SplitChanged(false);
    host->SplitChanged(true);
    large = false;
    host->LargeButtonsToggled();
    EXPECT_EQ(form->Calls, (std::vector<QString>{QStringLiteral("panels:0"), QStringLiteral("panels:1"),
                                                 QStringLiteral("large:0:shown")}));
}

TEST_F(HostTest, FormThatFailsToBeMadeIsReportedAndTheHostGoesOn)
{
    host->ShowExperiment(kBefore);
    QPointer<TSampleFrm> previous = Current();
    host->ShowExperiment(kBroken);
    EXPECT_EQ(errors, std::vector<std::string>{"the apparatus cannot be set up"});
    EXPECT_EQ(host->CurrentId(), kBroken);
    EXPECT_EQ(host->CurrentForm(), nullptr);
    EXPECT_TRUE(updatesWhenReported) << "the box comes after the window's layout is resumed";
    EXPECT_TRUE(window->updatesEnabled());
    FlushDeferredDeletes();
    EXPECT_TRUE(previous.isNull());

    host->ShowExperiment(kAfter);
    EXPECT_NE(Current(), nullptr);
}

TEST(ScaleShapes, FollowTheirFormulas)
{
    EXPECT_FLOAT_EQ(scale::FromHeightCappedByWidth(1000, 500, 0.01f, 50), 5.0f);
    EXPECT_FLOAT_EQ(scale::FromHeightCappedByWidth(200, 500, 0.01f, 50), 4.0f);
    EXPECT_FLOAT_EQ(scale::FromWidthCappedByHeight(1000, 500, 0.01f), 7.0f);
    EXPECT_FLOAT_EQ(scale::FromWidthCappedByHeight(600, 500, 0.01f), 6.0f);
    EXPECT_FLOAT_EQ(scale::FromSmallerSide(300, 700, 0.5f), 150.0f);
    EXPECT_FLOAT_EQ(scale::FromHeight(400, 0.25f), 100.0f);
}

// The shapes told per case or in scene units: which side counts, and which
// factor, on either side of a square picture and on it.
TEST(ScaleShapes, ThePerCaseShapesPickTheirSideAtTheSquare)
{
    struct Case {
        int w, h;
        float narrowK, wideK;  // FromSmallerSide(w, h, narrowK, wideK)
        float expected;
    };
    for (const Case c : {Case{300, 700, 0.01f, 0.011f, 3.0f}, Case{700, 300, 0.01f, 0.011f, 3.3f},
                         Case{500, 500, 0.01f, 0.011f, 5.5f}}) {
        EXPECT_FLOAT_EQ(scale::FromSmallerSide(c.w, c.h, c.narrowK, c.wideK), c.expected)
            << c.w << "x" << c.h;
    }
    struct UnitsCase {
        int w, h;
        float expected;  // FromSmallerSideUnits(w, h, 80 across, 75 down)
    };
    for (const UnitsCase c :
         {UnitsCase{800, 600, 8.0f}, UnitsCase{600, 800, 7.5f}, UnitsCase{600, 600, 7.5f}}) {
        EXPECT_FLOAT_EQ(scale::FromSmallerSideUnits(c.w, c.h, 80, 75), c.expected) << c.w << "x" << c.h;
    }
    // Divided, not multiplied by a rounded reciprocal: 53 / 106 is exactly a half.
    EXPECT_EQ(scale::FromHeightUnits(53, 106), 0.5f);
    EXPECT_EQ(scale::FromHeightUnits(1060, 106), 10.0f);
}

}  // namespace
}  // namespace brv
