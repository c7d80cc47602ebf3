// The README's recipe for adding an experiment, walked through twice with
// throwaway ones: a beaker of water cooling, read on a thermometer as the
// pupil moves the time bar (a redrawn form), and a seedling that grows on
// the experiment's own clock while it runs (an animated form).  Each is
// written here as its unit would be — id, texts, form, row, traits — and
// nothing else in the program learns of it.  If a step of the recipe stops
// working, this is where it shows.
#include "apparatus/Rulers.h"
#include "apparatus/Thermometers.h"
#include "common/CadencerEx.h"
#include "experiments/ExperimentCatalogue.h"
#include "runtime/AddMaths.h"
#include "runtime/AnimatedForm.h"
#include "runtime/BRV_StrConstants.h"
#include "runtime/Catalogue.h"
#include "runtime/Image32.h"
#include "runtime/TimeScrubbedForm.h"
#include "runtime/ToolbarItems.h"
#include "runtime/UnitStrings.h"
#include "support/FormContract.h"

#include <QApplication>
#include <QLabel>
#include <QScrollBar>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace brv {

// The ids: unused by the lesson book.
namespace ids {
inline constexpr ExperimentId RecipeCooling = 13;
inline constexpr ExperimentId RecipeSeedling = 14;
}  // namespace ids

// The texts, each unit in its own translation context.
namespace str {
BRV_UNIT_STRING("uRecipeCooling", sRecipeCoolingCaption, "Cooling")
BRV_UNIT_STRING("uRecipeCooling", sRecipeCoolingStartLabel, "Starting temperature")
BRV_UNIT_STRING("uRecipeCooling", sRecipeCoolingStartHint, "Set the starting temperature")
BRV_UNIT_STRING("uRecipeCooling", sRecipeCoolingTimeHint, "Set the time")
BRV_UNIT_STRING("uRecipeCooling", sRecipeCoolingRoomLabel, "Room temperature")
BRV_UNIT_STRING("uRecipeCooling", sRecipeCoolingRoomHint, "Set the room's temperature")
BRV_UNIT_STRING("uRecipeSeedling", sRecipeSeedlingCaption, "Seedling growth")
BRV_UNIT_STRING("uRecipeSeedling", sRecipeSeedlingLightLabel, "Light")
BRV_UNIT_STRING("uRecipeSeedling", sRecipeSeedlingLightHint, "Set the light")
}  // namespace str

