// The whole window without a mouse, on the fixture lesson book and the real
// bouncing ball: Tab visits every control once, pane by pane, and each has a
// name a screen reader can say; F6 moves between the panes and toolbars; the
// run keys work from anywhere, the lesson pane included; the control with the
// focus is marked in every theme.
#include "experiments/ExperimentCatalogue.h"
#include "runtime/ExperimentForm.h"
#include "runtime/ExperimentHost.h"
#include "shell/FrameTestSupport.h"
#include "shell/uFrame.h"
#include "shell/uLessonPane.h"
#include "shell/uLessonToolbar.h"
#include "shell/uMenuToolbar.h"
#include "shell/uThemes.h"
#include "support/TestSupport.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QScrollBar>
#include <QSpinBox>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace brv {
namespace {

using namespace frametest;

constexpr ExperimentId kBall = 1;

QString Book()
{
    return QDir(test::DataPath(QStringLiteral("lesson"))).absolutePath();
}

bool Near(QColor a, QColor b, int tolerance)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

// The name a screen reader says for the control w belongs to: a spin edit's
// text field and the browser's engine pass their focus on from the control.
QString NameOf(QWidget* w)
{
    while (w->parentWidget() != nullptr && w->parentWidget()->focusProxy() == w)
        w = w->parentWidget();
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(w);
    return accessible != nullptr ? accessible->text(QAccessible::Name) : QString();
}

class KeyboardTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearSettings();
        RegisterExperiments();
        ApplyTheme(DefaultThemeName());
    }

    void TearDown() override
    {
        frame.reset();
        FlushDeferredDeletes();
        ApplyTheme(DefaultThemeName());
        ClearSettings();
    }

    // The window with the bouncing ball and its main page open.
    TFrameFrm& StartWithBall()
    {
        frame = std::make_unique<TFrameFrm>(Book());
        frame->ConfirmClose = [](QWidget*) { return true; };
        frame->ShowError = [](const QString&) {};
        ShowAndWait(frame.get());
        frame->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(frame.get()));
        for (QAction* item : frame->MenuToolbar()->ExperimentItems())
            if (item->data().toInt() == kBall)
                item->trigger();
        EXPECT_TRUE(WaitFor([this] {
            return frame->EWB()->url().fileName() == QStringLiteral("BALL.HTM") &&
                   !frame->EWB()->page()->isLoading() && frame->EWBPanel()->HasDocument();
        }));
        Pump(100);
        return *frame;
    }

    QToolBar* BallToolbar() const { return frame->Host().CurrentForm()->Toolbar(); }
    QAction* BallAction(const char* name) const { return BallToolbar()->findChild<QAction*>(name); }

    // The widget that has the focus, with the lesson pane's engine reported
    // as the pane's browser.
    QWidget* Focused() const
    {
        QWidget* w = QApplication::focusWidget();
        if (w != nullptr && frame->EWB()->isAncestorOf(w))
            return frame->EWB();
        return w;
    }

    // Presses key on the focused control and waits for the focus to move (the
    // engine moves it between its links and out of the page in its own time).
    void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, int waitMs = 400)
    {
        QWidget* before = QApplication::focusWidget();
        ASSERT_NE(before, nullptr) << "nothing has the focus";
        QTest::keyClick(before, key, modifiers);
        WaitFor([before] { return QApplication::focusWidget() != before; }, waitMs);
    }

    std::unique_ptr<TFrameFrm> frame;
};

