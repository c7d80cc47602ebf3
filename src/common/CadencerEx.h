// The animation clock of the animated experiments.
//
// A TNGLCadencer measures time and calls OnProgress(sender, deltaTime, newTime)
// as often as the event loop allows.  With FixedDeltaTime > 0 one tick makes as
// many callbacks of exactly FixedDeltaTime as the elapsed time holds and
// carries the remainder into the next tick, so experiments integrate with a
// constant step whatever the frame rate.
//
// cmASAP clocks are ticked by one hidden TASAPHandler object that posts itself
// an event, ticks every enabled clock, and posts again; when the loop spins
// without other work it yields for a 1 ms timer.  A free-running clock (no
// fixed step) is ticked at most once a frame of the screen: each of its ticks
// is a step of its owner, who draws it, and more of them than frames would be
// pictures nobody sees.
#pragma once

#include "common/ErrorBox.h"

#include <QtGlobal>

#include <functional>
#include <memory>

namespace brv {

enum class TNGLCadencerTimeReference { cmRTC, cmPerformanceCounter, cmExternal };
enum class TNGLCadencerMode { cmManual, cmASAP, cmApplicationIdle };

class TNGLCadencer;
using TNGLProgressEvent = std::function<void(TNGLCadencer* sender, double deltaTime, double newTime)>;

// Raw time source in seconds; tests replace it to step time by hand.
using TTimeSource = std::function<double()>;

class TASAPHandler;

class TNGLCadencer {
public:
    // Created disabled; the owning form holds it and destroys it with itself.
    TNGLCadencer();
    ~TNGLCadencer();
    TNGLCadencer(const TNGLCadencer&) = delete;
    TNGLCadencer& operator=(const TNGLCadencer&) = delete;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool v);
    TNGLCadencerTimeReference TimeReference() const { return timeReference_; }
    void SetTimeReference(TNGLCadencerTimeReference v) { timeReference_ = v; }
    double TimeMultiplier() const { return timeMultiplier_; }
    void SetTimeMultiplier(double m);
    double MaxDeltaTime = 0;
    double MinDeltaTime = 0;
    double FixedDeltaTime = 0;
    TNGLCadencerMode Mode() const { return mode_; }
    void SetMode(TNGLCadencerMode v);
    int SleepLength = -1;
    TNGLProgressEvent OnProgress;

    double RawReferenceTime();
    double CurrentTime();
    // The current clock time for cmExternal.
    void SetCurrentTime(double t) { currentTime_ = t; }
    // One tick.  OnProgress may disable the clock, process events, or even
    // destroy the clock; after a destruction the tick touches nothing of it.
    void Progress();

    double LastTime() const { return lastTime_; }
    double OriginTime() const { return originTime_; }
    int ProgressDepth() const { return progressDepth_; }
    bool IsRegistered() const;

    // Replaces the performance-counter source for every clock (tests); an
    // empty function restores the real one.
    static void SetPerformanceCounterSource(TTimeSource source);
    // Replaces the error display of ticked clocks, which is the program's one
    // standard error box (tests, so that no modal box blocks them); an empty
    // function restores the box.
    static void SetErrorReporter(TErrorReporter reporter);
    // Whether the shared tick object currently exists.
    static bool TickHandlerExists();
    // Number of clocks the tick object would tick.
    static int AsapClockCount();

private:
    friend class TASAPHandler;

    // Sleep and event processing before a tick; false if the clock was
    // disabled or destroyed meanwhile.
    bool prepareTick(const std::shared_ptr<bool>& alive);
    // Measures the elapsed time and makes the callbacks of one tick.
    void advance(const std::shared_ptr<bool>& alive);
    void updateRegistration();
    void registerClock();
    void unregisterClock(TNGLCadencerMode mode);

    bool enabled_ = false;
    TNGLCadencerTimeReference timeReference_ = TNGLCadencerTimeReference::cmPerformanceCounter;
    double timeMultiplier_ = 1.0;
    double multiplierBeforeZero_ = 1.0;
    TNGLCadencerMode mode_ = TNGLCadencerMode::cmASAP;
    double lastTime_ = 0;
    double originTime_ = 0;
    double downTime_ = 0;
    double currentTime_ = 0;
    int progressDepth_ = 0;
    // When the tick object last served this clock, on the event loop's own
    // clock (nanoseconds); for the frame rule of free-running clocks.
    qint64 lastServedNs_ = 0;
    bool served_ = false;
    // False once the clock is destroyed: a tick that ran the callback or the
    // event loop checks it before touching the clock again.
    std::shared_ptr<bool> alive_;
};

}  // namespace brv