namespace {

// --- The redrawn experiment ----------------------------------------------------

// Step 1, the model: Newton's cooling, T(t) = room + (T0 − room) e^(−t/τ).
struct TCoolingModel {
    float RoomCelsius = 20;
    float StartCelsius = 80;
    float TimeConstantS = 300;
    float TemperatureAt(float seconds) const
    {
        return RoomCelsius + (StartCelsius - RoomCelsius) * std::exp(-seconds / TimeConstantS);
    }
};

// Step 2, the form, on the time-scrubbed kind.
class TRecipeCoolingFrm : public TTimeScrubbedForm {
public:
    TRecipeCoolingFrm()
    {
        CreateToolbar();
        QLabel* caption =
            AddToolbarLabel(toolbar_, str::sRecipeCoolingStartLabel(), QStringLiteral("StartLabel"));
        StartSE =
            AddIntSpinEdit(toolbar_, QStringLiteral("StartSE"), 30, 100, 80, str::sRecipeCoolingStartHint());
        RedrawOn(StartSE);
        // The room's temperature starts a new run: a beaker in another room.
        QLabel* roomCaption =
            AddToolbarLabel(toolbar_, str::sRecipeCoolingRoomLabel(), QStringLiteral("RoomLabel"));
        RoomSE = AddIntSpinEdit(toolbar_, QStringLiteral("RoomSE"), 0, 30, 20, str::sRecipeCoolingRoomHint());
        NewRunOn(RoomSE, [this] { Model.RoomCelsius = float(RoomSE->value()); });
        CreateTimeBar(0, 600, 0, 60, str::sRecipeCoolingTimeHint());
        CreatePic();
        LayOutPicture({}, {}, TimeHsb);
        SetLargeItems({{caption, 0, 0}, {StartSE, 48, 72}, {roomCaption, 0, 0}, {RoomSE, 48, 72}});
    }
    TCoolingModel Model;
    QSpinBox* StartSE = nullptr;
    QSpinBox* RoomSE = nullptr;
    int Redraws = 0;
    int NewRuns = 0;

protected:
    float ComputeScale(int width, int height) override
    {
        return scale::FromSmallerSide(width, height, 0.01f);
    }
    void Recompute() override { Model.StartCelsius = float(StartSE->value()); }
    void NewRun() override { ++NewRuns; }
    void DrawBackground(TBitmap32& b) override
    {
        ++Redraws;
        DrawThermometer(b, 20 * Scale_, 10 * Scale_, 6 * Scale_, 80 * Scale_,
                        Model.TemperatureAt(float(Time())));
    }
};

// Step 4, the row, declared by the unit; step 5, the traits for the
// contract suite.
const bool kCoolingRow = DeclareExperiment<TRecipeCoolingFrm>(
    {ids::RecipeCooling, TSubject::Physics, "COOLING.HTM", TPages::Family, str::sRecipeCoolingCaption});
const bool kCoolingContract = test::RegisterFormTraits([] {
    test::TFormTraits t;
    t.id = ids::RecipeCooling;
    t.name = "RecipeCooling";
    t.spins = {{"StartSE", 30, 100, 80, 48, 72}, {"RoomSE", 0, 30, 20, 48, 72}};
    return t;
}());

// --- The animated experiment ---------------------------------------------------

// Step 1, the model: a shoot growing at a rate set by the light, up to its
// full height, h(t) = min(full, rate × light × t).
struct TSeedlingModel {
    static constexpr float FullHeightCm = 12;
    static constexpr float CmPerSecondAtFullLight = 0.5f;
    float LightPercent = 50;
    float HeightCm = 0;
    // True once the shoot has reached its full height.
    bool Grow(double seconds)
    {
        HeightCm =
            std::min(FullHeightCm, HeightCm + CmPerSecondAtFullLight * LightPercent / 100 * float(seconds));
        return HeightCm >= FullHeightCm;
    }
};

// Step 2, the form, on the animated kind: the shoot is a layer that moves,
// the pot and the rule beside it the background.
class TRecipeSeedlingFrm : public TAnimatedForm {
public:
    TRecipeSeedlingFrm()
    {
        CreateRunToolbar(str::sStartHint(), str::sStopHint(), str::sResetHint());
        QLabel* caption =
            AddToolbarLabel(toolbar_, str::sRecipeSeedlingLightLabel(), QStringLiteral("LightLabel"));
        LightSE = AddIntSpinEdit(toolbar_, QStringLiteral("LightSE"), 10, 100, 50,
                                 str::sRecipeSeedlingLightHint(), QStringLiteral(" %"));
        SetLargeItems({{caption, 0, 0}, {LightSE, 64, 96}});
        CreatePic();
        LayOutPicture({});
        CreateClock(0.01);
        ShootLayer = &Pic_->AddLayer();
        ShootLayer->OnPaint = [this](TPositionedLayer&, TBitmap32& b) { PaintShoot(b); };
    }
    TSeedlingModel Model;
    QSpinBox* LightSE = nullptr;
    TPositionedLayer* ShootLayer = nullptr;
    int Steps = 0;

protected:
    float ComputeScale(int, int height) override { return scale::FromHeight(height, 1.0f / 20); }
    void PlaceLayers() override
    {
        ShootLayer->SetLocation(TFloatRect{10 * Scale_, 2 * Scale_, 11 * Scale_, 16 * Scale_});
    }
    void DrawBackground(TBitmap32& b) override
    {
        DrawVerticalRule(b, false, 4 * Scale_, 4 * Scale_, 2 * Scale_, TSeedlingModel::FullHeightCm * Scale_);
        b.FillRect(Round(8 * Scale_), Round(16 * Scale_), Round(13 * Scale_), Round(19 * Scale_), 0xFFA0522D);
    }
    bool StartRun() override
    {
        Model.LightPercent = float(LightSE->value());
        return true;
    }
    void ResetRun() override
    {
        Model.HeightCm = 0;
        ShootLayer->Changed();
    }
    void ClockProgress(double deltaTime) override
    {
        ++Steps;
        const bool grown = Model.Grow(deltaTime);
        ShootLayer->Changed();
        if (grown)
            Finish();
    }
    void StateChanged(TRunState state) override { LightSE->setEnabled(state == TRunState::Ready); }

private:
    void PaintShoot(TBitmap32& b)
    {
        const TFloatRect r = ShootLayer->Location();
        const float top = r.Bottom - Model.HeightCm * Scale_;
        b.FillRect(Round(r.Left), Round(top), Round(r.Right), Round(r.Bottom), 0xFF007F00);
    }
};

const bool kSeedlingRow = DeclareExperiment<TRecipeSeedlingFrm>(
    {ids::RecipeSeedling, TSubject::Biology, "SEEDLING.HTM", TPages::Family, str::sRecipeSeedlingCaption});
const bool kSeedlingContract = test::RegisterFormTraits([] {
    test::TFormTraits t;
    t.id = ids::RecipeSeedling;
    t.name = "RecipeSeedling";
    t.spins = {{"LightSE", 10, 100, 50, 64, 96}};
    t.runSeconds = 1;
    t.runMovesOnlyLayers = true;
    return t;
}());

// --- The walk ------------------------------------------------------------------

int MenuIndexOf(ExperimentId id)
{
    const auto menu = TCatalogue::Instance().MenuEntries();
    const auto it =
        std::find_if(menu.begin(), menu.end(), [id](const TCatalogueEntry* e) { return e->id == id; });
    return it == menu.end() ? -1 : int(it - menu.begin());
}

class ExperimentRecipe : public ::testing::TestWithParam<ExperimentId> {};

TEST_P(ExperimentRecipe, TheUnitsRowMakesTheExperimentReachable)
{
    RegisterExperiments();
    const TCatalogue& c = TCatalogue::Instance();
    const TCatalogueEntry* row = c.Find(GetParam());
    ASSERT_NE(row, nullptr);
    // The page router: the whole family leads to it.
    const QString stem = row->mainPage.chopped(4);
    for (const char* suffix : {".HTM", "-PLAN.HTM", "-HELP.HTM"}) {
        const TCatalogueEntry* e = c.FindByPage(stem + QLatin1String(suffix));
        ASSERT_NE(e, nullptr) << suffix;
        EXPECT_EQ(e->id, GetParam());
    }
    // The Experiments menu: in its subject, between the captions it falls
    // between alphabetically.
    const auto menu = c.MenuEntries();
    const int at = MenuIndexOf(GetParam());
    ASSERT_GT(at, 0);
    ASSERT_LT(at, int(menu.size()) - 1);
    EXPECT_LT(QString::compare(menu[at - 1]->menuCaption, row->menuCaption, Qt::CaseInsensitive), 0);
    EXPECT_GT(QString::compare(menu[at + 1]->menuCaption, row->menuCaption, Qt::CaseInsensitive), 0);
    // The host creates it from the row, once per call.
    std::unique_ptr<TExperimentForm> a(row->create());
    std::unique_ptr<TExperimentForm> b(row->create());
    ASSERT_NE(a, nullptr);
    EXPECT_NE(a.get(), b.get());
}

INSTANTIATE_TEST_SUITE_P(Throwaway, ExperimentRecipe,
                         ::testing::Values(ids::RecipeCooling, ids::RecipeSeedling),
                         [](const ::testing::TestParamInfo<ExperimentId>& info) {
                             return info.param == ids::RecipeCooling ? std::string("Redrawn")
                                                                     : std::string("Animated");
                         });

TEST(ExperimentRecipeMenu, SubjectsComeInTheirOrder)
{
    RegisterExperiments();
    // Biology before physics, whatever the captions.
    EXPECT_LT(MenuIndexOf(ids::RecipeSeedling), MenuIndexOf(ids::RecipeCooling));
}

TEST(ExperimentRecipeSteps, TheRedrawnFormRedrawsOnEveryChangeAndTheTimeBarReadsForward)
{
    TRecipeCoolingFrm form;
    form.setAttribute(Qt::WA_DontShowOnScreen);
    form.resize(400, 300);
    form.show();
    QApplication::processEvents();
    const int before = form.Redraws;
    ASSERT_GT(before, 0) << "drawn once it had a size";
    form.StartSE->setValue(90);
    EXPECT_EQ(form.Redraws, before + 1);
    EXPECT_EQ(form.Model.StartCelsius, 90.0f);

    form.TimeHsb->setFocus();
    QTest::keyPress(form.TimeHsb, Qt::Key_PageUp);  // back from 0: nowhere
    QTest::keyRelease(form.TimeHsb, Qt::Key_PageUp);
    QTest::keyPress(form.TimeHsb, Qt::Key_PageDown);
    EXPECT_EQ(form.Time(), 60);
    EXPECT_TRUE(form.TimeForward());
    QTest::keyRelease(form.TimeHsb, Qt::Key_PageDown);
    EXPECT_FALSE(form.TimeForward());
    EXPECT_NEAR(form.Model.TemperatureAt(float(form.Time())), 20 + 70 * std::exp(-0.2f), 1e-4);

    // A setting that starts a new run: the form's NewRun, then time 0,
    // drawn once, with no sign of time moving forward.
    QTest::keyPress(form.TimeHsb, Qt::Key_PageDown);
    ASSERT_TRUE(form.TimeForward());
    const int redraws = form.Redraws;
    form.RoomSE->setValue(10);
    EXPECT_EQ(form.NewRuns, 1);
    EXPECT_EQ(form.Model.RoomCelsius, 10.0f);
    EXPECT_EQ(form.Time(), 0);
    EXPECT_EQ(form.TimeHsb->value(), 0);
    EXPECT_FALSE(form.TimeForward());
    EXPECT_EQ(form.Redraws, redraws + 1);
}

// The animated form as the host makes it: the catalogue's factory leaves it
// Ready, with the buttons of that state, without the form saying so.
class ExperimentRecipeClock : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterExperiments();
        TNGLCadencer::SetPerformanceCounterSource([this] { return now; });
        form.reset(
            dynamic_cast<TRecipeSeedlingFrm*>(TCatalogue::Instance().Find(ids::RecipeSeedling)->create()));
        ASSERT_NE(form, nullptr);
        form->setAttribute(Qt::WA_DontShowOnScreen);
        form->resize(400, 300);
        form->show();
        QApplication::processEvents();
    }
    void TearDown() override
    {
        form.reset();
        TNGLCadencer::SetPerformanceCounterSource({});
    }
    void Advance(double seconds)
    {
        for (const double end = now + seconds; now < end - 1e-9;) {
            now += 1.0 / 60;
            form->Clock->Progress();
        }
    }
    bool Enabled(QAction* a) const { return a->isEnabled(); }

    double now = 0;
    std::unique_ptr<TRecipeSeedlingFrm> form;
};

