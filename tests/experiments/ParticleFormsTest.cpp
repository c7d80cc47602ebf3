// The two particle-model forms driven as a pupil drives them, their clock
// stepped by hand: the toolbar's buttons clicked, the window resized, the
// picture read on real pixels.  Their sprites too.
#include "experiments/ExperimentCatalogue.h"
#include "experiments/chemistry/ParticleSprites.h"
#include "experiments/chemistry/uKinetic.h"
#include "experiments/chemistry/uReactionRate.h"

#include "common/CadencerEx.h"
#include "runtime/AddMaths.h"
#include "runtime/Catalogue.h"
#include "runtime/Image32.h"
#include "support/AnimatedFormTest.h"
#include "support/FormContract.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QMouseEvent>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace brv {
namespace {

const bool kKineticContract = test::RegisterFormTraits([] {
    test::TFormTraits t;
    t.id = ids::Kinetic;
    t.name = "Kinetic";
    t.runSeconds = 1;
    t.runMovesOnlyLayers = true;
    return t;
}());

// The three lesson pages of the reaction-rate model each have an id of their own.
test::TFormTraits ReactionRateTraits(ExperimentId id, const char* name)
{
    test::TFormTraits t;
    t.id = id;
    t.name = name;
    t.runSeconds = 1;
    t.runMovesOnlyLayers = true;
    return t;
}
const bool kReactionRateContract =
    test::RegisterFormTraits(ReactionRateTraits(ids::ReactionRate, "ReactionRate"));
const bool kReactionRateMarbleContract =
    test::RegisterFormTraits(ReactionRateTraits(ids::ReactionRateMarble, "ReactionRateMarble"));
const bool kReactionRatePeroxideContract =
    test::RegisterFormTraits(ReactionRateTraits(ids::ReactionRatePeroxide, "ReactionRatePeroxide"));

// A press and a release of the left button on the action's toolbar button.
void ClickButton(QToolBar* toolbar, QAction* action)
{
    QWidget* button = toolbar->widgetForAction(action);
    ASSERT_NE(button, nullptr);
    const QPointF at = QRectF(button->rect()).center();
    QMouseEvent press(QEvent::MouseButtonPress, at, button->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(button, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, button->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(button, &release);
}

int Channel(QRgb c, int shift)
{
    return int((c >> shift) & 0xFF);
}

// Within tolerance of c in every colour channel.
bool Near(QRgb pixel, TColor32 c, int tolerance)
{
    for (int shift : {0, 8, 16})
        if (std::abs(Channel(pixel, shift) - Channel(c, shift)) > tolerance)
            return false;
    return true;
}

// Whether every particle shows as its sprite: its centre pixel in its
// sprite's centre colour.  A particle that another overlaps by more than
// its radius (big steps can leave a pair so) may be hidden by the one drawn
// after it, and is not asked about; at most a few are.
template <class Form>
::testing::AssertionResult EveryParticleShownAsItsSprite(Form& form, const QImage& picture)
{
    const auto& all = form.Particles().Particles;
    const float r = form.Particles().Radius;
    int hidden = 0;
    for (const TParticle& p : all) {
        const bool covered = std::any_of(all.begin(), all.end(), [&](const TParticle& q) {
            return &p != &q && std::hypot(p.X - q.X, p.Y - q.Y) < r + 1;
        });
        if (covered) {
            ++hidden;
            continue;
        }
        const TColor32 want = p.Reacted ? kBlueParticleCentre : kRedParticleCentre;
        if (!Near(picture.pixel(Round(p.X), Round(p.Y)), want, 12))
            return ::testing::AssertionFailure()
                   << "the particle at (" << p.X << ", " << p.Y << ") is not shown as its sprite";
    }
    if (hidden > 3)
        return ::testing::AssertionFailure() << hidden << " particles overlap";
    return ::testing::AssertionSuccess();
}

// Places, on a screen of the given width, the form's particles where a fresh
// placement from the generator state before the resize would put them.
template <class Model>
Model ExpectedAfterResize(std::uint32_t state, float width, float height, float radius, bool high)
{
    SetRandomState(state);
    Model m;
    m.Box.Radius = radius;
    m.Box.Walls = {0, 0, width, height};
    m.SetHighTemperature(high);
    m.Place();
    m.Box.Settle();
    return m;
}

template <class Form>
class ParticleFormTest : public test::AnimatedFormTest<Form> {
protected:
    explicit ParticleFormTest(int screenWidth = 1280)
        : test::AnimatedFormTest<Form>(QSize(640, 480)), screenWidth_(screenWidth)
    {
    }
    void SetUp() override
    {
        SetScreenWidthOverride(screenWidth_);
        test::AnimatedFormTest<Form>::SetUp();
    }
    void TearDown() override
    {
        test::AnimatedFormTest<Form>::TearDown();
        SetScreenWidthOverride(0);
    }
    void Press(QAction* a) { ClickButton(this->form->Toolbar(), a); }
    // Long runs in ticks of a tenth of a second: each tick repaints, and
    // the reactions need seconds of model time, not smooth motion.
    void RunInLongTicks(double seconds)
    {
        for (int tick = 0; tick < Round(seconds * 10); ++tick) {
            this->Tick(0.1);
        }
    }
    bool SamePositions(const TParticleModel& a, const TParticleModel& b)
    {
        for (int i = 0; i < TParticleModel::Count; ++i)
            if (a.Particles[std::size_t(i)].X != b.Particles[std::size_t(i)].X ||
                a.Particles[std::size_t(i)].Y != b.Particles[std::size_t(i)].Y)
                return false;
        return true;
    }

private:
    int screenWidth_;
};

// --- sprites ----------------------------------------------------------------------

TEST(ParticleSprites, RoundBallsWithTransparentCornersAndSoftEdges)
{
    TBitmap32List list;
    AddParticleSprites(list);
    ASSERT_EQ(list.Count(), 4);
    struct Want {
        int index, size;
        TColor32 centre, rim;
    };
    for (const Want w : {Want{psRedLarge, 24, kRedParticleCentre, kRedParticleRim},
                         Want{psRedSmall, 16, kRedParticleCentre, kRedParticleRim},
                         Want{psBlueLarge, 24, kBlueParticleCentre, kBlueParticleRim},
                         Want{psBlueSmall, 16, kBlueParticleCentre, kBlueParticleRim}}) {
        const TBitmap32& b = list.Bitmap(w.index);
        ASSERT_EQ(b.Width(), w.size);
        ASSERT_EQ(b.Height(), w.size);
        EXPECT_EQ(b.DrawMode, TDrawMode::dmBlend);
        const int s = w.size;
        for (const auto& [x, y] : {std::pair{0, 0}, {s - 1, 0}, {0, s - 1}, {s - 1, s - 1}})
            EXPECT_EQ(AlphaOf(b.Pixel(x, y)), 0) << w.index << " corner " << x << "," << y;
        const TColor32 middle = b.Pixel(s / 2, s / 2);
        EXPECT_EQ(AlphaOf(middle), 255);
        EXPECT_TRUE(Near(middle, w.centre, 6)) << w.index << std::hex << " " << middle;
        // Along the middle row: opaque inside, a soft edge of partly
        // transparent pixels, and darker towards the rim.
        int soft = 0;
        for (int x = 0; x < s; ++x) {
            const int a = AlphaOf(b.Pixel(x, s / 2));
            soft += (a > 0 && a < 255) ? 1 : 0;
        }
        EXPECT_GE(soft, 2) << w.index;
        const TColor32 nearRim = b.Pixel(s - 2, s / 2);
        EXPECT_LT(Channel(nearRim, 16) + Channel(nearRim, 8) + Channel(nearRim, 0),
                  Channel(middle, 16) + Channel(middle, 8) + Channel(middle, 0))
            << w.index;
        // The highlight: up and to the left is lighter than the middle.
        const TColor32 lit = b.Pixel(s / 2 - s / 5, s / 2 - s / 5);
        EXPECT_GT(Channel(lit, 0) + Channel(lit, 8), Channel(middle, 0) + Channel(middle, 8)) << w.index;
    }
}

// --- kinetic theory ------------------------------------------------------------------

using KineticForm = ParticleFormTest<TKTFrm>;

TEST_F(KineticForm, StartAndStopRunTheParticlesAndThereIsNoReset)
{
    EXPECT_FALSE(form->Buttons.ResetBtn->isVisible());
    ExpectButtons(true, false, false);
    EXPECT_FALSE(form->LowBtn->isChecked());
    EXPECT_FALSE(form->HighBtn->isChecked());
    EXPECT_EQ(form->Model().TimeScale, TKineticModel::LowTimeScale);

    const TParticleModel placed = form->Particles();
    Advance(0.5);
    EXPECT_TRUE(SamePositions(form->Particles(), placed)) << "nothing moves before Start";

    Press(form->Buttons.StartBtn);
    EXPECT_EQ(form->State(), TRunState::Running);
    ExpectButtons(false, true, false);
    Advance(0.5);
    EXPECT_FALSE(SamePositions(form->Particles(), placed));

    Press(form->Buttons.StopBtn);
    ExpectButtons(true, false, false);
    const TParticleModel stopped = form->Particles();
    Advance(0.5);
    EXPECT_TRUE(SamePositions(form->Particles(), stopped));
    Press(form->Buttons.StartBtn);
    Advance(0.1);
    EXPECT_FALSE(SamePositions(form->Particles(), stopped)) << "Start goes on from where Stop left them";
}

TEST_F(KineticForm, TheTemperatureButtonsAreARadioPairThatSetTheTimeScale)
{
    Press(form->HighBtn);
    EXPECT_TRUE(form->HighBtn->isChecked());
    EXPECT_FALSE(form->LowBtn->isChecked());
    EXPECT_EQ(form->Model().TimeScale, TKineticModel::HighTimeScale);
    const TParticleModel before = form->Particles();
    Press(form->HighBtn);  // already checked: nothing
    EXPECT_TRUE(form->HighBtn->isChecked());
    EXPECT_EQ(form->Model().TimeScale, TKineticModel::HighTimeScale);

    Press(form->LowBtn);
    EXPECT_TRUE(form->LowBtn->isChecked());
    EXPECT_FALSE(form->HighBtn->isChecked());
    EXPECT_EQ(form->Model().TimeScale, TKineticModel::LowTimeScale);
    for (int i = 0; i < TParticleModel::Count; ++i)
        EXPECT_EQ(form->Particles().Particles[std::size_t(i)].VX, before.Particles[std::size_t(i)].VX)
            << "the velocities are not changed";
}

TEST_F(KineticForm, ATickMovesTheParticlesByTheTemperaturesTimeScale)
{
    // With the particles' paths free for one short tick, each moves by its
    // velocity × T × the tick.
    for (const bool high : {false, true}) {
        Press(high ? form->HighBtn : form->LowBtn);
        Press(form->Buttons.StartBtn);
        const TParticleModel before = form->Particles();
        Tick(0.01);
        const float step = float(high ? 200 : 50) * 0.01f;
        int free = 0;
        for (int i = 0; i < TParticleModel::Count; ++i) {
            const TParticle& a = before.Particles[std::size_t(i)];
            const TParticle& b = form->Particles().Particles[std::size_t(i)];
            if (a.VX == b.VX && a.VY == b.VY) {
                ++free;
                EXPECT_NEAR(std::hypot(b.X - a.X, b.Y - a.Y), step, 1e-3f) << i;
            }
        }
        EXPECT_GT(free, 80);
        Press(form->Buttons.StopBtn);
    }
}

TEST_F(KineticForm, AResizePutsTheParticlesBackOnTheGridAndKeepsTheRunState)
{
    for (const bool running : {true, false}) {
        if (running)
            Press(form->Buttons.StartBtn);
        Advance(1.0);
        const std::uint32_t state = RandomState();
        form->resize(500, 400);
        QApplication::processEvents();
        const auto expected = ExpectedAfterResize<TKineticModel>(state, 500, 400, 12, false);
        EXPECT_TRUE(SamePositions(form->Particles(), expected.Box)) << "running " << running;
        EXPECT_EQ(form->Clock->Enabled(), running);
        EXPECT_EQ(form->State(), running ? TRunState::Running : TRunState::Paused);
        EXPECT_TRUE(EveryParticleShownAsItsSprite(*form, Picture()));
        Press(form->Buttons.StopBtn);
        form->resize(640, 480);
        QApplication::processEvents();
    }
}

TEST_F(KineticForm, ThePictureIsWhiteWithAFrameAndASpriteOnEveryParticle)
{
    Press(form->Buttons.StartBtn);
    Advance(2.0);
    const QImage picture = Picture();
    test::SavePicture(picture, QStringLiteral("kinetic-running"));
    EXPECT_TRUE(EveryParticleShownAsItsSprite(*form, picture));
    EXPECT_EQ(picture.pixel(0, 0), clBorder32);
    EXPECT_EQ(picture.pixel(picture.width() - 1, picture.height() / 2), clBorder32);
    int white = 0;
    for (int y = 1; y < picture.height() - 1; y += 7)
        for (int x = 1; x < picture.width() - 1; x += 7)
            white += picture.pixel(x, y) == clWhite32 ? 1 : 0;
    // 100 sprites of about 450 pixels cover some 15 % of 640 × 480.
    const int samples = ((picture.height() - 3) / 7 + 1) * ((picture.width() - 3) / 7 + 1);
    EXPECT_GT(white, samples * 8 / 10);
    EXPECT_LT(white, samples * 9 / 10 + samples / 20);
}

// A tick repaints only where sprites were and are, and the screen still
// shows the whole picture; the background is never drawn again.
TEST_F(KineticForm, EachTickRepaintsOnlyWhatMovedAndShowsItAll)
{
    int backgroundChanges = 0;
    const int listener = form->Pic()->Bitmap().AddChangeListener([&] { ++backgroundChanges; });
    ShownPicture();
    Press(form->Buttons.StartBtn);
    Press(form->HighBtn);
    EXPECT_GT(ExpectEachTickShowsTheWholeChange(1.0), 50);
    EXPECT_EQ(backgroundChanges, 0);
    form->Pic()->Bitmap().RemoveChangeListener(listener);
}

class NarrowScreenKineticForm : public ParticleFormTest<TKTFrm> {
protected:
    NarrowScreenKineticForm() : ParticleFormTest(800) {}
};

TEST_F(NarrowScreenKineticForm, OnAScreen800PixelsWideTheParticlesAre16PixelSprites)
{
    EXPECT_EQ(form->Particles().Radius, 8.0f);
    const QImage picture = Picture();
    EXPECT_TRUE(EveryParticleShownAsItsSprite(*form, picture));
    // A particle with no other near it: its sprite spans 16 pixels, opaque
    // 6 from the centre, gone at 9.
    const auto& all = form->Particles().Particles;
    const auto alone = std::find_if(all.begin(), all.end(), [&](const TParticle& p) {
        return std::none_of(all.begin(), all.end(), [&](const TParticle& q) {
            return &p != &q && std::hypot(p.X - q.X, p.Y - q.Y) < 40;
        });
    });
    ASSERT_NE(alone, all.end());
    const TParticle& p = *alone;
    EXPECT_EQ(form->SpriteOf(p), psRedSmall);
    const int x = Round(p.X), y = Round(p.Y);
    EXPECT_NE(picture.pixel(x - 6, y), clWhite32);
    EXPECT_EQ(picture.pixel(x - 9, y), clWhite32);
    EXPECT_EQ(picture.pixel(x + 9, y), clWhite32);
}

TEST_F(KineticForm, OnAWiderScreenTheyAre24PixelSprites)
{
    EXPECT_EQ(form->Particles().Radius, 12.0f);
    EXPECT_EQ(form->SpriteOf(form->Particles().Particles[0]), psRedLarge);
}

// --- reaction rates -------------------------------------------------------------------

using ReactionRateForm = ParticleFormTest<TReactRateFrm>;

TEST_F(ReactionRateForm, StartStopAndResetFollowTheRun)
{
    EXPECT_TRUE(form->LowBtn->isChecked());
    EXPECT_FALSE(form->HighBtn->isChecked());
    ExpectButtons(true, false, false);
    EXPECT_EQ(form->Particles().ReactedCount(), 0) << "settling never reacts";

    Press(form->HighBtn);
    Press(form->Buttons.StartBtn);
    ExpectButtons(false, true, false);
    RunInLongTicks(10);
    const int reacted = form->Particles().ReactedCount();
    EXPECT_GT(reacted, 0);

    Press(form->Buttons.StopBtn);
    ExpectButtons(true, false, true);
    const TParticleModel stopped = form->Particles();
    Press(form->Buttons.StartBtn);
    Advance(0.1);
    EXPECT_FALSE(SamePositions(form->Particles(), stopped)) << "Start goes on from Stop";
    EXPECT_GE(form->Particles().ReactedCount(), reacted);
    Press(form->Buttons.StopBtn);

    const std::uint32_t state = RandomState();
    Press(form->Buttons.ResetBtn);
    ExpectButtons(true, false, false);
    EXPECT_FALSE(form->Clock->Enabled());
    EXPECT_EQ(form->Particles().ReactedCount(), 0);
    const auto expected = ExpectedAfterResize<TReactionRateModel>(state, 640, 480, 12, true);
    EXPECT_TRUE(SamePositions(form->Particles(), expected.Box));
    EXPECT_TRUE(EveryParticleShownAsItsSprite(*form, Picture()));
}

TEST_F(ReactionRateForm, TheHighTemperatureDoublesEverySpeedAtOnceWhileRunning)
{
    Press(form->Buttons.StartBtn);
    Advance(0.5);
    const TParticleModel low = form->Particles();
    Press(form->HighBtn);
    for (int i = 0; i < TParticleModel::Count; ++i) {
        EXPECT_EQ(form->Particles().Particles[std::size_t(i)].VX, 2 * low.Particles[std::size_t(i)].VX);
        EXPECT_EQ(form->Particles().Particles[std::size_t(i)].VY, 2 * low.Particles[std::size_t(i)].VY);
    }
    Press(form->HighBtn);  // already checked
    EXPECT_EQ(form->Particles().Particles[0].VX, 2 * low.Particles[0].VX);
    Press(form->LowBtn);
    for (int i = 0; i < TParticleModel::Count; ++i)
        EXPECT_EQ(form->Particles().Particles[std::size_t(i)].VX, low.Particles[std::size_t(i)].VX);
    EXPECT_TRUE(form->Clock->Enabled());
}

TEST_F(ReactionRateForm, ReactedParticlesAreDrawnBlue)
{
    Press(form->HighBtn);
    Press(form->Buttons.StartBtn);
    RunInLongTicks(20);
    Press(form->Buttons.StopBtn);
    const int reacted = form->Particles().ReactedCount();
    ASSERT_GT(reacted, 10);
    ASSERT_LT(reacted, TParticleModel::Count);
    const QImage picture = Picture();
    test::SavePicture(picture, QStringLiteral("reaction-rate-reacting"));
    EXPECT_TRUE(EveryParticleShownAsItsSprite(*form, picture));
}

TEST_F(ReactionRateForm, AResizeStartsAgainFromTheGridWithNothingReacted)
{
    Press(form->HighBtn);
    Press(form->Buttons.StartBtn);
    RunInLongTicks(10);
    ASSERT_GT(form->Particles().ReactedCount(), 0);
    const std::uint32_t state = RandomState();
    form->resize(600, 450);
    QApplication::processEvents();
    EXPECT_EQ(form->Particles().ReactedCount(), 0);
    EXPECT_TRUE(form->Clock->Enabled());
    const auto expected = ExpectedAfterResize<TReactionRateModel>(state, 600, 450, 12, true);
    EXPECT_TRUE(SamePositions(form->Particles(), expected.Box));
}

TEST_F(ReactionRateForm, EachTickShowsEveryParticleThatMovedOrReacted)
{
    Press(form->HighBtn);
    Press(form->Buttons.StartBtn);
    ShownPicture();
    EXPECT_GT(ExpectEachTickShowsTheWholeChange(3.0), 150);
    EXPECT_GT(form->Particles().ReactedCount(), 0);
}

TEST(ParticleModelPages, EachPageLeadsToItsOwnIdAndEachShowingBuildsAFreshForm)
{
    RegisterExperiments();
    for (const ExperimentId id : {ids::ReactionRate, ids::ReactionRateMarble, ids::ReactionRatePeroxide}) {
        const TCatalogueEntry* entry = TCatalogue::Instance().Find(id);
        ASSERT_NE(entry, nullptr);
        ASSERT_TRUE(entry->HasForm()) << id;
        std::unique_ptr<TExperimentForm> a(entry->create());
        std::unique_ptr<TExperimentForm> b(entry->create());
        ASSERT_NE(dynamic_cast<TReactRateFrm*>(a.get()), nullptr) << id;
        EXPECT_NE(a.get(), b.get());
        EXPECT_EQ(static_cast<TReactRateFrm*>(b.get())->Particles().ReactedCount(), 0);
    }
    const TCatalogueEntry* kinetic = TCatalogue::Instance().Find(ids::Kinetic);
    ASSERT_NE(kinetic, nullptr);
    std::unique_ptr<TExperimentForm> form(kinetic->create());
    EXPECT_NE(dynamic_cast<TKTFrm*>(form.get()), nullptr);
    // Each lesson page leads to its own id.
    const std::pair<const char*, ExperimentId> pages[] = {{"MOLECULE.HTM", ids::Kinetic},
                                                          {"REACTION_RATES.HTM", ids::ReactionRate},
                                                          {"CAHCLINFO.HTM", ids::ReactionRateMarble},
                                                          {"HCATINFO.HTM", ids::ReactionRatePeroxide}};
    for (const auto& [page, id] : pages) {
        const TCatalogueEntry* found = TCatalogue::Instance().FindByPage(QString::fromLatin1(page));
        ASSERT_NE(found, nullptr) << page;
        EXPECT_EQ(found->id, id) << page;
        EXPECT_EQ(found->menuPosition, -1) << page << " has no menu item";
    }
}

}  // namespace
}  // namespace brv
