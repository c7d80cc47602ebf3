// The main window driven as a pupil would: first start, saved settings,
// toolbar position, button size, window split, the Experiments menu, hints,
// the splash picture and the close confirmation.
#include "shell/uFrame.h"

#include "runtime/BRV_StrConstants.h"
#include "runtime/Catalogue.h"
#include "runtime/ExperimentHost.h"
#include "runtime/ProgramFolder.h"
#include "shell/FrameTestSupport.h"
#include "shell/uFlashPanel.h"
#include "shell/uLessonPane.h"
#include "shell/uLessonToolbar.h"
#include "shell/uMenuToolbar.h"
#include "shell/uSettings.h"
#include "shell/uThemes.h"
#include "shell/uWindowPlacement.h"
#include "support/TestSupport.h"
#include "support/sample/SampleExperiment.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QEnterEvent>
#include <QGuiApplication>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>
#include <QSet>
#include <QSettings>
#include <QSplitter>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWebEngineView>
#include <QWindow>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <vector>

namespace brv {
namespace {

using namespace frametest;
using test::TSampleFrm;

// Ids the program never uses, so the sample form can take them.
constexpr ExperimentId kSample = 12;
constexpr ExperimentId kSampleAfterShow = 13;

QRect WorkArea()
{
    return QGuiApplication::primaryScreen()->availableGeometry();
}

int ScreenWidth()
{
    return QGuiApplication::primaryScreen()->geometry().width();
}

class FrameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearSettings();
        ApplyTheme(DefaultThemeName());
        test::RegisterSample(kSample, true);
        test::RegisterSample(kSampleAfterShow, false);
    }

    void TearDown() override
    {
        frame.reset();
        FlushDeferredDeletes();
        TCatalogue::Instance().Unregister(kSample);
        TCatalogue::Instance().Unregister(kSampleAfterShow);
        ClearSettings();
    }

    TFrameFrm& Start(bool show = true)
    {
        frame = std::make_unique<TFrameFrm>(folder.Path());
        frame->ConfirmClose = [this](QWidget*) {
            ++questions;
            return answer;
        };
        frame->ShowError = [this](const QString& message) { errors.push_back(message); };
        if (show)
            ShowAndWait(frame.get());
        return *frame;
    }

    TSampleFrm* Sample() const { return qobject_cast<TSampleFrm*>(frame->Host().CurrentForm()); }

    // Lets the main window lay out its docks after a change.
    void Settle() const { Pump(50); }
    // Waits until toolbar sits in the lesson toolbar's row, before it.
    bool InRowBeforeLessonToolbar(QToolBar* toolbar) const
    {
        return WaitFor(
            [this, toolbar] {
                return toolbar->y() == frame->HTMLToolbar()->y() && toolbar->x() < frame->HTMLToolbar()->x();
            },
            3000);
    }

    TProgramFolder folder;
    std::unique_ptr<TFrameFrm> frame;
    bool answer = true;
    int questions = 0;
    std::vector<QString> errors;
};

TEST_F(FrameTest, FirstStartCoversTheWorkAreaWithDefaults)
{
    TFrameFrm& f = Start();
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Brevalis - 3rd Edition"));
    EXPECT_EQ(f.geometry(), WorkArea());
    EXPECT_EQ(f.LeftPaneWidth(), WorkArea().width() / 2);
    EXPECT_EQ(CurrentThemeName(), QStringLiteral("Office 2007 blue"));
    EXPECT_TRUE(f.MenuToolbar()->Top1()->isChecked());
    EXPECT_FALSE(f.MenuToolbar()->Bottom1()->isChecked());
    EXPECT_EQ(f.toolBarArea(f.HTMLToolbar()), Qt::TopToolBarArea);
    EXPECT_FALSE(f.MenuToolbar()->Large1()->isChecked());
    EXPECT_EQ(f.HTMLToolbar()->iconSize(), QSize(24, 24));
    EXPECT_EQ(f.EWBPanel()->ZoomLevel(), 2);
    EXPECT_DOUBLE_EQ(f.EWB()->zoomFactor(), 1.0);
    EXPECT_EQ(f.EWBPanel()->TextBackground(), QStringLiteral("#FFFFFF"));
    EXPECT_EQ(f.StatusLabel()->text(), QStringLiteral(" "));
    EXPECT_FALSE(f.HTMLToolbar()->IndexBtn()->isEnabled());
    EXPECT_TRUE(f.HTMLToolbar()->IndexOptions()->isEnabled());
    EXPECT_EQ(f.CurrentExperimentId(), 0);
    EXPECT_TRUE(f.FlashPanel()->isHidden());
    // Nothing to show without the help file.
    EXPECT_FALSE(f.MenuToolbar()->Contents1()->isEnabled());
    EXPECT_FALSE(f.MenuToolbar()->Search1()->isEnabled());
    // The lesson buttons start above the lesson pane.
    QWidget* indexButton = f.HTMLToolbar()->widgetForAction(f.HTMLToolbar()->IndexBtn());
    EXPECT_NEAR(indexButton->mapTo(&f, QPoint()).x(), f.LeftPaneWidth(), 12);
}