TEST_F(ExperimentRecipeClock, TheFactoryLeavesTheFormReady)
{
    EXPECT_EQ(form->State(), TRunState::Ready);
    EXPECT_TRUE(Enabled(form->Buttons.StartBtn));
    EXPECT_FALSE(Enabled(form->Buttons.StopBtn));
    EXPECT_FALSE(Enabled(form->Buttons.ResetBtn));
    EXPECT_TRUE(form->LightSE->isEnabled()) << "StateChanged(Ready) ran for the form's own controls";
    EXPECT_FALSE(form->Clock->Enabled());
}

TEST_F(ExperimentRecipeClock, TheClockRunsTheModelUntilItFinishesAndResetStartsAgain)
{
    form->LightSE->setValue(100);
    form->Buttons.StartBtn->trigger();
    EXPECT_EQ(form->State(), TRunState::Running);
    EXPECT_FALSE(form->LightSE->isEnabled());
    Advance(1);
    EXPECT_NEAR(form->Model.HeightCm, 0.5f, 0.02f);
    EXPECT_GE(form->Steps, 99) << "fixed steps of 10 ms";
    // Full height at 24 s under full light: the run ends by itself.
    Advance(30);
    EXPECT_EQ(form->State(), TRunState::Finished);
    EXPECT_EQ(form->Model.HeightCm, TSeedlingModel::FullHeightCm);
    EXPECT_FALSE(Enabled(form->Buttons.StartBtn));
    EXPECT_TRUE(Enabled(form->Buttons.ResetBtn));
    const int steps = form->Steps;
    Advance(1);
    EXPECT_EQ(form->Steps, steps) << "a finished run's clock is stopped";

    form->Buttons.ResetBtn->trigger();
    EXPECT_EQ(form->State(), TRunState::Ready);
    EXPECT_EQ(form->Model.HeightCm, 0.0f);
    EXPECT_TRUE(form->LightSE->isEnabled());
}

}  // namespace
}  // namespace brv
