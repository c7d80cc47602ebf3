// The particle box of the kinetic-theory and reaction-rate models on its
// numbers: placement, motion, walls, the exchange, the reaction rule, the
// temperatures, and the same result from the same generator state.
#include "experiments/chemistry/uKineticModel.h"
#include "experiments/chemistry/uParticleModel.h"
#include "experiments/chemistry/uReactionRateModel.h"
#include "runtime/AddMaths.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>
#include <utility>
#include <vector>

namespace brv {
namespace {

using TSpeeds = TParticleModel::TSpeeds;

TSpeeds AllAt(float speed)
{
    TSpeeds s;
    s.fill(speed);
    return s;
}

float DistanceBetween(const TParticle& a, const TParticle& b)
{
    return std::hypot(a.X - b.X, a.Y - b.Y);
}

// A box of 1000 × 1000 pixels whose particles all stand still, parked far
// apart along its bottom right; the first few are then set where a case
// wants them, in the free top-left part.
class ParticleBox : public ::testing::Test {
protected:
    void SetUp() override
    {
        box.Radius = 12;
        box.Walls = {0, 0, 1000, 1000};
        for (int i = 0; i < TParticleModel::Count; ++i)
            box.Particles[std::size_t(i)] = {550 + 45.0f * float(i % 10), 550 + 45.0f * float(i / 10), 0, 0};
    }
    TParticle& P(int i) { return box.Particles[std::size_t(i)]; }
    void Set(int i, float x, float y, float vx, float vy, bool reacted = false)
    {
        P(i) = {x, y, vx, vy, reacted};
    }

