// The animation clock: its arithmetic with time stepped by hand, and its
// ticking on a running Qt event loop.
#include "common/CadencerEx.h"

#include "common/FrameRate.h"

#include <QCoreApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace brv {
namespace {

struct Callback {
    TNGLCadencer* sender;
    double deltaTime;
    double newTime;
};

// A clock ticked by hand (cmManual) on a performance counter the test steps.
class CadencerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TNGLCadencer::SetPerformanceCounterSource([this] { return now_; });
    }
    void TearDown() override { TNGLCadencer::SetPerformanceCounterSource({}); }

    // A manual clock that records its callbacks, enabled at the current time.
    std::unique_ptr<TNGLCadencer> makeRecordingClock(double fixedStep = 0)
    {
        auto clock = std::make_unique<TNGLCadencer>();
        clock->SetMode(TNGLCadencerMode::cmManual);
        clock->FixedDeltaTime = fixedStep;
        clock->OnProgress = [this](TNGLCadencer* s, double d, double t) { calls_.push_back({s, d, t}); };
        clock->SetEnabled(true);
        return clock;
    }

    // Advances the counter and ticks; returns the callbacks of that tick.
    std::vector<Callback> tickAfter(TNGLCadencer& clock, double seconds)
    {
        now_ += seconds;
        calls_.clear();
        clock.Progress();
        return calls_;
    }

    double now_ = 100.0;
    std::vector<Callback> calls_;
};

TEST_F(CadencerTest, CreatedDisabledWithTheDefaultsAndOriginAtCreation)
{
    TNGLCadencer clock;
    EXPECT_FALSE(clock.Enabled());
    EXPECT_EQ(clock.Mode(), TNGLCadencerMode::cmASAP);
    EXPECT_EQ(clock.TimeReference(), TNGLCadencerTimeReference::cmPerformanceCounter);
    EXPECT_EQ(clock.TimeMultiplier(), 1.0);
    EXPECT_EQ(clock.SleepLength, -1);
    EXPECT_EQ(clock.OriginTime(), 100.0);
    EXPECT_EQ(clock.LastTime(), 0.0);
    EXPECT_FALSE(clock.IsRegistered());
}

struct FixedStepCase {
    const char* name;
    std::vector<double> tickGaps;  // seconds between ticks
    std::vector<int> callbacks;    // callbacks made by each tick
    double lastTimeAfter;
};

TEST_F(CadencerTest, FixedStepMakesWholeStepsAndCarriesTheRemainder)
{
    const FixedStepCase cases[] = {
        // 16 steps, 0.6 ms carried: the second frame makes 17.
        {"two 16.6 ms frames", {0.0166, 0.0166}, {16, 17}, 0.033},
        // 0.4 ms is less than a step: nothing made, nothing consumed.
        {"0.4 ms then 0.8 ms", {0.0004, 0.0008}, {0, 1}, 0.001},
    };
    for (const FixedStepCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto clock = makeRecordingClock(0.001);
        double elapsed = 0;
        for (std::size_t i = 0; i < c.tickGaps.size(); ++i) {
            elapsed += c.tickGaps[i];
            const auto tick = tickAfter(*clock, c.tickGaps[i]);
            ASSERT_EQ(static_cast<int>(tick.size()), c.callbacks[i]) << "tick " << i;
            for (const Callback& cb : tick) {
                EXPECT_EQ(cb.sender, clock.get());
                EXPECT_EQ(cb.deltaTime, 0.001);
                EXPECT_NEAR(cb.newTime, elapsed, 1e-9);
            }
        }
        EXPECT_NEAR(clock->LastTime(), c.lastTimeAfter, 1e-12);
    }
}

TEST_F(CadencerTest, DisabledTimeIsNotHandedOut)
{
    auto clock = makeRecordingClock();
    ASSERT_EQ(tickAfter(*clock, 1.0).size(), 1u);
    clock->SetEnabled(false);
    now_ += 10.0;
    clock->SetEnabled(true);
    EXPECT_NEAR(clock->CurrentTime(), 1.0, 1e-9);

    const auto tick = tickAfter(*clock, 0.5);
    ASSERT_EQ(tick.size(), 1u);
    EXPECT_NEAR(tick[0].deltaTime, 0.5, 1e-9);
    EXPECT_NEAR(tick[0].newTime, 1.5, 1e-9);
}