TEST_F(FrameTest, LessonToolbarHasItsSixItemsWithHintsAndDropDowns)
{
    TFrameFrm& f = Start();
    EXPECT_EQ(f.HTMLToolbar()->IndexBtn()->toolTip(), QStringLiteral("Main index"));
    EXPECT_EQ(f.HTMLToolbar()->FwdBtn()->toolTip(), QStringLiteral("Move forward"));
    EXPECT_EQ(f.HTMLToolbar()->BackBtn()->toolTip(), QStringLiteral("Move back"));
    EXPECT_EQ(f.HTMLToolbar()->FontBtn()->toolTip(), QStringLiteral("Set font size"));
    EXPECT_EQ(f.HTMLToolbar()->TextBackColorBtn()->toolTip(), QStringLiteral("Set text background colour"));
    EXPECT_EQ(f.HTMLToolbar()->IndexOptions()->toolTip(), QStringLiteral("Index options"));
    for (QToolButton* dropDown :
         {f.HTMLToolbar()->FontBtn(), f.HTMLToolbar()->TextBackColorBtn(), f.HTMLToolbar()->IndexOptions()}) {
        EXPECT_EQ(dropDown->popupMode(), QToolButton::InstantPopup);
        EXPECT_FALSE(dropDown->icon().isNull());
    }
    const QStringList sizes = {"Smallest", "Small", "Medium", "Large", "Largest"};
    QList<QAction*> sizeItems = f.HTMLToolbar()->FontBtn()->defaultAction()->menu()->actions();
    ASSERT_EQ(sizeItems.size(), 5);
    for (int tag = 0; tag < 5; ++tag) {
        EXPECT_EQ(sizeItems[tag]->text(), sizes[tag]);
        EXPECT_EQ(sizeItems[tag]->data().toInt(), tag);
    }
    EXPECT_EQ(f.HTMLToolbar()->BColBlue()->text(), QStringLiteral("Pale blue"));
    EXPECT_EQ(f.HTMLToolbar()->BColYellow()->data().toString(), QStringLiteral("#FFFFE0"));
    EXPECT_EQ(f.HTMLToolbar()->ExpandAll1()->text(), QStringLiteral("Expand all"));

    // The drop-down checks the stored size when it opens.
    f.HTMLToolbar()->Size4()->trigger();
    emit f.HTMLToolbar()->FontBtn()->defaultAction()->menu()->aboutToShow();
    EXPECT_TRUE(f.HTMLToolbar()->Size4()->isChecked());
    EXPECT_FALSE(f.HTMLToolbar()->Size2()->isChecked());
    EXPECT_DOUBLE_EQ(f.EWB()->zoomFactor(), 1.5);
}

TEST_F(FrameTest, LessonToolbarCannotBeClosed)
{
    TFrameFrm& f = Start();
    f.MenuToolbar()->Bottom1()->trigger();
    Settle();
    f.HTMLToolbar()->close();
    Settle();
    EXPECT_TRUE(f.HTMLToolbar()->isVisible());
    EXPECT_NE(f.toolBarArea(f.HTMLToolbar()), Qt::NoToolBarArea) << "docked";
    EXPECT_FALSE(f.HTMLToolbar()->toggleViewAction()->isVisible()) << "no menu item hides it";
}

TEST_F(FrameTest, LessonToolbarDrivesTheLessonPane)
{
    folder.AddStartPage();
    folder.Add(QStringLiteral("html/next.html"),
               "<html><head><title>next</title></head><body><p>Second page</p></body></html>");
    TFrameFrm& f = Start();
    QWebEngineView* view = f.EWB();
    // The colour menu acts once the first page has completed, which comes
    // after its title.
    ASSERT_TRUE(WaitFor(
        [&f, view] { return view->title() == QStringLiteral("index") && f.EWBPanel()->HasDocument(); }));
    EXPECT_FALSE(f.HTMLToolbar()->IndexBtn()->isEnabled());
    EXPECT_TRUE(f.HTMLToolbar()->IndexOptions()->isEnabled());

    const auto bodyColour = [view] {
        QString colour;
        bool done = false;
        view->page()->runJavaScript(QStringLiteral("getComputedStyle(document.body).backgroundColor"),
                                    [&](const QVariant& v) {
                                        colour = v.toString();
                                        done = true;
                                    });
        WaitFor([&] { return done; });
        return colour;
    };
    f.HTMLToolbar()->BColBlue()->trigger();
    EXPECT_EQ(f.EWBPanel()->TextBackground(), QStringLiteral("#D9EAFF"));
    EXPECT_TRUE(WaitFor([&] { return bodyColour() == QStringLiteral("rgb(217, 234, 255)"); }));

    // The next page opens with the same colour; back and index come alive.
    view->load(QUrl::fromLocalFile(QDir(folder.Path()).filePath(QStringLiteral("html/next.html"))));
    ASSERT_TRUE(WaitFor([view] { return view->title() == QStringLiteral("next"); }));
    EXPECT_TRUE(WaitFor([&] { return bodyColour() == QStringLiteral("rgb(217, 234, 255)"); }));
    EXPECT_TRUE(WaitFor([&f] { return f.HTMLToolbar()->BackBtn()->isEnabled(); }));
    EXPECT_TRUE(f.HTMLToolbar()->IndexBtn()->isEnabled());
    EXPECT_FALSE(f.HTMLToolbar()->IndexOptions()->isEnabled());

    QGuiApplication::clipboard()->clear();
    f.activateWindow();
    ASSERT_TRUE(WaitFor([&f] { return f.isActiveWindow(); }, 3000));
    f.MenuToolbar()->Copy1()->trigger();
    EXPECT_TRUE(
        WaitFor([] { return QGuiApplication::clipboard()->text().contains(QStringLiteral("Second page")); }));

    f.HTMLToolbar()->BackBtn()->trigger();
    ASSERT_TRUE(WaitFor([view] { return view->title() == QStringLiteral("index"); }));
    EXPECT_TRUE(WaitFor([&f] { return f.HTMLToolbar()->FwdBtn()->isEnabled(); }));
    f.HTMLToolbar()->FwdBtn()->trigger();
    ASSERT_TRUE(WaitFor([view] { return view->title() == QStringLiteral("next"); }));
    f.HTMLToolbar()->IndexBtn()->trigger();
    EXPECT_TRUE(WaitFor([view] { return view->title() == QStringLiteral("index"); }));
}