    TParticleModel box;
};

// --- placement -------------------------------------------------------------

TEST(ParticleModel, PlacementIsATenByTenGridWithTwelveShuffledDirections)
{
    SetRandomState(77);
    TParticleModel m;
    m.Walls = {0, 0, 1100, 550};
    TSpeeds speeds;
    for (int i = 0; i < TParticleModel::Count; ++i)
        speeds[std::size_t(i)] = 0.1f * float(i % 30 + 1);
    m.Place(speeds);

    std::map<std::pair<float, float>, int> expected;  // velocity → count
    for (int i = 0; i < TParticleModel::Count; ++i) {
        const TParticle& p = m.Particles[std::size_t(i)];
        EXPECT_EQ(p.X, 100.0f + 100.0f * float(i % 10)) << i;
        EXPECT_EQ(p.Y, 50.0f + 50.0f * float(i / 10)) << i;
        EXPECT_FALSE(p.Reacted);
        const float theta = float(i % 12) * (6.2831853f / 12);
        ++expected[{speeds[std::size_t(i)] * std::cos(theta), -speeds[std::size_t(i)] * std::sin(theta)}];
    }
    // The shuffle moves velocities between particles, never changes one.
    std::map<std::pair<float, float>, int> placed;
    int unmoved = 0;
    for (int i = 0; i < TParticleModel::Count; ++i) {
        const TParticle& p = m.Particles[std::size_t(i)];
        ++placed[{p.VX, p.VY}];
        const float theta = float(i % 12) * (6.2831853f / 12);
        unmoved += p.VX == speeds[std::size_t(i)] * std::cos(theta) ? 1 : 0;
    }
    EXPECT_EQ(placed, expected);
    EXPECT_LT(unmoved, 20) << "shuffled";

    // The shuffle draws exactly one number per particle.
    SetRandomState(77);
    for (int i = 0; i < TParticleModel::Count; ++i)
        RandomInt(TParticleModel::Count);
    const std::uint32_t afterDraws = RandomState();
    SetRandomState(77);
    m.Place(speeds);
    EXPECT_EQ(RandomState(), afterDraws);
}

TEST(ParticleModel, InAnEmptyBoxEveryParticleStartsAtTheCorner)
{
    TParticleModel m;
    m.Place(AllAt(1));
    for (const TParticle& p : m.Particles) {
        EXPECT_EQ(p.X, 0.0f);
        EXPECT_EQ(p.Y, 0.0f);
        EXPECT_NEAR(std::hypot(p.VX, p.VY), 1.0f, 1e-6f);
    }
}

// --- motion and walls -----------------------------------------------------------

TEST_F(ParticleBox, AParticleMovesByItsVelocityTimesTheTime)
{
    Set(0, 100, 200, 1.5f, -0.5f);
    box.Step(10, false);
    EXPECT_FLOAT_EQ(P(0).X, 115);
    EXPECT_FLOAT_EQ(P(0).Y, 195);
    EXPECT_EQ(P(0).VX, 1.5f);
    EXPECT_EQ(P(0).VY, -0.5f);
}

TEST_F(ParticleBox, AParticleLeavingTheBoxIsPutBackAtItsRadiusFromTheWall)
{
    struct Case {
        const char* wall;
        float x, y, vx, vy;
        float wantX, wantY, wantVX, wantVY;
    };
    const Case cases[] = {
        {"left", 15, 300, -5, 1, 12, 301, 5, 1},
        {"right", 985, 300, 6, 1, 988, 301, -6, 1},
        {"top", 300, 14, 1, -4, 301, 12, 1, 4},
        {"bottom", 300, 986, -1, 3, 299, 988, -1, -3},
        {"top left corner", 13, 13, -3, -3, 12, 12, 3, 3},
        {"far out, one big step", 300, 300, -500, 0, 12, 300, 500, 0},
    };
    for (const Case& c : cases) {
        SetUp();
        Set(0, c.x, c.y, c.vx, c.vy);
        box.Step(1, false);
        EXPECT_EQ(P(0).X, c.wantX) << c.wall;
        EXPECT_EQ(P(0).Y, c.wantY) << c.wall;
        EXPECT_EQ(P(0).VX, c.wantVX) << c.wall;
        EXPECT_EQ(P(0).VY, c.wantVY) << c.wall;
    }
}

// --- the exchange -------------------------------------------------------------

TEST_F(ParticleBox, TouchingParticlesSwapVelocitiesAndTheMovedOneEndsTwoRadiiAway)
{
    Set(0, 100, 100, 2, 0.5f);
    Set(1, 125, 103, -1, 0);
    box.Step(1, false);
    // Particle 0 reached (102, 100.5), 23.1 from particle 1, and was put back
    // along the line between them; particle 1 then moved with 0's velocity.
    EXPECT_EQ(P(0).VX, -1.0f);
    EXPECT_EQ(P(0).VY, 0.0f);
    EXPECT_EQ(P(1).VX, 2.0f);
    EXPECT_EQ(P(1).VY, 0.5f);
    const TParticle one{125, 103, 0, 0};
    EXPECT_NEAR(DistanceBetween(P(0), one), 24.0f, 1e-4f);
    const float dx = 102 - 125, dy = 100.5f - 103;
    const float d = std::hypot(dx, dy);
    EXPECT_FLOAT_EQ(P(0).X, 125 + 24 * dx / d);
    EXPECT_FLOAT_EQ(P(0).Y, 103 + 24 * dy / d);
    EXPECT_FLOAT_EQ(P(1).X, 127);
    EXPECT_FLOAT_EQ(P(1).Y, 103.5f);
}

TEST_F(ParticleBox, OnlyTheFirstTouchedParticleInIndexOrderIsExchangedWith)
{
    // Particles 2 and 3 creep apart to (203, 200) and (237, 200); particle 5
    // then comes up between them to (220, 215), 22.7 from each: only 2, the
    // first in index order, exchanges with it.
    Set(2, 202, 200, 0.04f, 0);
    Set(3, 238, 200, -0.04f, 0);
    Set(5, 220, 240, 0, -1);
    box.Step(25, false);
    EXPECT_EQ(P(5).VX, 0.04f) << "from particle 2";
    EXPECT_EQ(P(2).VY, -1.0f) << "particle 2 took 5's velocity";
    EXPECT_EQ(P(3).VX, -0.04f) << "particle 3 untouched";
    EXPECT_EQ(P(3).VY, 0.0f);
    EXPECT_NEAR(DistanceBetween(P(5), P(2)), 24, 1e-4f);
}

TEST_F(ParticleBox, LaterParticlesMeetLowerOnesWhereTheyHaveAlreadyMoved)
{
    // Particle 0 moves first, to 310, still 33 from particle 1.  Particle 1
    // then moves to 333: 23 from where 0 is now (33 from where it was), so
    // they exchange, and 1 is put 24 from 0's new place.
    Set(0, 300, 300, 10, 0);
    Set(1, 343, 300, -10, 0);
    box.Step(1, false);
    EXPECT_EQ(P(0).VX, -10.0f);
    EXPECT_EQ(P(1).VX, 10.0f);
    EXPECT_FLOAT_EQ(P(0).X, 310);
    EXPECT_FLOAT_EQ(P(1).X, 334);
}

TEST_F(ParticleBox, TwoParticlesOnTheSameSpotStayFinite)
{
    Set(0, 400, 400, 0, 0);
    Set(1, 400, 400, 0, 0);
    Set(3, 400.00001f, 400, 0, 0);
    for (int s = 0; s < 3; ++s)
        box.Step(1, false);
    for (int i : {0, 1, 3}) {
        EXPECT_TRUE(std::isfinite(P(i).X) && std::isfinite(P(i).Y)) << i;
        EXPECT_NEAR(P(i).X, 400, 50) << i;
    }
}

// --- reactions ----------------------------------------------------------------

// Two unreacted particles already touching, particle 0 with velocity v and
// particle 1 with u, so that they meet in the next step whichever way they
// move.
TEST_F(ParticleBox, ACollisionReactsWhenItsSignedComponentsAddUpToMoreThanSix)
{
    struct Case {
        const char* name;
        float vx, vy, ux, uy;
        bool reacts;
    };
    const Case cases[] = {
        {"right and down, 2 + 2 + 1.6 + 1.6 = 7.2", 2, 2, 1.6f, 1.6f, true},
        {"right and down, 5.8", 1.5f, 1.5f, 1.4f, 1.4f, false},
        {"exactly 6 does not react", 3.5f, 0, 2.5f, 0, false},
        {"6.1 reacts", 3.55f, 0, 2.55f, 0, true},
        {"head-on: the components cancel however fast", 3, 3, -3, -3, false},
        {"(-2,-2) meets (-2,-2): magnitudes 8, signed sum -8", -2, -2, -2, -2, false},
        {"up and right cancels: 4 - 1 + 3 - 4", 4, -1, 3, -4, false},
    };
    const float x1 = 314, y1 = 314;  // 19.8 from particle 0
    for (const Case& c : cases) {
        SetUp();
        Set(0, 300, 300, c.vx, c.vy);
        Set(1, x1, y1, c.ux, c.uy);
        box.Step(1, true);
        // Particle 0 was put back two radii from where particle 1 stood.
        EXPECT_NEAR(std::hypot(P(0).X - x1, P(0).Y - y1), 24.0f, 1e-3f) << c.name << ": they did collide";
        EXPECT_EQ(P(0).Reacted, c.reacts) << c.name;
        EXPECT_EQ(P(1).Reacted, c.reacts) << c.name;
    }
}

TEST_F(ParticleBox, AReactedParticleChangesNoColourButStillExchanges)
{
    Set(0, 287.5f, 300, 3, 3);
    Set(1, 312.5f, 300, -3, -3, true);
    box.Step(0.5f, true);
    EXPECT_FALSE(P(0).Reacted);
    EXPECT_TRUE(P(1).Reacted);
    EXPECT_EQ(P(0).VX, -3.0f);
    EXPECT_EQ(P(1).VX, 3.0f);
}

TEST_F(ParticleBox, WithReactionsOffNothingReacts)
{
    Set(0, 287.5f, 300, 5, 5);
    Set(1, 312.5f, 300, -5, -5);
    box.Step(0.5f, false);
    EXPECT_EQ(P(0).VX, -5.0f);
    EXPECT_EQ(box.ReactedCount(), 0);
}

TEST(ReactionRateModel, SettlingNeverReactsAndEveryReactedBoxKeepsMoving)
{
    SetRandomState(4);
    TReactionRateModel m;
    m.Box.Walls = {0, 0, 400, 300};  // crowded: many collisions
    m.SetHighTemperature(true);
    m.Place();
    m.Box.Settle();
    EXPECT_EQ(m.Box.ReactedCount(), 0);

    for (TParticle& p : m.Box.Particles)
        p.Reacted = true;
    const auto before = m.Box.Particles;
    for (int s = 0; s < 50; ++s)
        m.Advance(0.02);
    EXPECT_EQ(m.Box.ReactedCount(), TParticleModel::Count);
    int moved = 0;
    for (int i = 0; i < TParticleModel::Count; ++i)
        moved += m.Box.Particles[std::size_t(i)].X != before[std::size_t(i)].X ? 1 : 0;
    EXPECT_GT(moved, 90);
}

// --- the two models' own rules -----------------------------------------------------

TEST(KineticModel, AParticleMoves50PixelsASecondLowAnd200High)
{
    for (const bool high : {false, true}) {
        TKineticModel m;
        m.Box.Walls = {0, 0, 2000, 2000};
        m.Place();
        m.SetHighTemperature(high);
        for (int i = 0; i < TParticleModel::Count; ++i)  // parked far apart
            m.Box.Particles[std::size_t(i)] = {1000 + 40.0f * float(i % 10), 1000 + 40.0f * float(i / 10), 0,
                                               0};
        m.Box.Particles[0] = {100, 100, 0.6f, 0.8f};  // speed 1
        for (int tick = 0; tick < 30; ++tick)
            m.Advance(1.0 / 60);
        const float distance = high ? 100 : 25;  // half a second
        EXPECT_NEAR(m.Box.Particles[0].X, 100 + 0.6f * distance, 1e-3f);
        EXPECT_NEAR(m.Box.Particles[0].Y, 100 + 0.8f * distance, 1e-3f);
    }
}

TEST(KineticModel, EveryParticleStartsAtTheBaseSpeed)
{
    TKineticModel m;
    m.Box.Walls = {0, 0, 800, 600};
    m.Place();
    std::vector<int> directions(TParticleModel::DirectionCount);
    for (const TParticle& p : m.Box.Particles) {
        EXPECT_NEAR(std::hypot(p.VX, p.VY), 1.0f, 1e-6f);
        const double angle = std::atan2(-p.VY, p.VX);
        ++directions[std::size_t((Round(angle / (2 * std::numbers::pi / 12)) + 12) % 12)];
    }
    // 100 particles round twelve directions: 4 × 9 + 8 × 8.
    EXPECT_EQ(std::count(directions.begin(), directions.end(), 9), 4);
    EXPECT_EQ(std::count(directions.begin(), directions.end(), 8), 8);
}

TEST(ReactionRateModel, SpeedsAreTenthsFromOneTenthToThreeTimesTheFactor)
{
    for (const bool high : {false, true}) {
        SetRandomState(9);
        TReactionRateModel m;
        m.Box.Walls = {0, 0, 800, 600};
        m.SetHighTemperature(high);
        m.Place();
        std::vector<int> seen(31);
        for (const TParticle& p : m.Box.Particles) {
            const float tenths = std::hypot(p.VX, p.VY) / m.Factor * 10;
            ASSERT_NEAR(tenths, std::round(tenths), 1e-3f);
            ASSERT_GE(Round(tenths), 1);
            ASSERT_LE(Round(tenths), 30);
            ++seen[std::size_t(Round(tenths))];
        }
        EXPECT_GT(std::count_if(seen.begin(), seen.end(), [](int n) { return n > 0; }), 20);
        // One draw for each speed and one for each swap of the shuffle.
        SetRandomState(9);
        for (int i = 0; i < 2 * TParticleModel::Count; ++i)
            RandomInt(30);
        const std::uint32_t after = RandomState();
        SetRandomState(9);
        m.Place();
        EXPECT_EQ(RandomState(), after);
    }
}

TEST(ReactionRateModel, TheHighTemperatureDoublesEverySpeedAndLowHalvesIt)
{
    TReactionRateModel m;
    m.Box.Walls = {0, 0, 800, 600};
    m.Place();
    const auto low = m.Box.Particles;
    m.SetHighTemperature(true);
    for (int i = 0; i < TParticleModel::Count; ++i) {
        EXPECT_EQ(m.Box.Particles[std::size_t(i)].VX, 2 * low[std::size_t(i)].VX);
        EXPECT_EQ(m.Box.Particles[std::size_t(i)].VY, 2 * low[std::size_t(i)].VY);
        EXPECT_EQ(m.Box.Particles[std::size_t(i)].X, low[std::size_t(i)].X);
    }
    m.SetHighTemperature(true);  // already high: nothing
    EXPECT_EQ(m.Box.Particles[5].VX, 2 * low[5].VX);
    m.SetHighTemperature(false);
    for (int i = 0; i < TParticleModel::Count; ++i)
        EXPECT_EQ(m.Box.Particles[std::size_t(i)].VX, low[std::size_t(i)].VX);
}

TEST(ReactionRateModel, ParticlesReactMoreThanTwiceAsFastAtTheHighTemperature)
{
    int reacted[2] = {};
    for (const bool high : {false, true}) {
        for (std::uint32_t seed = 1; seed <= 5; ++seed) {
            SetRandomState(seed);
            TReactionRateModel m;
            m.Box.Walls = {0, 0, 800, 600};
            m.SetHighTemperature(high);
            m.Place();
            m.Box.Settle();
            for (int tick = 0; tick < 5 * 60; ++tick)  // five seconds
                m.Advance(1.0 / 60);
            reacted[high ? 1 : 0] += m.Box.ReactedCount();
        }
    }
    EXPECT_GT(reacted[0], 0);
    EXPECT_GT(reacted[1], 2 * reacted[0]);
}

// The lesson's point: at the low temperature only a few collisions are
// energetic enough, at the high one most are.  Thirty seconds of a box the
// size of a usual picture, at 60 frames a second, averaged over 20 runs.
TEST(ReactionRateModel, AfterThirtySecondsFewReactAtTheLowTemperatureAndMostAtTheHigh)
{
    constexpr int kSeeds = 20;
    double blue[2] = {};
    for (const bool high : {false, true}) {
        for (std::uint32_t seed = 1; seed <= kSeeds; ++seed) {
            SetRandomState(seed * 7919);
            TReactionRateModel m;
            m.Box.Walls = {0, 0, 800, 600};
            m.SetHighTemperature(high);
            m.Place();
            m.Box.Settle();
            for (int tick = 0; tick < 30 * 60; ++tick)
                m.Advance(1.0 / 60);
            blue[high ? 1 : 0] += m.Box.ReactedCount();
        }
    }
    EXPECT_LE(blue[0] / kSeeds, 30) << "low";
    EXPECT_GE(blue[1] / kSeeds, 80) << "high";
}

// --- determinism ----------------------------------------------------------------

// From a known generator state the same steps give the same box: here and on
// every run.  The numbers were taken from this model once; a change to the
// motion, the walls, the exchange, the reaction or the draws moves them.
TEST(ReactionRateModel, TheSameGeneratorStateGivesTheSameRun)
{
    const auto run = [] {
        SetRandomState(2024);
        TReactionRateModel m;
        m.Box.Walls = {0, 0, 800, 600};
        m.Place();
        m.Box.Settle();
        m.SetHighTemperature(true);
        for (int tick = 0; tick < 600; ++tick)
            m.Advance(1.0 / 60);
        return m.Box;
    };
    const TParticleModel a = run();
    const TParticleModel b = run();
    for (int i = 0; i < TParticleModel::Count; ++i) {
        EXPECT_EQ(a.Particles[std::size_t(i)].X, b.Particles[std::size_t(i)].X) << i;
        EXPECT_EQ(a.Particles[std::size_t(i)].Y, b.Particles[std::size_t(i)].Y) << i;
        EXPECT_EQ(a.Particles[std::size_t(i)].Reacted, b.Particles[std::size_t(i)].Reacted) << i;
    }
    struct Golden {
        int i;
        float x, y, vx, vy;
    };
    for (const Golden g : {Golden{0, 189.351135f, 249.164383f, -1.5999999f, 2.77128148f},
                           Golden{37, 531.874084f, 88.2102661f, -2.19999957f, 3.81051207f},
                           Golden{99, 733.33313f, 519.406921f, -0.346410245f, -0.199999914f}}) {
        const TParticle& p = a.Particles[std::size_t(g.i)];
        EXPECT_FLOAT_EQ(p.X, g.x) << g.i;
        EXPECT_FLOAT_EQ(p.Y, g.y) << g.i;
        EXPECT_FLOAT_EQ(p.VX, g.vx) << g.i;
        EXPECT_FLOAT_EQ(p.VY, g.vy) << g.i;
    }
    double sum = 0;
    for (const TParticle& p : a.Particles)
        sum += double(p.X) + double(p.Y);
    EXPECT_NEAR(sum, 68805.151, 0.001);
    EXPECT_EQ(a.ReactedCount(), 72);
}

}  // namespace
}  // namespace brv
