// Breakdown of starch by amylase: the clearing-time table and its scatter,
// the droppers' four test steps and twenty refill steps, and the form driven
// by its buttons with its window timer ticked by hand (and once by itself),
// read on real pixels.
#include "experiments/biology/uAmylase.h"

#include "runtime/AddMaths.h"
#include "runtime/ExperimentForm.h"
#include "runtime/Image32.h"
#include "support/AnimatedFormTest.h"
#include "support/FormContract.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPointer>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTimer>
#include <QToolBar>

#include <gtest/gtest.h>

namespace brv {
namespace {

const bool kContract = test::RegisterFormTraits([] {
    test::TFormTraits t;
    t.id = ids::Amylase;
    t.name = "Amylase";
    t.spins = {{"TimeSE", 0, 30, 0, 60, 90}, {"TempSE", 0, 80, 20, 0, 0, 150, 300}};
    return t;
}());

using Model = TAmylaseModel;

TEST(AmylaseModel, ClearingTimesFollowTheTable)
{
    struct Case {
        int temperature, minutes;
    };
    for (const Case& c :
         {Case{0, 30},  Case{10, 30}, Case{11, 26}, Case{15, 16}, Case{19, 11}, Case{20, 10}, Case{21, 9},
          Case{23, 8},  Case{24, 7},  Case{28, 6},  Case{29, 5},  Case{31, 5},  Case{32, 4},  Case{40, 4},
          Case{47, 4},  Case{48, 5},  Case{50, 5},  Case{51, 6},  Case{53, 7},  Case{54, 8},  Case{55, 9},
          Case{56, 13}, Case{57, 17}, Case{58, 22}, Case{59, 27}, Case{60, 30}, Case{80, 30}})
        EXPECT_EQ(Model::TableClearTime(c.temperature), c.minutes) << c.temperature << " ºC";
}

// The share of tests at a temperature that still show starch after minutes.
double StarchShare(int temperature, int minutes, int tests)
{
    int starch = 0;
    for (int i = 0; i < tests; ++i) {
        Model m;
        for (int step = 0; step < Model::TestSteps; ++step)
            m.TestStep(step, minutes, temperature);
        starch += m.Dimples[0].State == Model::DimpleStarch ? 1 : 0;
        EXPECT_EQ(m.Dimples[0].Minutes, minutes);
    }
    return double(starch) / tests;
}

TEST(AmylaseModel, AMinuteOfScatterEitherSideOfTheClearingTime)
{
    // At 40 ºC the table says 4 minutes.  A 4-minute sample is blue-black
    // unless the scatter brings the clearing time down to 3 or less, a
    // 5-minute one orange unless it takes it up to 5 or more: about three
    // tests in ten either way.
    EXPECT_NEAR(StarchShare(40, 4, 4000), 0.69, 0.03);
    EXPECT_NEAR(StarchShare(40, 5, 4000), 0.31, 0.03);
    // Sampled when the starch just clears, it is still there.
    EXPECT_NEAR(StarchShare(40, 3, 2000), 0.93, 0.02);
    // Too cold or too hot: starch stays for the whole half hour unless the
    // scatter shortens it.
    for (int temperature : {0, 10, 60, 80}) {
        EXPECT_EQ(StarchShare(temperature, 25, 300), 1.0) << temperature;
        EXPECT_NEAR(StarchShare(temperature, 30, 2000), 0.69, 0.04) << temperature;
    }
}

TEST(AmylaseModel, ATestTakesASampleAndDropsItIntoTheNextDimple)
{
    Model m;
    EXPECT_EQ(m.SampleDropper, (TScenePoint{21, 30}));
    EXPECT_EQ(m.IodineDropper, (TScenePoint{50, 8}));
    for (const Model::TDimple& d : m.Dimples)
        EXPECT_EQ(d.State, Model::DimpleIodine);
    // Dimple i sits at column i mod 5 and row i div 5, 8 units apart.
    EXPECT_EQ((TScenePoint{m.Dimples[7].X, m.Dimples[7].Y}), (TScenePoint{20, 12}));

    for (int test = 0; test < 2; ++test) {
        m.TestStep(0, 12, 20);
        EXPECT_EQ(m.SampleDropper, (TScenePoint{21, 45})) << "down in the tube";
        EXPECT_FALSE(m.SampleFilled);
        m.TestStep(1, 12, 20);
        EXPECT_EQ(m.SampleDropper, (TScenePoint{21, 30}));
        EXPECT_TRUE(m.SampleFilled);
        m.TestStep(2, 12, 20);
        EXPECT_EQ(m.SampleDropper, (TScenePoint{39.0f + 8 * float(test), 23}))
            << "tip on the dimple's centre";
        EXPECT_TRUE(m.SampleFilled);
        EXPECT_NE(m.Dimples[std::size_t(test)].State, Model::DimpleIodine);
        EXPECT_EQ(m.Dimples[std::size_t(test)].Minutes, 12);
        m.TestStep(3, 12, 20);
        EXPECT_EQ(m.SampleDropper, (TScenePoint{21, 30}));
        EXPECT_FALSE(m.SampleFilled);
    }
    EXPECT_EQ(m.TargetDimple(), 2);
}

TEST(AmylaseModel, WithoutIodineLeftATestMovesNothing)
{
    Model m;
    for (int test = 0; test < Model::DimpleCount; ++test)
        for (int step = 0; step < Model::TestSteps; ++step)
            m.TestStep(step, 10, 40);
    EXPECT_EQ(m.TargetDimple(), -1);
    const auto dimples = m.Dimples;
    for (int step = 0; step < 3; ++step) {
        m.TestStep(step, 10, 40);
        EXPECT_EQ(m.SampleDropper, (TScenePoint{21, 30})) << "step " << step;
        EXPECT_FALSE(m.SampleFilled);
    }
    for (int i = 0; i < Model::DimpleCount; ++i)
        EXPECT_EQ(m.Dimples[std::size_t(i)].State, dimples[std::size_t(i)].State);
}

TEST(AmylaseModel, TheIodineDropperRefillsTheTrayInOrder)
{
    Model m;
    m.EmptyTray();
    EXPECT_EQ(m.TargetDimple(), -1);
    for (int k = 0; k < Model::DimpleCount; ++k) {
        m.RefillStep(k);
        EXPECT_EQ(m.IodineDropper, m.OverDimple(k));
        EXPECT_EQ(m.Dimples[std::size_t(k)].State, Model::DimpleIodine);
        if (k + 1 < Model::DimpleCount) {
            EXPECT_EQ(m.Dimples[std::size_t(k + 1)].State, Model::DimpleEmpty);
        }
    }
    EXPECT_EQ(m.OverDimple(19), (TScenePoint{71, 47}));
    m.RefillStep(20);  // no such dimple
    EXPECT_EQ(m.IodineDropper, m.OverDimple(19));
    m.IodineDropperHome();
    EXPECT_EQ(m.IodineDropper, (TScenePoint{50, 8}));
}

// --- the form -------------------------------------------------------------

class AmylaseForm : public test::AnimatedFormTest<TAmylaseFrm> {
protected:
    AmylaseForm() : AnimatedFormTest(QSize(800, 600)) {}