TEST_F(KeyboardTest, TabVisitsEveryControlOncePaneByPaneAndEachHasAName)
{
    TFrameFrm& f = StartWithBall();
    const QList<QWidget*> stops = f.Keyboard().TabStops();
    // The ball's run buttons and settings, its drop-height bar, the lesson
    // toolbar, the lesson page and the split buttons at least.
    ASSERT_GE(stops.size(), 10);
    EXPECT_TRUE(stops.contains(BallToolbar()->widgetForAction(BallAction("StartBtn"))));
    EXPECT_TRUE(stops.contains(f.HTMLToolbar()->widgetForAction(f.HTMLToolbar()->BackBtn())) ==
                f.HTMLToolbar()->BackBtn()->isEnabled());
    EXPECT_TRUE(stops.contains(f.HTMLToolbar()->FontBtn()));
    EXPECT_TRUE(stops.contains(f.MaxRightBtn()));
    EXPECT_TRUE(
        std::any_of(stops.begin(), stops.end(), [&f](QWidget* w) { return f.EWB()->isAncestorOf(w); }));

    stops.front()->setFocus(Qt::TabFocusReason);
    ASSERT_EQ(QApplication::focusWidget(), stops.front());
    QList<QWidget*> visited;
    int pressesInPage = 0;
    for (int press = 0; press < 120; ++press) {
        QWidget* now = Focused();
        if (visited.isEmpty() || visited.back() != now) {
            if (!visited.isEmpty() && now == visited.front())
                break;
            visited.push_back(now);
        } else if (now == f.EWB()) {
            ++pressesInPage;
        }
        Press(Qt::Key_Tab, Qt::NoModifier, now == f.EWB() ? 1500 : 300);
    }
    EXPECT_LT(pressesInPage, 20) << "Tab is kept inside the lesson page";
    ASSERT_FALSE(visited.isEmpty());
    EXPECT_EQ(Focused(), visited.front()) << "the walk does not come round to its start";

    QList<QWidget*> expected;
    for (QWidget* w : stops)
        expected.push_back(f.EWB()->isAncestorOf(w) ? f.EWB() : w);
    ASSERT_EQ(visited.size(), expected.size());
    for (qsizetype i = 0; i < visited.size(); ++i)
        EXPECT_EQ(visited[i], expected[i])
            << "stop " << i << ": " << visited[i]->objectName().toStdString() << " where "
            << expected[i]->objectName().toStdString() << " was expected";

    // Pane by pane: the ball's toolbar and picture, then the lesson toolbar,
    // the page and the split buttons.
    const auto indexOf = [&visited](QWidget* w) { return visited.indexOf(w); };
    const auto start = indexOf(BallToolbar()->widgetForAction(BallAction("StartBtn")));
    const auto font = indexOf(f.HTMLToolbar()->FontBtn());
    const auto page = indexOf(f.EWB());
    const auto split = indexOf(f.NormalSplitBtn());
    ASSERT_GE(start, 0);
    EXPECT_LT(start, font);
    EXPECT_LT(font, page);
    EXPECT_LT(page, split);
    for (QWidget* w : visited)
        if (f.LeftTW()->isAncestorOf(w)) {
            EXPECT_GT(indexOf(w), start);
            EXPECT_LT(indexOf(w), font);
        }

    for (QWidget* w : visited)
        EXPECT_FALSE(NameOf(w).trimmed().isEmpty())
            << "no name: " << w->metaObject()->className() << " " << w->objectName().toStdString();
}

TEST_F(KeyboardTest, ShiftTabWalksBackTheSameWay)
{
    TFrameFrm& f = StartWithBall();
    const QList<QWidget*> stops = f.Keyboard().TabStops();
    ASSERT_GE(stops.size(), 2);
    f.MaxLeftBtn()->setFocus(Qt::TabFocusReason);
    Press(Qt::Key_Backtab, Qt::ShiftModifier, 1500);
    // Back from the split buttons into the lesson page, then out of it again.
    EXPECT_EQ(Focused(), f.EWB());
    for (int press = 0; press < 20 && Focused() == f.EWB(); ++press)
        Press(Qt::Key_Backtab, Qt::ShiftModifier, 1500);
    EXPECT_TRUE(f.HTMLToolbar()->isAncestorOf(Focused())) << "Shift+Tab is kept inside the lesson page";
}

TEST_F(KeyboardTest, F6MovesBetweenThePanesAndToolbarsAndShiftF6Back)
{
    TFrameFrm& f = StartWithBall();
    using R = TKeyboardRegions::TRegion;
    f.NormalSplitBtn()->setFocus(Qt::TabFocusReason);
    const R forwards[] = {R::ExperimentToolbar, R::Experiment,       R::LessonToolbar, R::Lesson,
                          R::SplitButtons,      R::ExperimentToolbar};
    for (R expected : forwards) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6);
        ASSERT_TRUE(WaitFor([&f, expected] { return f.Keyboard().FocusRegion() == expected; }, 2000))
            << "F6 did not reach region " << int(expected);
    }
    const R backwards[] = {R::SplitButtons, R::Lesson, R::LessonToolbar, R::Experiment};
    for (R expected : backwards) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6, Qt::ShiftModifier);
        ASSERT_TRUE(WaitFor([&f, expected] { return f.Keyboard().FocusRegion() == expected; }, 2000))
            << "Shift+F6 did not reach region " << int(expected);
    }

    // A hidden pane is passed over.
    f.MaxLeftBtn()->click();
    Pump(50);
    f.NormalSplitBtn()->setFocus(Qt::TabFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6, Qt::ShiftModifier);
    EXPECT_EQ(f.Keyboard().FocusRegion(), R::Experiment) << "the hidden lesson pane took the focus";
}