TEST_F(CadencerTest, DisabledClockMakesNoCallbacks)
{
    auto clock = makeRecordingClock();
    clock->SetEnabled(false);
    EXPECT_TRUE(tickAfter(*clock, 1.0).empty());
    EXPECT_EQ(clock->LastTime(), 0.0);
}

TEST_F(CadencerTest, MultiplierZeroStopsTheClockAndANewOneContinuesIt)
{
    auto clock = makeRecordingClock();
    tickAfter(*clock, 3.0);
    clock->SetTimeMultiplier(0);
    EXPECT_FALSE(clock->Enabled());
    now_ += 5.0;
    clock->SetTimeMultiplier(2);
    EXPECT_TRUE(clock->Enabled());
    EXPECT_NEAR(clock->CurrentTime(), 3.0, 1e-9);

    auto tick = tickAfter(*clock, 1.0);
    ASSERT_EQ(tick.size(), 1u);
    EXPECT_NEAR(tick[0].deltaTime, 2.0, 1e-9);
    EXPECT_NEAR(tick[0].newTime, 5.0, 1e-9);

    // A change between two running rates is continuous as well.
    clock->SetTimeMultiplier(0.5);
    EXPECT_NEAR(clock->CurrentTime(), 5.0, 1e-9);
    tick = tickAfter(*clock, 1.0);
    ASSERT_EQ(tick.size(), 1u);
    EXPECT_NEAR(tick[0].deltaTime, 0.5, 1e-9);
}

TEST_F(CadencerTest, MaxDeltaTimeDropsTheExcessForGood)
{
    for (double multiplier : {1.0, 2.0}) {
        SCOPED_TRACE(multiplier);
        calls_.clear();
        auto clock = makeRecordingClock();
        clock->SetTimeMultiplier(multiplier);
        clock->MaxDeltaTime = 0.1;

        auto tick = tickAfter(*clock, 1.0);
        ASSERT_EQ(tick.size(), 1u);
        EXPECT_NEAR(tick[0].deltaTime, 0.1, 1e-9);
        EXPECT_NEAR(tick[0].newTime, 0.1, 1e-9);

        tick = tickAfter(*clock, 0.04);
        ASSERT_EQ(tick.size(), 1u);
        EXPECT_NEAR(tick[0].deltaTime, 0.04 * multiplier, 1e-9);
        EXPECT_NEAR(tick[0].newTime, 0.1 + 0.04 * multiplier, 1e-9);
    }
}

TEST_F(CadencerTest, MinDeltaTimeLetsShortTicksAccumulate)
{
    auto clock = makeRecordingClock();
    clock->MinDeltaTime = 0.01;
    EXPECT_TRUE(tickAfter(*clock, 0.006).empty());
    const auto tick = tickAfter(*clock, 0.006);
    ASSERT_EQ(tick.size(), 1u);
    EXPECT_NEAR(tick[0].deltaTime, 0.012, 1e-9);
}

TEST_F(CadencerTest, CallbackStoppingItsClockStillGetsTheTicksRemainingSteps)
{
    auto clock = makeRecordingClock(0.001);
    clock->OnProgress = [this](TNGLCadencer* s, double d, double t) {
        calls_.push_back({s, d, t});
        s->SetEnabled(false);
    };
    EXPECT_EQ(tickAfter(*clock, 0.0055).size(), 5u);
    EXPECT_FALSE(clock->Enabled());
    EXPECT_TRUE(tickAfter(*clock, 1.0).empty());
}

TEST_F(CadencerTest, CallbackDestroyingItsClockEndsTheTick)
{
    auto clock = makeRecordingClock(0.001);
    int calls = 0;
    clock->OnProgress = [&clock, &calls](TNGLCadencer*, double, double) {
        ++calls;
        clock.reset();
    };
    now_ += 0.005;
    clock->Progress();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(clock, nullptr);
}

TEST_F(CadencerTest, ThrowingCallbackLeavesTheClockReusable)
{
    auto clock = makeRecordingClock();
    clock->OnProgress = [](TNGLCadencer*, double, double) { throw std::runtime_error("model fault"); };
    now_ += 1.0;
    EXPECT_THROW(clock->Progress(), std::runtime_error);
    EXPECT_EQ(clock->ProgressDepth(), 0);
}