TEST_F(FrameTest, TheLessonPaneIsTheRightPaneWithTheOnlyBrowserAndPictureMenu)
{
    TFrameFrm& f = Start();
    EXPECT_EQ(f.Splitter()->widget(1), f.EWBPanel());
    EXPECT_EQ(f.EWBPanel()->objectName(), QStringLiteral("EWBPanel"));
    const QList<QWebEngineView*> browsers = f.EWBPanel()->findChildren<QWebEngineView*>();
    ASSERT_EQ(browsers.size(), 1);
    EXPECT_EQ(browsers.front(), f.EWB());
    const QList<QMenu*> pictureMenus = f.findChildren<QMenu*>(QStringLiteral("PicPopUp"));
    ASSERT_EQ(pictureMenus.size(), 1);
    EXPECT_EQ(pictureMenus.front(), f.EWBPanel()->PicPopUp());
    f.HTMLToolbar()->size0()->trigger();
    EXPECT_EQ(f.EWBPanel()->ZoomLevel(), 0);
    EXPECT_DOUBLE_EQ(f.EWB()->zoomFactor(), TLessonPane::ZoomFactorForLevel(0));
}

TEST_F(FrameTest, TBTopZeroStartsWithTheToolbarsAtTheBottom)
{
    PutSetting(QStringLiteral("TBTop"), 0);
    TFrameFrm& f = Start();
    EXPECT_EQ(f.toolBarArea(f.HTMLToolbar()), Qt::BottomToolBarArea);
    EXPECT_TRUE(f.MenuToolbar()->Bottom1()->isChecked());
    EXPECT_FALSE(f.MenuToolbar()->Top1()->isChecked());

    // A newly shown experiment's toolbar appears in the bottom dock, first in its row.
    f.ShowExperiment(kSample);
    Settle();
    QToolBar* toolbar = Sample()->Toolbar();
    EXPECT_EQ(f.toolBarArea(toolbar), Qt::BottomToolBarArea);
    EXPECT_TRUE(InRowBeforeLessonToolbar(toolbar));
}

TEST_F(FrameTest, ClickingTop1WhenCheckedChangesNothing)
{
    TFrameFrm& f = Start();
    f.ShowExperiment(kSample);
    Settle();
    QToolBar* toolbar = Sample()->Toolbar();
    // The pupil dragged the experiment toolbar to the bottom by hand.
    f.addToolBar(Qt::BottomToolBarArea, toolbar);
    Settle();

    f.MenuToolbar()->Top1()->trigger();
    Settle();
    EXPECT_TRUE(f.MenuToolbar()->Top1()->isChecked());
    EXPECT_FALSE(f.MenuToolbar()->Bottom1()->isChecked());
    EXPECT_EQ(f.toolBarArea(f.HTMLToolbar()), Qt::TopToolBarArea);
    EXPECT_EQ(f.toolBarArea(toolbar), Qt::BottomToolBarArea);
}

TEST_F(FrameTest, MovingTheToolbarsRedocksTheExperimentToolbarBeforeTheLessonToolbar)
{
    TFrameFrm& f = Start();
    f.ShowExperiment(kSample);
    Settle();
    QToolBar* toolbar = Sample()->Toolbar();

    for (QAction* item : {f.MenuToolbar()->Bottom1(), f.MenuToolbar()->Top1()}) {
        item->trigger();
        Settle();
        const Qt::ToolBarArea area =
            item == f.MenuToolbar()->Top1() ? Qt::TopToolBarArea : Qt::BottomToolBarArea;
        EXPECT_EQ(f.toolBarArea(f.HTMLToolbar()), area);
        EXPECT_EQ(f.toolBarArea(toolbar), area);
        EXPECT_FALSE(f.toolBarBreak(toolbar));
        EXPECT_FALSE(f.toolBarBreak(f.HTMLToolbar()));
        EXPECT_TRUE(InRowBeforeLessonToolbar(toolbar));
        EXPECT_TRUE(item->isChecked());
    }
}

TEST_F(FrameTest, SavedPositionRestoresExactly)
{
    const QRect bounds(WorkArea().left() + 37, WorkArea().top() + 23, 517, 389);
    PutSetting(QStringLiteral("position"), EncodePosition(bounds));
    TFrameFrm& f = Start();
    EXPECT_EQ(f.geometry(), bounds);
    EXPECT_EQ(f.LeftPaneWidth(), 517 / 2);
}

