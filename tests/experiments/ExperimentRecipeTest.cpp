// The README's recipe for adding an experiment, walked through once with a
// throwaway one: a beaker of water cooling, read on a thermometer as the
// pupil moves the time bar.  If a step of the recipe stops working, this is
// where it shows.
#include "apparatus/Meters.h"
#include "apparatus/Thermometers.h"
#include "experiments/ExperimentCatalogue.h"
#include "runtime/Catalogue.h"
#include "runtime/Image32.h"
#include "runtime/TimeScrubbedForm.h"
#include "runtime/ToolbarItems.h"
#include "support/FormContract.h"

#include <QApplication>
#include <QLabel>
#include <QScrollBar>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace brv {
namespace {

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
class TCoolingFrm : public TTimeScrubbedForm {
public:
    TCoolingFrm()
    {
        CreateToolbar();
        QLabel* caption =
            AddToolbarLabel(toolbar_, QStringLiteral("Starting temperature"), QStringLiteral("StartLabel"));
        StartSE = AddIntSpinEdit(toolbar_, QStringLiteral("StartSE"), 30, 100, 80, QStringLiteral("Start"));
        RedrawOn(StartSE);
        CreateTimeBar(0, 600, 0, 60, QStringLiteral("Set the time"));
        CreatePic();
        LayOutPicture({}, {}, TimeHsb);
        SetLargeItems({{caption, 0, 0}, {StartSE, 48, 72}});
    }
    TCoolingModel Model;
    QSpinBox* StartSE = nullptr;
    int Redraws = 0;

protected:
    float ComputeScale(int width, int height) override
    {
        return scale::FromSmallerSide(width, height, 0.01f);
    }
    void Recompute() override { Model.StartCelsius = float(StartSE->value()); }
    void DrawBackground(TBitmap32& b) override
    {
        ++Redraws;
        DrawThermometer(b, 20 * Scale_, 10 * Scale_, 6 * Scale_, 80 * Scale_,
                        Model.TemperatureAt(float(Time())));
    }
};

constexpr ExperimentId kCoolingId = 13;  // unused by the lesson book

// Step 4, the row; step 5, the traits for the contract suite.
const bool kRegistered = [] {
    TCatalogue::Instance().Register(Row<TCoolingFrm>(kCoolingId, TLargeButtonsCall::AfterShow, "COOLING.HTM",
                                                     TPages::Family, QStringLiteral("Cooling"), 99));
    return true;
}();
const bool kContract = test::RegisterFormTraits([] {
    test::TFormTraits t;
    t.id = kCoolingId;
    t.name = "RecipeCooling";
    t.spins = {{"StartSE", 30, 100, 80, 48, 72}};
    return t;
}());

TEST(ExperimentRecipe, OneRowMakesTheExperimentReachable)
{
    RegisterExperiments();
    const TCatalogue& c = TCatalogue::Instance();
    // The page router: the whole family leads to it.
    for (const char* page : {"COOLING.HTM", "COOLING-PLAN.HTM", "COOLING-HELP.HTM"}) {
        const TCatalogueEntry* e = c.FindByPage(QLatin1String(page));
        ASSERT_NE(e, nullptr) << page;
        EXPECT_EQ(e->id, kCoolingId);
    }
    // The Experiments menu: last, after the program's own.
    ASSERT_FALSE(c.MenuEntries().empty());
    EXPECT_EQ(c.MenuEntries().back()->id, kCoolingId);
    // The host creates it from the row.
    std::unique_ptr<TExperimentForm> form(c.Find(kCoolingId)->create());
    EXPECT_NE(dynamic_cast<TCoolingFrm*>(form.get()), nullptr);
}

TEST(ExperimentRecipe, TheFormRedrawsOnEveryChangeAndTheTimeBarReadsForward)
{
    TCoolingFrm form;
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
}

}  // namespace
}  // namespace brv