TEST(CadencerReference, RealTimeClockCountsSecondsFromTheEndOf1899)
{
    TNGLCadencer clock;
    clock.SetTimeReference(TNGLCadencerTimeReference::cmRTC);
    const double days = clock.RawReferenceTime() / 86400.0;
    EXPECT_NEAR(days, static_cast<double>(QDate(1899, 12, 30).daysTo(QDate::currentDate())) + 0.5, 0.51);
}

// --- On a running event loop, with real time -----------------------------------

// Runs the event loop until done() holds or timeoutMs passes; returns done().
bool runLoopUntil(const std::function<bool()>& done, int timeoutMs)
{
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    poll.start(1);
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
    return done();
}

void runLoopFor(int ms)
{
    runLoopUntil([] { return false; }, ms);
}

class CadencerLoopTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Frames of a millisecond: free-running clocks here are ticked every
        // pass, as the tests of the loop's own workings expect; the frame
        // rule has tests of its own.
        SetFrameRate(1000);
        letTheTickObjectGo();
        TNGLCadencer::SetErrorReporter([this](std::exception_ptr error) {
            try {
                std::rethrow_exception(error);
            } catch (const std::exception& e) {
                reports_.push_back(e.what());
            }
        });
    }
    void TearDown() override
    {
        TNGLCadencer::SetErrorReporter({});
        letTheTickObjectGo();
        SetFrameRate(0);
    }

    // Runs the loop until no clock is left to keep a tick object alive, and
    // deletes it, so that every test starts without one.
    static void letTheTickObjectGo()
    {
        runLoopUntil([] { return !TNGLCadencer::TickHandlerExists(); }, 2000);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    static std::unique_ptr<TNGLCadencer> makeCountingClock(int& count)
    {
        auto clock = std::make_unique<TNGLCadencer>();
        clock->OnProgress = [&count](TNGLCadencer*, double, double) { ++count; };
        clock->SetEnabled(true);
        return clock;
    }

    std::vector<std::string> reports_;
};

TEST_F(CadencerLoopTest, RegistrationFollowsEnabledAndMode)
{
    TNGLCadencer clock;
    clock.SetEnabled(true);
    EXPECT_TRUE(clock.IsRegistered());
    EXPECT_EQ(TNGLCadencer::AsapClockCount(), 1);
    EXPECT_TRUE(TNGLCadencer::TickHandlerExists());
    clock.SetMode(TNGLCadencerMode::cmManual);
    EXPECT_FALSE(clock.IsRegistered());
    clock.SetMode(TNGLCadencerMode::cmASAP);
    EXPECT_TRUE(clock.IsRegistered());
    clock.SetEnabled(false);
    EXPECT_FALSE(clock.IsRegistered());
    EXPECT_EQ(TNGLCadencer::AsapClockCount(), 0);
}

TEST_F(CadencerLoopTest, AsapClocksTickOnTheEventLoopNewestFirst)
{
    std::vector<TNGLCadencer*> order;
    double elapsed = 0;
    auto record = [&](TNGLCadencer* s, double d, double) {
        order.push_back(s);
        EXPECT_GE(d, 0.0);
        elapsed += d;
    };
    TNGLCadencer first;
    TNGLCadencer second;
    first.OnProgress = record;
    second.OnProgress = [&](TNGLCadencer* s, double d, double t) {
        record(s, d, t);
        elapsed -= d;  // count the time of one clock only
    };
    QElapsedTimer wall;
    wall.start();
    first.SetEnabled(true);
    second.SetEnabled(true);
    runLoopFor(60);
    const double wallSeconds = wall.nsecsElapsed() / 1e9;

    ASSERT_GE(order.size(), 4u);
    EXPECT_EQ(order[0], &second);
    EXPECT_EQ(order[1], &first);
    EXPECT_GT(elapsed, 0.0);
    EXPECT_LE(elapsed, wallSeconds);
    EXPECT_TRUE(reports_.empty());
}

TEST_F(CadencerLoopTest, SpinningLoopYieldsAboutAMillisecondBetweenTicks)
{
    // With nothing else to do the loop would deliver hundreds of thousands of
    // ticks a second; yielding keeps it near one a millisecond.  An upper
    // bound only, which a slower (busier) machine meets all the more.
    int ticks = 0;
    auto clock = makeCountingClock(ticks);
    QElapsedTimer wall;
    wall.start();
    runLoopFor(200);
    const double ms = wall.nsecsElapsed() / 1e6;
    EXPECT_GT(ticks, 0);
    EXPECT_LT(ticks, 5 * ms) << ticks << " ticks in " << ms << " ms";
}

