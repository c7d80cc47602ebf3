#include "common/CadencerEx.h"

#include "common/FrameRate.h"

#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QTime>
#include <QTimer>
#include <QTimerEvent>

#include <algorithm>
#include <chrono>
#include <thread>
#include <utility>
#include <vector>

namespace brv {

namespace {

// --- Time sources -----------------------------------------------------------

TTimeSource& performanceCounterSource()
{
    static TTimeSource source;
    return source;
}

double steadyClockSeconds()
{
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

// Local date-time as days since 30 December 1899, in seconds.  Whole days are
// counted on the calendar so that the time zone of 1899 plays no part.
double localDateTimeSeconds()
{
    static const QDate kDayZero(1899, 12, 30);
    const QDateTime now = QDateTime::currentDateTime();
    return static_cast<double>(kDayZero.daysTo(now.date())) * 86400.0 +
           now.time().msecsSinceStartOfDay() / 1000.0;
}

// The event loop's own clock; never the injectable sources, which are the
// clocks' time and may stand still in tests.
qint64 loopNanoseconds()
{
    using namespace std::chrono;
    return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();
}

qint64 loopMilliseconds()
{
    return loopNanoseconds() / 1'000'000;
}

// Passes come about a millisecond apart: a free-running clock whose frame
// ends within half of one is served now rather than a pass late.
constexpr qint64 kFrameEarlyNs = 500'000;

// --- Process-wide state of the clocks ----------------------------------------

// The cmASAP clocks that want ticks.  Unregistered entries become nullptr and
// are removed by the tick object after its pass, so that a pass can walk the
// list by index while callbacks register and unregister clocks.
std::vector<TNGLCadencer*>* asapCadencerList = nullptr;
TASAPHandler* asapHandler = nullptr;
// Set while the tick object walks the clocks.
bool tickInProgress = false;

// cmApplicationIdle: one clock at a time, ticked by a zero-interval timer,
// which Qt fires whenever the event loop has nothing else to do.
TNGLCadencer* idleCadencer = nullptr;
QPointer<QTimer> idleTimer;

// The tick event ("TickGLCadencer"), registered once per process.
QEvent::Type tickEventType()
{
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

bool asapListHolds(const TNGLCadencer* clock)
{
    return asapCadencerList != nullptr &&
           std::find(asapCadencerList->begin(), asapCadencerList->end(), clock) != asapCadencerList->end();
}

}  // namespace

// --- The tick object ---------------------------------------------------------

// Produces as-soon-as-possible ticks from the Qt event loop: it posts itself an
// event, ticks every registered clock, and posts again.  Other events (input,
// paints) are delivered between two ticks because the loop handles an event
// posted during its delivery only on its next iteration.
//
// Yielding.  A self-posting loop keeps a core busy at 100 % (measured: some
// 300 000 passes a second), nearly all of them finding less than a millisecond
// elapsed, where a 1 ms fixed step does nothing at all.  Qt events carry no
// time stamp, and a rule that yields only after thousands of passes within one
// millisecond never trips: a pass takes microseconds.  So a tick that arrives
// within the same millisecond as the previous pass began is held back until a
// 1 ms timer fires.  The clocks work from elapsed time, so
// this costs no accuracy: a pass still comes every millisecond or so, far more
// often than the screen refreshes, at about 3 % of one core.  A pass that
// itself lasts a millisecond or more is followed by the next at once, so heavy
// drawing is never slowed down by the yield.
//
// The timer repeats while the loop keeps spinning and is killed when it finds
// no tick waiting, so a spinning loop registers no timer per tick: the posted
// event is the only allocation of a pass.
//
// Frames.  A free-running clock hands its owner the time since its last tick,
// and its owner draws a picture per tick: the particle models draw the whole
// box every step.  A pass every millisecond would draw a thousand pictures a
// second where the screen shows sixty, at the cost of a whole core.  So a
// free-running clock is served once a frame of the screen, the time between
// accumulating into its next step; and while only free-running clocks are
// registered, the tick object rests on its timer until the next one is due
// instead of passing over them every millisecond.  Fixed-step clocks are
// served every pass as before: their steps do not depend on the ticks.
class TASAPHandler final : public QObject {
public:
    TASAPHandler();
    ~TASAPHandler() override;
    TASAPHandler(const TASAPHandler&) = delete;
    TASAPHandler& operator=(const TASAPHandler&) = delete;

    // Ticks one clock; an exception from its callback disables it and is
    // reported, so that the other clocks keep running.
    static void Serve(TNGLCadencer* clock);
    // A clock was registered: a rest ends, so that it is ticked at once.
    void Wake();

protected:
    bool event(QEvent* e) override;

private:
    bool isOurTimer(QEvent* e) const;
    void holdUntilTimer();
    void restFor(qint64 ns);
    void runTimer(int ms);
    void stopTimer();
    void tickClocks();
    void postTick();

    int timerId_ = 0;       // the 1 ms timer while the loop spins, or a rest
    int timerMs_ = 0;       // its interval
    bool waiting_ = false;  // a tick is held back until the timer fires
    bool woken_ = false;    // a clock was registered during this pass
    qint64 lastPassMs_ = -1;
};

TASAPHandler::TASAPHandler() : QObject(QCoreApplication::instance())
{
    postTick();
}

TASAPHandler::~TASAPHandler()
{
    stopTimer();
    if (asapHandler == this)
        asapHandler = nullptr;
}

void TASAPHandler::postTick()
{
    QCoreApplication::postEvent(this, new QEvent(tickEventType()));
}

bool TASAPHandler::isOurTimer(QEvent* e) const
{
    return e->type() == QEvent::Timer && timerId_ != 0 && static_cast<QTimerEvent*>(e)->timerId() == timerId_;
}

void TASAPHandler::holdUntilTimer()
{
    waiting_ = true;
    runTimer(1);
}

void TASAPHandler::restFor(qint64 ns)
{
    waiting_ = true;
    runTimer(int((ns + 999'999) / 1'000'000));
}

void TASAPHandler::runTimer(int ms)
{
    if (timerId_ != 0 && timerMs_ == ms)
        return;
    stopTimer();
    timerId_ = startTimer(ms, Qt::PreciseTimer);
    timerMs_ = ms;
}

void TASAPHandler::stopTimer()
{
    if (timerId_ != 0)
        killTimer(timerId_);
    timerId_ = 0;
    timerMs_ = 0;
}

void TASAPHandler::Wake()
{
    if (tickInProgress)
        woken_ = true;  // the pass that runs does not rest
    else if (waiting_ && timerMs_ > 1)
        postTick();
}

bool TASAPHandler::event(QEvent* e)
{
    if (e->type() == tickEventType()) {
        // A tick delivered while a pass runs (a callback processing events) is
        // dropped: that pass posts the next one when it ends.
        if (tickInProgress)
            return true;
        if (loopMilliseconds() == lastPassMs_) {
            holdUntilTimer();
            return true;
        }
    } else if (isOurTimer(e)) {
        if (tickInProgress)
            return true;
        if (!waiting_) {
            stopTimer();  // the loop stopped spinning
            return true;
        }
        waiting_ = false;
    } else {
        return QObject::event(e);
    }
    tickClocks();
    return true;
}

void TASAPHandler::Serve(TNGLCadencer* clock)
{
    const std::shared_ptr<bool> alive = clock->alive_;
    try {
        clock->Progress();
    } catch (...) {
        // Disabled before the report: the error box runs an event loop of its
        // own, and the clock's time should stand still from the failure on.
        if (*alive)
            clock->SetEnabled(false);
        ReportError(std::current_exception());
    }
}

void TASAPHandler::tickClocks()
{
    struct FlagGuard {
        FlagGuard() { tickInProgress = true; }
        ~FlagGuard() { tickInProgress = false; }
    } guard;
    lastPassMs_ = loopMilliseconds();
    waiting_ = false;  // this pass decides how the next one comes
    woken_ = false;
    const qint64 now = loopNanoseconds();
    const qint64 frame = FrameNanoseconds();
    // Until the first free-running clock is due; a fixed-step clock, or one
    // busy in a tick of its own, wants the next pass as soon as may be.
    qint64 rest = frame;

    if (asapCadencerList != nullptr) {
        // By index from the end: callbacks may append clocks (ticked from the
        // next pass on) and unregister them (entries become nullptr).
        for (std::size_t i = asapCadencerList->size(); i-- > 0;) {
            TNGLCadencer* clock = (*asapCadencerList)[i];
            if (clock == nullptr || clock->Mode() != TNGLCadencerMode::cmASAP || !clock->Enabled())
                continue;
            if (clock->ProgressDepth() != 0 || clock->FixedDeltaTime > 0) {
                rest = 0;
            } else {
                const qint64 due = clock->served_ ? clock->lastServedNs_ + frame - kFrameEarlyNs - now : 0;
                if (due > 0) {
                    rest = std::min(rest, due);
                    continue;
                }
                clock->served_ = true;
                clock->lastServedNs_ = now;
                rest = std::min(rest, frame - kFrameEarlyNs);
            }
            if (clock->ProgressDepth() != 0)
                continue;
            if (QCoreApplication::closingDown())
                clock->SetEnabled(false);
            else
                Serve(clock);
        }
        auto& list = *asapCadencerList;
        list.erase(std::remove(list.begin(), list.end(), nullptr), list.end());
        if (!list.empty()) {
            if (rest >= 1'000'000 && !woken_)
                restFor(rest);
            else
                postTick();
            return;
        }
    }
    // Nothing left to tick: the list and this object go; the next registration
    // makes new ones.  deleteLater, because we are inside our own event().
    delete asapCadencerList;
    asapCadencerList = nullptr;
    asapHandler = nullptr;
    deleteLater();
}

// --- TNGLCadencer --------------------------------------------------------------

TNGLCadencer::TNGLCadencer() : alive_(std::make_shared<bool>(true))
{
    downTime_ = RawReferenceTime();
    originTime_ = downTime_;
}

TNGLCadencer::~TNGLCadencer()
{
    *alive_ = false;
    // Both, whatever the mode: a destroyed clock must be in no list at all.
    unregisterClock(TNGLCadencerMode::cmASAP);
    unregisterClock(TNGLCadencerMode::cmApplicationIdle);
}

void TNGLCadencer::SetEnabled(bool v)
{
    if (v == enabled_)
        return;
    enabled_ = v;
    if (v)
        originTime_ += RawReferenceTime() - downTime_;  // resume where it stopped
    else
        downTime_ = RawReferenceTime();
    updateRegistration();
}

void TNGLCadencer::SetTimeMultiplier(double m)
{
    if (m == timeMultiplier_)
        return;
    if (m == 0) {
        multiplierBeforeZero_ = timeMultiplier_;
        SetEnabled(false);
    } else {
        const double r = RawReferenceTime();
        double previous = timeMultiplier_;
        if (timeMultiplier_ == 0) {
            SetEnabled(true);
            previous = multiplierBeforeZero_;
        }
        // Keeps (r - OriginTime) * multiplier, the clock time, continuous.
        originTime_ = r - (r - originTime_) * previous / m;
    }
    timeMultiplier_ = m;
}

void TNGLCadencer::SetMode(TNGLCadencerMode v)
{
    if (v == mode_)
        return;
    if (mode_ != TNGLCadencerMode::cmManual)
        unregisterClock(mode_);
    mode_ = v;
    updateRegistration();
}

double TNGLCadencer::RawReferenceTime()
{
    switch (timeReference_) {
        case TNGLCadencerTimeReference::cmRTC:
            // The design's clock offers the local date-time as a reference;
            // no experiment of ours uses it, and no test needs to pin it.
            return localDateTimeSeconds();
        case TNGLCadencerTimeReference::cmPerformanceCounter:
            return performanceCounterSource() ? performanceCounterSource()() : steadyClockSeconds();
        case TNGLCadencerTimeReference::cmExternal:
            break;
    }
    return currentTime_;
}

double TNGLCadencer::CurrentTime()
{
    currentTime_ = (RawReferenceTime() - originTime_) * timeMultiplier_;
    return currentTime_;
}

bool TNGLCadencer::prepareTick(const std::shared_ptr<bool>& alive)
{
    if (SleepLength >= 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(SleepLength));
    if (mode_ != TNGLCadencerMode::cmASAP)
        return true;
    QCoreApplication::processEvents();
    // Disabled or destroyed while the events ran: not ticked any further.
    return *alive && asapListHolds(this);
}

void TNGLCadencer::advance(const std::shared_ptr<bool>& alive)
{
    if (!enabled_)
        return;
    double newTime = CurrentTime();
    double deltaTime = newTime - lastTime_;
    // Too little time: nothing is consumed, it accumulates for the next tick.
    if (deltaTime < MinDeltaTime || deltaTime < FixedDeltaTime)
        return;
    if (MaxDeltaTime > 0 && deltaTime > MaxDeltaTime) {
        // The excess is dropped for good: the origin moves forward over it.
        originTime_ += (deltaTime - MaxDeltaTime) / timeMultiplier_;
        deltaTime = MaxDeltaTime;
        newTime = lastTime_ + MaxDeltaTime;
    }
    // LastTime advances by whole steps only, so with a fixed step the
    // remainder is carried into the next tick.  The loop does not look at
    // Enabled: a callback that stops its clock still gets this tick's steps.
    double total = deltaTime;
    const double step = FixedDeltaTime > 0 ? FixedDeltaTime : deltaTime;
    while (total >= step) {
        lastTime_ += step;
        if (OnProgress) {
            OnProgress(this, step, newTime);
            if (!*alive)
                return;
        }
        if (step <= 0)
            break;
        total -= step;
    }
}

void TNGLCadencer::Progress()
{
    if (progressDepth_ < 0)
        return;
    // A copy, so that the flag outlives a clock destroyed by its callback.
    const std::shared_ptr<bool> alive = alive_;
    if (enabled_ && !prepareTick(alive))
        return;
    ++progressDepth_;
    try {
        advance(alive);
    } catch (...) {
        if (*alive)
            --progressDepth_;
        throw;
    }
    if (*alive)
        --progressDepth_;
}

bool TNGLCadencer::IsRegistered() const
{
    return asapListHolds(this) || idleCadencer == this;
}

void TNGLCadencer::SetPerformanceCounterSource(TTimeSource source)
{
    performanceCounterSource() = std::move(source);
}

void TNGLCadencer::SetErrorReporter(TErrorReporter reporter)
{
    brv::SetErrorReporter(std::move(reporter));
}

bool TNGLCadencer::TickHandlerExists()
{
    return asapHandler != nullptr;
}

int TNGLCadencer::AsapClockCount()
{
    if (asapCadencerList == nullptr)
        return 0;
    return static_cast<int>(std::count_if(asapCadencerList->begin(), asapCadencerList->end(),
                                          [](TNGLCadencer* c) { return c != nullptr; }));
}

void TNGLCadencer::updateRegistration()
{
    if (mode_ == TNGLCadencerMode::cmManual || !enabled_)
        unregisterClock(mode_);
    else
        registerClock();
}

void TNGLCadencer::registerClock()
{
    switch (mode_) {
        case TNGLCadencerMode::cmASAP:
            if (asapCadencerList == nullptr)
                asapCadencerList = new std::vector<TNGLCadencer*>;
            if (!asapListHolds(this))
                asapCadencerList->push_back(this);
            if (asapHandler == nullptr)
                asapHandler = new TASAPHandler;
            else
                asapHandler->Wake();
            break;
        case TNGLCadencerMode::cmApplicationIdle:
            // One idle clock at a time: the newest replaces any other.
            idleCadencer = this;
            if (idleTimer.isNull()) {
                idleTimer = new QTimer(QCoreApplication::instance());
                idleTimer->setInterval(0);
                QObject::connect(idleTimer, &QTimer::timeout, idleTimer, [] {
                    if (idleCadencer != nullptr)
                        TASAPHandler::Serve(idleCadencer);
                });
            }
            idleTimer->start();
            break;
        case TNGLCadencerMode::cmManual:
            break;
    }
}

void TNGLCadencer::unregisterClock(TNGLCadencerMode mode)
{
    switch (mode) {
        case TNGLCadencerMode::cmASAP:
            if (asapCadencerList != nullptr)
                std::replace(asapCadencerList->begin(), asapCadencerList->end(), this,
                             static_cast<TNGLCadencer*>(nullptr));
            break;
        case TNGLCadencerMode::cmApplicationIdle:
            // Only our own handler: clearing another clock's would leave that
            // clock enabled but never ticked.
            if (idleCadencer == this) {
                idleCadencer = nullptr;
                if (!idleTimer.isNull())
                    idleTimer->stop();
            }
            break;
        case TNGLCadencerMode::cmManual:
            break;
    }
}

}  // namespace brv
