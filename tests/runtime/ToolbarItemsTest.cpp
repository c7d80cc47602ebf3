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

#include <memory>
#include <utility>
#include <vector>

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

// The keys move a bar the way its arrows on screen point: Right and End
// towards the right end of a horizontal bar, Down and End towards the bottom
// of a vertical one; a page key moves a page.
TEST(ToolbarItems, ScrollBarKeysMoveAsTheArrowsPoint)
{
    struct Case {
        Qt::Orientation orientation;
        int key;
        int expected;
    };
    for (const Case& c : {Case{Qt::Horizontal, Qt::Key_Right, 301}, Case{Qt::Horizontal, Qt::Key_Left, 299},
                          Case{Qt::Horizontal, Qt::Key_PageDown, 360},
                          Case{Qt::Horizontal, Qt::Key_PageUp, 240}, Case{Qt::Horizontal, Qt::Key_End, 600},
                          Case{Qt::Vertical, Qt::Key_Down, 301}, Case{Qt::Vertical, Qt::Key_Up, 299},
                          Case{Qt::Vertical, Qt::Key_PageDown, 360}, Case{Qt::Vertical, Qt::Key_Home, 0}}) {
        QWidget parent;
        QScrollBar* bar = NewScrollBar(&parent, c.orientation, QStringLiteral("Bar"), 0, 600, 300, 60, {});
        std::vector<int> seen;
        OnScroll(bar, [&](int& position, bool endOfScroll) {
            if (!endOfScroll)
                seen.push_back(position);
        });
        QKeyEvent press(QEvent::KeyPress, c.key, Qt::NoModifier);
        QApplication::sendEvent(bar, &press);
        EXPECT_EQ(bar->value(), c.expected) << c.orientation << " key " << std::hex << c.key;
        EXPECT_EQ(seen, std::vector<int>{c.expected}) << "notified once";
    }
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