// Each tick of a free-running clock is a picture its owner draws: it is
// ticked once a frame, with the frame's time, while a fixed-step clock beside
// it is served every pass.
TEST_F(CadencerLoopTest, AFreeRunningClockIsTickedOnceAFrame)
{
    SetFrameRate(50);
    std::vector<double> steps;
    TNGLCadencer free;
    free.OnProgress = [&steps](TNGLCadencer*, double d, double) { steps.push_back(d); };
    std::set<double> fixedTicks;  // one newTime a tick
    TNGLCadencer fixed;
    fixed.FixedDeltaTime = 1e-4;
    fixed.OnProgress = [&fixedTicks](TNGLCadencer*, double, double t) { fixedTicks.insert(t); };
    QElapsedTimer wall;
    wall.start();
    free.SetEnabled(true);
    fixed.SetEnabled(true);
    runLoopFor(300);
    free.SetEnabled(false);
    const double frames = wall.nsecsElapsed() / 20e6;

    ASSERT_GE(steps.size(), 3u);
    EXPECT_LE(double(steps.size()), frames + 2);
    EXPECT_GT(*std::min_element(steps.begin() + 1, steps.end()), 0.018);  // the first is since the start
    EXPECT_GT(fixedTicks.size(), 2 * steps.size());
}

// With only free-running clocks the tick object rests between their frames;
// a clock started meanwhile is ticked at once, not at the end of the rest.
TEST_F(CadencerLoopTest, AClockStartedWhileTheTickObjectRestsIsTickedAtOnce)
{
    SetFrameRate(2);
    int freeTicks = 0;
    auto free = makeCountingClock(freeTicks);
    ASSERT_TRUE(runLoopUntil([&] { return freeTicks == 1; }, 2000));
    runLoopFor(50);
    EXPECT_EQ(freeTicks, 1);  // the next is half a second away
    for (const double fixedStep : {0.0, 1e-4}) {
        SCOPED_TRACE(fixedStep > 0 ? "fixed step" : "free-running");
        int ticks = 0;
        TNGLCadencer started;
        started.FixedDeltaTime = fixedStep;
        started.OnProgress = [&ticks](TNGLCadencer*, double, double) { ++ticks; };
        started.SetEnabled(true);
        EXPECT_TRUE(runLoopUntil([&] { return ticks > 0; }, 200));
    }
    free.reset();
    ASSERT_TRUE(runLoopUntil([] { return !TNGLCadencer::TickHandlerExists(); }, 2000));

    // Started by another clock's tick: the pass that started it does not rest.
    int startedTicks = 0;
    TNGLCadencer started;
    started.FixedDeltaTime = 1e-4;
    started.OnProgress = [&startedTicks](TNGLCadencer*, double, double) { ++startedTicks; };
    TNGLCadencer starter;
    starter.OnProgress = [&started](TNGLCadencer*, double, double) { started.SetEnabled(true); };
    starter.SetEnabled(true);
    EXPECT_TRUE(runLoopUntil([&] { return startedTicks > 0; }, 200));
}

TEST_F(CadencerLoopTest, FailingCallbackDisablesOnlyItsClockAndIsReportedOnce)
{
    int good = 0;
    int goodAtFailure = -1;
    auto goodClock = makeCountingClock(good);
    TNGLCadencer badClock;
    badClock.OnProgress = [&](TNGLCadencer*, double, double) {
        goodAtFailure = good;
        throw std::runtime_error("model fault");
    };
    badClock.SetEnabled(true);
    runLoopFor(60);

    ASSERT_EQ(reports_, std::vector<std::string>{"model fault"});
    EXPECT_FALSE(badClock.Enabled());
    EXPECT_EQ(badClock.ProgressDepth(), 0);
    EXPECT_TRUE(goodClock->Enabled());
    EXPECT_GT(good, goodAtFailure + 1);
}