TEST_F(FrameTest, SettingsSurviveARestart)
{
    const QRect bounds(WorkArea().left() + 10, WorkArea().top() + 12, 560, 410);
    {
        TFrameFrm& f = Start();
        f.MenuToolbar()->Bottom1()->trigger();
        f.MenuToolbar()->Large1()->trigger();
        f.ThemeClick(QStringLiteral("Office 2003"));
        f.HTMLToolbar()->Size3()->trigger();
        // No page is shown, so the colour is the stored one.
        f.EWBPanel()->RestoreTextBackground(QStringLiteral("#FFFFE0"));
        f.setGeometry(bounds);
        Settle();
        ASSERT_TRUE(f.close());
        EXPECT_EQ(questions, 1);
    }
    std::unique_ptr<QSettings> store(NewSettingsStore());
    EXPECT_EQ(store->value(QStringLiteral("TBTop")).toInt(), 0);
    EXPECT_EQ(store->value(QStringLiteral("Large")).toInt(), 1);
    EXPECT_EQ(store->value(QStringLiteral("zoom")).toInt(), 3);
    EXPECT_EQ(store->value(QStringLiteral("position")).toByteArray().size(), 16);

    ApplyTheme(DefaultThemeName());
    TFrameFrm& again = Start();
    EXPECT_EQ(again.toolBarArea(again.HTMLToolbar()), Qt::BottomToolBarArea);
    EXPECT_TRUE(again.MenuToolbar()->Large1()->isChecked());
    EXPECT_EQ(again.HTMLToolbar()->iconSize(), QSize(48, 48)) << "large buttons applied on first show";
    EXPECT_EQ(CurrentThemeName(), QStringLiteral("Office 2003"));
    EXPECT_EQ(again.EWBPanel()->ZoomLevel(), 3);
    EXPECT_DOUBLE_EQ(again.EWB()->zoomFactor(), TLessonPane::ZoomFactorForLevel(3));
    EXPECT_EQ(again.EWBPanel()->TextBackground(), QStringLiteral("#FFFFE0"));
    EXPECT_EQ(again.geometry(), bounds);
}

TEST_F(FrameTest, DamagedSettingsStartWithTheDefaults)
{
    PutSetting(QStringLiteral("zoom"), QStringLiteral("huge"));
    PutSetting(QStringLiteral("textbgnd"), QStringLiteral("#123456"));
    PutSetting(QStringLiteral("TBTop"), QByteArray("\x00", 1));
    PutSetting(QStringLiteral("Skin"), QStringLiteral("Windows 95"));
    PutSetting(QStringLiteral("Large"), QStringLiteral("yes"));
    PutSetting(QStringLiteral("position"), QByteArray(15, '\x7f'));
    TFrameFrm& f = Start();
    EXPECT_EQ(f.EWBPanel()->ZoomLevel(), 2);
    EXPECT_EQ(f.EWBPanel()->TextBackground(), QStringLiteral("#FFFFFF"));
    EXPECT_EQ(f.toolBarArea(f.HTMLToolbar()), Qt::TopToolBarArea);
    EXPECT_EQ(CurrentThemeName(), DefaultThemeName());
    EXPECT_FALSE(f.MenuToolbar()->Large1()->isChecked());
    EXPECT_EQ(f.geometry(), WorkArea());
    EXPECT_EQ(f.LeftPaneWidth(), WorkArea().width() / 2);
    // Said once, naming the file and every value set aside.
    std::unique_ptr<QSettings> store(NewSettingsStore());
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors.front(),
              str::sSettingsUnusable().arg(QDir::toNativeSeparators(store->fileName()),
                                           QStringLiteral("\"zoom\", \"textbgnd\", \"TBTop\", \"Skin\", "
                                                          "\"Large\", \"position\"")));
}

// Bounds saved on a large desk display once crashed the web engine at every
// start; fitted into this screen's work area, the window opens there.
TEST_F(FrameTest, OversizedSavedBoundsOpenOnTheWorkArea)
{
    PutSetting(QStringLiteral("position"), EncodePosition(QRect(WorkArea().topLeft(), QSize(65536, 65536))));
    TFrameFrm& f = Start();
    EXPECT_EQ(f.geometry(), WorkArea());
    EXPECT_EQ(f.LeftPaneWidth(), WorkArea().width() / 2);
}

TEST_F(FrameTest, PositionOffEveryScreenIsPlacedOnTheWorkArea)
{
    PutSetting(QStringLiteral("position"), EncodePosition(QRect(60000, 40000, 800, 600)));
    TFrameFrm& f = Start();
    EXPECT_EQ(f.geometry(), WorkArea());
}

