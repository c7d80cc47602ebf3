// The step animation of a form's own window timer: the toolbar waits while
// the steps run, and the step routine decides when they end.
#include "runtime/StepAnimation.h"

#include <QTimer>
#include <QToolBar>
#include <QWidget>

#include <gtest/gtest.h>

namespace brv {
namespace {

TEST(StepAnimation, TheToolbarWaitsUntilTheLastStep)
{
    QWidget form;
    auto* toolbar = new QToolBar(&form);
    int steps = 0;
    TStepAnimation animation(&form, QStringLiteral("Timer1"), 300, [&] { return ++steps >= 3; });
    QTimer* timer = animation.Timer();
    EXPECT_EQ(timer->objectName(), QStringLiteral("Timer1"));
    EXPECT_EQ(timer->parent(), &form);
    EXPECT_EQ(timer->interval(), 300);
    EXPECT_FALSE(animation.Running()) << "created stopped";

    animation.Start(toolbar, 100);
    EXPECT_TRUE(animation.Running());
    EXPECT_EQ(timer->interval(), 100);
    EXPECT_FALSE(toolbar->isEnabled());
    animation.Tick();
    animation.Tick();
    EXPECT_TRUE(animation.Running());
    EXPECT_FALSE(toolbar->isEnabled()) << "two steps of three";
    animation.Tick();
    EXPECT_EQ(steps, 3);
    EXPECT_FALSE(animation.Running());
    EXPECT_TRUE(toolbar->isEnabled());
}

TEST(StepAnimation, TheTimersTicksTakeTheSteps)
{
    QWidget form;
    auto* toolbar = new QToolBar(&form);
    int steps = 0;
    TStepAnimation animation(&form, QStringLiteral("TrayTimer"), 16, [&] { return ++steps >= 2; });
    animation.Start(toolbar, 16);
    QMetaObject::invokeMethod(animation.Timer(), "timeout", Qt::DirectConnection);
    EXPECT_EQ(steps, 1);
    QMetaObject::invokeMethod(animation.Timer(), "timeout", Qt::DirectConnection);
    EXPECT_EQ(steps, 2);
    EXPECT_FALSE(animation.Running());
    EXPECT_TRUE(toolbar->isEnabled());
}

}  // namespace
}  // namespace brv
