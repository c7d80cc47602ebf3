#include "runtime/AnimatedForm.h"

#include "common/CadencerEx.h"
#include "runtime/BRV_StrConstants.h"
#include "runtime/Image32.h"

#include <QAction>

#include <utility>

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

void TAnimatedForm::SetLargeButtons(bool large)
{
    if (LargeButtonsUnchanged(large, true))
        return;
    RememberLarge(large);
    ApplyLargeButtons(toolbar_, large, largeItems_);
}

void TAnimatedForm::SetLargeItems(std::vector<TLargeItem> items)
{
    largeItems_ = std::move(items);
    ApplyLargeButtons(toolbar_, LargeApplied(), largeItems_);
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
    Clock->OnProgress = [this](TNGLCadencer*, double deltaTime, double) {
        // A stop takes effect at once: the clock still hands out the rest of
        // the tick's fixed steps, and they must not move anything.
        if (Clock->Enabled())
            ClockProgress(deltaTime);
    };
}

void TAnimatedForm::RedrawBackground(const std::function<void(TBitmap32&)>& draw)
{
    TBitmap32& b = Pic_->Bitmap();
    if (b.Empty())
        return;
    b.BeginUpdate();
    b.Clear(clWhite32);
    draw(b);
    b.FrameRect(b.BoundsRect(), clBorder32);
    b.EndUpdate();
    Pic_->Repaint();
}

}  // namespace brv
