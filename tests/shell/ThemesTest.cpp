// The visual themes of "Appearance": each restyles the whole program, the
// splitter included, each looks different, and the choice is saved.  The
// window is photographed in every theme (tests/pictures/frame-theme-*.png).
#include "shell/uThemes.h"

#include "experiments/ExperimentCatalogue.h"
#include "runtime/Catalogue.h"
#include "shell/FrameTestSupport.h"
#include "shell/uFrame.h"
#include "shell/uSettings.h"
#include "support/TestSupport.h"
#include "support/sample/SampleExperiment.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPalette>
#include <QSettings>
#include <QSplitter>
#include <QStatusBar>
#include <QToolButton>
#include <QWebEngineView>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <set>

namespace brv {
namespace {

using namespace frametest;

class ThemesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearSettings();
        ApplyTheme(DefaultThemeName());
    }
    void TearDown() override
    {
        ApplyTheme(DefaultThemeName());
        ClearSettings();
    }
};

TEST_F(ThemesTest, TheDefaultComesFirstAndAnUnknownNameGivesTheDefault)
{
    const QStringList names = ThemeNames();
    ASSERT_GE(names.size(), 6);
    EXPECT_EQ(names.front(), QStringLiteral("Office 2007 blue"));
    EXPECT_TRUE(names.contains(QStringLiteral("Office 2003")));
    EXPECT_EQ(ApplyTheme(QStringLiteral("Windows 95")), DefaultThemeName());
    EXPECT_EQ(CurrentThemeName(), DefaultThemeName());
    for (const QString& name : names)
        EXPECT_FALSE(ThemeCaption(name).isEmpty());
}

TEST_F(ThemesTest, EachThemeRestylesTheWholeWindowDifferently)
{
    TProgramFolder folder;
    folder.AddStartPage();
    folder.AddImage(QStringLiteral("HTML/Images/Splash.png"), SplashPicture(640, 420));
    PutSetting(QStringLiteral("position"), EncodePosition(QRect(0, 0, 1180, 720)));
    RegisterExperiments();
    const bool ball = TCatalogue::Instance().Find(1) != nullptr;
    if (!ball)
        test::RegisterSample(1, true);

    TFrameFrm frame(folder.Path());
    frame.ConfirmClose = [](QWidget*) { return true; };
    ShowAndWait(&frame);
    WaitFor([&frame] { return frame.EWB()->title() == QStringLiteral("index"); });
    frame.ShowExperiment(1);
    Pump(300);

    QWidget* handle = frame.Splitter->handle(1);
    const auto pixelAt = [&frame](const QImage& shot, QWidget* w) {
        return shot.pixel(w->mapTo(&frame, w->rect().center()));
    };
    std::set<QRgb> handles;
    std::set<QRgb> statusBars;
    std::set<QRgb> windows;
    for (QAction* item : frame.Theme1->actions()) {
        item->trigger();
        Pump(150);
        const QString name = item->data().toString();
        EXPECT_EQ(CurrentThemeName(), name);
        const QImage shot = frame.grab().toImage();
        test::SavePicture(shot, QStringLiteral("frame-theme-") + QString(name).replace(' ', '-'));
        handles.insert(pixelAt(shot, handle));
        statusBars.insert(
            shot.pixel(frame.StatusBar->mapTo(&frame, QPoint(frame.StatusBar->width() - 40, 6))));
        windows.insert(QApplication::palette().color(QPalette::Window).rgb());
    }
    // The menus wear the theme too: Appearance with its radio items.
    frame.Theme1->actions().at(0)->trigger();
    frame.Theme1->popup(frame.mapToGlobal(QPoint(40, 30)));
    Pump(150);
    test::SavePicture(frame.Theme1->grab().toImage(), QStringLiteral("menu-appearance"));
    frame.Theme1->hide();

    const std::size_t count = std::size_t(frame.Theme1->actions().size());
    EXPECT_EQ(handles.size(), count) << "the splitter follows the theme";
    EXPECT_EQ(statusBars.size(), count);
    EXPECT_EQ(windows.size(), count) << "the program's palette follows the theme";

    // The theme chosen last is saved as "Skin".
    frame.Theme1->actions().at(3)->trigger();
    ASSERT_TRUE(frame.close());
    std::unique_ptr<QSettings> store(NewSettingsStore());
    EXPECT_EQ(store->value(QStringLiteral("Skin")).toString(),
              frame.Theme1->actions().at(3)->data().toString());
    if (!ball)
        TCatalogue::Instance().Unregister(1);
}

TEST_F(ThemesTest, AppearanceMenuChecksTheThemeInForce)
{
    TProgramFolder folder;
    TFrameFrm frame(folder.Path());
    ApplyTheme(QStringLiteral("High contrast"));
    emit frame.Theme1->aboutToShow();
    for (QAction* item : frame.Theme1->actions())
        EXPECT_EQ(item->isChecked(), item->data().toString() == QStringLiteral("High contrast"));
}

TEST_F(ThemesTest, TheLessonToolbarPicturesStandOutInEveryTheme)
{
    TProgramFolder folder;
    TFrameFrm frame(folder.Path());
    frame.ConfirmClose = [](QWidget*) { return true; };
    ShowAndWait(&frame);
    for (const QString& name : ThemeNames()) {
        frame.ThemeClick(name);
        Pump(30);
        for (QToolButton* button : {frame.FontBtn, frame.TextBackColorBtn}) {
            const QImage shot = button->grab().toImage();
            const int background = qGray(shot.pixel(1, shot.height() / 2));
            // Pixels that stand well apart from the bar behind the picture.
            int seen = 0;
            for (int y = 0; y < shot.height(); ++y)
                for (int x = 0; x < shot.width(); ++x)
                    seen += std::abs(qGray(shot.pixel(x, y)) - background) > 100 ? 1 : 0;
            EXPECT_GT(seen, 40) << name.toStdString() << " " << button->toolTip().toStdString();
        }
    }
}

}  // namespace
}  // namespace brv
