// The contract every experiment form of the catalogue keeps, run over each
// form that registered its traits (support/FormContract.h).
#include "experiments/ExperimentCatalogue.h"
#include "runtime/Catalogue.h"
#include "runtime/ExperimentForm.h"
#include "support/FormContract.h"
#include "support/FormHostTest.h"
#include "support/ScrollBarEvents.h"

#include "common/CadencerEx.h"
#include "runtime/AnimatedForm.h"
#include "runtime/Image32.h"
#include "runtime/TimeScrubbedForm.h"

#include <QAbstractScrollArea>
#include <QAccessible>
#include <QApplication>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QMainWindow>
#include <QScrollBar>
#include <QSpinBox>
#include <QTest>
#include <QToolBar>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <ostream>

namespace brv::test {

namespace {

std::vector<TFormTraits>& Registry()
{
    static std::vector<TFormTraits> traits;
    return traits;
}

}  // namespace

bool RegisterFormTraits(TFormTraits traits)
{
    Registry().push_back(std::move(traits));
    return true;
}

const std::vector<TFormTraits>& RegisteredFormTraits()
{
    return Registry();
}

void PrintTo(const TFormTraits& traits, std::ostream* out)
{
    *out << traits.name;
}

namespace {

TEST(FormContractSuite, CoversEveryFormOfTheCatalogue)
{
    RegisterExperiments();
    for (const TCatalogueEntry& entry : TCatalogue::Instance().Entries()) {
        if (!entry.HasForm())
            continue;
        const auto& all = RegisteredFormTraits();
        const bool covered =
            std::any_of(all.begin(), all.end(), [&](const TFormTraits& t) { return t.id == entry.id; });
        EXPECT_TRUE(covered) << "experiment " << entry.id << " has no traits for the contract suite";
    }
}

// One catalogue form, created as the host creates it, shown offscreen, its
// clock driven by hand.
class FormContract : public ::testing::TestWithParam<TFormTraits> {
protected:
    void SetUp() override
    {
        RegisterExperiments();
        TNGLCadencer::SetPerformanceCounterSource([this] { return now; });
        const TCatalogueEntry* entry = TCatalogue::Instance().Find(GetParam().id);
        ASSERT_NE(entry, nullptr);
        ASSERT_TRUE(entry->HasForm());
        form.reset(entry->create());
        ShowOffscreen(*form, GetParam().size);
    }
    void TearDown() override
    {
        form.reset();
        TNGLCadencer::SetPerformanceCounterSource({});
        SetScreenDpiOverride(0);
    }
    TAnimatedForm* Animated() { return dynamic_cast<TAnimatedForm*>(form.get()); }
    // Starts a run as a pupil would, after whatever the run needs first.
    bool StartRun()
    {
        TAnimatedForm* f = Animated();
        if (GetParam().beforeRun)
            GetParam().beforeRun(*form);
        if (!f->Buttons.StartBtn->isEnabled())
            return false;
        f->Buttons.StartBtn->trigger();
        return f->State() == TRunState::Running;
    }
    void Tick(double seconds = 1.0 / 60)
    {
        now += seconds;
        Animated()->Clock->Progress();
    }
    // The controls a pupil uses: toolbar items and the form's scroll bars.
    std::vector<QWidget*> Controls()
    {
        std::vector<QWidget*> controls;
        if (QToolBar* toolbar = form->Toolbar())
            for (QAction* a : toolbar->actions())
                if (QWidget* w = toolbar->widgetForAction(a);
                    w != nullptr && !a->isSeparator() && qobject_cast<QLabel*>(w) == nullptr)
                    controls.push_back(w);
        for (QScrollBar* bar : form->findChildren<QScrollBar*>())
            if (qobject_cast<QAbstractScrollArea*>(bar->parentWidget()->parentWidget()) == nullptr)
                controls.push_back(bar);
        return controls;
    }
    QImage Composed() { return ComposedPicture(*form->Pic()); }

