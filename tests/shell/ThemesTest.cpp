// The visual themes of "Appearance": each restyles the whole program, the
// splitter included, each looks different, and the choice is saved.  The
// window is photographed in every theme (tests/pictures/frame-theme-*.png).
#include "shell/uLessonToolbar.h"
#include "shell/uMenuToolbar.h"
#include "shell/uThemes.h"

#include "experiments/ExperimentCatalogue.h"
#include "experiments/physics/uFriction.h"
#include "runtime/Catalogue.h"
#include "shell/FrameTestSupport.h"
#include "shell/uFrame.h"
#include "shell/uSettings.h"
#include "support/TestSupport.h"
#include "support/sample/SampleExperiment.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QPalette>
#include <QScreen>
#include <QSettings>
#include <QSplitter>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>
#include <QWebEngineView>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
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

    QWidget* handle = frame.Splitter()->handle(1);
    const auto pixelAt = [&frame](const QImage& shot, QWidget* w) {
        return shot.pixel(w->mapTo(&frame, w->rect().center()));
    };
    std::set<QRgb> handles;
    std::set<QRgb> statusBars;
    std::set<QRgb> windows;
    for (QAction* item : frame.MenuToolbar()->Theme1()->actions()) {
        item->trigger();
        Pump(150);
        const QString name = item->data().toString();
        EXPECT_EQ(CurrentThemeName(), name);
        const QImage shot = frame.grab().toImage();
        test::SavePicture(shot, QStringLiteral("frame-theme-") + QString(name).replace(' ', '-'));
        handles.insert(pixelAt(shot, handle));
        statusBars.insert(
            shot.pixel(frame.StatusBar()->mapTo(&frame, QPoint(frame.StatusBar()->width() - 40, 6))));
        windows.insert(QApplication::palette().color(QPalette::Window).rgb());
    }
    // The menus wear the theme too: Appearance with its radio items.
    frame.MenuToolbar()->Theme1()->actions().at(0)->trigger();
    frame.MenuToolbar()->Theme1()->popup(frame.mapToGlobal(QPoint(40, 30)));
    Pump(150);
    test::SavePicture(frame.MenuToolbar()->Theme1()->grab().toImage(), QStringLiteral("menu-appearance"));
    frame.MenuToolbar()->Theme1()->hide();

    const std::size_t count = std::size_t(frame.MenuToolbar()->Theme1()->actions().size());
    EXPECT_EQ(handles.size(), count) << "the splitter follows the theme";
    EXPECT_EQ(statusBars.size(), count);
    EXPECT_EQ(windows.size(), count) << "the program's palette follows the theme";

    // The theme chosen last is saved as "Skin".
    frame.MenuToolbar()->Theme1()->actions().at(3)->trigger();
    ASSERT_TRUE(frame.close());
    std::unique_ptr<QSettings> store(NewSettingsStore());
    EXPECT_EQ(store->value(QStringLiteral("Skin")).toString(),
              frame.MenuToolbar()->Theme1()->actions().at(3)->data().toString());
    if (!ball)
        TCatalogue::Instance().Unregister(1);
}

TEST_F(ThemesTest, AppearanceMenuChecksTheThemeInForce)
{
    TProgramFolder folder;
    TFrameFrm frame(folder.Path());
    ApplyTheme(QStringLiteral("High contrast"));
    emit frame.MenuToolbar()->Theme1()->aboutToShow();
    for (QAction* item : frame.MenuToolbar()->Theme1()->actions())
        EXPECT_EQ(item->isChecked(), item->data().toString() == QStringLiteral("High contrast"));
}