TEST_F(KeyboardTest, RunKeysStartStopAndResetFromTheLessonPane)
{
    TFrameFrm& f = StartWithBall();
    QAction* start = BallAction("StartBtn");
    QAction* stop = BallAction("StopBtn");
    QAction* reset = BallAction("ResetBtn");
    ASSERT_NE(start, nullptr);
    EXPECT_EQ(start->shortcut(), QKeySequence(Qt::Key_F9));
    // None of them is a key the lesson page's browser has.
    for (QAction* a : {start, stop, reset})
        for (QWebEnginePage::WebAction web : {QWebEnginePage::Reload, QWebEnginePage::Back,
                                              QWebEnginePage::Forward, QWebEnginePage::SelectAll})
            EXPECT_NE(a->shortcut(), f.EWB()->pageAction(web)->shortcut()) << a->objectName().toStdString();
    EXPECT_NE(start->shortcut(), QKeySequence(QKeySequence::Refresh));

    f.EWB()->setFocus(Qt::OtherFocusReason);
    ASSERT_TRUE(
        WaitFor([&f] { return f.Keyboard().FocusRegion() == TKeyboardRegions::TRegion::Lesson; }, 2000));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F9);
    EXPECT_TRUE(WaitFor([stop] { return stop->isEnabled(); }, 2000)) << "F9 did not start the ball";
    EXPECT_FALSE(start->isEnabled());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F9, Qt::ShiftModifier);
    EXPECT_TRUE(WaitFor([stop] { return !stop->isEnabled(); }, 2000)) << "Shift+F9 did not stop it";
    EXPECT_TRUE(reset->isEnabled());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F9, Qt::ControlModifier);
    EXPECT_TRUE(WaitFor([start, reset] { return start->isEnabled() && !reset->isEnabled(); }, 2000))
        << "Ctrl+F9 did not reset it";

    // The run buttons themselves work from the keyboard.
    QWidget* startButton = BallToolbar()->widgetForAction(start);
    startButton->setFocus(Qt::TabFocusReason);
    ASSERT_EQ(QApplication::focusWidget(), startButton);
    QTest::keyClick(startButton, Qt::Key_Space);
    EXPECT_TRUE(WaitFor([stop] { return stop->isEnabled(); }, 2000)) << "Space on Start did nothing";
}

TEST_F(KeyboardTest, TheFocusedControlIsMarkedInEveryTheme)
{
    TFrameFrm& f = StartWithBall();
    QWidget* startButton = BallToolbar()->widgetForAction(BallAction("StartBtn"));
    QScrollBar* bar = f.LeftTW()->findChild<QScrollBar*>();
    for (const QString& theme : ThemeNames()) {
        f.ThemeClick(theme);
        for (QWidget* control :
             QList<QWidget*>{startButton, f.HTMLToolbar()->FontBtn(), f.MaxRightBtn(), bar}) {
            if (control == nullptr)
                continue;
            control->setFocus(Qt::TabFocusReason);
            const QColor mark = f.palette().color(QPalette::Highlight);
            const QRect r(control->mapTo(&f, QPoint()), control->size());
            // The ring is two pixels wide along all four edges; after a theme
            // change it shows once the restyled window has painted.
            int marked = 0;
            int edge = 0;
            const auto ringShows = [&] {
                const QImage shot = f.grab().toImage();
                marked = 0;
                edge = 0;
                for (int x = r.left() + 2; x < r.right() - 2; x += 2)
                    for (int y : {r.top(), r.bottom()}) {
                        ++edge;
                        marked += Near(shot.pixelColor(x, y), mark, 40) ? 1 : 0;
                    }
                for (int y = r.top() + 2; y < r.bottom() - 2; y += 2)
                    for (int x : {r.left(), r.right()}) {
                        ++edge;
                        marked += Near(shot.pixelColor(x, y), mark, 40) ? 1 : 0;
                    }
                return marked > edge * 9 / 10;
            };
            WaitFor(ringShows, 3000);
            EXPECT_GT(marked, edge * 9 / 10) << theme.toStdString() << " " << NameOf(control).toStdString();
            // Nothing marks a control without the focus.
            EXPECT_EQ(f.Keyboard().FocusMarkTarget(), control);
        }
    }
    f.HTMLToolbar()->FontBtn()->setFocus(Qt::TabFocusReason);
    Pump(60);
    test::SavePicture(f.grab().toImage(), QStringLiteral("focus-mark"));
}

}  // namespace
}  // namespace brv