TEST_F(FrameTest, NormalSplitUsesHalfTheWindowWidth)
{
    TFrameFrm& f = Start();
    f.ShowExperiment(kSample);
    Settle();
    QToolBar* toolbar = Sample()->Toolbar();
    f.resize(ScreenWidth() * 3 / 4, 400);
    Settle();

    f.MaxLeftBtn()->click();
    Settle();
    EXPECT_TRUE(f.EWBPanel()->isHidden());
    EXPECT_TRUE(f.HTMLToolbar()->isHidden());
    EXPECT_TRUE(toolbar->isVisible());
    EXPECT_EQ(f.LeftTW()->width(), f.Splitter()->width());
    // Moving the toolbars keeps the lesson toolbar hidden with its pane.
    for (QAction* dock : {f.MenuToolbar()->Bottom1(), f.MenuToolbar()->Top1()}) {
        dock->trigger();
        Settle();
        EXPECT_TRUE(f.HTMLToolbar()->isHidden()) << dock->text().toStdString();
        EXPECT_TRUE(toolbar->isVisible());
    }

    f.MaxRightBtn()->click();
    Settle();
    EXPECT_TRUE(f.LeftTW()->isHidden());
    EXPECT_TRUE(f.EWBPanel()->isVisible());
    EXPECT_TRUE(f.HTMLToolbar()->isVisible());
    EXPECT_TRUE(toolbar->isHidden()) << "hidden with the left pane";

    f.NormalSplitBtn()->click();
    Settle();
    EXPECT_TRUE(f.NormalSplitBtn()->isChecked());
    EXPECT_TRUE(f.LeftTW()->isVisible());
    EXPECT_TRUE(toolbar->isVisible());
    // Half the window: half the screen would leave the lesson pane a quarter
    // of this window.
    EXPECT_EQ(f.LeftPaneWidth(), f.width() / 2);
    EXPECT_NE(f.LeftPaneWidth(), ScreenWidth() / 2);

    // A window narrower than half the screen still gets both panes.
    f.resize(ScreenWidth() * 2 / 5, 400);
    Settle();
    f.NormalSplitBtn()->click();
    Settle();
    EXPECT_EQ(f.LeftPaneWidth(), f.width() / 2);
    EXPECT_GT(f.EWBPanel()->width(), f.width() / 3);
}

TEST_F(FrameTest, SplitterRefusesALeftPaneOfFiftyPixelsOrLess)
{
    TFrameFrm& f = Start();
    f.Splitter()->setSizes({30, f.Splitter()->width() - 38});
    Settle();
    EXPECT_GT(f.LeftPaneWidth(), 50);
    EXPECT_EQ(f.Splitter()->handleWidth(), 8);
}

TEST_F(FrameTest, LargeButtonsReachTheCurrentExperiment)
{
    TFrameFrm& f = Start();
    f.ShowExperiment(kSample);
    TSampleFrm* form = Sample();
    ASSERT_NE(form, nullptr);
    form->Calls.clear();
    const qreal normal = f.HTMLToolbar()->FontBtn()->defaultAction()->menu()->font().pointSizeF();

    f.MenuToolbar()->Large1()->trigger();
    EXPECT_TRUE(f.MenuToolbar()->Large1()->isChecked());
    EXPECT_EQ(f.HTMLToolbar()->iconSize(), QSize(48, 48));
    EXPECT_DOUBLE_EQ(f.HTMLToolbar()->FontBtn()->defaultAction()->menu()->font().pointSizeF(), normal * 1.5);
    EXPECT_DOUBLE_EQ(f.HTMLToolbar()->IndexOptions()->defaultAction()->menu()->font().pointSizeF(),
                     normal * 1.5);
    ASSERT_EQ(form->Calls.size(), 1u);
    EXPECT_EQ(form->Calls.back(), QStringLiteral("large:1:shown"));
    Settle();
    test::SavePicture(f.grab().toImage(), QStringLiteral("frame-large-buttons"));
    EXPECT_TRUE(form->LargeApplied());

    f.MenuToolbar()->Large1()->trigger();
    EXPECT_EQ(f.HTMLToolbar()->iconSize(), QSize(24, 24));
    EXPECT_DOUBLE_EQ(f.HTMLToolbar()->TextBackColorBtn()->defaultAction()->menu()->font().pointSizeF(),
                     normal);
    EXPECT_EQ(form->Calls.back(), QStringLiteral("large:0:shown"));
    EXPECT_FALSE(form->LargeApplied());
}

TEST_F(FrameTest, CloseIsRefusedOnNo)
{
    TFrameFrm& f = Start();
    f.ShowExperiment(kSample);
    QPointer<TSampleFrm> form = Sample();
    answer = false;
    EXPECT_FALSE(f.close());
    EXPECT_EQ(questions, 1);
    EXPECT_TRUE(f.isVisible());
    FlushDeferredDeletes();
    EXPECT_FALSE(form.isNull()) << "the experiment stays";
    std::unique_ptr<QSettings> store(NewSettingsStore());
    EXPECT_TRUE(store->allKeys().isEmpty()) << "nothing saved";

    answer = true;
    EXPECT_TRUE(f.close());
    EXPECT_EQ(questions, 2);
    FlushDeferredDeletes();
    EXPECT_TRUE(form.isNull()) << "released on closing";
    store = std::unique_ptr<QSettings>(NewSettingsStore());
    // The six, and where the pupil was (no lesson page was shown).
    QStringList keys = store->allKeys();
    keys.sort();
    EXPECT_EQ(keys,
              QStringList({"Large", "Skin", "TBTop", "experiment", "position", "split", "textbgnd", "zoom"}));
}

// Replaces catalogue rows for the length of a test and puts the old ones back.
class TCatalogueRows {
public:
    ~TCatalogueRows()
    {
        for (const auto& [id, saved] : saved_) {
            TCatalogue::Instance().Unregister(id);
            if (saved)
                TCatalogue::Instance().Register(*saved);
        }
    }
    void Remove(ExperimentId id)
    {
        const TCatalogueEntry* existing = TCatalogue::Instance().Find(id);
        saved_.emplace_back(id, existing != nullptr ? std::optional(*existing) : std::nullopt);
        TCatalogue::Instance().Unregister(id);
    }
    void Put(ExperimentId id, const QString& caption, const QString& mainPage)
    {
        Remove(id);
        TCatalogueEntry entry = *TCatalogue::Instance().Find(kSample);
        entry.id = id;
        // The program's own row keeps its place in the menu.
        entry.menuPosition = saved_.back().second ? saved_.back().second->menuPosition : -1;
        entry.menuCaption = caption;
        entry.mainPage = mainPage;
        TCatalogue::Instance().Register(entry);
    }

private:
    std::vector<std::pair<ExperimentId, std::optional<TCatalogueEntry>>> saved_;
};