// The pictures of the text size and text colour buttons stand apart from the
// bar behind them, read from the window's own picture of the button: a
// button's picture taken alone leaves out the bar, and under a window
// manager (the window active) comes with a pressed look the screen never shows.
TEST_F(ThemesTest, TheLessonToolbarPicturesStandOutInEveryTheme)
{
    TProgramFolder folder;
    TFrameFrm frame(folder.Path());
    frame.ConfirmClose = [](QWidget*) { return true; };
    ShowAndWait(&frame);
    for (const QString& name : ThemeNames()) {
        frame.ThemeClick(name);
        Pump(30);
        for (QToolButton* button :
             {frame.HTMLToolbar()->FontBtn(), frame.HTMLToolbar()->TextBackColorBtn()}) {
            const QImage shot = frame.grab(QRect(button->mapTo(&frame, QPoint()), button->size()))
                                    .toImage()
                                    .convertToFormat(QImage::Format_RGB32);
            // The bar shows in the button's rightmost column; the columns of
            // the drop-down arrow's room beside it are left out.
            const int pictureRight = shot.width() - 11;
            int seen = 0;
            for (int y = 0; y < shot.height(); ++y) {
                const int bar = qGray(shot.pixel(shot.width() - 1, y));
                for (int x = 0; x < pictureRight; ++x)
                    seen += std::abs(qGray(shot.pixel(x, y)) - bar) > 100 ? 1 : 0;
            }
            EXPECT_GT(seen, 40) << name.toStdString() << " " << button->toolTip().toStdString();
        }
    }
}

// A drop-down button's arrow as it reached the screen.
struct TArrowReading {
    int marks = 0;      // its pixels, those well apart from the bar behind it
    int width = 0;      // its columns
    int gap = 0;        // clear columns between it and the picture on its left
    int rowOffset = 0;  // its middle row below the button's middle row
    bool narrowsDownwards = false;
};

// The bar behind a button shows in its rightmost column, which no theme
// draws on; a pixel whose colour differs from that column's in the same row
// by at least this much (in any channel) is drawn.
constexpr int kClearlyApart = 64;

bool Drawn(QRgb pixel, QRgb bar)
{
    return std::max({std::abs(qRed(pixel) - qRed(bar)), std::abs(qGreen(pixel) - qGreen(bar)),
                     std::abs(qBlue(pixel) - qBlue(bar))}) >= kClearlyApart;
}

// Walks the shot of a button from its right edge: the margin, then the arrow
// (a run of drawn columns), then the clear gap up to the picture.
TArrowReading ReadArrow(const QImage& shot)
{
    const int w = shot.width();
    const int h = shot.height();
    std::vector<int> rowFirst(std::size_t(h), w);
    std::vector<int> rowLast(std::size_t(h), -1);
    const auto drawnInColumn = [&](int x) {
        int n = 0;
        for (int y = 0; y < h; ++y)
            n += Drawn(shot.pixel(x, y), shot.pixel(w - 1, y)) ? 1 : 0;
        return n;
    };
    TArrowReading r;
    int x = w - 1;
    while (x >= 0 && drawnInColumn(x) == 0)
        --x;
    const int right = x;
    for (; x >= 0; --x) {
        const int n = drawnInColumn(x);
        if (n == 0)
            break;
        r.marks += n;
        for (int y = 0; y < h; ++y) {
            if (Drawn(shot.pixel(x, y), shot.pixel(w - 1, y))) {
                rowFirst[std::size_t(y)] = std::min(rowFirst[std::size_t(y)], x);
                rowLast[std::size_t(y)] = std::max(rowLast[std::size_t(y)], x);
            }
        }
    }
    r.width = right - x;
    while (x >= 0 && drawnInColumn(x) == 0) {
        ++r.gap;
        --x;
    }
    if (x < 0)
        r.gap = 0;  // nothing on its left: that run was the picture
    int top = -1;
    int bottom = -1;
    for (int y = 0; y < h; ++y) {
        if (rowLast[std::size_t(y)] >= 0) {
            top = top < 0 ? y : top;
            bottom = y;
        }
    }
    if (top >= 0) {
        r.rowOffset = (top + bottom) / 2 - h / 2;
        const auto span = [&](int y) { return rowLast[std::size_t(y)] - rowFirst[std::size_t(y)] + 1; };
        r.narrowsDownwards = bottom > top && span(top) > span(bottom);
    }
    return r;
}

