// The experiments that run on their own animation clock: a toolbar that
// starts with the start / stop / reset buttons, the picture, and a clock
// owned by the form.  The base owns the run state and the one handler of the
// three buttons; a form writes its controls, its table of enabled buttons,
// what starting and resetting do, its step and its painting.
#pragma once

#include "runtime/PictureForm.h"

#include <array>
#include <memory>

namespace brv {

class TNGLCadencer;

enum class TRunState { Ready, Running, Paused, Finished };

// Which of the three run buttons are enabled in a state.
struct TButtonStates {
    bool start = false;
    bool stop = false;
    bool reset = false;
};

// One row per state, in the order of TRunState.
using TButtonTable = std::array<TButtonStates, 4>;

class TAnimatedForm : public TPictureForm {
    Q_OBJECT
public:
    explicit TAnimatedForm(QWidget* parent = nullptr);
    ~TAnimatedForm() override;

    TNGLCadencer* Cadencer() override { return Clock.get(); }
    // Presses StartBtn when it is enabled.
    void PressStart() override;
    TRunState State() const { return state_; }
    // A created form is Ready: its buttons follow the table from the start.
    void FormCreated() override;

    // The one handler of Start, Stop and Reset; it tells them apart by the
    // sender.  Start runs the clock (unless StartRun refuses), Stop pauses
    // it, Reset stops it and calls ResetRun.
    void StartBtnClick(QAction* sender);

    TRunButtons Buttons;
    std::unique_ptr<TNGLCadencer> Clock;

protected:
    // The toolbar with its three run buttons; the form adds the rest.
    void CreateRunToolbar(const QString& startHint, const QString& stopHint, const QString& resetHint);
    // The clock, created disabled; fixedDeltaTime 0 gives variable steps.
    // ClockProgress is called only while the clock is enabled: a run stopped
    // inside a tick gets none of that tick's remaining fixed steps.
    void CreateClock(double fixedDeltaTime);
    // The buttons enabled in each state.
    void SetButtonTable(const TButtonTable& table) { buttonTable_ = table; }
    // The run ended by itself (the ball came to rest, the car stopped).
    void Finish();
    // Moves to a state: the clock runs only while Running, the buttons follow
    // ButtonsIn, the toolbar's hints are hidden during a run, StateChanged.
    void SetState(TRunState state);

    // The buttons of a state: the table's row unless the form knows better.
    virtual TButtonStates ButtonsIn(TRunState state) const;
    // Start pressed: false refuses (the run does not start).
    virtual bool StartRun() { return true; }
    // Stop pressed, after the clock stopped.
    virtual void StopRun() {}
    // Reset pressed, after the clock stopped: the model back to its start.
    virtual void ResetRun() = 0;
    // One step of the model.
    virtual void ClockProgress(double deltaTime) = 0;
    // After every change of state, for the form's own controls.
    virtual void StateChanged(TRunState /*state*/) {}

private:
    TRunState state_ = TRunState::Ready;
    TButtonTable buttonTable_{
        {{true, false, false}, {false, true, false}, {true, false, true}, {false, false, true}}};
};

}  // namespace brv