    // Ticks the window timer by hand while it runs, checking its interval.
    int TickWhileRunning(int expectedInterval)
    {
        int ticks = 0;
        while (form->Timer1->isActive() && ticks < 100) {
            EXPECT_EQ(form->Timer1->interval(), expectedInterval);
            EXPECT_FALSE(form->Toolbar()->isEnabled()) << "tick " << ticks;
            form->Timer1Timer();
            ++ticks;
        }
        return ticks;
    }
    TFloatRect Expected(const TScenePoint& at) const
    {
        const float s = form->Scale();
        return {at.X * s, at.Y * s, (at.X + 3) * s, (at.Y + 16) * s};
    }
    void RunTest(int minutes, int temperature)
    {
        form->TimeSE->setValue(minutes);
        form->TempSE->setValue(temperature);
        form->TestBtn->trigger();
        EXPECT_EQ(TickWhileRunning(250), 4);
    }
    // The colour at the centre of dimple i.
    QRgb DimpleCentre(const QImage& picture, int i) const
    {
        const Model::TDimple& d = form->Model().Dimples[std::size_t(i)];
        const float s = form->Scale();
        return picture.pixel(Round((35 + d.X) * s), Round((35 + d.Y) * s));
    }
    // Dark ink in the band above dimple i where its label stands.
    int LabelInk(const QImage& picture, int i) const
    {
        const Model::TDimple& d = form->Model().Dimples[std::size_t(i)];
        const float s = form->Scale();
        int n = 0;
        for (int y = Round((35 + d.Y - 4.4f) * s); y < Round((35 + d.Y - 2.4f) * s); ++y)
            for (int x = Round((35 + d.X - 3.5f) * s); x < Round((35 + d.X + 3.5f) * s); ++x)
                n += qGray(picture.pixel(x, y)) < 80 ? 1 : 0;
        return n;
    }
};

bool BlueViolet(QRgb c)
{
    return qBlue(c) > 200 && qRed(c) < 170 && qGreen(c) < 170;
}

bool Orange(QRgb c)
{
    return qRed(c) > 200 && qGreen(c) > 100 && qGreen(c) < 210 && qBlue(c) < 120;
}

TEST_F(AmylaseForm, ATestAnimatesTheSampleDropperWithTheToolbarGreyed)
{
    form->TimeSE->setValue(25);
    form->TempSE->setValue(20);
    form->TestBtn->trigger();
    EXPECT_FALSE(form->Toolbar()->isEnabled());
    EXPECT_TRUE(form->Timer1->isActive());
    EXPECT_EQ(form->Timer1->interval(), 250);
    EXPECT_EQ(form->SampleLayer->Location(), Expected({21, 45})) << "at once into the tube";

    const TScenePoint expected[] = {{21, 45}, {21, 30}, {39, 23}, {21, 30}};
    for (int tick = 0; tick < 4; ++tick) {
        ASSERT_TRUE(form->Timer1->isActive());
        form->Timer1Timer();
        EXPECT_EQ(form->SampleLayer->Location(), Expected(expected[tick])) << "tick " << tick;
        if (tick == 2)
            test::SavePicture(Picture(), QStringLiteral("amylase-dropping"));
    }
    EXPECT_FALSE(form->Timer1->isActive());
    EXPECT_TRUE(form->Toolbar()->isEnabled());
    const Model::TDimple& first = form->Model().Dimples[0];
    EXPECT_EQ(first.Minutes, 25);
    EXPECT_EQ(first.State, Model::DimpleNoStarch) << "25 min at 20 ºC: long gone";
    const QImage picture = Picture();
    EXPECT_TRUE(Orange(DimpleCentre(picture, 0))) << std::hex << DimpleCentre(picture, 0);
    EXPECT_GT(LabelInk(picture, 0), 10) << "labelled 25 min";
    EXPECT_EQ(LabelInk(picture, 1), 0);
}

TEST_F(AmylaseForm, DimplesShowTheirResultsInColour)
{
    RunTest(0, 20);   // starch: 0 min is never past the clearing time
    RunTest(30, 40);  // none
    RunTest(2, 5);    // starch
    const QImage picture = Picture();
    test::SavePicture(picture, QStringLiteral("amylase-results"));
    EXPECT_EQ(form->Model().Dimples[0].State, Model::DimpleStarch);
    EXPECT_EQ(form->Model().Dimples[1].State, Model::DimpleNoStarch);
    EXPECT_EQ(form->Model().Dimples[2].State, Model::DimpleStarch);
    EXPECT_TRUE(BlueViolet(DimpleCentre(picture, 0))) << std::hex << DimpleCentre(picture, 0);
    EXPECT_TRUE(Orange(DimpleCentre(picture, 1))) << std::hex << DimpleCentre(picture, 1);
    EXPECT_TRUE(BlueViolet(DimpleCentre(picture, 2)));
    // A dimple still holding plain iodine: a small orange drop in white.
    const QRgb drop = DimpleCentre(picture, 3);
    EXPECT_TRUE(Orange(drop)) << std::hex << drop;
    const Model::TDimple& d = form->Model().Dimples[3];
    const float s = form->Scale();
    const QRgb white = picture.pixel(Round((35 + d.X - 1) * s), Round((35 + d.Y - 1) * s));
    EXPECT_GT(qGray(white), 200) << std::hex << white;
    EXPECT_FALSE(Orange(white));
    for (int i : {0, 1, 2})
        EXPECT_GT(LabelInk(picture, i), 10) << i;
    EXPECT_EQ(LabelInk(picture, 3), 0);
}

TEST_F(AmylaseForm, AFullTrayOnlyBlocksTheToolbarForOneSecond)
{
    for (int i = 0; i < 20; ++i)
        RunTest(10, 40);
    const TFloatRect home = form->SampleLayer->Location();
    const QImage before = Picture();
    form->TestBtn->trigger();
    EXPECT_FALSE(form->Toolbar()->isEnabled());
    int ticks = 0;
    while (form->Timer1->isActive()) {
        form->Timer1Timer();
        ++ticks;
        EXPECT_EQ(form->SampleLayer->Location(), home);
    }
    EXPECT_EQ(ticks * form->Timer1->interval(), 1000);
    EXPECT_TRUE(form->Toolbar()->isEnabled());
    EXPECT_EQ(Picture(), before);
}

TEST_F(AmylaseForm, ResetEmptiesTheTrayAndTheIodineDropperRefillsIt)
{
    RunTest(10, 40);
    form->ResetBtn->trigger();
    EXPECT_FALSE(form->Toolbar()->isEnabled());
    EXPECT_TRUE(form->RefillMode());
    for (const Model::TDimple& d : form->Model().Dimples)
        EXPECT_EQ(d.State, Model::DimpleEmpty);
    const QImage empty = Picture();
    EXPECT_GT(qGray(DimpleCentre(empty, 0)), 240) << "an empty white dimple";

    for (int k = 0; k < 20; ++k) {
        ASSERT_TRUE(form->Timer1->isActive());
        EXPECT_EQ(form->Timer1->interval(), 100);
        form->Timer1Timer();
        if (k < 19) {
            EXPECT_EQ(form->IodineLayer->Location(), Expected(form->Model().OverDimple(k))) << k;
            EXPECT_EQ(form->Model().Dimples[std::size_t(k)].State, Model::DimpleIodine);
            EXPECT_EQ(form->Model().Dimples[std::size_t(k + 1)].State, Model::DimpleEmpty);
        }
        if (k == 9)
            test::SavePicture(Picture(), QStringLiteral("amylase-refilling"));
    }
    EXPECT_FALSE(form->Timer1->isActive());
    EXPECT_TRUE(form->Toolbar()->isEnabled());
    EXPECT_EQ(form->IodineLayer->Location(), Expected({50, 8})) << "home again";
    EXPECT_EQ(form->Model().TargetDimple(), 0);
    EXPECT_TRUE(Orange(DimpleCentre(Picture(), 0)));
}

TEST_F(AmylaseForm, TheWindowTimerRunsATestByItself)
{
    form->TimeSE->setValue(1);
    form->TestBtn->trigger();
    QElapsedTimer waited;
    waited.start();
    while (form->Timer1->isActive() && waited.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_GE(waited.elapsed(), 900);
    EXPECT_TRUE(form->Toolbar()->isEnabled());
    EXPECT_EQ(form->Model().Dimples[0].Minutes, 1);
    EXPECT_EQ(form->Model().Dimples[0].State, Model::DimpleStarch);
}

TEST_F(AmylaseForm, DimplesAndDroppersSurviveAResize)
{
    RunTest(8, 30);
    RunTest(3, 30);
    form->ResetBtn->trigger();
    for (int k = 0; k < 5; ++k)
        form->Timer1Timer();
    // The refill goes on running; on a slow machine its own timer would tick
    // while the resize's events are processed, so the hand holds it.
    const QSignalBlocker holdRefill(form->Timer1);
    const auto dimples = form->Model().Dimples;
    form->resize(500, 700);
    QApplication::processEvents();
    EXPECT_FLOAT_EQ(form->Scale(), float(form->Pic()->width()) / 80);
    EXPECT_EQ(form->IodineLayer->Location(), Expected(form->Model().OverDimple(4)));
    EXPECT_EQ(form->SampleLayer->Location(), Expected({21, 30}));
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(form->Model().Dimples[std::size_t(i)].State, dimples[std::size_t(i)].State);
    const QImage picture = Picture();
    test::SavePicture(picture, QStringLiteral("amylase-tall"));
    EXPECT_TRUE(Orange(DimpleCentre(picture, 4)));
    EXPECT_GT(qGray(DimpleCentre(picture, 5)), 240);
    // Wide again: the scale follows the height.
    form->resize(900, 500);
    QApplication::processEvents();
    EXPECT_FLOAT_EQ(form->Scale(), float(form->Pic()->height()) / 75);
}

TEST_F(AmylaseForm, AFormReplacedMidAnimationIsSafe)
{
    for (bool refill : {false, true}) {
        auto* doomed = new TAmylaseFrm;
        doomed->resize(400, 300);
        doomed->setAttribute(Qt::WA_DontShowOnScreen);
        doomed->show();
        QApplication::processEvents();
        (refill ? doomed->ResetBtn : doomed->TestBtn)->trigger();
        QPointer<QTimer> timer = doomed->Timer1;
        ASSERT_TRUE(timer->isActive());
        // As the host releases a form: hidden at once, destroyed after the
        // event that replaced it, its timer ticking meanwhile.
        doomed->hide();
        doomed->deleteLater();
        const auto wait = [](int ms) {
            QElapsedTimer waited;
            waited.start();
            while (waited.elapsed() < ms)
                QApplication::processEvents(QEventLoop::AllEvents, 20);
        };
        wait(300);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(timer.isNull()) << "gone with its form";
        wait(300);
    }
}

TEST_F(AmylaseForm, TheThermometersFollowTheTemperature)
{
    const float s = form->Scale();
    const float p = 60 * s / 57.5f;
    // The red column of the 0-100 thermometer reaches y + p + p·(100 − T)/2.
    const auto columnTop = [&](int t) { return Round(10 * s + p + p * float(100 - t) * 0.5f); };
    const int x = Round(10 * s) + 4;
    QImage picture = Picture();
    EXPECT_EQ(picture.pixel(x, columnTop(20) + 2), 0xFFFF0000u);
    EXPECT_NE(picture.pixel(x, columnTop(60) + 2), 0xFFFF0000u);
    form->TempSE->stepBy(40);
    picture = Picture();
    EXPECT_EQ(picture.pixel(x, columnTop(60) + 2), 0xFFFF0000u);
}

TEST_F(AmylaseForm, LargeButtonsFollowTheScreen)
{
    SetScreenDpiOverride(120);
    const qreal base = QApplication::font(form->TempSE).pointSizeF();
    form->SetLargeButtons(false);  // at 120 dpi the widths are scaled even unchanged
    EXPECT_EQ(form->TimeSE->width(), std::max(75, form->TimeSE->sizeHint().width()));
    EXPECT_NEAR(form->TempSE->font().pointSizeF(), 1.5 * base, 0.01);
    form->SetLargeButtons(true);
    EXPECT_EQ(form->TimeSE->width(), std::max(112, form->TimeSE->sizeHint().width()));
    EXPECT_NEAR(form->TempSE->font().pointSizeF(), 3 * base, 0.01);
    EXPECT_NEAR(form->TimeLabel->font().pointSizeF(), 1.5 * base, 0.01);
    EXPECT_EQ(form->Toolbar()->iconSize(), QSize(48, 48));
}

}  // namespace
}  // namespace brv