QImage OnScreen(QWidget& window, QWidget* part)
{
    return window.screen()
        ->grabWindow(window.winId())
        .toImage()
        .convertToFormat(QImage::Format_RGB32)
        .copy(QRect(part->mapTo(&window, QPoint()), part->size()));
}

// Every drop-down button of the window: the lesson toolbar's text size,
// text colour and index options, and the friction experiment's surfaces.
// Each arrow stands beside its picture, away from its corner, in every
// theme and at both button sizes.
TEST_F(ThemesTest, EveryDropDownShowsItsArrowBesideThePictureInEveryTheme)
{
    TProgramFolder folder;
    RegisterExperiments();
    TFrameFrm frame(folder.Path());
    frame.ConfirmClose = [](QWidget*) { return true; };
    ShowAndWait(&frame);
    frame.ShowExperiment(ids::Friction);
    // Neither the pointer nor the focus mark on a drop-down (the first of
    // them takes the focus when the window becomes active).
    QCursor::setPos(frame.mapToGlobal(frame.rect().center()));
    frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    frame.NormalSplitBtn()->setFocus();
    ASSERT_TRUE(WaitFor([&frame] { return QApplication::focusWidget() == frame.NormalSplitBtn(); }));

    QList<QToolButton*> dropDowns;
    for (QToolButton* button : frame.findChildren<QToolButton*>()) {
        const bool hasMenu =
            button->menu() != nullptr || (button->defaultAction() && button->defaultAction()->menu());
        if (hasMenu && button->isVisible())
            dropDowns << button;
    }
    ASSERT_EQ(dropDowns.size(), 4);

    QString table = QStringLiteral("%1 pixels columns gap offset\n").arg(QStringLiteral("button"), -60);
    for (const bool large : {false, true}) {
        if (frame.MenuToolbar()->Large1()->isChecked() != large)
            frame.MenuToolbar()->Large1()->trigger();
        for (const QString& theme : ThemeNames()) {
            frame.ThemeClick(theme);
            for (QToolButton* button : dropDowns) {
                const QString what = theme + (large ? " large " : " small ") + button->toolTip();
                // The window repaints in its own time after a change of
                // theme: the screen shows the button as the window draws it now.
                QImage shot;
                EXPECT_TRUE(WaitFor(
                    [&] {
                        shot = OnScreen(frame, button);
                        const QRect place(button->mapTo(&frame, QPoint()), button->size());
                        return shot == frame.grab(place).toImage().convertToFormat(QImage::Format_RGB32);
                    },
                    5000))
                    << what.toStdString() << ": the screen never showed the button's new look";
                const TArrowReading arrow = ReadArrow(shot);
                EXPECT_TRUE(arrow.marks >= 6 && arrow.width >= 4 && arrow.width <= 11 && arrow.gap >= 2 &&
                            std::abs(arrow.rowOffset) <= button->height() / 6 && arrow.narrowsDownwards)
                    << what.toStdString() << ": " << arrow.marks << " pixels in " << arrow.width
                    << " columns, " << arrow.gap << " clear columns before it, middle " << arrow.rowOffset
                    << " rows below the button's, narrowing downwards " << arrow.narrowsDownwards;
                table += QStringLiteral("%1 %2 %3 %4 %5\n")
                             .arg(what, -60)
                             .arg(arrow.marks, 6)
                             .arg(arrow.width, 7)
                             .arg(arrow.gap, 4)
                             .arg(arrow.rowOffset, 7);
                if (button == frame.HTMLToolbar()->FontBtn()) {
                    test::SavePicture(shot.scaled(shot.size() * 4), QStringLiteral("dropdown-") +
                                                                        (large ? "large-" : "small-") +
                                                                        QString(theme).replace(' ', '-'));
                }
            }
        }
    }
    std::printf("%s", qPrintable(table));
}

}  // namespace
}  // namespace brv