    double now = 0;
    std::unique_ptr<TExperimentForm> form;
};

TEST_P(FormContract, HasAPictureAndAToolbarThatCannotBeClosed)
{
    ASSERT_NE(form->Pic(), nullptr);
    EXPECT_EQ(form->Pic()->objectName(), QStringLiteral("Pic"));
    EXPECT_FALSE(form->Pic()->Bitmap().Empty()) << "the picture has its size once shown";
    QToolBar* toolbar = form->Toolbar();
    if (toolbar == nullptr)
        return;  // a form with panels of its own
    EXPECT_NE(qobject_cast<TExperimentToolbar*>(toolbar), nullptr);
    QMainWindow window;
    window.addToolBar(Qt::BottomToolBarArea, toolbar);
    window.show();
    toolbar->close();
    EXPECT_EQ(window.toolBarArea(toolbar), Qt::BottomToolBarArea);
    EXPECT_FALSE(toolbar->isHidden());
    toolbar->setParent(form.get());
}

TEST_P(FormContract, SpinEditsHaveTheirRangesAndDefaults)
{
    for (const TSpinRange& expected : GetParam().spins) {
        SCOPED_TRACE(expected.name.toStdString());
        QObject* found = form->findChild<QObject*>(expected.name);
        if (found == nullptr && form->Toolbar() != nullptr)
            found = form->Toolbar()->findChild<QObject*>(expected.name);
        ASSERT_NE(found, nullptr);
        if (auto* spin = qobject_cast<QSpinBox*>(found)) {
            EXPECT_EQ(spin->minimum(), expected.min);
            EXPECT_EQ(spin->maximum(), expected.max);
            EXPECT_EQ(spin->value(), expected.value);
        } else if (auto* real = qobject_cast<QDoubleSpinBox*>(found)) {
            EXPECT_DOUBLE_EQ(real->minimum(), expected.min);
            EXPECT_DOUBLE_EQ(real->maximum(), expected.max);
            EXPECT_DOUBLE_EQ(real->value(), expected.value);
        } else {
            ADD_FAILURE() << "not a spin edit";
        }
    }
}

TEST_P(FormContract, EveryControlHasANameAScreenReaderCanSay)
{
    for (QWidget* control : Controls()) {
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(control);
        ASSERT_NE(a, nullptr);
        EXPECT_FALSE(a->text(QAccessible::Name).trimmed().isEmpty())
            << control->metaObject()->className() << " " << control->objectName().toStdString();
    }
}

TEST_P(FormContract, LargeButtonsWidenTheToolbarAndSmallOnesRestoreIt)
{
    QToolBar* toolbar = form->Toolbar();
    if (toolbar == nullptr)
        return;
    form->SetLargeButtons(true);
    EXPECT_TRUE(form->LargeApplied());
    const int largeWidth = toolbar->sizeHint().width();
    form->SetLargeButtons(false);
    const int smallWidth = toolbar->sizeHint().width();
    EXPECT_GT(largeWidth, smallWidth);
    // Toggled again, the toolbar comes back to the same two widths.
    form->SetLargeButtons(true);
    EXPECT_EQ(toolbar->sizeHint().width(), largeWidth);
    form->SetLargeButtons(false);
    EXPECT_EQ(toolbar->sizeHint().width(), smallWidth);
}

// Widths round(w × dpi / 96) with ties to even, fonts at the large percentage.
TEST_P(FormContract, LargeButtonsFollowTheTableAtTheScreensDpi)
{
    QToolBar* toolbar = form->Toolbar();
    if (toolbar == nullptr)
        return;
    SetScreenDpiOverride(120);
    const auto widthAt120 = [](int w) { return int(std::nearbyint(float(w) * 1.25f)); };
    const qreal smallFont = QApplication::font(toolbar).pointSizeF();
    form->SetLargeButtons(true);
    for (const TSpinRange& spin : GetParam().spins) {
        auto* item = toolbar->findChild<QWidget*>(spin.name);
        ASSERT_NE(item, nullptr) << spin.name.toStdString();
        if (spin.largeWidth > 0) {
            EXPECT_EQ(item->width(), widthAt120(spin.largeWidth)) << spin.name.toStdString();
        }
        const int large = spin.largeFontPercent > 0 ? spin.largeFontPercent : GetParam().largeFontPercent;
        EXPECT_NEAR(item->font().pointSizeF(), smallFont * large / 100.0, 0.01) << spin.name.toStdString();
    }
    for (auto* caption : toolbar->findChildren<QLabel*>())
        EXPECT_NEAR(caption->font().pointSizeF(), smallFont * GetParam().largeFontPercent / 100.0, 0.01)
            << caption->objectName().toStdString();
    form->SetLargeButtons(false);
    for (const TSpinRange& spin : GetParam().spins) {
        auto* item = toolbar->findChild<QWidget*>(spin.name);
        if (spin.smallWidth > 0) {
            EXPECT_EQ(item->width(), widthAt120(spin.smallWidth)) << spin.name.toStdString();
        }
        const int small = spin.smallFontPercent > 0 ? spin.smallFontPercent : 100;
        EXPECT_NEAR(item->font().pointSizeF(), smallFont * small / 100.0, 0.01) << spin.name.toStdString();
    }
}

TEST_P(FormContract, ScrollBarsMoveFromTheKeyboard)
{
    for (QScrollBar* bar : form->findChildren<QScrollBar*>()) {
        if (!bar->isEnabled() || !bar->isVisible())
            continue;
        SCOPED_TRACE(bar->objectName().toStdString());
        EXPECT_TRUE(bar->focusPolicy() & Qt::TabFocus);
        const int before = bar->value();
        const bool up = before == bar->maximum();
        const Qt::Key key = bar->orientation() == Qt::Horizontal ? (up ? Qt::Key_Left : Qt::Key_Right)
                                                                 : (up ? Qt::Key_Up : Qt::Key_Down);
        QTest::keyClick(bar, key);
        EXPECT_NE(bar->value(), before);
    }
}

TEST_P(FormContract, ARunStartsStopsAtOnceAndResets)
{
    TAnimatedForm* f = Animated();
    if (f == nullptr || GetParam().runSeconds <= 0)
        GTEST_SKIP() << "not a clock-driven form";
    ASSERT_TRUE(StartRun());
    const TButtonStates running{f->Buttons.StartBtn->isEnabled(), f->Buttons.StopBtn->isEnabled(),
                                f->Buttons.ResetBtn->isEnabled()};
    EXPECT_TRUE(running.stop) << "a run can be stopped";
    EXPECT_FALSE(running.start);
    Tick();
    Tick();
    f->Buttons.StopBtn->trigger();
    EXPECT_EQ(f->State(), TRunState::Paused);
    EXPECT_FALSE(f->Clock->Enabled());
    const QImage stopped = Composed();
    Tick(0.5);
    EXPECT_EQ(Composed(), stopped) << "nothing moves after Stop";
    if (f->Buttons.ResetBtn->isEnabled()) {
        f->Buttons.ResetBtn->trigger();
        EXPECT_EQ(f->State(), TRunState::Ready);
        EXPECT_TRUE(f->Buttons.StartBtn->isEnabled());
        EXPECT_FALSE(f->Buttons.StopBtn->isEnabled());
    }
}

TEST_P(FormContract, AResizeKeepsARunGoing)
{
    TAnimatedForm* f = Animated();
    if (f == nullptr || GetParam().runSeconds <= 0)
        GTEST_SKIP() << "not a clock-driven form";
    ASSERT_TRUE(StartRun());
    Tick();
    form->resize(GetParam().size / 2);
    QApplication::processEvents();
    EXPECT_EQ(f->State(), TRunState::Running);
    EXPECT_TRUE(f->Clock->Enabled());
    Tick();
    EXPECT_EQ(f->State(), TRunState::Running);
}

TEST_P(FormContract, ARunMovesOnlyLayersAndEveryRepaintShowsTheWholeChange)
{
    TAnimatedForm* f = Animated();
    if (f == nullptr || GetParam().runSeconds <= 0)
        GTEST_SKIP() << "not a clock-driven form";
    ASSERT_TRUE(StartRun());
    QApplication::processEvents();
    int backgroundChanges = 0;
    TBitmap32& background = f->Pic()->Bitmap();
    const int listener = background.AddChangeListener([&] { ++backgroundChanges; });
    for (double t = 0; t < GetParam().runSeconds && f->State() == TRunState::Running; t += 1.0 / 60) {
        Tick();
        // Paints wait for the screen's next frame; the test does not.
        f->Pic()->PaintNow();
        if (f->Pic()->Shown().Image() != Composed()) {
            ADD_FAILURE() << "stale picture after the tick at " << now << " s";
            break;
        }
    }
    background.RemoveChangeListener(listener);
    if (GetParam().runMovesOnlyLayers) {
        EXPECT_EQ(backgroundChanges, 0) << "the background was redrawn during the run";
    }
}

TEST_P(FormContract, TheTimeBarMovesForwardOnlyWhileThePupilMovesIt)
{
    auto* f = dynamic_cast<TTimeScrubbedForm*>(form.get());
    if (f == nullptr)
        GTEST_SKIP() << "not a time-scrubbed form";
    QScrollBar* bar = f->TimeHsb;
    ASSERT_NE(bar, nullptr);
    bar->setFocus();
    // A key held: forward while it is down, not once it is up.
    QTest::keyPress(bar, Qt::Key_Right);
    EXPECT_TRUE(f->TimeForward());
    EXPECT_EQ(f->Time(), bar->sliderPosition());
    QTest::keyRelease(bar, Qt::Key_Right);
    EXPECT_FALSE(f->TimeForward());
    // Back is never forward.
    QTest::keyClick(bar, Qt::Key_Left);
    EXPECT_FALSE(f->TimeForward());

    // A drag of the slider: forward while it moves right, not once let go.
    bar->setValue(bar->minimum());
    ASSERT_FALSE(SliderRect(bar).isEmpty());
    SliderDrag drag(bar);
    drag.MoveBy(bar->width() / 4);
    EXPECT_GT(f->Time(), bar->minimum());
    EXPECT_TRUE(f->TimeForward());
    const int dragged = f->Time();
    drag.Release();
    EXPECT_FALSE(f->TimeForward());
    EXPECT_EQ(f->Time(), dragged);
}

std::string CaseName(const ::testing::TestParamInfo<TFormTraits>& info)
{
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(Catalogue, FormContract, ::testing::ValuesIn(RegisteredFormTraits()), CaseName);

}  // namespace

}  // namespace brv::test