TEST_F(FrameTest, ExperimentsMenuListsTheExperimentsInItsOrderAndChecksTheCurrentOne)
{
    const ExperimentId order[] = {18, 9, 21, 2, 3, 8, 1, 20, 5, 15, 6, 7, 10, 4, 11};
    TCatalogueRows rows;
    // Registered in another order than the menu's.
    for (ExperimentId id : {11, 1, 18, 9, 21, 2, 3, 8, 20, 5, 15, 6, 7, 10, 4})
        rows.Put(id, QStringLiteral("Experiment %1").arg(id), QStringLiteral("E%1.HTM").arg(id));
    TFrameFrm& f = Start(false);
    ASSERT_EQ(f.MenuToolbar()->ExperimentItems().size(), std::size(order));
    for (std::size_t i = 0; i < std::size(order); ++i) {
        EXPECT_EQ(f.MenuToolbar()->ExperimentItems()[i]->data().toInt(), order[i]);
        EXPECT_EQ(f.MenuToolbar()->ExperimentItems()[i]->text(),
                  QStringLiteral("Experiment %1").arg(order[i]));
        EXPECT_TRUE(f.MenuToolbar()->ExperimentItems()[i]->isCheckable());
    }

    f.ShowExperiment(9);
    emit f.MenuToolbar()->ExperimentsMenu()->aboutToShow();
    for (QAction* item : f.MenuToolbar()->ExperimentItems())
        EXPECT_EQ(item->isChecked(), item->data().toInt() == 9) << item->text().toStdString();
    f.ShowExperiment(kSample);
    emit f.MenuToolbar()->ExperimentsMenu()->aboutToShow();
    for (QAction* item : f.MenuToolbar()->ExperimentItems())
        EXPECT_FALSE(item->isChecked());
}

TEST_F(FrameTest, EveryMenuOpensWithItsOwnAltKey)
{
    TFrameFrm& f = Start(false);
    QStringList titles;
    QSet<int> keys;
    for (QAction* menu : f.MenuToolbar()->actions()) {
        titles << QString(menu->text()).remove(QLatin1Char('&'));
        const QKeySequence key = QKeySequence::mnemonic(menu->text());
        ASSERT_FALSE(key.isEmpty()) << menu->text().toStdString();
        keys.insert(key[0].toCombined());
    }
    EXPECT_EQ(titles, (QStringList{"File", "Edit", "Experiments", "View", "Toolbars", "Help"}));
    EXPECT_EQ(keys.size(), titles.size()) << "no two menus share a key";
}

TEST_F(FrameTest, ExperimentsMenuHasNoItemForAnExperimentNotBuilt)
{
    TCatalogueRows rows;
    for (ExperimentId id : {9, 21, 2, 3, 8, 1, 20, 5, 15, 6, 7, 10, 4})
        rows.Remove(id);
    rows.Put(11, QStringLiteral("Terminal velocity"), QStringLiteral("TERMVEL.HTM"));
    rows.Put(18, QStringLiteral("Breakdown of starch by amylase"), QStringLiteral("AMYLASE.HTM"));
    TFrameFrm& f = Start(false);
    ASSERT_EQ(f.MenuToolbar()->ExperimentItems().size(), 2u);
    EXPECT_EQ(f.MenuToolbar()->ExperimentItems()[0]->data().toInt(), 18);
    EXPECT_EQ(f.MenuToolbar()->ExperimentItems()[1]->data().toInt(), 11);
}

TEST_F(FrameTest, ExperimentItemOpensTheMainPageAndShowsTheExperiment)
{
    TCatalogueRows rows;
    rows.Put(1, QStringLiteral("Bouncing ball experiment"), QStringLiteral("BALL.HTM"));
    rows.Put(20, QStringLiteral("Car stopping distances"), QStringLiteral("CAR.HTM"));
    folder.Add(QStringLiteral("html/ball.htm"), "<html><body>ball</body></html>");
    TFrameFrm& f = Start();
    const auto item = [&f](ExperimentId id) {
        for (QAction* item : f.MenuToolbar()->ExperimentItems())
            if (item->data().toInt() == id)
                return item;
        return static_cast<QAction*>(nullptr);
    };
    ASSERT_NE(item(1), nullptr);
    ASSERT_NE(item(20), nullptr);

    item(1)->trigger();
    EXPECT_EQ(f.CurrentExperimentId(), 1);
    QPointer<TSampleFrm> form = Sample();
    EXPECT_FALSE(form.isNull());
    EXPECT_TRUE(WaitFor([&f] { return f.EWB()->url().fileName() == QStringLiteral("ball.htm"); }));
    // The page's own routing finds the experiment already shown and keeps it.
    FlushDeferredDeletes();
    EXPECT_FALSE(form.isNull());
    EXPECT_EQ(Sample(), form.data());

    // Without its main page the experiment is still shown, and the lesson
    // pane says which page is missing.
    item(20)->trigger();
    EXPECT_EQ(f.CurrentExperimentId(), 20);
    EXPECT_EQ(f.EWBPanel()->Notice(), str::sLessonPageMissing().arg(QDir::toNativeSeparators(
                                          ResolveInFolder(folder.Path(), QStringLiteral("HTML\\CAR.HTM")))));
    EXPECT_FALSE(f.EWB()->isVisible());
}

