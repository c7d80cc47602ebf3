// Toolbar items: the run buttons' shared handler, hint suppression and the
// scroll notification that may change the new position.
#include "runtime/ToolbarItems.h"

#include <QAction>
#include <QApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLineEdit>
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

// A horizontal bar (a time bar) moves the way its arrow keys point, the end
// of the key press ends the scroll, and Page Down pages right as on any
// desktop.
TEST(ToolbarItems, ArrowKeysMoveAHorizontalBarTheWayTheyPoint)
{
    QScrollBar* bar = NewScrollBar(nullptr, Qt::Horizontal, QStringLiteral("TimeHsb"), 0, 600, 10, 60,
                                   QStringLiteral("Set the time"));
    std::unique_ptr<QScrollBar> owner(bar);
    std::vector<std::pair<int, bool>> seen;
    OnScroll(bar, [&](int& position, bool end) { seen.emplace_back(position, end); });
    const auto key = [bar](QEvent::Type type, int k) {
        QKeyEvent e(type, k, Qt::NoModifier);
        QApplication::sendEvent(bar, &e);
    };
    key(QEvent::KeyPress, Qt::Key_Right);
    EXPECT_EQ(bar->value(), 11);
    key(QEvent::KeyRelease, Qt::Key_Right);
    key(QEvent::KeyPress, Qt::Key_Left);
    key(QEvent::KeyPress, Qt::Key_Left);
    EXPECT_EQ(bar->value(), 9);
    key(QEvent::KeyRelease, Qt::Key_Left);
    key(QEvent::KeyPress, Qt::Key_PageDown);
    EXPECT_EQ(bar->value(), 69);
    const std::vector<std::pair<int, bool>> expected{{11, false}, {11, true}, {10, false},
                                                     {9, false},  {9, true},  {69, false}};
    EXPECT_EQ(seen, expected);
}

// A spin edit set by its arrows only: typing changes nothing, the keys and
// steps still do.
TEST(ToolbarItems, ArrowsOnlySpinEditIgnoresTyping)
{
    QToolBar toolbar;
    QSpinBox* spin = AddIntSpinEdit(&toolbar, QStringLiteral("TempSE"), 0, 80, 20, QStringLiteral("hint"));
    SetArrowsOnly(spin);
    const auto key = [spin](int k) {
        QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier,
                        k == Qt::Key_7 ? QStringLiteral("7") : QString());
        QApplication::sendEvent(spin, &press);
        QKeyEvent release(QEvent::KeyRelease, k, Qt::NoModifier);
        QApplication::sendEvent(spin, &release);
    };
    key(Qt::Key_Backspace);
    key(Qt::Key_7);
    EXPECT_EQ(spin->value(), 20);
    EXPECT_EQ(spin->findChild<QLineEdit*>()->text(), QStringLiteral("20"));
    key(Qt::Key_Up);
    EXPECT_EQ(spin->value(), 21);
    key(Qt::Key_PageUp);
    EXPECT_EQ(spin->value(), 31);
}

}  // namespace
}  // namespace brv
