// The Results panel in the main window: F8, the View menu and the toolbar
// button show it under the experiment; it follows the experiment shown, hides
// with the experiment pane, is a region of its own for F6, and is remembered.
#include "FrameTestSupport.h"

#include "experiments/ExperimentCatalogue.h"
#include "experiments/ResultsTables.h"
#include "experiments/biology/uYeast.h"
#include "experiments/chemistry/uKinetic.h"
#include "experiments/physics/uBall.h"
#include "notebook/ResultsPanel.h"
#include "runtime/BRV_StrConstants.h"
#include "shell/uFrame.h"
#include "shell/uKeyboardRegions.h"
#include "shell/uLessonToolbar.h"
#include "shell/uMenuToolbar.h"
#include "shell/uResultsPane.h"
#include "shell/uSettings.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QSplitter>
#include <QStackedWidget>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QWebEngineView>

#include <gtest/gtest.h>

#include <memory>

namespace brv {
namespace {

using namespace frametest;

class ResultsPaneTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearSettings();
        RegisterExperiments();
        RegisterResultsTables();
        folder.AddStartPage();
    }
    void TearDown() override
    {
        frame.reset();
        FlushDeferredDeletes();
        ClearSettings();
    }
    TFrameFrm& Start()
    {
        frame = std::make_unique<TFrameFrm>(folder.Path());
        frame->ConfirmClose = [](QWidget*) { return true; };
        ShowAndWait(frame.get());
        return *frame;
    }
    TResultsPanel* Panel() const { return frame->Results()->Panel(); }
    // F8 from the lesson page, where the pupil reads: the page's engine
    // must leave the key to the window.
    void PressF8() const
    {
        if (QApplication::focusWidget() == nullptr) {
            frame->activateWindow();
            frame->EWB()->setFocus(Qt::OtherFocusReason);
            WaitFor([this] { return frame->Keyboard().FocusRegion() == TKeyboardRegions::TRegion::Lesson; },
                    2000);
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F8);
        Pump(50);
    }

    TProgramFolder folder;
    std::unique_ptr<TFrameFrm> frame;
};

TEST_F(ResultsPaneTest, F8TheMenuAndTheButtonShowItUnderTheExperiment)
{
    TFrameFrm& f = Start();
    QAction* toggle = f.Results()->ToggleAction();
    EXPECT_FALSE(Panel()->isVisible()) << "hidden on a first start";
    EXPECT_TRUE(f.MenuToolbar()->ViewMenu()->actions().contains(toggle));
    auto* button = qobject_cast<QToolButton*>(f.HTMLToolbar()->widgetForAction(toggle));
    ASSERT_NE(button, nullptr);
    EXPECT_FALSE(button->accessibleName().isEmpty());

    PressF8();
    ASSERT_TRUE(Panel()->isVisible());
    EXPECT_TRUE(toggle->isChecked());
    // Under the experiment pane, in the left column, the same width.
    EXPECT_GT(Panel()->mapTo(&f, QPoint()).y(),
              f.LeftTW()->mapTo(&f, QPoint()).y() + f.LeftTW()->height() - 1);
    EXPECT_EQ(Panel()->width(), f.LeftTW()->width());
    EXPECT_GE(Panel()->height(), 120);

    QTest::mouseClick(button, Qt::LeftButton);
    Pump(50);
    EXPECT_FALSE(Panel()->isVisible());
    EXPECT_FALSE(toggle->isChecked());
}

TEST_F(ResultsPaneTest, ItFollowsTheExperimentShown)
{
    TFrameFrm& f = Start();
    PressF8();
    f.ShowExperiment(ids::Ball);
    EXPECT_EQ(Panel()->Experiment(), ids::Ball);
    ASSERT_NE(Panel()->Model(), nullptr);
    EXPECT_EQ(Panel()->Model()->Declaration().key, "height");
    f.ShowExperiment(ids::Kinetic);
    FlushDeferredDeletes();
    EXPECT_EQ(Panel()->Pages->currentWidget(), Panel()->NoTablesLabel);
    EXPECT_EQ(Panel()->NoTablesLabel->text(), str::sResultsNoTables());
    f.ShowExperiment(ids::Yeast);
    FlushDeferredDeletes();
    EXPECT_EQ(Panel()->Model()->Declaration().key, "temperature");
}

TEST_F(ResultsPaneTest, ItHidesWithTheExperimentPaneAndIsARegionForF6)
{
    TFrameFrm& f = Start();
    f.ShowExperiment(ids::Ball);
    PressF8();
    f.MaxRightBtn()->click();
    Pump(50);
    EXPECT_FALSE(Panel()->isVisible());
    f.NormalSplitBtn()->click();
    Pump(50);
    EXPECT_TRUE(Panel()->isVisible());

    f.NormalSplitBtn()->setFocus(Qt::TabFocusReason);
    using R = TKeyboardRegions::TRegion;
    for (R expected : {R::ExperimentToolbar, R::Experiment, R::Results}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6);
        ASSERT_TRUE(WaitFor([&f, expected] { return f.Keyboard().FocusRegion() == expected; }, 2000))
            << "F6 did not reach region " << int(expected);
    }
    EXPECT_TRUE(Panel()->isAncestorOf(QApplication::focusWidget()));
    EXPECT_TRUE(f.Keyboard().TabStops().contains(Panel()->RecordBtn));
}

TEST_F(ResultsPaneTest, ShownAndHeightAreRemembered)
{
    {
        TFrameFrm& f = Start();
        PressF8();
        const QList<int> sizes = f.Results()->Column()->sizes();
        ASSERT_EQ(sizes.size(), 2);
        f.Results()->Column()->setSizes({sizes[0] + sizes[1] - 200, 200});
        emit f.Results()->Column()->splitterMoved(sizes[0] + sizes[1] - 200, 1);
        frame.reset();
        FlushDeferredDeletes();
    }
    const TResultsPanelPlace place = ReadResultsPanelPlace();
    EXPECT_TRUE(place.shown);
    EXPECT_EQ(place.height, 200);
    Start();
    EXPECT_TRUE(Panel()->isVisible());
    EXPECT_TRUE(frame->Results()->ToggleAction()->isChecked());
    EXPECT_EQ(Panel()->height(), 200);
}

}  // namespace
}  // namespace brv