TEST_F(CadencerLoopTest, BusyClockIsSkippedByTheTickObject)
{
    // The clock's callback, reached by a hand-made tick, runs the event loop:
    // the tick object must tick the other clock and leave this one alone.
    int otherTicks = 0;
    auto other = makeCountingClock(otherTicks);
    TNGLCadencer busy;
    busy.SetMode(TNGLCadencerMode::cmManual);
    busy.SetEnabled(true);
    int busyCalls = 0;
    int otherTicksInside = 0;
    busy.OnProgress = [&](TNGLCadencer* s, double, double) {
        ++busyCalls;
        if (busyCalls > 1)
            return;
        s->SetMode(TNGLCadencerMode::cmASAP);  // now the tick object sees it
        const int before = otherTicks;
        runLoopFor(40);
        otherTicksInside = otherTicks - before;
        s->SetMode(TNGLCadencerMode::cmManual);
    };
    busy.Progress();

    EXPECT_EQ(busyCalls, 1);
    EXPECT_GT(otherTicksInside, 0);
    EXPECT_EQ(busy.ProgressDepth(), 0);

    busy.SetMode(TNGLCadencerMode::cmASAP);
    EXPECT_TRUE(runLoopUntil([&] { return busyCalls > 1; }, 2000));
}

TEST_F(CadencerLoopTest, ClockStoppedByEventsItsTickProcessesIsNotTicked)
{
    // An event queued before the clock starts stops it; a tick processes that
    // event first and then must leave the clock alone.  (Queued first, so that
    // no pass of the tick object reaches the clock before it.)
    for (bool destroy : {false, true}) {
        SCOPED_TRACE(destroy ? "destroyed" : "disabled");
        ASSERT_FALSE(TNGLCadencer::TickHandlerExists());
        int calls = 0;
        auto clock = std::make_unique<TNGLCadencer>();
        clock->OnProgress = [&calls](TNGLCadencer*, double, double) { ++calls; };
        QTimer::singleShot(0, QCoreApplication::instance(), [&clock, destroy] {
            if (destroy)
                clock.reset();
            else
                clock->SetEnabled(false);
        });
        clock->SetEnabled(true);
        clock->Progress();
        EXPECT_EQ(calls, 0);
    }
}

TEST_F(CadencerLoopTest, TickObjectGoesWithTheLastClockAndComesWithTheNext)
{
    const auto childrenBefore = QCoreApplication::instance()->children().size();

    int ticks = 0;
    auto clock = makeCountingClock(ticks);
    ASSERT_TRUE(TNGLCadencer::TickHandlerExists());
    ASSERT_TRUE(runLoopUntil([&] { return ticks > 0; }, 2000));
    clock.reset();
    EXPECT_TRUE(runLoopUntil([] { return !TNGLCadencer::TickHandlerExists(); }, 2000));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(QCoreApplication::instance()->children().size(), childrenBefore);  // deleted, not just dropped

    int laterTicks = 0;
    auto later = makeCountingClock(laterTicks);
    EXPECT_TRUE(TNGLCadencer::TickHandlerExists());
    EXPECT_TRUE(runLoopUntil([&] { return laterTicks > 0; }, 2000));
}

TEST_F(CadencerLoopTest, ClockDestroyedInsideItsTickedCallbackIsSafe)
{
    int survivorTicks = 0;
    auto survivor = makeCountingClock(survivorTicks);
    auto doomed = std::make_unique<TNGLCadencer>();
    doomed->FixedDeltaTime = 1e-6;  // many steps per tick: the loop must stop
    int doomedCalls = 0;
    doomed->OnProgress = [&doomed, &doomedCalls](TNGLCadencer*, double, double) {
        ++doomedCalls;
        doomed.reset();
    };
    doomed->SetEnabled(true);

    ASSERT_TRUE(runLoopUntil([&] { return doomed == nullptr; }, 2000));
    const int ticksAfterDestruction = survivorTicks;
    EXPECT_TRUE(runLoopUntil([&] { return survivorTicks > ticksAfterDestruction + 2; }, 2000));
    EXPECT_EQ(doomedCalls, 1);
    EXPECT_EQ(TNGLCadencer::AsapClockCount(), 1);
}

TEST_F(CadencerLoopTest, IdleModeTicksFromTheEventLoop)
{
    int ticks = 0;
    TNGLCadencer clock;
    clock.OnProgress = [&ticks](TNGLCadencer*, double, double) { ++ticks; };
    clock.SetMode(TNGLCadencerMode::cmApplicationIdle);
    clock.SetEnabled(true);
    EXPECT_TRUE(clock.IsRegistered());
    EXPECT_TRUE(runLoopUntil([&] { return ticks > 3; }, 2000));
    clock.SetEnabled(false);
    const int stopped = ticks;
    runLoopFor(20);
    EXPECT_EQ(ticks, stopped);
}

}  // namespace
}  // namespace brv