// Without a lesson book the window says so in the lesson pane, and the
// Experiments menu still shows every experiment.
TEST_F(FrameTest, WithoutTheLessonBookTheExperimentsStillWork)
{
    TCatalogueRows rows;
    rows.Put(1, QStringLiteral("Bouncing ball experiment"), QStringLiteral("BALL.HTM"));
    TFrameFrm& f = Start();
    EXPECT_EQ(f.EWBPanel()->Notice(), str::sLessonBookMissing().arg(QDir::toNativeSeparators(
                                          ResolveInFolder(folder.Path(), QStringLiteral("html")))));
    for (QAction* item : f.MenuToolbar()->ExperimentItems())
        if (item->data().toInt() == 1)
            item->trigger();
    EXPECT_EQ(f.CurrentExperimentId(), 1);
    EXPECT_NE(Sample(), nullptr);
}

TEST_F(FrameTest, HintsShowInTheStatusLine)
{
    TFrameFrm& f = Start();
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QApplication::sendEvent(f.HTMLToolbar()->FontBtn(), &enter);
    EXPECT_EQ(f.StatusLabel()->text(), QStringLiteral("Set font size"));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(f.HTMLToolbar()->FontBtn(), &leave);
    EXPECT_EQ(f.StatusLabel()->text(), QStringLiteral(" "));
    QApplication::sendEvent(f.MaxRightBtn(), &enter);
    EXPECT_EQ(f.StatusLabel()->text(), QStringLiteral("Maximize the right pane"));

    // An experiment's own items too.
    f.ShowExperiment(kSample);
    Settle();
    Sample()->StartBtn->setToolTip(QStringLiteral("Start the dot"));
    QApplication::sendEvent(Sample()->Toolbar()->widgetForAction(Sample()->StartBtn), &enter);
    EXPECT_EQ(f.StatusLabel()->text(), QStringLiteral("Start the dot"));
}

TEST_F(FrameTest, SplashIsFittedIntoANarrowPaneAndGoesWithTheFirstExperiment)
{
    folder.AddImage(QStringLiteral("html/images/splash.png"), SplashPicture(900, 300));
    PutSetting(QStringLiteral("position"), EncodePosition(QRect(WorkArea().topLeft(), QSize(600, 400))));
    TFrameFrm& f = Start();
    auto* splash = f.LeftTW()->findChild<QWidget*>(QStringLiteral("Splash"));
    ASSERT_NE(splash, nullptr);
    const QRect pane = f.LeftTW()->contentsRect();
    const int w = pane.width() - 10;
    EXPECT_EQ(splash->width(), w);
    EXPECT_EQ(splash->height(), int(std::nearbyint(300.0 * w / 900)));
    EXPECT_EQ(splash->x() - pane.left(), (pane.width() - w) / 2);
    EXPECT_EQ(splash->y() - pane.top(), (pane.height() - splash->height()) / 2);

    // The picture is scaled down whole: sky above, the green band at the bottom.
    const QImage shot = f.LeftTW()->grab().toImage();
    test::SavePicture(shot, QStringLiteral("frame-splash"));
    const QPoint centre = splash->geometry().center();
    const QColor ground = shot.pixelColor(centre.x(), splash->geometry().bottom() - 3);
    EXPECT_GT(ground.green(), 2 * ground.red());
    const QColor sky = shot.pixelColor(centre.x() - w / 3, splash->y() + 3);
    EXPECT_GT(sky.blue(), sky.green());

    // A wide pane shows it at its own size.
    f.Splitter()->setSizes({950, 0});
    f.MaxLeftBtn()->click();
    Settle();
    if (f.LeftTW()->contentsRect().width() >= 900) {
        EXPECT_EQ(splash->size(), QSize(900, 300));
    }
    f.NormalSplitBtn()->click();

    f.ShowExperiment(kSample);
    EXPECT_EQ(f.LeftTW()->findChild<QWidget*>(QStringLiteral("Splash")), nullptr);
}

TEST_F(FrameTest, AFlashIdShowsTheFlashPanelAndAFormIdHidesIt)
{
    folder.Add(QStringLiteral("Flash/Voltage.swf"), MakeSwf(200, 150, Qt::white, Qt::blue));
    folder.AddPlayer();
    TFrameFrm& f = Start();
    f.ShowExperiment(100);
    EXPECT_TRUE(f.FlashPanel()->isVisible());
    EXPECT_TRUE(f.FlashPanel()->MoviePath().endsWith(QStringLiteral("Flash/Voltage.swf")));
    f.ShowExperiment(kSample);
    EXPECT_TRUE(f.FlashPanel()->isHidden());
    // A missing movie loads nothing.
    f.ShowExperiment(101);
    EXPECT_TRUE(f.FlashPanel()->isVisible());
    EXPECT_TRUE(f.FlashPanel()->MoviePath().endsWith(QStringLiteral("Flash/Voltage.swf")));
}

