// A picture animated in a few steps on a window timer of the form's own —
// the amylase test's droppers, the electromagnet's tray — rather than on the
// animation clock, whose runs the pupil starts, stops and resets.  While the
// steps run the form's toolbar is disabled, so no setting changes under
// them; the form's step routine says when the last step is done.  The timer
// goes with the form: a form replaced half-way simply stops.
#pragma once

#include <functional>

class QString;
class QTimer;
class QWidget;

namespace brv {

class TStepAnimation {
public:
    // The timer, a child of form named timerName, created stopped with the
    // interval idleMs; each tick calls step, which returns true after the
    // last step.
    TStepAnimation(QWidget* form, const QString& timerName, int idleMs, std::function<bool()> step);
    ~TStepAnimation();
    TStepAnimation(const TStepAnimation&) = delete;
    TStepAnimation& operator=(const TStepAnimation&) = delete;

    QTimer* Timer() const { return timer_; }
    bool Running() const;
    // Disables toolbar and starts the ticks, one every intervalMs.
    void Start(QWidget* toolbar, int intervalMs);
    // One step, as the timer takes it; after the last, Finish.
    void Tick();
    // Stops the ticks and enables the toolbar again.
    void Finish();

private:
    QTimer* timer_;
    QWidget* toolbar_ = nullptr;
    std::function<bool()> step_;
};

}  // namespace brv
