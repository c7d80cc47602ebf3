#include "runtime/AnimatedForm.h"

#include "common/CadencerEx.h"
#include "runtime/BRV_StrConstants.h"
#include "runtime/Image32.h"

#include <QAction>

namespace brv {

TAnimatedForm::TAnimatedForm(QWidget* parent) : TExperimentForm(parent) {}

TAnimatedForm::~TAnimatedForm()
{
    // The clock goes first so no tick reaches a half-destroyed form.
    Clock.reset();
}

void TAnimatedForm::PressStart()
{
    if (Buttons.StartBtn != nullptr && Buttons.StartBtn->isEnabled())
        Buttons.StartBtn->trigger();
}

void TAnimatedForm::CreateRunToolbar(const QString& startHint, const QString& stopHint,
                                     const QString& resetHint)
{
    toolbar_ = new TExperimentToolbar(str::sToolbarTitle(), this);
    Buttons = AddRunButtons(toolbar_, startHint, stopHint, resetHint,
                            [this](QAction* sender) { StartBtnClick(sender); });
}

void TAnimatedForm::CreatePic()
{
    Pic_ = new TImage32(this);
    Pic_->setObjectName(QStringLiteral("Pic"));
    Pic_->setMinimumSize(40, 40);
    Pic_->OnResize = [this] { PicResize(); };
}

void TAnimatedForm::CreateClock(double fixedDeltaTime)
{
    Clock = std::make_unique<TNGLCadencer>();
    Clock->FixedDeltaTime = fixedDeltaTime;
    Clock->OnProgress = [this](TNGLCadencer*, double deltaTime, double) { ClockProgress(deltaTime); };
}

}  // namespace brv
