#include "experiments/chemistry/uParticleForm.h"

#include "common/CadencerEx.h"
#include "experiments/chemistry/ParticleSprites.h"
#include "runtime/AddMaths.h"
#include "runtime/BRV_StrConstants.h"
#include "runtime/DataMod.h"

#include <QAction>
#include <QActionGroup>
#include <QToolBar>

namespace brv {

namespace {

// Screens this wide or narrower get the small particles.
constexpr int kNarrowScreen = 800;
constexpr float kLargeRadius = 12;
constexpr float kSmallRadius = 8;
constexpr int kMinRunButtonHeight = 30;

}  // namespace

TParticleForm::TParticleForm(QWidget* parent) : TAnimatedForm(parent) {}

TParticleForm::~TParticleForm() = default;

void TParticleForm::CreateParticleForm(TParticleModel& box, const TTexts& texts, bool lowChecked)
{
    box_ = &box;
    AddParticleSprites(Bitmap32List);
    const bool wide = ScreenPixelWidth() > kNarrowScreen;
    box_->Radius = wide ? kLargeRadius : kSmallRadius;
    unreactedSprite_ = wide ? psRedLarge : psRedSmall;
    reactedSprite_ = wide ? psBlueLarge : psBlueSmall;

    CreateRunToolbar(str::sParticleStartHint(), str::sParticleStopHint(), str::sParticleResetHint());
    for (QAction* a : {Buttons.StartBtn, Buttons.StopBtn})
        if (QWidget* button = toolbar_->widgetForAction(a))
            button->setMinimumHeight(kMinRunButtonHeight);
    toolbar_->addSeparator()->setObjectName(QStringLiteral("TBXSeparatorItem1"));
    LowBtn = AddToolbarButton(toolbar_, QStringLiteral("LowBtn"), biLowTemperature, str::sParticleLowHint(),
                              texts.lowCaption);
    HighBtn = AddToolbarButton(toolbar_, QStringLiteral("HighBtn"), biHighTemperature,
                               str::sParticleHighHint(), texts.highCaption);
    auto* group = new QActionGroup(this);
    for (QAction* a : {LowBtn, HighBtn}) {
        a->setCheckable(true);
        group->addAction(a);
    }
    LowBtn->setChecked(lowChecked);
    connect(group, &QActionGroup::triggered, this, &TParticleForm::TemperatureBtnClick);
    // Only the pictures follow the button size.
    SetLargeItems({}, TLargeRule{100, 100, false, true});

    CreateClock(0);
    CreatePic();
    LayOutPicture({});
    Place();
    SetState(TRunState::Ready);
}

void TParticleForm::PlaceAndSettle()
{
    Place();
    box_->Settle();
    RedrawBackground();
}

void TParticleForm::PicResize()
{
    const bool running = Clock->Enabled();
    Clock->SetEnabled(false);
    Pic_->FitBitmapToControl();
    const TBitmap32& b = Pic_->Bitmap();
    box_->Walls = {0, 0, float(b.Width()), float(b.Height())};
    PlaceAndSettle();
    Clock->SetEnabled(running);
}

float TParticleForm::ComputeScale(int, int)
{
    // The box is the picture itself, in pixels.
    return 1;
}

void TParticleForm::DrawBackground(TBitmap32& b)
{
    const int r = Round(box_->Radius);
    for (const TParticle& p : box_->Particles)
        Bitmap32List.Bitmap(SpriteOf(p)).DrawTo(b, Round(p.X) - r, Round(p.Y) - r);
}

void TParticleForm::ClockProgress(double deltaTime)
{
    // A tick that brings no time moves nothing, so it exchanges and reacts
    // nothing either: a step of zero would still swap the velocities of
    // particles that the last step left touching.
    if (!(deltaTime > 0))
        return;
    Advance(deltaTime);
    RedrawBackground();
}

void TParticleForm::TemperatureBtnClick(QAction* sender)
{
    const bool high = sender == HighBtn;
    if (high == high_)
        return;
    high_ = high;
    SetHighTemperature(high);
}

}  // namespace brv