TEST(FrameGeometry, TheOuterFrameIsTheWorkArea)
{
    // A window manager's title bar of 28 pixels and borders of 4 around a
    // work area below a 40-pixel panel.
    const QRect work(0, 40, 1600, 860);
    const QRect client = ClientBoundsForFrame(work, QMargins(4, 28, 4, 4));
    EXPECT_EQ(client, QRect(4, 68, 1592, 828));
    EXPECT_EQ(client.marginsAdded(QMargins(4, 28, 4, 4)), work);
    EXPECT_EQ(ClientBoundsForFrame(work, QMargins()), work);
}

TEST(FrameGeometry, SavedBoundsKeepTheirFrameOnTheWorkArea)
{
    const QRect work(0, 40, 1600, 860);
    const QMargins frame(4, 28, 4, 4);
    struct TCase {
        const char* what;
        QRect client;
        QRect fitted;
    };
    const TCase cases[] = {
        {"clear of every edge", QRect(300, 200, 900, 600), QRect(300, 200, 900, 600)},
        {"frame touching the work area's corner", QRect(4, 68, 900, 600), QRect(4, 68, 900, 600)},
        {"title bar under the panel", QRect(300, 40, 900, 600), QRect(300, 68, 900, 600)},
        {"left border off the screen", QRect(0, 200, 900, 600), QRect(4, 200, 900, 600)},
        {"past the right and bottom edges", QRect(1000, 600, 900, 600), QRect(696, 296, 900, 600)},
        {"larger than the work area", QRect(0, 0, 65536, 65536), QRect(4, 68, 1592, 828)},
        {"as large as the work area", work, QRect(4, 68, 1592, 828)},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        const QRect fitted = ClientBoundsKeepingFrameOn(work, c.client, frame);
        EXPECT_EQ(fitted, c.fitted);
        EXPECT_TRUE(work.contains(fitted.marginsAdded(frame)));
    }
    // Without a frame the bounds stay as the settings fitted them.
    EXPECT_EQ(ClientBoundsKeepingFrameOn(work, work, QMargins()), work);
}

TEST_F(FrameTest, FirstStartKeepsTheTitleBarOnTheScreen)
{
    TFrameFrm& f = Start();
    Settle();
    // With or without a window manager, all of the window (its frame too)
    // is on the work area, so its title bar can be reached.
    EXPECT_TRUE(WorkArea().contains(f.frameGeometry()))
        << f.frameGeometry().x() << "," << f.frameGeometry().y() << " " << f.frameGeometry().width() << "x"
        << f.frameGeometry().height();
    const QMargins frame = f.windowHandle()->frameMargins();
    EXPECT_EQ(f.geometry(), WorkArea().marginsRemoved(frame));
}

TEST_F(FrameTest, DropDownsAreNotLitAfterAChoice)
{
    TFrameFrm& f = Start();
    Settle();
    for (QToolButton* button : {f.HTMLToolbar()->FontBtn(), f.HTMLToolbar()->TextBackColorBtn()}) {
        const QImage before = button->grab().toImage();
        QMenu* menu = button->defaultAction()->menu();
        // The pointer comes over the button, which opens its menu; a choice
        // closes it with the pointer over the menu, away from the button.
        QTest::mouseMove(button);
        Pump(50);
        QTimer::singleShot(200, menu, [menu] {
            QTest::mouseMove(menu, menu->actionGeometry(menu->actions().at(1)).center());
            menu->actions().at(1)->trigger();
            menu->hide();
        });
        QTest::mouseClick(button, Qt::LeftButton);
        QTest::mouseMove(f.StatusLabel());
        Pump(100);
        EXPECT_FALSE(button->underMouse()) << button->toolTip().toStdString();
        EXPECT_EQ(button->grab().toImage(), before) << button->toolTip().toStdString() << " is still lit";
    }
}

TEST_F(FrameTest, LargeButtonsGrowTheNumbersInTheSpinEdits)
{
    TFrameFrm& f = Start();
    f.ShowExperiment(kSample);
    Settle();
    QLineEdit* text = Sample()->SpeedSE->findChild<QLineEdit*>();
    ASSERT_NE(text, nullptr);
    const qreal normal = text->font().pointSizeF();
    const int normalHeight = QFontMetrics(text->font()).height();
    f.MenuToolbar()->Large1()->trigger();
    Settle();
    EXPECT_DOUBLE_EQ(text->font().pointSizeF(), normal * 1.5);
    EXPECT_GT(QFontMetrics(text->font()).height(), normalHeight * 4 / 3);
    f.MenuToolbar()->Large1()->trigger();
    Settle();
    EXPECT_DOUBLE_EQ(text->font().pointSizeF(), normal);
}

TEST_F(FrameTest, TheWebEngineKeepsQuietInTheTerminal)
{
    // The test program was prepared as the program prepares itself.
    EXPECT_FALSE(QLoggingCategory("qt.webenginecontext").isInfoEnabled()) << "start-up report";
    EXPECT_FALSE(QLoggingCategory("js").isInfoEnabled()) << "page consoles";
    EXPECT_FALSE(QLoggingCategory("js").isWarningEnabled());
    EXPECT_TRUE(qgetenv("QTWEBENGINE_CHROMIUM_FLAGS").contains("--log-level=3")) << "engine errors";
}

}  // namespace
}  // namespace brv
