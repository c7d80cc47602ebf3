// Toolbar items: the run buttons' shared handler, hint suppression and the
// scroll notification that may change the new position.
#include "runtime/ToolbarItems.h"

#include <QAction>
#include <QApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QScrollBar>
#include <QSpinBox>
#include <QToolBar>
#include <QToolTip>

#include <gtest/gtest.h>

namespace brv {
namespace {

TEST(ToolbarItems, RunButtonsShareOneHandlerThatKnowsTheSender)
{
    QToolBar toolbar;
    std::vector<QString> clicked;
    TRunButtons b = AddRunButtons(&toolbar, "Go", "Halt", "Again",
                                  [&](QAction* sender) { clicked.push_back(sender->objectName()); });
    EXPECT_TRUE(b.StartBtn->isEnabled());
    EXPECT_FALSE(b.StopBtn->isEnabled());
    EXPECT_FALSE(b.ResetBtn->isEnabled());
    b.SetEnabled(true, true, true);
    b.StopBtn->trigger();
    b.ResetBtn->trigger();
    b.StartBtn->trigger();
    EXPECT_EQ(clicked, (std::vector<QString>{"StopBtn", "ResetBtn", "StartBtn"}));
    EXPECT_EQ(b.StartBtn->property("imageIndex").toInt(), 7);
    EXPECT_EQ(b.StopBtn->property("imageIndex").toInt(), 6);
    EXPECT_EQ(b.ResetBtn->property("imageIndex").toInt(), 9);
}

// A tool tip hides only after a delay, so each probe gives the item a new
// hint and looks for that text.
bool ShowsHint(QWidget* w)
{
    static int probe = 0;
    w->setToolTip(QStringLiteral("hint %1").arg(++probe));
    QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), w->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(w, &help);
    return QToolTip::isVisible() && QToolTip::text() == w->toolTip();
}

TEST(ToolbarItems, HintsCanBeSuppressedForTheWholeToolbar)
{
    QToolBar toolbar;
    QSpinBox* spin = AddIntSpinEdit(&toolbar, "TemperatureSE", 0, 100, 20, "Set the temperature", " \u00BAC");
    toolbar.show();
    EXPECT_EQ(spin->suffix(), QStringLiteral(" \u00BAC"));
    EXPECT_TRUE(ShowsHint(spin));
    SetToolbarHintsShown(&toolbar, false);
    EXPECT_FALSE(ToolbarHintsShown(&toolbar));
    EXPECT_FALSE(ShowsHint(spin));
    SetToolbarHintsShown(&toolbar, true);
    EXPECT_TRUE(ShowsHint(spin));
}

TEST(ToolbarItems, ScrollHandlerMaySnapTheNewPosition)
{
    QScrollBar bar(Qt::Vertical);
    bar.setRange(0, 100);
    bar.setValue(50);
    std::vector<int> seen;
    OnScroll(&bar, [&](int& position, bool) {
        seen.push_back(position);
        if (position > 52)
            position = 52;  // a limit the bar may not pass
    });
    bar.triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(bar.value(), 51);
    bar.triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(bar.value(), 52);
    ASSERT_GE(seen.size(), 2u);
    EXPECT_EQ(seen[0], 51);
    EXPECT_EQ(seen[1], 61) << "the handler sees the asked position";
}

// Right, Up and Page Up move a horizontal bar (a time, a length) towards its
// maximum, as a pupil reading it left to right expects; a vertical bar's Down
// and Page Down move it down its track.
TEST(ToolbarItems, KeysMoveAScrollBarTheWayItsArrowsPoint)
{
    QWidget parent;
    const auto press = [](QScrollBar* bar, Qt::Key key) {
        QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(bar, &down);
        return bar->value();
    };
    QScrollBar* across = NewScrollBar(&parent, Qt::Horizontal, "TimeHsb", 0, 100, 50, 10, "Set the time");
    EXPECT_EQ(press(across, Qt::Key_Right), 51);
    EXPECT_EQ(press(across, Qt::Key_Left), 50);
    EXPECT_EQ(press(across, Qt::Key_PageUp), 60);
    EXPECT_EQ(press(across, Qt::Key_PageDown), 50);
    EXPECT_EQ(press(across, Qt::Key_Up), 51);
    QScrollBar* down = NewScrollBar(&parent, Qt::Vertical, "BallHsb", 0, 100, 50, 10, "Set the height");
    EXPECT_EQ(press(down, Qt::Key_Down), 51);
    EXPECT_EQ(press(down, Qt::Key_PageDown), 61);
}

TEST(ToolbarItems, ASpinEditWithArrowsOnlyStepsButTakesNoTyping)
{
    QToolBar toolbar;
    QSpinBox* spin = AddIntSpinEdit(&toolbar, "Mass", 0, 15, 10, "Set the mass of the gas");
    SetArrowsOnly(spin);
    toolbar.show();
    const auto key = [spin](int k, const QString& text = {}) {
        QKeyEvent down(QEvent::KeyPress, k, Qt::NoModifier, text);
        QApplication::sendEvent(spin, &down);
    };
    key(Qt::Key_Backspace);
    key(Qt::Key_7, QStringLiteral("7"));
    spin->interpretText();
    EXPECT_EQ(spin->value(), 10);
    key(Qt::Key_Up);
    EXPECT_EQ(spin->value(), 11);
    key(Qt::Key_Down);
    key(Qt::Key_Down);
    EXPECT_EQ(spin->value(), 9);
}

}  // namespace
}  // namespace brv
