#include "runtime/AnimatedForm.h"

#include "common/CadencerEx.h"
#include "runtime/BRV_StrConstants.h"

#include <QAction>

namespace brv {

TAnimatedForm::TAnimatedForm(QWidget* parent) : TPictureForm(parent) {}

TAnimatedForm::~TAnimatedForm()
{
    // The clock goes first so no tick reaches a half-destroyed form.
    Clock.reset();
}

void TAnimatedForm::FormCreated()
{
    SetState(TRunState::Ready);
}

void TAnimatedForm::PressStart()
{
    if (Buttons.StartBtn != nullptr && Buttons.StartBtn->isEnabled())
        Buttons.StartBtn->trigger();
}

void TAnimatedForm::CreateRunToolbar(const QString& startHint, const QString& stopHint,
                                     const QString& resetHint)
{
    CreateToolbar();
    Buttons = AddRunButtons(toolbar_, startHint, stopHint, resetHint,
                            [this](QAction* sender) { StartBtnClick(sender); });
}

void TAnimatedForm::CreateClock(double fixedDeltaTime)
{
    Clock = std::make_unique<TNGLCadencer>();
    Clock->FixedDeltaTime = fixedDeltaTime;
    Clock->OnProgress = [this](TNGLCadencer*, double deltaTime, double) {
        // A stop takes effect at once: the clock still hands out the rest of
        // the tick's fixed steps, and they must not move anything.
        if (Clock->Enabled())
            ClockProgress(deltaTime);
    };
}

void TAnimatedForm::StartBtnClick(QAction* sender)
{
    if (sender == Buttons.StartBtn) {
        if (StartRun())
            SetState(TRunState::Running);
    } else if (sender == Buttons.StopBtn) {
        SetState(TRunState::Paused);
        StopRun();
    } else if (sender == Buttons.ResetBtn) {
        Clock->SetEnabled(false);
        ResetRun();
        SetState(TRunState::Ready);
    }
}

void TAnimatedForm::Finish()
{
    SetState(TRunState::Finished);
}

void TAnimatedForm::SetState(TRunState state)
{
    state_ = state;
    if (Clock)
        Clock->SetEnabled(state == TRunState::Running);
    const TButtonStates b = ButtonsIn(state);
    Buttons.SetEnabled(b.start, b.stop, b.reset);
    SetToolbarHintsShown(toolbar_, state != TRunState::Running);
    StateChanged(state);
}

TButtonStates TAnimatedForm::ButtonsIn(TRunState state) const
{
    return buttonTable_[std::size_t(state)];
}

}  // namespace brv
